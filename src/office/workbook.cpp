// SPDX-License-Identifier: GPL-3.0-or-later
#include "office/workbook.h"

#include "common/error.h"
#include "office/office_texts.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <utility>

namespace corvanteller {

using namespace Qt::StringLiterals;

namespace {

// Ranges are made by the program's own commands; this only keeps a wrong call from taking all
// memory.
constexpr long long maxCellsPerOperation = 20'000'000;

std::size_t at(int index) {
    return static_cast<std::size_t>(index);
}

[[noreturn]] void throwRangeError() {
    throw UserError(officeTexts::rangeOutsideWorksheet());
}

void checkCell(int row, int column) {
    if (row < 1 || row > Worksheet::maxRows || column < 1 || column > Worksheet::maxColumns) {
        throwRangeError();
    }
}

void checkArea(int top, int left, int bottom, int right) {
    const long long area = static_cast<long long>(bottom - top + 1) * (right - left + 1);
    if (area > maxCellsPerOperation) {
        throw UserError(officeTexts::rangeTooLarge());
    }
}

HorizontalAlignment alignmentOf(int value) {
    switch (value) {
    case excel::alignRight:
        return HorizontalAlignment::Right;
    case excel::alignCentre:
        return HorizontalAlignment::Centre;
    case excel::alignLeft:
        return HorizontalAlignment::Left;
    case 1: // general
        return HorizontalAlignment::General;
    default:
        throw UserError(officeTexts::unknownAlignment(value));
    }
}

std::optional<CellPosition> parseAddress(const QString& address) {
    int column = 0;
    int row = 0;
    qsizetype i = 0;
    if (i < address.size() && address[i] == u'$') {
        ++i;
    }
    const qsizetype lettersStart = i;
    while (i < address.size() && address[i].toUpper() >= u'A' && address[i].toUpper() <= u'Z') {
        column = column * 26 + (address[i].toUpper().unicode() - u'A' + 1);
        if (i - lettersStart >= 3) {
            return std::nullopt;
        }
        ++i;
    }
    if (i == lettersStart) {
        return std::nullopt;
    }
    if (i < address.size() && address[i] == u'$') {
        ++i;
    }
    const qsizetype digitsStart = i;
    while (i < address.size() && address[i] >= u'0' && address[i] <= u'9') {
        if (i - digitsStart >= 7) {
            return std::nullopt;
        }
        row = row * 10 + (address[i].unicode() - u'0');
        ++i;
    }
    if (i == digitsStart || i != address.size() || row < 1 || row > Worksheet::maxRows ||
        column > Worksheet::maxColumns) {
        return std::nullopt;
    }
    return CellPosition{row, column};
}

} // namespace

QString numberText(double number) {
    if (number == 0) {
        return u"0"_s; // also for -0
    }
    std::array<char, 32> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), number);
    return QString::fromLatin1(buffer.data(), result.ptr - buffer.data());
}

CellValue CellValue::ofText(const QString& text) {
    CellValue value;
    value.kind_ = Kind::Text;
    value.text_ = text;
    return value;
}

CellValue CellValue::ofNumber(double number) {
    CellValue value;
    value.kind_ = Kind::Number;
    value.number_ = number;
    value.text_ = numberText(number);
    return value;
}

CellValue CellValue::ofDate(double serial) {
    CellValue value = ofNumber(serial);
    value.date_ = true;
    return value;
}

CellValue CellValue::ofBoolean(bool truth) {
    CellValue value;
    value.kind_ = Kind::Boolean;
    value.number_ = truth ? 1 : 0;
    value.text_ = truth ? u"TRUE"_s : u"FALSE"_s;
    return value;
}

CellValue CellValue::ofError(const QString& text) {
    CellValue value;
    value.kind_ = Kind::Error;
    value.text_ = text;
    return value;
}

QString columnLetters(int column) {
    QString letters;
    while (column > 0) {
        const int digit = (column - 1) % 26;
        letters.prepend(QChar(u'A' + digit));
        column = (column - 1) / 26;
    }
    return letters;
}

QString cellAddress(int row, int column) {
    return columnLetters(column) + QString::number(row);
}

// --- Range -----------------------------------------------------------------------------------

