// SPDX-License-Identifier: GPL-3.0-or-later
#include "office/excel_export.h"

#include "common/error.h"
#include "kar/row_store.h"
#include "office/workbook_engine.h"
#include "office/workbook_file.h"
#include "settings/options.h"
#include "table/song_table_model.h"
#include "xlsx_inspect.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace corvanteller {
namespace {

using namespace Qt::StringLiterals;

const QDateTime now(QDate(2026, 12, 6), QTime(21, 5, 9));
const QLocale english(QLocale::English, QLocale::UnitedStates);

const QStringList headers = {
    u"#"_s, u"Name of file"_s, u"Way"_s, u"The executor and/or the name of songs"_s, u"D"_s,
    u"E"_s, u"Made..."_s};

// A table of songs with texts "<column><row>" (a1 ... f3), row 2 checked, and the widest-cell
// lengths 11 to 17.
struct Table {
    explicit Table(int songs = 3) {
        for (int row = 1; row <= songs; ++row) {
            for (int column = 1; column <= 6; ++column) {
                store.setText(column, row, QChar(u'a' + column - 1) + QString::number(row));
            }
        }
        store.setRowCount(songs);
        model.rebuildFrom(store);
        if (songs >= 2) {
            model.toggleCheck(2);
        }
        WidestCellLengths widest;
        for (int slot = 1; slot <= WidestCellLengths::slotCount; ++slot) {
            widest[slot] = 10 + slot;
        }
        model.setWidestCellLengths(widest);
    }
    RowStore store;
    SongTableModel model;
};

struct Export {
    Export(const SongTableModel& model, const ExcelOptions& options) {
        EXPECT_TRUE(buildExportWorkbook(engine, model, options, now, english));
    }
    Worksheet& sheet() { return engine.workbook(1).worksheet(1); }
    QString text(const QString& address) {
        return sheet().range(address, address).values()[0][0].text();
    }
    const CellFormat& format(const QString& address) {
        const Range cell = sheet().range(address, address);
        return sheet().format(cell.top(), cell.left());
    }
    WorkbookEngine engine;
};

constexpr BorderEdge thin{excel::weightThin, 0xFF0000};
constexpr BorderEdge medium{excel::weightMedium, 0xFF0000};

TEST(ExcelExportTest, TheDefaultsCellByCell) {
    Table table;
    Export exported(table.model, ExcelOptions());
    Worksheet& sheet = exported.sheet();
    EXPECT_EQ(sheet.name(), u"Список караоке файлов"_s);
    for (int column = 1; column <= 7; ++column) {
        EXPECT_EQ(sheet.value(1, column).text(), headers[column - 1]);
    }
    EXPECT_EQ(exported.text(u"A2"_s), u"1"_s);
    EXPECT_EQ(exported.text(u"A3"_s), u"V 2"_s) << "a checked row keeps its mark";
    EXPECT_EQ(exported.text(u"B3"_s), u"a2"_s);
    EXPECT_EQ(exported.text(u"G4"_s), u"f3"_s);
    EXPECT_TRUE(sheet.value(5, 2).isEmpty());
    EXPECT_EQ(exported.text(u"B6"_s), u"Additional information:"_s);
    EXPECT_EQ(exported.text(u"B7"_s), u"06.Dec.2026"_s);
    EXPECT_EQ(exported.text(u"C7"_s), u"Made in Earth"_s);
    EXPECT_EQ(sheet.lastUsedCell(), (CellPosition{7, 7}));

    // The number column: its own fill, the headings' colour, medium boxes, centred, italic, bold.
    for (const QString& address : {u"A2"_s, u"A4"_s}) {
        const CellFormat& format = exported.format(address);
        EXPECT_EQ(format.interiorColourIndex, 8) << address.toStdString();
        EXPECT_EQ(format.pattern, excel::patternSolid);
        EXPECT_EQ(format.patternColourIndex, excel::colourIndexAutomatic);
        EXPECT_EQ(format.fontColour, 16711680);
        EXPECT_EQ(format.alignment, HorizontalAlignment::Centre);
        EXPECT_TRUE(format.italic);
        EXPECT_TRUE(format.bold);
        EXPECT_EQ(format.left, medium);
        EXPECT_EQ(format.right, medium);
    }
    // The header row: the headings' fill, centred, bold, medium boxes around every cell.
    for (const QString& address : {u"A1"_s, u"D1"_s, u"G1"_s}) {
        const CellFormat& format = exported.format(address);
        EXPECT_EQ(format.interiorColourIndex, 6) << address.toStdString();
        EXPECT_EQ(format.fontColour, 16711680);
        EXPECT_EQ(format.alignment, HorizontalAlignment::Centre);
        EXPECT_TRUE(format.bold);
        for (const BorderEdge& edge : {format.left, format.right, format.top, format.bottom}) {
            EXPECT_EQ(edge, medium) << address.toStdString();
        }
    }
    // The data columns: a fill and a font colour each, right-aligned, thin red grid.
    const int fills[] = {24, 4, 19, 22, 20, 15};
    const int colours[] = {255, 8388608, 32768, 8388736, 8421376, 16711680};
    for (int column = 2; column <= 7; ++column) {
        const CellFormat& format = sheet.format(3, column);
        EXPECT_EQ(format.interiorColourIndex, fills[column - 2]) << column;
        EXPECT_EQ(format.fontColour, colours[column - 2]) << column;
        EXPECT_EQ(format.alignment, HorizontalAlignment::Right);
        EXPECT_FALSE(format.bold);
        EXPECT_EQ(format.top, thin);
        EXPECT_EQ(format.bottom, thin);
    }
    EXPECT_EQ(sheet.format(3, 7).right, thin);
    EXPECT_EQ(sheet.format(3, 2).left, medium) << "the number column's boxes came later";
    // The footer.
    EXPECT_EQ(exported.format(u"B6"_s).interiorColourIndex, 27);
    EXPECT_EQ(exported.format(u"B6"_s).alignment, HorizontalAlignment::Left);
    EXPECT_EQ(exported.format(u"B7"_s).fontColour, 8388608);
    EXPECT_EQ(exported.format(u"C7"_s).fontColour, -1);
    // Widths: 9 for the numbers, the widest-cell lengths 11 to 15 and 16 + 1.
    const double widths[] = {9, 11, 12, 13, 14, 15, 17, 14};
    for (int column = 1; column <= 8; ++column) {
        EXPECT_EQ(sheet.columnWidth(column), widths[column - 1]) << column;
    }
}

TEST(ExcelExportTest, WithoutTheNumberColumnTheTableStartsInColumnA) {
    Table table;
    ExcelOptions options;
    options.numberOfRow = false;
    options.wideColumns = false;
    Export exported(table.model, options);
    Worksheet& sheet = exported.sheet();
    for (int column = 1; column <= 6; ++column) {
        EXPECT_EQ(sheet.value(1, column).text(), headers[column]);
        EXPECT_EQ(sheet.value(3, column).text(), QChar(u'a' + column - 1) + u"2"_s);
    }
    EXPECT_TRUE(sheet.value(1, 7).isEmpty());
    EXPECT_TRUE(sheet.value(3, 7).isEmpty());
    EXPECT_EQ(sheet.columnWidth(1), 31);
    EXPECT_EQ(sheet.columnWidth(2), 14);
    EXPECT_EQ(exported.format(u"F1"_s).interiorColourIndex, 2) << "G1's white fill moved left";
    // The fills and colours were given to columns A to G before the shift: column B's now
    // stand in A.
    EXPECT_EQ(exported.format(u"A3"_s).interiorColourIndex, 4);
    EXPECT_EQ(exported.format(u"E3"_s).interiorColourIndex, 15);
    EXPECT_EQ(exported.format(u"F3"_s).interiorColourIndex, 0);
    EXPECT_EQ(exported.format(u"A3"_s).fontColour, 255);
    EXPECT_EQ(exported.format(u"A3"_s).alignment, HorizontalAlignment::Right);
    EXPECT_FALSE(exported.format(u"A3"_s).bold);
    EXPECT_FALSE(sheet.hasCell(3, 7)) << "the moved cells leave nothing behind in G";
    EXPECT_EQ(exported.text(u"B6"_s), u"Additional information:"_s) << "the footer stays put";

    options.wideColumns = true;
    Export wide(table.model, options);
    for (int column = 1; column <= 7; ++column) {
        EXPECT_EQ(wide.sheet().columnWidth(column), 10 + column) << column;
    }
}

TEST(ExcelExportTest, WithoutColumnNamesRowOneIsEmptyButFormatted) {
    Table table;
    ExcelOptions options;
    options.columnNames = false;
    Export exported(table.model, options);
    Worksheet& sheet = exported.sheet();
    for (int column = 1; column <= 7; ++column) {
        EXPECT_TRUE(sheet.value(1, column).isEmpty()) << column;
    }
    EXPECT_EQ(exported.text(u"A2"_s), u"1"_s);
    EXPECT_EQ(exported.format(u"C1"_s).interiorColourIndex, 6);
    EXPECT_EQ(exported.format(u"C1"_s).fontColour, 8388608) << "column colours, no headings";
    EXPECT_EQ(exported.format(u"C1"_s).alignment, HorizontalAlignment::Right);
    EXPECT_FALSE(exported.format(u"C1"_s).bold);
    EXPECT_EQ(exported.format(u"A1"_s).fontColour, 16711680);
}

TEST(ExcelExportTest, TheFooterFollowsItsOptions) {
    Table table(1);
    const DateTimeChoice choices[] = {DateTimeChoice::Date, DateTimeChoice::Time,
                                      DateTimeChoice::DateAndTime};
    const QString dates[] = {u"06.Dec.2026"_s, u"21.05.09"_s, u"06.12.2026  21.05.09"_s};
    // Every combination of the four footer options, each date choice in turn.
    for (int combination = 0; combination < 16; ++combination) {
        ExcelOptions options;
        options.addDateTime = (combination & 1) != 0;
        options.chooseList1 = (combination & 2) != 0;
        options.chooseList2 = (combination & 4) != 0;
        options.addString = (combination & 8) != 0;
        options.whatAdded = choices[combination % 3];
        options.list1Text = u"Collection"_s;
        options.stringToAdd = u"Всем ПрИвЕтИк!"_s;
        Export exported(table.model, options);
        Worksheet& sheet = exported.sheet();
        QStringList expected;
        if (options.addDateTime) {
            expected << dates[combination % 3];
        }
        if (options.chooseList1) {
            expected << u"Collection"_s;
        }
        if (options.chooseList2) {
            expected << u"Made in Earth"_s;
        }
        if (options.addString) {
            expected << u"Всем ПрИвЕтИк!"_s;
        }
        // n = 2: the label in B4, the values from B5 on, side by side.
        QStringList values;
        for (int column = 2; column < 2 + expected.size(); ++column) {
            values << sheet.value(5, column).text();
        }
        EXPECT_EQ(values, expected) << combination;
        EXPECT_EQ(sheet.value(4, 2).text(),
                  options.addDateTime ? u"Additional information:"_s : QString())
            << combination;
        const CellPosition expectedLast =
            expected.isEmpty() ? CellPosition{2, 7} : CellPosition{5, 7};
        EXPECT_EQ(sheet.lastUsedCell(), expectedLast) << combination;
    }
}

// The line drawn between a cell and its neighbour below or to the right.
BorderEdge lineBelow(const Worksheet& sheet, int row, int column) {
    const BorderEdge& own = sheet.format(row, column).bottom;
    return own.weight != 0 ? own : sheet.format(row + 1, column).top;
}
BorderEdge lineRight(const Worksheet& sheet, int row, int column) {
    const BorderEdge& own = sheet.format(row, column).right;
    return own.weight != 0 ? own : sheet.format(row, column + 1).left;
}

TEST(ExcelExportTest, BordersAreDrawnAsChosen) {
    Table table(4);
    ExcelOptions options;
    options.numberOfRow = false; // no medium boxes in column A
    options.columnNames = false;
    options.colourHeadingsBorders = false;
    for (BordersDrawn drawn :
         {BordersDrawn::All, BordersDrawn::Horizontal, BordersDrawn::Vertical}) {
        options.bordersDrawn = drawn;
        Export exported(table.model, options);
        const Worksheet& sheet = exported.sheet();
        // Inside the table (rows 2 and 3, columns B and C after the shift).
        const bool horizontal = drawn != BordersDrawn::Vertical;
        const bool vertical = drawn != BordersDrawn::Horizontal;
        EXPECT_EQ(lineBelow(sheet, 2, 2), horizontal ? thin : BorderEdge{});
        EXPECT_EQ(lineRight(sheet, 2, 2), vertical ? thin : BorderEdge{});
        EXPECT_EQ(sheet.format(1, 2).top, thin) << "the table's outline";
        EXPECT_EQ(sheet.format(5, 2).bottom, thin);
    }
    options.colourAllBorders = false;
    Export none(table.model, options);
    EXPECT_EQ(none.format(u"B2"_s).top, BorderEdge{});
}

TEST(ExcelExportTest, TextsGoAsTheyStand) {
    Table table(1);
    const QStringList texts = {u"=1+1"_s, u"01"_s, u"3/4"_s, u"bell\x07"_s, u"Ёлка"_s, u"e"_s};
    for (int column = 1; column <= 6; ++column) {
        table.model.setCell(1, column, texts[column - 1]);
    }
    Export exported(table.model, ExcelOptions());
    for (int column = 1; column <= 6; ++column) {
        EXPECT_EQ(exported.sheet().value(2, column + 1).kind(), CellValue::Kind::Text);
        EXPECT_EQ(exported.sheet().value(2, column + 1).text(), texts[column - 1]);
    }
}

TEST(ExcelExportTest, AnEmptyTableTouchesNoEngine) {
    Table table(0);
    WorkbookEngine engine;
    bool opened = false;
    const ExcelExportOutcome outcome =
        exportToExcel(engine, table.model, ExcelOptions(), now, english,
                      [&opened](const QString&) { return opened = true; });
    EXPECT_FALSE(outcome.exported);
    EXPECT_FALSE(opened);
    EXPECT_EQ(engine.workbookCount(), 0);
}

struct HandOver {
    HandOver() { engine.setHandOverFolder(folder.filePath(u"handover"_s)); }
    ExcelExportOutcome run(const SongTableModel& model, const ExcelOptions& options = {}) {
        return exportToExcel(engine, model, options, now, english, [this](const QString& path) {
            opened.append(path);
            return opens;
        });
    }
    QTemporaryDir folder;
    WorkbookEngine engine;
    QStringList opened;
    bool opens = true;
};

TEST(ExcelExportTest, TheWrittenWorkbookReadsBackWithItsFormats) {
    Table table;
    HandOver handOver;
    // A workbook left over must not leak into the export.
    handOver.engine.addWorkbook().worksheet(1).cells(1, 1).setValues({{u"stale"_s}});
    const ExcelExportOutcome outcome = handOver.run(table.model);
    EXPECT_TRUE(outcome.exported);
    EXPECT_TRUE(outcome.messages.isEmpty());
    EXPECT_TRUE(outcome.notShown.isEmpty());
    EXPECT_EQ(handOver.engine.workbookCount(), 0) << "dropped after the hand-over";
    ASSERT_EQ(handOver.opened.size(), 1);
    const QString path = handOver.opened.front();
    EXPECT_TRUE(path.startsWith(handOver.folder.filePath(u"handover/Book-"_s)));
    EXPECT_TRUE(path.endsWith(u".xlsx"_s));

    const std::unique_ptr<Worksheet> sheet = readFirstWorksheet(path);
    EXPECT_EQ(sheet->value(1, 1).text(), u"#"_s);
    EXPECT_EQ(sheet->value(3, 1).text(), u"V 2"_s);
    EXPECT_EQ(sheet->value(4, 7).text(), u"f3"_s);
    EXPECT_EQ(sheet->value(7, 2).text(), u"06.Dec.2026"_s);
    EXPECT_EQ(sheet->lastUsedCell(), (CellPosition{7, 7}));

    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const test::XlsxInspector styles(file.readAll());
    ASSERT_TRUE(styles.ok());
    EXPECT_EQ(styles.autoFilter(), u"A1:G4"_s); // the header and the rows, not the footer
    EXPECT_EQ(styles.frozenRows(), 1);
    const test::XlsxCellStyle number = styles.style(u"A2"_s);
    EXPECT_EQ(number.fillColour, u"FF00FFFF"_s);
    EXPECT_EQ(number.fontColour, u"FF0000FF"_s);
    EXPECT_TRUE(number.bold && number.italic);
    EXPECT_EQ(number.horizontal, u"center"_s);
    EXPECT_TRUE(number.borders.contains(u"left medium FFFF0000"_s))
        << number.borders.join(u'|').toStdString();
    const test::XlsxCellStyle header = styles.style(u"C1"_s);
    EXPECT_EQ(header.fillColour, u"FFFFFF00"_s);
    EXPECT_TRUE(header.bold);
    const test::XlsxCellStyle data = styles.style(u"C3"_s);
    EXPECT_EQ(data.fillColour, u"FF00FF00"_s);
    EXPECT_EQ(data.fontColour, u"FF000080"_s);
    EXPECT_EQ(data.horizontal, u"right"_s);
    EXPECT_TRUE(data.borders.contains(u"top thin FFFF0000"_s))
        << data.borders.join(u'|').toStdString();
    EXPECT_FALSE(data.bold);
    EXPECT_LE(styles.formatCount(), 20) << "formats are shared";
}

TEST(ExcelExportTest, WhatTheUserIsToldAfterTheHandOver) {
    Table table(1);
    table.model.setCell(1, 3, QString(40000, u'x'));
    HandOver handOver;
    handOver.opens = false;
    const ExcelExportOutcome outcome = handOver.run(table.model);
    ASSERT_EQ(handOver.opened.size(), 1);
    EXPECT_EQ(outcome.notShown, QStringList{handOver.opened.front()});
    EXPECT_EQ(outcome.messages,
              QStringList{u"Some cells were longer than 32767 characters and were cut in the "
                          u"workbook."_s});
    EXPECT_TRUE(QFile::exists(handOver.opened.front()));
}

TEST(ExcelExportTest, AFailedExportLeavesNothingInTheEngine) {
    Table table;
    HandOver handOver;
    QFile blocker(handOver.folder.filePath(u"blocker"_s));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    handOver.engine.setHandOverFolder(handOver.folder.filePath(u"blocker/handover"_s));
    EXPECT_THROW(handOver.run(table.model), UserError);
    EXPECT_EQ(handOver.engine.workbookCount(), 0);
    EXPECT_TRUE(handOver.opened.isEmpty());
    EXPECT_EQ(table.model.cell(2, 0), u"V 2"_s) << "the table is untouched";
}

} // namespace
} // namespace corvanteller
