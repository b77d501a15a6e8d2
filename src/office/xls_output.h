#pragma once

#include <QByteArrayView>

#include <memory>

namespace corvanteller {

class Worksheet;

// What corvanteller-xls-reader writes on standard output for the first worksheet of an .xls
// file:
//   "corvanteller-xls-reader 1\n"
//   "size ROW COLUMN\n"                      the last used row and column (0 0 when empty)
//   "cell ROW COLUMN KIND LENGTH\n" BYTES "\n"  for each kept cell with a value; KIND "t" a
//                                              UTF-8 text, "n" a number; LENGTH bytes follow
//   "end\n"
// Numbers are decimal without sign or leading zeros.
inline constexpr const char* xlsOutputHeader = "corvanteller-xls-reader 1\n";
inline constexpr int xlsOutputMaxValueBytes = 256 * 1024;

// Reads that output; nothing when it is malformed in any way (a cell outside the kept area or
// beyond the last used cell, a bad number, bytes after "end").
std::unique_ptr<Worksheet> parseXlsOutput(QByteArrayView output);

} // namespace corvanteller
