// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>

namespace corvanteller {

class Application;

// The end of the start-up sequence: shows the start window and, once its first activation has
// loaded the settings, carries out what the command line asks (arguments without the program's
// name): a list file is opened as the start window's "Open Corvanteller list..." opens it, a
// folder is scanned as the Start button scans it, anything else gets a message.
void startUp(Application& program, const QStringList& arguments);

} // namespace corvanteller
