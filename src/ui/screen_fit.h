// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QWidget;

namespace corvanteller {

// The window in the middle of the screen it is on.
void centreOnScreen(QWidget& window);
// Its title bar and menus always reachable: smaller than the screen it is on (or the primary
// one) and wholly on it.
void keepOnScreen(QWidget& window);

} // namespace corvanteller
