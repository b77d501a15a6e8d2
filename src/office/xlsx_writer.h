#pragma once

#include <QString>

namespace corvanteller {

class Workbook;

// A cell text may hold at most this many characters in a workbook file.
inline constexpr int maxCellTextLength = 32767;

struct XlsxWriteReport {
    // Texts longer than maxCellTextLength, cut to it.
    int cutCells = 0;
};

// Writes the workbook as an .xlsx file: every cell that has a value or a format of its own, with
// that format; the column widths and formats; the sheet names. Texts stay texts, also when they
// look like formulas or numbers. Throws UserError with the library's own text when the file
// cannot be written.
XlsxWriteReport writeXlsx(const Workbook& workbook, const QString& path);

} // namespace corvanteller
