// SPDX-License-Identifier: GPL-3.0-or-later
#include "office/excel_import.h"

#include "common/error.h"
#include "office/excel_export.h"
#include "office/workbook_engine.h"
#include "office/xlsx_writer.h"
#include "settings/options.h"
#include "table/table_session.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace corvanteller {
namespace {

using namespace Qt::StringLiterals;

using Rows = QList<QStringList>;

// A sheet of texts; "5" style texts become numbers, as a spreadsheet keeps them.
ImportedSheet sheetOf(const Rows& rows) {
    ImportedSheet sheet;
    for (int row = 0; row < rows.size(); ++row) {
        std::vector<CellValue> values;
        for (const QString& text : rows[row]) {
            bool number = false;
            const double value = text.toDouble(&number);
            values.push_back(text.isEmpty() ? CellValue()
                             : number       ? CellValue::ofNumber(value)
                                            : CellValue::ofText(text));
            if (!text.isEmpty()) {
                sheet.lastRow = std::max(sheet.lastRow, row + 1);
                sheet.lastColumn = std::max(sheet.lastColumn, static_cast<int>(values.size()));
            }
        }
        sheet.values.push_back(values);
    }
    sheet.values.resize(static_cast<std::size_t>(sheet.lastRow));
    for (std::vector<CellValue>& values : sheet.values) {
        values.resize(static_cast<std::size_t>(std::min(sheet.lastColumn, 7)));
    }
    return sheet;
}

ImportWidths fixedWidths() {
    ImportWidths widths;
    widths.mode = ColumnWidthMode::Fixed;
    return widths;
}

QStringList row(const SongTableModel& model, int index) {
    QStringList cells;
    for (int column = 0; column < 7; ++column) {
        cells << model.cell(index, column);
    }
    return cells;
}

QStringList header(const SongTableModel& model) {
    QStringList cells;
    for (int column = 0; column < 7; ++column) {
        cells << model.headerText(column);
    }
    return cells;
}

const QStringList songA = {u"1"_s, u"a.kar"_s, u"/m/"_s, u"A"_s, u"d"_s, u"e"_s, u"maker"_s};
const QStringList songB = {u"2"_s, u"b.kar"_s, u"/m/"_s, u"B"_s, QString(), QString(), QString()};
const QStringList headerRow = {u"#"_s, u"Name of file"_s, u"Way"_s, u"Title"_s, u"D"_s,
                               u"E"_s, u"Made..."_s};

int importedRows(const Rows& rows, ImportingWindow window) {
    TableSession table;
    return importSheet(sheetOf(rows), window, table, fixedWidths()).dataRows;
}

TEST(ExcelImportTest, TheFooterIsFoundByEachWindowsTests) {
    struct Case {
        const char* what;
        QStringList footerLabelRow; // row R - 1
        int main;                   // data rows the main window keeps
        int start;                  // and the start window
    };
    const Case cases[] = {
        {"test 1", {QString(), u"Additional information:"_s}, 2, 2},
        {"main test 2", {u"Дополнительная информация:"_s}, 2, 5},
        {"start test 2", {u"Additional information:"_s}, 5, 2},
        {"main test 3, which the start window's test 4 also finds",
         {QString(), u"See Additional: notes"_s},
         2,
         2},
        {"main test 4", {QString(), u"More information:"_s}, 2, 5},
        {"start test 3", {QString(), u"informat: x"_s}, 5, 2},
        {"start test 4", {QString(), u"Additional songs"_s}, 5, 2},
        {"a real row whose file name holds the word",
         {u"3"_s, u"Additional information:.kar"_s},
         5,
         5},
        {"test 4 with a number in column A", {u"3"_s, u"Additional Songs.kar"_s}, 5, 5},
    };
    for (const Case& footer : cases) {
        const Rows rows = {headerRow,
                           songA,
                           songB,
                           {},
                           footer.footerLabelRow,
                           {QString(), u"06.Dec.2026"_s, u"Made in Earth"_s}};
        EXPECT_EQ(importedRows(rows, ImportingWindow::Main), footer.main) << footer.what;
        EXPECT_EQ(importedRows(rows, ImportingWindow::Start), footer.start) << footer.what;
    }
    // A footer written without its label: two empty rows and a values row with column A empty.
    const Rows unlabelled = {headerRow, songA, songB, {}, {}, {QString(), u"Made in Earth"_s}};
    EXPECT_EQ(importedRows(unlabelled, ImportingWindow::Main), 2);
    EXPECT_EQ(importedRows(unlabelled, ImportingWindow::Start), 2);
    const Rows tail = {headerRow, songA, songB, {}, {}, {u"9"_s, u"z.kar"_s}};
    EXPECT_EQ(importedRows(tail, ImportingWindow::Main), 5);
}

TEST(ExcelImportTest, TheColumnOffsetFollowsA1) {
    struct Case {
        QString a1;
        ImportingWindow window;
        int offset;
    };
    const Case cases[] = {
        {u"#"_s, ImportingWindow::Main, 0},     {u"#"_s, ImportingWindow::Start, 0},
        {u"№"_s, ImportingWindow::Main, 0},     {u"№"_s, ImportingWindow::Start, 1},
        {u"x.kar"_s, ImportingWindow::Main, 1}, {u"1"_s, ImportingWindow::Main, 1},
    };
    for (const Case& test : cases) {
        TableSession table;
        const Rows rows = {{test.a1, u"B1"_s, u"C1"_s}, {u"7"_s, u"b2"_s, u"c2"_s}};
        importSheet(sheetOf(rows), test.window, table, fixedWidths());
        const SongTableModel& model = table.model();
        EXPECT_EQ(model.cell(1, 0), u"1"_s) << "renumbered";
        EXPECT_EQ(model.headerText(0), u"#"_s);
        if (test.offset == 0) {
            EXPECT_EQ(model.cell(1, 1), u"b2"_s) << test.a1.toStdString();
            EXPECT_EQ(model.headerText(2), u"C1"_s);
        } else {
            EXPECT_EQ(model.cell(1, 1), u"7"_s) << test.a1.toStdString();
            EXPECT_EQ(model.cell(1, 3), u"c2"_s);
            EXPECT_EQ(model.headerText(1), test.a1);
        }
    }
}

TEST(ExcelImportTest, RowsGoIntoTheTableTheMainStoreAndTheirFiles) {
    TableSession table;
    table.origin = TableOrigin::StartWindow;
    const Rows rows = {headerRow, {u"V 1"_s, u"a.kar"_s, u"/m/"_s, u"A"_s}, songB};
    const ImportOutcome outcome =
        importSheet(sheetOf(rows), ImportingWindow::Main, table, fixedWidths());
    const SongTableModel& model = table.model();
    EXPECT_EQ(outcome.dataRows, 2);
    EXPECT_EQ(outcome.statusText, u"2 record(s) was(were) exported to Excel"_s);
    EXPECT_EQ(header(model), headerRow);
    EXPECT_EQ(row(model, 1),
              (QStringList{u"1"_s, u"a.kar"_s, u"/m/"_s, u"A"_s, QString(), QString(), QString()}))
        << "the mark is replaced by the number";
    EXPECT_EQ(row(model, 2), songB);
    EXPECT_EQ(table.origin, TableOrigin::MainWindow);
    EXPECT_EQ(table.mainStore().text(1, 2), u"b.kar"_s);
    EXPECT_EQ(table.mainStore().text(3, 1), u"A"_s);
    EXPECT_EQ(table.mainStore().file(2), (RowFile{u"/m/"_s, u"b.kar"_s}));
    EXPECT_EQ(model.rowFile(1), (RowFile{u"/m/"_s, u"a.kar"_s}));
}

TEST(ExcelImportTest, ANarrowerSheetClearsTheColumnsItDoesNotFill) {
    TableSession table;
    SongTableModel& model = table.model();
    model.resetForList(3);
    for (int r = 1; r <= 3; ++r) {
        for (int column = 1; column <= 6; ++column) {
            model.setCell(r, column, u"old"_s);
        }
    }
    const Rows rows = {{u"#"_s, u"Name"_s, u"Way"_s}, {u"1"_s, u"n.kar"_s, u"/w/"_s}};
    importSheet(sheetOf(rows), ImportingWindow::Start, table, fixedWidths());
    EXPECT_EQ(model.songCount(), 1);
    EXPECT_EQ(row(model, 1), (QStringList{u"1"_s, u"n.kar"_s, u"/w/"_s, QString(), QString(),
                                          QString(), QString()}));
    EXPECT_EQ(header(model),
              (QStringList{u"#"_s, u"Name"_s, u"Way"_s, u"The executor and/or the name of songs"_s,
                           u"D"_s, u"E"_s, u"Made by..."_s}))
        << "header cells outside the sheet's columns keep their texts";
}

TEST(ExcelImportTest, SmallSheetsImport) {
    struct Case {
        const char* what;
        Rows rows;
        int dataRows;
        QStringList firstRow;
    };
    const Case cases[] = {
        {"one cell", {{u"#"_s}}, 0, {}},
        {"one row", {{u"x.kar"_s, u"/m/"_s}}, 0, {}},
        {"one column", {{u"#"_s}, {u"4"_s}, {u"5"_s}}, 2, {u"1"_s}},
        {"a label in row 1 leaves no rows", {{QString(), u"Additional information:"_s}, {}}, 0, {}},
    };
    for (const Case& test : cases) {
        TableSession table;
        table.model().resetForList(4);
        const ImportOutcome outcome =
            importSheet(sheetOf(test.rows), ImportingWindow::Main, table, fixedWidths());
        EXPECT_EQ(outcome.dataRows, test.dataRows) << test.what;
        EXPECT_EQ(table.model().songCount(), test.dataRows) << test.what;
        if (!test.firstRow.isEmpty()) {
            EXPECT_EQ(table.model().cell(1, 0), test.firstRow[0]) << test.what;
        }
    }
    TableSession table;
    EXPECT_EQ(importSheet(sheetOf({{QString(), u"Additional information:"_s}, {u"x"_s}}),
                          ImportingWindow::Main, table, fixedWidths())
                  .statusText,
              u"0 record(s) was(were) exported to Excel"_s);
    EXPECT_EQ(table.model().headerText(2), u"Additional information:"_s) << "row 1 is copied";
}

TEST(ExcelImportTest, MoreRowsThanTheTableTakesAreRefused) {
    Rows rows(45004, QStringList{u"n"_s});
    rows[0] = {u"#"_s};
    TableSession table;
    table.model().resetForList(2);
    table.model().setCell(1, 1, u"kept"_s);
    try {
        importSheet(sheetOf(rows), ImportingWindow::Main, table, fixedWidths());
        FAIL() << "imported";
    } catch (const UserError& error) {
        EXPECT_EQ(error.text(), u"The sheet holds more rows than the table can take."_s);
    }
    EXPECT_EQ(table.model().songCount(), 2);
    EXPECT_EQ(table.model().cell(1, 1), u"kept"_s);
    EXPECT_EQ(table.origin, TableOrigin::StartWindow);

    // With the export's footer the same rows hold 45,000 songs.
    rows[45001] = {};
    rows[45002] = {QString(), u"Additional information:"_s};
    rows[45003] = {QString(), u"Made in Earth"_s};
    EXPECT_EQ(importSheet(sheetOf(rows), ImportingWindow::Main, table, fixedWidths()).dataRows,
              45000);
}

TEST(ExcelImportTest, WidthModeTwoSetsTheWidthsAndTheWidestCellLengths) {
    TableSession table;
    ImportWidths widths;
    widths.mode = ColumnWidthMode::WidestLine;
    widths.current = {33, 1, 1, 1, 1, 1, 1};
    widths.measure = [](const QString& text) { return static_cast<int>(text.size()) * 7; };
    const Rows rows = {headerRow, {u"1"_s, u"long-name.kar"_s, u"/m/"_s}};
    const ImportOutcome outcome = importSheet(sheetOf(rows), ImportingWindow::Main, table, widths);
    ASSERT_TRUE(outcome.layout);
    EXPECT_EQ(outcome.layout->widths[0], 33) << "the number column keeps its width";
    EXPECT_EQ(outcome.layout->widths[1], 13 * 7 + 1 + 3);
    EXPECT_EQ(outcome.layout->widths[3], 5 * 7 + 1 + 3) << "the header row counts";
    EXPECT_EQ(table.model().widestCellLengths()[1], 13);
    EXPECT_EQ(table.model().widestCellLengths()[3], 5);
    EXPECT_FALSE(importSheet(sheetOf(rows), ImportingWindow::Main, table, fixedWidths()).layout);
}

TEST(ExcelImportTest, AnExportedWorkbookImportsBackRowForRow) {
    TableSession source;
    RowStore& store = source.startStore();
    for (int r = 1; r <= 25; ++r) {
        store.setText(1, r, u"song%1.kar"_s.arg(r));
        store.setText(2, r, u"/music/"_s);
        store.setText(3, r, u"Песня %1"_s.arg(r));
        store.setText(6, r, r % 2 ? u"maker"_s : QString());
    }
    store.setRowCount(25);
    source.model().rebuildFrom(store);
    source.model().toggleCheck(3);

    QTemporaryDir folder;
    WorkbookEngine engine;
    engine.setHandOverFolder(folder.path());
    QString path;
    exportToExcel(engine, source.model(), ExcelOptions(), QDateTime::currentDateTime(),
                  QLocale::c(), [&path](const QString& written) {
                      path = written;
                      return true;
                  });
    // A workbook left behind by some other command is never read instead of the file.
    engine.addWorkbook().worksheet(1).cells(1, 1).setValues({{u"stale"_s}});

    TableSession target;
    const ImportOutcome outcome =
        importFromExcel(engine, path, ImportingWindow::Main, target, fixedWidths(), QLocale::c());
    EXPECT_EQ(outcome.statusText, u"25 record(s) was(were) exported to Excel"_s);
    EXPECT_EQ(engine.workbookCount(), 0);
    source.model().toggleCheck(3);
    for (int r = 1; r <= 25; ++r) {
        EXPECT_EQ(row(target.model(), r), row(source.model(), r)) << r;
    }
    EXPECT_EQ(header(target.model()), header(source.model()));
}

TEST(ExcelImportTest, EmptyOrOverlongSheetsChangeNothing) {
    QTemporaryDir folder;
    const QString empty = folder.filePath(u"empty.xlsx"_s);
    Workbook blank;
    blank.worksheet(1).cells(3, 3).setFontBold(true);
    writeXlsx(blank, empty);
    const QString overlong = folder.filePath(u"long.xlsx"_s);
    Workbook longBook;
    longBook.worksheet(1).cells(45007, 1).setValues({{u"x"_s}});
    writeXlsx(longBook, overlong);

    const std::pair<QString, QString> cases[] = {
        {empty, u"The first worksheet of the file is empty."_s},
        {overlong, u"The sheet holds more rows than the table can take."_s},
        {folder.filePath(u"missing.xlsx"_s), u"File not found"_s},
    };
    for (const auto& [path, message] : cases) {
        WorkbookEngine engine;
        TableSession table;
        table.model().resetForList(1);
        try {
            importFromExcel(engine, path, ImportingWindow::Start, table, fixedWidths(),
                            QLocale::c());
            ADD_FAILURE() << "imported " << path.toStdString();
        } catch (const UserError& error) {
            EXPECT_EQ(error.text(), message);
        }
        EXPECT_EQ(engine.workbookCount(), 0) << "the engine is emptied after a failure too";
        EXPECT_EQ(table.model().songCount(), 1);
        EXPECT_EQ(table.origin, TableOrigin::StartWindow);
    }
}

} // namespace
} // namespace corvanteller
