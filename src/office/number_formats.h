// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

namespace corvanteller {

// How a cell's number format shows its value, the same for .xls and .xlsx:
// - ElapsedTime: a count of hours, minutes or seconds in brackets ("[h]:mm:ss", "[mm]:ss"),
//   the value a duration in days;
// - Date: a day, year or month part ("d", "y", "m" in either case) outside quoted text,
//   brackets and escaped characters; a date and time when it also has an hour;
// - TimeOfDay: an hour or second part without a date part ("h:mm", "mm:ss");
// - Number: anything else.
// The built-in formats 14 to 17 and 22 (and the East Asian 27 to 36 and 50 to 58) are dates,
// 18 to 21, 45 and 47 times of day, 46 an elapsed time.
enum class NumberFormatKind : unsigned char { Number, Date, TimeOfDay, ElapsedTime };

NumberFormatKind builtInFormatKind(int id);
NumberFormatKind formatCodeKind(std::string_view code);
// The code of a built-in elapsed-time format ("[h]:mm:ss" for 46); empty for the others.
std::string_view builtInFormatCode(int id);

// A number as a spreadsheet shows it in the General format: at most 15 significant digits,
// whole numbers without a point, "E+19" for large ones, "." as the decimal point.
std::string generalNumberText(double number);

// A duration in days as the elapsed-time format code shows it: 1.5 in "[h]:mm:ss" is
// "36:00:00", in "[mm]:ss" "2160:00".
std::string elapsedTimeText(double days, std::string_view code);

// The time of day of a serial, rounded to the second, as a serial of day 0 (the same in both
// date systems); a negative serial as it is.
double timeOfDaySerial(double serial);

// A date serial of the 1904 date system as one of the 1900 system.
inline constexpr double dateSystem1904Offset = 1462;

} // namespace corvanteller
