// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace corvanteller::biff {

// The first worksheet of a BIFF8 workbook stream (the "Workbook" stream of an .xls file), read
// record by record: texts (LABELSST, LABEL, a FORMULA's STRING), numbers (NUMBER, RK, MULRK,
// a FORMULA's number), booleans and errors (BOOLERR, a FORMULA's result). A number is shown by
// its cell format (XF, FORMAT; number_formats.h): a date is a date, its serial in the 1900 date
// system also when the workbook counts from 1904 (DATEMODE); a time of day a date of day 0; an
// elapsed time the text the format shows. The first worksheet is the first sheet (BOUNDSHEET)
// of the worksheet type whose BOF says worksheet: chart sheets before it are passed. BLANK and
// MULBLANK hold no value. The shared string table (SST) may go on over CONTINUE records, each
// continuation choosing 8 or 16 bits anew.
enum class CellKind : std::uint8_t { Text, Number, Date, Boolean, Error };

struct Cell {
    std::uint32_t row = 0;    // 1-based
    std::uint32_t column = 0; // 1-based
    CellKind kind = CellKind::Number;
    double number = 0; // Number, Date; Boolean 1 or 0
    std::string text;  // Text and Error, in UTF-8
};

enum class Status : std::uint8_t { Read, Malformed, Protected };

struct Sheet {
    Status status = Status::Malformed;
    // The last cell holding a value, 0 0 when none.
    std::uint32_t lastRow = 0;
    std::uint32_t lastColumn = 0;
    // The cells with values within the kept rows and columns, in the stream's order (a later
    // record for the same cell replaces an earlier one).
    std::vector<Cell> cells;
};

// Protected: the workbook is encrypted (FILEPASS). Malformed: anything that is not a BIFF8
// workbook with a worksheet, or a record that runs past its end.
Sheet readFirstWorksheet(std::span<const std::uint8_t> stream, std::uint32_t keptRows,
                         std::uint32_t keptColumns);

// The text a spreadsheet shows for an error code ("#DIV/0!" for 7); "#N/A" for unknown codes.
const char* errorText(std::uint8_t code);

// A number stored as RK (a 30-bit integer or the high bits of a double, perhaps divided by 100).
double rkNumber(std::uint32_t rk);

} // namespace corvanteller::biff
