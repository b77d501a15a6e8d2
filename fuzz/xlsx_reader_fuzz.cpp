// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target: any bytes are an .xlsx workbook. The reader must not crash, must refuse
// with one of its own texts, and what it reads must keep to the kept area and the last used
// cell.
#include "common/error.h"
#include "office/workbook.h"
#include "office/workbook_reading.h"
#include "office/xlsx_reader.h"

#include <QByteArrayView>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace corvanteller {
namespace {

void check(bool holds, const char* what) {
    if (!holds) {
        std::fprintf(stderr, "xlsx_reader_fuzz: broken: %s\n", what);
        std::abort();
    }
}

void checkSheet(const Worksheet& sheet) {
    const CellPosition last = sheet.lastUsedCell();
    check(last.row >= 0 && last.row <= Worksheet::maxRows, "the last row lies in a sheet");
    check(last.column >= 0 && last.column <= Worksheet::maxColumns,
          "the last column lies in a sheet");
    check((last.row == 0) == (last.column == 0), "an empty sheet has no last row or column");
    check(sheet.rowCount() <= keptRows, "no row beyond the kept rows is stored");
    for (int row = 1; row <= sheet.rowCount(); ++row) {
        check(sheet.cellCount(row) <= keptColumns, "no column beyond G is stored");
        for (int column = 1; column <= sheet.cellCount(row); ++column) {
            if (!sheet.value(row, column).isEmpty()) {
                check(row <= last.row && column <= last.column,
                      "every value lies within the last used cell");
            }
        }
    }
}

} // namespace
} // namespace corvanteller

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace corvanteller;
    const QByteArrayView bytes(data, static_cast<qsizetype>(size));
    try {
        checkSheet(*readXlsxFirstWorksheet(bytes));
    } catch (const UserError& error) {
        const bool known = error.text() == cannotReadWorkbookMessage() ||
                           error.text() == workbookTooLargeMessage();
        if (!known) {
            std::fprintf(stderr, "xlsx_reader_fuzz: refused with \"%s\"\n",
                         error.text().toUtf8().constData());
        }
        check(known, "a refusal says one of the reader's texts");
    }
    return 0;
}
