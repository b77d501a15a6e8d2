// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace corvanteller {

// What reading a workbook keeps: columns A to G of rows 1 to 45,006 (the table's 45,002 rows, its
// header row and a footer of three rows). Every value still counts for the last used cell.
inline constexpr int keptRows = 45006;
inline constexpr int keptColumns = 7;

QString notWorkbookMessage();
QString cannotReadWorkbookMessage();
QString workbookTooLargeMessage();
QString passwordProtectedMessage();
// An .xls of Excel 2.1 to 95 (BIFF2 to BIFF5): version "2.1", "3.0", "4.0" or "5.0/95".
QString oldFormatMessage(const QString& version);

} // namespace corvanteller
