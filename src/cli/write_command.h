// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>

#include <cstdio>
#include <vector>

namespace corvanteller {

// "write" and "undo-write" of the command-line front end; args begin with the command. Returns
// the exit status: 0 everything asked was written (or would be), 1 a row was refused or a
// file could not be written, 2 a wrong call.
int runWriteCommand(const std::vector<QByteArray>& args, std::FILE* out, std::FILE* err);
int runUndoWriteCommand(const std::vector<QByteArray>& args, std::FILE* out, std::FILE* err);

} // namespace corvanteller
