// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Without Qt: the helper program includes it.
namespace corvanteller {

// What corvanteller-xls-reader writes on standard output for the first worksheet of an .xls
// file:
//   "corvanteller-xls-reader 1\n"
//   "size ROW COLUMN\n"                      the last used row and column (0 0 when empty)
//   "cell ROW COLUMN KIND LENGTH\n" BYTES "\n"  for each kept cell with a value; KIND "t" a
//                                              UTF-8 text, "n" a number, "d" a date's serial
//                                              (1900 system), "b" a boolean "1" or "0", "e" an
//                                              error's UTF-8 text; LENGTH bytes follow
//   "end\n"
// Numbers are decimal without sign or leading zeros.
inline constexpr const char* xlsOutputHeader = "corvanteller-xls-reader 1\n";
inline constexpr int xlsOutputMaxValueBytes = 256 * 1024;

} // namespace corvanteller
