// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateTime>
#include <QLocale>
#include <QString>
#include <QStringList>

namespace corvanteller {

// The About window's fixed texts.
namespace about {
QString title();
// 24 lines, six paragraphs with blank lines between them.
QStringList textLines();
QString credit();
QString version();
QString place();
QString year();
QString stripHint();
QString officeNote();
} // namespace about

// The locale's short date format with the year always in four digits ("M/d/yy" becomes
// "M/d/yyyy"), and its long time format without the time zone.
QString shortDateFormatFullYear(const QLocale& locale);
QString longTimeFormatWithoutZone(const QLocale& locale);

// "Time of last close of the program: " and the last close in the locale's formats; the date
// alone when the time of day is exactly midnight, as for a run that has never closed (30
// December 1899).
QString lastCloseLine(const QDateTime& lastClose, const QLocale& locale);

} // namespace corvanteller