Range::Range(Worksheet& sheet, int top, int left, int bottom, int right, bool wholeColumns)
    : sheet_(&sheet), top_(std::min(top, bottom)), left_(std::min(left, right)),
      bottom_(std::max(top, bottom)), right_(std::max(left, right)), wholeColumns_(wholeColumns) {
    checkCell(top_, left_);
    checkCell(bottom_, right_);
}

template <class Change> void Range::changeFormats(Change&& change) {
    if (wholeColumns_) {
        for (int column = left_; column <= right_; ++column) {
            Worksheet::Column& info = sheet_->column(column);
            change(info.format);
            info.hasFormat = true;
        }
        for (std::vector<Worksheet::Cell>& row : sheet_->rows_) {
            const int last = std::min(right_, static_cast<int>(row.size()));
            for (int column = left_; column <= last; ++column) {
                Worksheet::Cell& cell = row[at(column - 1)];
                if (cell.exists) {
                    change(cell.format);
                }
            }
        }
        return;
    }
    checkArea(top_, left_, bottom_, right_);
    for (int row = top_; row <= bottom_; ++row) {
        for (int column = left_; column <= right_; ++column) {
            change(sheet_->make(row, column).format);
        }
    }
}

void Range::setValues(const std::vector<std::vector<QString>>& block) {
    if (wholeColumns_ || static_cast<long long>(block.size()) > bottom_ - top_ + 1) {
        throwRangeError();
    }
    for (std::size_t r = 0; r < block.size(); ++r) {
        const std::vector<QString>& values = block[r];
        if (static_cast<long long>(values.size()) > right_ - left_ + 1) {
            throwRangeError();
        }
        const int row = top_ + static_cast<int>(r);
        for (std::size_t c = 0; c < values.size(); ++c) {
            const int column = left_ + static_cast<int>(c);
            if (values[c].isEmpty()) {
                if (sheet_->hasCell(row, column)) {
                    sheet_->make(row, column).value = CellValue();
                }
            } else {
                sheet_->make(row, column).value = CellValue::ofText(values[c]);
            }
        }
    }
}

void Range::setValue(const CellValue& value) {
    if (wholeColumns_) {
        throwRangeError();
    }
    checkArea(top_, left_, bottom_, right_);
    for (int row = top_; row <= bottom_; ++row) {
        for (int column = left_; column <= right_; ++column) {
            if (!value.isEmpty() || sheet_->hasCell(row, column)) {
                sheet_->make(row, column).value = value;
            }
        }
    }
}

std::vector<std::vector<CellValue>> Range::values() const {
    checkArea(top_, left_, bottom_, right_);
    std::vector<std::vector<CellValue>> block(at(bottom_ - top_ + 1));
    for (int row = top_; row <= bottom_; ++row) {
        std::vector<CellValue>& values = block[at(row - top_)];
        values.resize(at(right_ - left_ + 1));
        for (int column = left_; column <= right_; ++column) {
            values[at(column - left_)] = sheet_->value(row, column);
        }
    }
    return block;
}

void Range::setHorizontalAlignment(int alignment) {
    const HorizontalAlignment value = alignmentOf(alignment);
    changeFormats([value](CellFormat& format) { format.alignment = value; });
}

void Range::setColumnWidth(double width) {
    // A width beyond what the file format holds is clamped to it.
    width = std::isnan(width) ? 0 : std::clamp(width, 0.0, Worksheet::maxColumnWidth);
    for (int column = left_; column <= right_; ++column) {
        Worksheet::Column& info = sheet_->column(column);
        info.width = width;
        info.hasWidth = true;
    }
}

void Range::setInteriorColourIndex(int colourIndex) {
    if (colourIndex != 0 && !paletteColour(colourIndex)) {
        throw UserError(officeTexts::unknownColourIndex(colourIndex));
    }
    changeFormats([colourIndex](CellFormat& format) {
        format.interiorColourIndex = static_cast<std::int16_t>(colourIndex);
    });
}

void Range::setInteriorPattern(int pattern) {
    changeFormats(
        [pattern](CellFormat& format) { format.pattern = static_cast<std::int16_t>(pattern); });
}

