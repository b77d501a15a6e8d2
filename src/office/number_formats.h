#pragma once

#include <string>
#include <string_view>

namespace corvanteller {

// Whether a cell's number format shows its value as a date or a time, the same for .xls and
// .xlsx: the built-in formats 14 to 22 and 45 to 47 (and the East Asian date formats 27 to 36
// and 50 to 58), or a format code with a day, month, year or hour part ("d", "m", "y", "h" in
// either case) outside quoted text, brackets and escaped characters.
bool isBuiltInDateFormat(int id);
bool isDateFormatCode(std::string_view code);

// A number as a spreadsheet shows it in the General format: at most 15 significant digits,
// whole numbers without a point, "E+19" for large ones, "." as the decimal point.
std::string generalNumberText(double number);

// A date serial of the 1904 date system as one of the 1900 system.
inline constexpr double dateSystem1904Offset = 1462;

} // namespace corvanteller
