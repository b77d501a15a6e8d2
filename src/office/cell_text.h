// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLocale>
#include <QString>

namespace corvanteller {

class CellValue;

// The text an import takes from a workbook cell, the same for .xls and .xlsx: a text whole; a
// number with at most 15 significant digits as a spreadsheet shows it ("0.3", "4.5",
// "1.23456789012346E+19", whole numbers without a point); "TRUE" or "FALSE"; an error as the
// sheet shows it ("#DIV/0!"); a date cell in the locale's short date format, followed by a
// space and the long time format (without a time zone) when it has a time of day; a time alone
// (a serial below 1) in the long time format.
QString cellText(const CellValue& value, const QLocale& locale);

QString spreadsheetNumberText(double number);
// A date serial of the 1900 date system (1 is 1900-01-01; 60 the 29 February 1900 that a
// spreadsheet counts); a serial outside 0 to 9999-12-31 is written as a number.
QString dateSerialText(double serial, const QLocale& locale);

} // namespace corvanteller
