// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateTime>

namespace corvanteller {

// OLE Automation dates: days since 30 December 1899 as a double, the fraction being the time of
// day. Before that day the integer part counts backwards but the fraction still counts forwards
// from midnight: -1.25 is 29 December 1899, 06:00, and -0.5 and 0.5 are both 30 December 1899,
// 12:00. The settings file keeps its times in this form, at whole seconds.

// The day 0 of the scale.
inline constexpr int oleEpochYear = 1899;
inline constexpr int oleEpochMonth = 12;
inline constexpr int oleEpochDay = 30;

// The local wall time of dateTime (converted to local time first) as an OLE date; the
// milliseconds are dropped. An invalid dateTime gives 0.
double toOleDate(const QDateTime& dateTime);

// The local date and time of an OLE date, cut to whole seconds (a value a hair below a whole
// second, as binary fractions of a day often are, counts as that second). Invalid when days is
// not finite or lies outside the years 1 to 9999.
QDateTime fromOleDate(double days);

// The same OLE date with its time of day cut to whole seconds; values that fromOleDate refuses
// come back unchanged.
double truncateOleDateToSeconds(double days);

// dateTime without its milliseconds.
QDateTime truncatedToSeconds(const QDateTime& dateTime);

} // namespace corvanteller
