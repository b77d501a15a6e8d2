// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace corvanteller {

class Workbook;

// A cell text may hold at most this many characters in a workbook file.
inline constexpr int maxCellTextLength = 32767;

// What the user is told when texts were cut.
QString cutCellsMessage();

struct XlsxWriteReport {
    // Texts longer than maxCellTextLength, cut to it.
    int cutCells = 0;
};

// Writes the workbook as an .xlsx file: every cell that has a value or a format of its own, with
// that format; the column widths and formats; the sheet names. Texts stay texts, also when they
// look like formulas or numbers, and characters that XML cannot hold are escaped ("_x0001_").
// Throws UserError when the file cannot be written: the system's text and the path when a
// write fails ("Disk full: PATH"), else the library's own text.
XlsxWriteReport writeXlsx(const Workbook& workbook, const QString& path);

// The same file with every cell written by the library itself: slower, kept to check the
// cells writeXlsx writes on its own against.
XlsxWriteReport writeXlsxThroughLibrary(const Workbook& workbook, const QString& path);

} // namespace corvanteller