void Range::setInteriorPatternColourIndex(int colourIndex) {
    changeFormats([colourIndex](CellFormat& format) {
        format.patternColourIndex = static_cast<std::int16_t>(colourIndex);
    });
}

void Range::setFontColour(int colour) {
    const std::int32_t value = colour & 0xFFFFFF;
    changeFormats([value](CellFormat& format) { format.fontColour = value; });
}

void Range::setFontItalic(bool italic) {
    changeFormats([italic](CellFormat& format) { format.italic = italic; });
}

void Range::setFontBold(bool bold) {
    changeFormats([bold](CellFormat& format) { format.bold = bold; });
}

void Range::borderAround(int lineStyle, int weight, int colourIndex, std::optional<int> colour) {
    if (wholeColumns_) {
        throwRangeError();
    }
    BorderEdge edge;
    if (lineStyle == excel::lineContinuous) {
        if (weight < excel::weightHairline || weight > excel::weightThick) {
            throw UserError(officeTexts::unknownBorderWeight(weight));
        }
        edge.weight = static_cast<std::uint8_t>(weight);
        if (colour) {
            edge.colour = rgbFromColourValue(*colour);
        } else if (const std::optional<Rgb> indexed = paletteColour(colourIndex)) {
            edge.colour = *indexed;
        }
    } else if (lineStyle != excel::lineNone) {
        throw UserError(officeTexts::unknownLineStyle(lineStyle));
    }
    checkArea(top_, left_, bottom_, right_);
    // Neighbouring cells share an edge: a cell beside the box that exists gets the same line on
    // its side, so that a later box wins over an earlier one on both sides.
    auto neighbour = [this](int row, int column) -> CellFormat* {
        return sheet_->hasCell(row, column) ? &sheet_->make(row, column).format : nullptr;
    };
    for (int column = left_; column <= right_; ++column) {
        sheet_->make(top_, column).format.top = edge;
        sheet_->make(bottom_, column).format.bottom = edge;
        if (CellFormat* above = neighbour(top_ - 1, column)) {
            above->bottom = edge;
        }
        if (CellFormat* below = neighbour(bottom_ + 1, column)) {
            below->top = edge;
        }
    }
    for (int row = top_; row <= bottom_; ++row) {
        sheet_->make(row, left_).format.left = edge;
        sheet_->make(row, right_).format.right = edge;
        if (CellFormat* before = neighbour(row, left_ - 1)) {
            before->right = edge;
        }
        if (CellFormat* after = neighbour(row, right_ + 1)) {
            after->left = edge;
        }
    }
}

void Range::deleteShiftLeft() {
    const int lastRow = std::min(bottom_, sheet_->rowCount());
    for (int row = top_; row <= lastRow; ++row) {
        std::vector<Worksheet::Cell>& cells = sheet_->rows_[at(row - 1)];
        if (static_cast<int>(cells.size()) < left_) {
            continue;
        }
        const int end = std::min(right_, static_cast<int>(cells.size()));
        cells.erase(cells.begin() + (left_ - 1), cells.begin() + end);
    }
}

// --- Worksheet -------------------------------------------------------------------------------

Worksheet::Worksheet(const QString& name) : name_(name) {}

Range Worksheet::cells(int row, int column) {
    return Range(*this, row, column, row, column, false);
}

Range Worksheet::range(const QString& first, const QString& last) {
    const std::optional<CellPosition> from = parseAddress(first);
    const std::optional<CellPosition> to = parseAddress(last);
    if (!from || !to) {
        throw UserError(officeTexts::noRange(first, last));
    }
    return Range(*this, from->row, from->column, to->row, to->column, false);
}

Range Worksheet::range(const Range& first, const Range& last) {
    return Range(*this, std::min(first.top(), last.top()), std::min(first.left(), last.left()),
                 std::max(first.bottom(), last.bottom()), std::max(first.right(), last.right()),
                 false);
}

Range Worksheet::range(int top, int left, int bottom, int right) {
    return Range(*this, top, left, bottom, right, false);
}

Range Worksheet::columns() {
    return Range(*this, 1, 1, maxRows, maxColumns, true);
}

