// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target: any bytes are what corvanteller-xls-reader wrote. The parser must not crash
// and must take only well-formed output: what it reads, written again, reads the same.
#include "office/workbook.h"
#include "office/workbook_reading.h"
#include "office/xls_output.h"

#include <QByteArray>
#include <QByteArrayView>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace corvanteller {
namespace {

void check(bool holds, const char* what) {
    if (!holds) {
        std::fprintf(stderr, "xls_output_fuzz: broken: %s\n", what);
        std::abort();
    }
}

QByteArray written(const Worksheet& sheet) {
    const CellPosition last = sheet.lastUsedCell();
    QByteArray out = xlsOutputHeader;
    out += "size " + QByteArray::number(last.row) + ' ' + QByteArray::number(last.column) + '\n';
    for (int row = 1; row <= sheet.rowCount(); ++row) {
        for (int column = 1; column <= sheet.cellCount(row); ++column) {
            const CellValue& value = sheet.value(row, column);
            if (!sheet.hasCell(row, column) || value.isEmpty()) {
                continue;
            }
            const char* kind = " t ";
            QByteArray bytes = value.text().toUtf8();
            switch (value.kind()) {
            case CellValue::Kind::Number:
                kind = value.isDate() ? " d " : " n ";
                break;
            case CellValue::Kind::Boolean:
                kind = " b ";
                bytes = value.number() != 0 ? "1" : "0";
                break;
            case CellValue::Kind::Error:
                kind = " e ";
                break;
            default:
                break;
            }
            out += "cell " + QByteArray::number(row) + ' ' + QByteArray::number(column) + kind +
                   QByteArray::number(bytes.size()) + '\n' + bytes + '\n';
        }
    }
    return out + "end\n";
}

bool sameValues(const Worksheet& a, const Worksheet& b) {
    if (a.lastUsedCell() != b.lastUsedCell()) {
        return false;
    }
    for (int row = 1; row <= std::max(a.rowCount(), b.rowCount()); ++row) {
        for (int column = 1; column <= keptColumns; ++column) {
            if (a.value(row, column) != b.value(row, column)) {
                return false;
            }
        }
    }
    return true;
}

} // namespace
} // namespace corvanteller

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace corvanteller;
    const std::unique_ptr<Worksheet> sheet =
        parseXlsOutput(QByteArrayView(data, static_cast<qsizetype>(size)));
    if (!sheet) {
        return 0;
    }
    check(sheet->rowCount() <= keptRows, "no row beyond the kept rows");
    for (int row = 1; row <= sheet->rowCount(); ++row) {
        check(sheet->cellCount(row) <= keptColumns, "no column beyond G");
    }
    const std::unique_ptr<Worksheet> again = parseXlsOutput(written(*sheet));
    check(again != nullptr, "what was read, written again, is well formed");
    check(sameValues(*sheet, *again), "what was read, written again, reads the same");
    return 0;
}
