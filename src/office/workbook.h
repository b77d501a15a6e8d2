// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "office/palette.h"

#include <QString>

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace corvanteller {

// The values a workbook's properties take, as the export passes them.
namespace excel {
inline constexpr int alignRight = -4152;
inline constexpr int alignCentre = -4108;
inline constexpr int alignLeft = -4131;
inline constexpr int patternSolid = 1;
inline constexpr int patternNone = -4142;
inline constexpr int colourIndexAutomatic = -4105;
inline constexpr int lineContinuous = 1;
inline constexpr int lineNone = -4142;
inline constexpr int weightHairline = 1;
inline constexpr int weightThin = 2;
inline constexpr int weightMedium = 3;
inline constexpr int weightThick = 4;
} // namespace excel

enum class HorizontalAlignment : std::uint8_t { General, Left, Centre, Right };

// One edge of a cell: a continuous line of a weight (0: no line; 1 hairline, 2 thin, 3 medium,
// 4 thick) in a colour.
struct BorderEdge {
    std::uint8_t weight = 0;
    Rgb colour = 0;
    bool operator==(const BorderEdge&) const = default;
};

struct CellFormat {
    HorizontalAlignment alignment = HorizontalAlignment::General;
    bool italic = false;
    bool bold = false;
    std::int16_t interiorColourIndex = 0; // 0: no fill
    std::int16_t pattern = 0;
    std::int16_t patternColourIndex = excel::colourIndexAutomatic;
    std::int32_t fontColour = -1; // red + 256 x green + 65536 x blue; -1: automatic
    BorderEdge left;
    BorderEdge top;
    BorderEdge right;
    BorderEdge bottom;
    bool operator==(const CellFormat&) const = default;
};

// The shortest text that reads back as the same number, with "." (12 -> "12", 12.5 -> "12.5").
QString numberText(double number);

// What a cell holds: a text, a number, a boolean, an error text or nothing.
class CellValue {
public:
    enum class Kind : std::uint8_t { Empty, Text, Number, Boolean, Error };

    CellValue() = default;
    static CellValue ofText(const QString& text);
    static CellValue ofNumber(double number);
    // A number whose format shows it as a date: its serial in the 1900 date system.
    static CellValue ofDate(double serial);
    static CellValue ofBoolean(bool value);
    static CellValue ofError(const QString& text);

    Kind kind() const { return kind_; }
    bool isEmpty() const { return kind_ == Kind::Empty; }
    // The value as text: a number's shortest text, "TRUE" or "FALSE", an error's text, an empty
    // text for nothing.
    const QString& text() const { return text_; }
    double number() const { return number_; }
    bool isDate() const { return date_; }

    bool operator==(const CellValue&) const = default;

private:
    Kind kind_ = Kind::Empty;
    double number_ = 0;
    bool date_ = false;
    QString text_;
};

// A cell's place, 1-based; row and column 0 when there is none.
struct CellPosition {
    int row = 0;
    int column = 0;
    bool operator==(const CellPosition&) const = default;
};

// "A" for 1, "G" for 7, "AA" for 27.
QString columnLetters(int column);
// "B25" for row 25, column 2.
QString cellAddress(int row, int column);

class Worksheet;

// A rectangle of cells of one worksheet, or whole columns. Setting a property on a range sets it
// on each of its cells, making cells where there were none; on whole columns it also becomes
// the columns' format, which cells made later start from.
class Range {
public:
    int top() const { return top_; }
    int left() const { return left_; }
    int bottom() const { return bottom_; }
    int right() const { return right_; }
    bool isWholeColumns() const { return wholeColumns_; }

    // Puts a block of texts, block[r][c] into the cell r rows below and c columns right of the
    // top left one; an empty text leaves the cell without a value. The block must fit.
    void setValues(const std::vector<std::vector<QString>>& block);
    void setValue(const CellValue& value);
    // The values of the rectangle, [row - top][column - left].
    std::vector<std::vector<CellValue>> values() const;

    // -4152 right, -4108 centre, -4131 left.
    void setHorizontalAlignment(int alignment);
    // Sets the width of every column the range touches, clamped to 0 to 255 characters.
    void setColumnWidth(double width);
    void setInteriorColourIndex(int colourIndex);
    void setInteriorPattern(int pattern);
    void setInteriorPatternColourIndex(int colourIndex);
    // red + 256 x green + 65536 x blue.
    void setFontColour(int colour);
    void setFontItalic(bool italic);
    void setFontBold(bool bold);
    // Draws the outer edges of the range's cells: the top edge of its top row, the bottom edge
    // of its bottom row, the left edge of its left column and the right edge of its right
    // column; an existing cell beside the box gets the line on its side too. A colour wins over
    // a colour index. Overlapping boxes give a grid.
    void borderAround(int lineStyle, int weight, int colourIndex, std::optional<int> colour);
    // The range's cells go; the cells right of them in the same rows move left with their values
    // and formats. Column widths stay.
    void deleteShiftLeft();

private:
    friend class Worksheet;
    Range(Worksheet& sheet, int top, int left, int bottom, int right, bool wholeColumns);

    template <class Change> void changeFormats(Change&& change);

    Worksheet* sheet_;
    int top_;
    int left_;
    int bottom_;
    int right_;
    bool wholeColumns_;
};

class Worksheet {
public:
    static constexpr int maxRows = 1048576;
    static constexpr int maxColumns = 16384;
    static constexpr double standardColumnWidth = 8.43;
    static constexpr double maxColumnWidth = 255;

    explicit Worksheet(const QString& name);

    const QString& name() const { return name_; }
    void setName(const QString& name) { name_ = name; }

    Range cells(int row, int column);
    // Between two cells given as addresses ("A1") or as cells. Throws UserError for an address
    // that names no cell.
    Range range(const QString& first, const QString& last);
    Range range(const Range& first, const Range& last);
    Range range(int top, int left, int bottom, int right);
    Range columns();

    const CellValue& value(int row, int column) const;
    // The cell's format, or its column's when there is no cell.
    const CellFormat& format(int row, int column) const;
    bool hasCell(int row, int column) const;
    double columnWidth(int column) const;
    bool hasColumnWidth(int column) const;
    const CellFormat& columnFormat(int column) const;
    bool hasColumnFormat(int column) const;

    // The row of the last row and the column of the last column that hold a value; formats
    // alone do not count.
    CellPosition lastUsedCell() const;
    // A value a reader saw but did not keep: it still counts for the last used cell.
    void noteUsedCell(int row, int column);
    // Puts a value read from a file.
    void setValue(int row, int column, const CellValue& value);

    // A catalogue's view: the first rows stay in place while the rest scrolls, and the
    // rectangle from A1 to (bottom, right) has the spreadsheet's filter buttons.
    void freezeTopRows(int rows) { frozenRows_ = rows; }
    int frozenRows() const { return frozenRows_; }
    void setAutoFilter(int bottom, int right) { autoFilter_ = {bottom, right}; }
    // Row and column 0: no filter.
    CellPosition autoFilter() const { return autoFilter_; }

    // The rows that hold cells, 1 to rowCount(); cells(row) of them, columns 1 to cellCount(row).
    int rowCount() const { return static_cast<int>(rows_.size()); }
    int cellCount(int row) const;

private:
    friend class Range;
    int frozenRows_ = 0;
    CellPosition autoFilter_{};
    struct Cell {
        CellValue value;
        CellFormat format;
        bool exists = false;
    };
    struct Column {
        double width = standardColumnWidth;
        bool hasWidth = false;
        bool hasFormat = false;
        CellFormat format;
    };

    const Cell* find(int row, int column) const;
    Cell& make(int row, int column);
    Column& column(int column);
    const Column* findColumn(int column) const;

    QString name_;
    std::vector<std::vector<Cell>> rows_;
    std::vector<Column> columns_; // grown on demand
    CellPosition notedExtent_;
};

class Workbook {
public:
    // A new workbook with one worksheet.
    Workbook();
    // A workbook read from a file: its first worksheet.
    explicit Workbook(std::unique_ptr<Worksheet> first);

    int worksheetCount() const { return static_cast<int>(sheets_.size()); }
    // index 1 to worksheetCount(); throws UserError for any other.
    Worksheet& worksheet(int index);
    const Worksheet& worksheet(int index) const;

private:
    std::vector<std::unique_ptr<Worksheet>> sheets_;
};

} // namespace corvanteller