const Worksheet::Cell* Worksheet::find(int row, int column) const {
    if (row < 1 || row > rowCount() || column < 1) {
        return nullptr;
    }
    const std::vector<Cell>& cells = rows_[at(row - 1)];
    if (column > static_cast<int>(cells.size())) {
        return nullptr;
    }
    const Cell& cell = cells[at(column - 1)];
    return cell.exists ? &cell : nullptr;
}

Worksheet::Cell& Worksheet::make(int row, int column) {
    checkCell(row, column);
    if (row > rowCount()) {
        rows_.resize(at(row));
    }
    std::vector<Cell>& cells = rows_[at(row - 1)];
    if (column > static_cast<int>(cells.size())) {
        // Rows are mostly filled left to right: room for a table's seven columns at once.
        cells.reserve(std::max(at(column), std::max(cells.capacity(), std::size_t{7})));
        cells.resize(at(column));
    }
    Cell& cell = cells[at(column - 1)];
    if (!cell.exists) {
        cell.exists = true;
        if (const Column* info = findColumn(column)) {
            cell.format = info->format;
        }
    }
    return cell;
}

Worksheet::Column& Worksheet::column(int column) {
    if (column > static_cast<int>(columns_.size())) {
        columns_.resize(at(column));
    }
    return columns_[at(column - 1)];
}

const Worksheet::Column* Worksheet::findColumn(int column) const {
    return column >= 1 && column <= static_cast<int>(columns_.size()) ? &columns_[at(column - 1)]
                                                                      : nullptr;
}

const CellValue& Worksheet::value(int row, int column) const {
    static const CellValue empty;
    const Cell* cell = find(row, column);
    return cell != nullptr ? cell->value : empty;
}

const CellFormat& Worksheet::format(int row, int column) const {
    static const CellFormat plain;
    if (const Cell* cell = find(row, column)) {
        return cell->format;
    }
    const Column* info = findColumn(column);
    return info != nullptr ? info->format : plain;
}

bool Worksheet::hasCell(int row, int column) const {
    return find(row, column) != nullptr;
}

double Worksheet::columnWidth(int column) const {
    const Column* info = findColumn(column);
    return info != nullptr ? info->width : standardColumnWidth;
}

bool Worksheet::hasColumnWidth(int column) const {
    const Column* info = findColumn(column);
    return info != nullptr && info->hasWidth;
}

const CellFormat& Worksheet::columnFormat(int column) const {
    static const CellFormat plain;
    const Column* info = findColumn(column);
    return info != nullptr ? info->format : plain;
}

bool Worksheet::hasColumnFormat(int column) const {
    const Column* info = findColumn(column);
    return info != nullptr && info->hasFormat;
}

CellPosition Worksheet::lastUsedCell() const {
    CellPosition last = notedExtent_;
    for (int row = 1; row <= rowCount(); ++row) {
        const std::vector<Cell>& cells = rows_[at(row - 1)];
        for (int column = static_cast<int>(cells.size()); column >= 1; --column) {
            if (!cells[at(column - 1)].value.isEmpty()) {
                last.row = std::max(last.row, row);
                last.column = std::max(last.column, column);
                break;
            }
        }
    }
    return last;
}

void Worksheet::noteUsedCell(int row, int column) {
    notedExtent_.row = std::max(notedExtent_.row, row);
    notedExtent_.column = std::max(notedExtent_.column, column);
}

void Worksheet::setValue(int row, int column, const CellValue& value) {
    make(row, column).value = value;
}

int Worksheet::cellCount(int row) const {
    return row >= 1 && row <= rowCount() ? static_cast<int>(rows_[at(row - 1)].size()) : 0;
}

// --- Workbook --------------------------------------------------------------------------------

Workbook::Workbook() {
    sheets_.push_back(std::make_unique<Worksheet>(u"Sheet1"_s));
}

Workbook::Workbook(std::unique_ptr<Worksheet> first) {
    sheets_.push_back(std::move(first));
}

Worksheet& Workbook::worksheet(int index) {
    return const_cast<Worksheet&>(std::as_const(*this).worksheet(index));
}

const Worksheet& Workbook::worksheet(int index) const {
    if (index < 1 || index > worksheetCount()) {
        throw UserError(officeTexts::noWorksheet(index));
    }
    return *sheets_[at(index - 1)];
}

} // namespace corvanteller
