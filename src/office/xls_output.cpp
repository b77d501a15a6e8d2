// SPDX-License-Identifier: GPL-3.0-or-later
#include "office/xls_output.h"

#include "office/workbook.h"
#include "office/workbook_reading.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <optional>

namespace corvanteller {
namespace {

class Cursor {
public:
    explicit Cursor(QByteArrayView bytes) : bytes_(bytes) {}

    bool atEnd() const { return position_ == bytes_.size(); }

    bool literal(QByteArrayView text) {
        if (bytes_.sliced(position_).startsWith(text)) {
            position_ += text.size();
            return true;
        }
        return false;
    }

    // A decimal number of at most nine digits, without sign or leading zeros.
    std::optional<int> number() {
        const qsizetype start = position_;
        while (position_ < bytes_.size() && position_ - start < 10 && bytes_[position_] >= '0' &&
               bytes_[position_] <= '9') {
            ++position_;
        }
        const qsizetype digits = position_ - start;
        if (digits == 0 || digits > 9 || (digits > 1 && bytes_[start] == '0')) {
            return std::nullopt;
        }
        int value = 0;
        for (qsizetype i = start; i < position_; ++i) {
            value = value * 10 + (bytes_[i] - '0');
        }
        return value;
    }

    std::optional<QByteArrayView> take(qsizetype length) {
        if (length > bytes_.size() - position_) {
            return std::nullopt;
        }
        const QByteArrayView taken = bytes_.sliced(position_, length);
        position_ += length;
        return taken;
    }

private:
    QByteArrayView bytes_;
    qsizetype position_ = 0;
};

} // namespace

std::unique_ptr<Worksheet> parseXlsOutput(QByteArrayView output) {
    Cursor in(output);
    if (!in.literal(xlsOutputHeader) || !in.literal("size ")) {
        return nullptr;
    }
    const std::optional<int> lastRow = in.number();
    if (!lastRow || !in.literal(" ")) {
        return nullptr;
    }
    const std::optional<int> lastColumn = in.number();
    if (!lastColumn || !in.literal("\n") || *lastRow > Worksheet::maxRows ||
        *lastColumn > Worksheet::maxColumns || ((*lastRow == 0) != (*lastColumn == 0))) {
        return nullptr;
    }
    auto sheet = std::make_unique<Worksheet>(QString());
    if (*lastRow > 0) {
        sheet->noteUsedCell(*lastRow, *lastColumn);
    }
    while (!in.literal("end\n")) {
        if (!in.literal("cell ")) {
            return nullptr;
        }
        const std::optional<int> row = in.number();
        const bool space1 = in.literal(" ");
        const std::optional<int> column = in.number();
        const bool space2 = in.literal(" ");
        char kind = 0;
        for (const char candidate : {'t', 'n', 'd', 'b', 'e'}) {
            const char literal[3] = {candidate, ' ', '\0'};
            if (in.literal(QByteArrayView(literal, 2))) {
                kind = candidate;
                break;
            }
        }
        const std::optional<int> length = in.number();
        if (!row || !space1 || !column || !space2 || kind == 0 || !length || !in.literal("\n") ||
            *row < 1 || *row > keptRows || *row > *lastRow || *column < 1 ||
            *column > keptColumns || *column > *lastColumn || *length > xlsOutputMaxValueBytes) {
            return nullptr;
        }
        const std::optional<QByteArrayView> bytes = in.take(*length);
        if (!bytes || !in.literal("\n")) {
            return nullptr;
        }
        if (kind == 't' || kind == 'e') {
            const QString text = QString::fromUtf8(*bytes);
            sheet->setValue(*row, *column,
                            kind == 't' ? CellValue::ofText(text) : CellValue::ofError(text));
            continue;
        }
        if (kind == 'b') {
            if (*bytes != "0" && *bytes != "1") {
                return nullptr;
            }
            sheet->setValue(*row, *column, CellValue::ofBoolean(*bytes == "1"));
            continue;
        }
        double value = 0;
        const char* first = bytes->data();
        const char* last = first + bytes->size();
        const auto [end, error] = std::from_chars(first, last, value, std::chars_format::general);
        if (bytes->isEmpty() || error != std::errc() || end != last || !std::isfinite(value)) {
            return nullptr;
        }
        sheet->setValue(*row, *column,
                        kind == 'd' ? CellValue::ofDate(value) : CellValue::ofNumber(value));
    }
    if (!in.atEnd()) {
        return nullptr;
    }
    return sheet;
}

} // namespace corvanteller
