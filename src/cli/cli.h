// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "common/tab_fields.h"

#include <QByteArray>
#include <QString>

#include <cstdio>
#include <vector>

namespace corvanteller {

// The command-line front end: "scan" and "read" over the core. Returns the exit status.
int runCli(const std::vector<QByteArray>& args, std::FILE* out, std::FILE* err);

} // namespace corvanteller
