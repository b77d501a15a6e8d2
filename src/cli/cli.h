#pragma once

#include <QByteArray>
#include <QString>

#include <cstdio>
#include <vector>

namespace corvanteller {

// Writes a field of a TAB-separated line: backslash, TAB, CR and LF are escaped.
QByteArray escapeField(const QString& text);

// The command-line front end: "scan" and "read" over the core. Returns the exit status.
int runCli(const std::vector<QByteArray>& args, std::FILE* out, std::FILE* err);

} // namespace corvanteller
