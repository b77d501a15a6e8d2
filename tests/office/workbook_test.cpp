// SPDX-License-Identifier: GPL-3.0-or-later
#include "office/workbook.h"

#include "common/error.h"

#include <gtest/gtest.h>

namespace corvanteller {
namespace {

using namespace Qt::StringLiterals;

constexpr BorderEdge thinRed{excel::weightThin, 0xFF0000};

TEST(WorkbookTest, PaletteKnowsTheDefaultColoursByIndex) {
    const std::pair<int, Rgb> colours[] = {
        {1, 0x000000},  {2, 0xFFFFFF},  {3, 0xFF0000},  {4, 0x00FF00},  {5, 0x0000FF},
        {6, 0xFFFF00},  {8, 0x00FFFF},  {15, 0xC0C0C0}, {19, 0xFFFFCC}, {20, 0xCCFFFF},
        {22, 0xFF8080}, {24, 0xCCCCFF}, {27, 0xFFFF00}, {56, 0x333333}};
    for (const auto& [index, rgb] : colours) {
        EXPECT_EQ(paletteColour(index), rgb) << index;
    }
    EXPECT_FALSE(paletteColour(0));
    EXPECT_FALSE(paletteColour(57));
    EXPECT_EQ(rgbFromColourValue(255), 0xFF0000u);
    EXPECT_EQ(rgbFromColourValue(16711680), 0x0000FFu);
    EXPECT_EQ(rgbFromColourValue(8421376), 0x008080u);
}

TEST(WorkbookTest, ABlockGoesInAndComesOutByPosition) {
    Workbook book;
    Worksheet& sheet = book.worksheet(1);
    sheet.range(u"B2"_s, u"D3"_s)
        .setValues({{u"a"_s, u"b"_s, u"c"_s}, {u"d"_s, QString(), u"f"_s}});
    EXPECT_EQ(sheet.value(2, 2).text(), u"a"_s);
    EXPECT_EQ(sheet.value(3, 4).text(), u"f"_s);
    EXPECT_TRUE(sheet.value(3, 3).isEmpty()) << "an empty text leaves the cell without a value";

    const auto block = sheet.range(sheet.cells(2, 3), sheet.cells(3, 4)).values();
    ASSERT_EQ(block.size(), 2u);
    EXPECT_EQ(block[0][0].text(), u"b"_s);
    EXPECT_EQ(block[0][1].text(), u"c"_s);
    EXPECT_TRUE(block[1][0].isEmpty());
    EXPECT_EQ(block[1][1].text(), u"f"_s);

    EXPECT_THROW(sheet.range(u"A1"_s, u"B1"_s).setValues({{u"1"_s, u"2"_s, u"3"_s}}), UserError);
    EXPECT_THROW(sheet.range(u"A0"_s, u"B1"_s), UserError);
    EXPECT_THROW(sheet.range(u"XFE1"_s, u"B1"_s), UserError);
    EXPECT_EQ(cellAddress(25, 2), u"B25"_s);
    EXPECT_EQ(columnLetters(16384), u"XFD"_s);
}

TEST(WorkbookTest, TheLastUsedCellCountsValuesNotFormats) {
    Workbook book;
    Worksheet& sheet = book.worksheet(1);
    EXPECT_EQ(sheet.lastUsedCell(), CellPosition{});
    sheet.cells(3, 2).setValues({{u"x"_s}});
    sheet.cells(1, 5).setValues({{u"y"_s}});
    sheet.cells(9, 9).setFontBold(true);
    sheet.range(u"A10"_s, u"A12"_s).borderAround(excel::lineContinuous, 2, 5, 255);
    EXPECT_EQ(sheet.lastUsedCell(), (CellPosition{3, 5})) << "the last row and the last column";
    sheet.noteUsedCell(46000, 3);
    EXPECT_EQ(sheet.lastUsedCell(), (CellPosition{46000, 5}));
    sheet.cells(3, 2).setValues({{QString()}});
    sheet.cells(1, 5).setValue(CellValue());
    EXPECT_EQ(sheet.lastUsedCell(), (CellPosition{46000, 3})) << "cleared values no longer count";
}

// The line drawn between a cell and its neighbour below or to the right: either cell's edge.
BorderEdge lineBelow(const Worksheet& sheet, int row, int column) {
    const BorderEdge& own = sheet.format(row, column).bottom;
    return own.weight != 0 ? own : sheet.format(row + 1, column).top;
}
BorderEdge lineRight(const Worksheet& sheet, int row, int column) {
    const BorderEdge& own = sheet.format(row, column).right;
    return own.weight != 0 ? own : sheet.format(row, column + 1).left;
}

TEST(WorkbookTest, OverlappingBoxesDrawTheWholeGrid) {
    Workbook book;
    Worksheet& sheet = book.worksheet(1);
    // The "All" borders of a table of three rows and two columns.
    for (int row = 1; row < 3; ++row) {
        for (int column = 1; column <= 2; ++column) {
            sheet.range(row, column, row + 1, column)
                .borderAround(excel::lineContinuous, excel::weightThin, 5, 255);
        }
    }
    for (int row = 1; row <= 3; ++row) {
        EXPECT_EQ(sheet.format(row, 1).left, thinRed) << row;
        for (int column = 1; column <= 2; ++column) {
            EXPECT_EQ(lineBelow(sheet, row, column), thinRed) << row << ',' << column;
            EXPECT_EQ(lineRight(sheet, row, column), thinRed) << row << ',' << column;
        }
    }
    EXPECT_EQ(sheet.format(1, 1).top, thinRed);
    EXPECT_FALSE(sheet.hasCell(4, 1)) << "the box makes no cell outside itself";
    EXPECT_FALSE(sheet.hasCell(1, 3));

    // A later box wins on both sides of a shared edge.
    sheet.range(u"A1"_s, u"A2"_s).borderAround(excel::lineContinuous, excel::weightMedium, 3, 255);
    const BorderEdge medium{excel::weightMedium, 0xFF0000};
    EXPECT_EQ(sheet.format(1, 1).right, medium);
    EXPECT_EQ(sheet.format(1, 2).left, medium);
    EXPECT_EQ(sheet.format(3, 1).top, medium);

    // A box only draws its outline: the inner edges of a 2 x 2 box stay empty.
    sheet.range(u"E1"_s, u"F2"_s)
        .borderAround(excel::lineContinuous, excel::weightThick, 3, std::nullopt);
    EXPECT_EQ(sheet.format(1, 5).top, (BorderEdge{excel::weightThick, 0xFF0000}));
    EXPECT_EQ(lineBelow(sheet, 1, 5), BorderEdge{});
    EXPECT_EQ(lineRight(sheet, 1, 5), BorderEdge{});
    EXPECT_EQ(sheet.format(2, 6).right.weight, excel::weightThick);
}

TEST(WorkbookTest, WholeColumnsFormatExistingCellsAndCellsMadeLater) {
    Workbook book;
    Worksheet& sheet = book.worksheet(1);
    sheet.cells(1, 1).setValues({{u"before"_s}});
    sheet.columns().setHorizontalAlignment(excel::alignRight);
    sheet.columns().setColumnWidth(14);
    sheet.cells(5, 3).setValues({{u"after"_s}});
    sheet.cells(6, 3).setFontItalic(true);
    EXPECT_EQ(sheet.format(1, 1).alignment, HorizontalAlignment::Right);
    EXPECT_EQ(sheet.format(5, 3).alignment, HorizontalAlignment::Right);
    EXPECT_EQ(sheet.format(6, 3).alignment, HorizontalAlignment::Right);
    EXPECT_TRUE(sheet.format(6, 3).italic);
    EXPECT_EQ(sheet.columnWidth(700), 14);
    sheet.range(u"B7"_s, u"B9"_s).setColumnWidth(300);
    EXPECT_EQ(sheet.columnWidth(2), 255) << "clamped to what the file format holds";
    EXPECT_THROW(sheet.cells(1, 1).setHorizontalAlignment(7), UserError);
}

TEST(WorkbookTest, DeleteShiftsTheCellsToTheRightLeftWithTheirFormatsWhileWidthsStay) {
    Workbook book;
    Worksheet& sheet = book.worksheet(1);
    sheet.range(u"A1"_s, u"C3"_s)
        .setValues({{u"a1"_s, u"b1"_s, u"c1"_s},
                    {u"a2"_s, u"b2"_s, u"c2"_s},
                    {u"a3"_s, u"b3"_s, u"c3"_s}});
    sheet.range(u"B1"_s, u"B3"_s).setInteriorColourIndex(4);
    sheet.cells(1, 3).setFontBold(true);
    sheet.range(u"A1"_s, u"A1"_s).setColumnWidth(31);
    sheet.range(u"B1"_s, u"B1"_s).setColumnWidth(9);

    sheet.range(u"A1"_s, u"A2"_s).deleteShiftLeft();

    EXPECT_EQ(sheet.value(1, 1).text(), u"b1"_s);
    EXPECT_EQ(sheet.value(2, 2).text(), u"c2"_s);
    EXPECT_FALSE(sheet.hasCell(1, 3));
    EXPECT_EQ(sheet.format(1, 1).interiorColourIndex, 4);
    EXPECT_TRUE(sheet.format(1, 2).bold);
    EXPECT_EQ(sheet.value(3, 1).text(), u"a3"_s) << "rows below the range do not move";
    EXPECT_EQ(sheet.format(3, 2).interiorColourIndex, 4);
    EXPECT_EQ(sheet.columnWidth(1), 31);
    EXPECT_EQ(sheet.columnWidth(2), 9);
}

TEST(WorkbookTest, ValuesKeepTheirKindAndText) {
    EXPECT_EQ(CellValue::ofNumber(12).text(), u"12"_s);
    EXPECT_EQ(CellValue::ofNumber(12.5).text(), u"12.5"_s);
    EXPECT_EQ(CellValue::ofNumber(0.1).text(), u"0.1"_s);
    EXPECT_EQ(CellValue::ofNumber(-0.0).text(), u"0"_s);
    EXPECT_EQ(CellValue::ofNumber(1e21).text(), u"1e+21"_s);
    EXPECT_EQ(CellValue::ofBoolean(true).text(), u"TRUE"_s);
    EXPECT_EQ(CellValue::ofError(u"#DIV/0!"_s).kind(), CellValue::Kind::Error);
    EXPECT_THROW(Workbook().worksheet(2), UserError);
}

} // namespace
} // namespace corvanteller
