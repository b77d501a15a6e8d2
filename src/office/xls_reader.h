// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <memory>

namespace corvanteller {

class Worksheet;

// The helper program that reads .xls files. Found beside the program or in
// ../libexec/corvanteller/ relative to it; tests set another.
QString xlsReaderPath();
void setXlsReaderPath(const QString& path);
// How long the helper may take, 30 s unless a test sets less.
int xlsReaderTimeLimitMs();
void setXlsReaderTimeLimitMs(int milliseconds);

// The first worksheet of an .xls file, read by the helper program. Throws UserError:
// cannotReadWorkbookMessage() after a crash, a signal, a time-out, a non-zero exit or malformed
// output; workbookTooLargeMessage() when it writes more than the program takes;
// passwordProtectedMessage() for an encrypted workbook (also an encrypted .xlsx package, which
// is a compound file like an .xls) other than one with Excel's default password;
// oldFormatMessage() for an Excel 5.0/95 workbook; the start failures below.
std::unique_ptr<Worksheet> readXlsFirstWorksheet(const QString& path);

// The helper cannot be started: it is not there to run (its path), or for the system's
// reason ("Too many open files").
QString xlsReaderMissingMessage(const QString& helper);
QString xlsReaderStartFailedMessage(const QString& reason);

} // namespace corvanteller
