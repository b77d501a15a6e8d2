// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateTime>
#include <QLocale>
#include <QString>

namespace corvanteller {

// Writes a date and time by the program's patterns: "dd" the two-digit day, "mmm" the locale's
// short month name, "mm" the two-digit month, or the minutes when the pattern before it was
// "hh", "yyy" the four-digit year, "hh" the hour 00 to 23, "ss" the seconds; any other
// character stands as it is. E.g. "dd.mmm.yyy" -> "06.Dec.2026", "hh.mm.ss" -> "21.05.09".
QString formatDatePattern(const QString& pattern, const QDateTime& moment, const QLocale& locale);

// The patterns the program writes.
inline QString datePattern() {
    return QStringLiteral("dd.mmm.yyy");
}
inline QString timePattern() {
    return QStringLiteral("hh.mm.ss");
}
inline QString dateAndTimePattern() {
    return QStringLiteral("dd.mm.yyy  hh.mm.ss");
}

} // namespace corvanteller
