// SPDX-License-Identifier: GPL-3.0-or-later
#include "table/table_controller.h"

#include "table/table_duplicates.h"
#include "table/table_session.h"

#include <gtest/gtest.h>

#include <functional>

namespace corvanteller {
namespace {

using namespace Qt::StringLiterals;

// Every cell and file of the table, one line per row.
QStringList contents(const SongTableModel& table) {
    QStringList lines;
    for (int row = 1; row <= table.songCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < SongTableModel::columnCountValue; ++column) {
            cells << table.cell(row, column);
        }
        cells << table.rowFile(row).name;
        lines << cells.join(u'|');
    }
    return lines;
}

// Each command's step puts back exactly the table it changed, and redoes exactly what it did;
// the row stores follow at once.
TEST(TableController, EveryStepUndoesAndRedoesTheWholeTable) {
    struct Case {
        const char* name; // the Undo entry's text
        std::function<void(TableController&, SongTableModel&)> command;
    };
    const Case cases[] = {
        {"Undo sort by title", [](TableController& c, SongTableModel&) { c.sortBy(3); }},
        {"Undo typing in row 2",
         [](TableController&, SongTableModel& m) { m.setData(m.index(1, 4), u"Typed"_s); }},
        {"Undo adding row 2", [](TableController& c, SongTableModel&) { c.addRowAt(2); }},
        {"Undo removing 2 rows",
         [](TableController& c, SongTableModel&) {
             c.removeRows({3, 1, 3});
         }},
        {"Undo marking in 2 rows",
         [](TableController& c, SongTableModel&) {
             c.toggleMarks({1, 3});
         }},
        {"Undo Check all", [](TableController& c, SongTableModel&) { c.setAllMarks(true); }},
    };
    for (const Case& c : cases) {
        TableSession session;
        RowStore& store = session.mainStore();
        const QStringList titles = {u"Track 10"_s, u"track 2"_s, u"Alpha"_s};
        for (int row = 1; row <= 3; ++row) {
            store.setText(SongColumn::FileName, row, u"f%1.kar"_s.arg(row));
            store.setText(SongColumn::Title, row, titles[row - 1]);
            store.setFile(row, RowFile{u"/m/"_s, u"f%1.kar"_s.arg(row)});
        }
        store.setRowCount(3);
        session.origin = TableOrigin::MainWindow;
        session.model().rebuildFrom(store);
        session.model().toggleCheck(2); // a mark that moves with its row
        TableController controller(session, QLocale(QLocale::English));
        const QStringList before = contents(session.model());
        c.command(controller, session.model());
        const QStringList after = contents(session.model());
        EXPECT_NE(after, before) << c.name;
        EXPECT_EQ(session.history.undoText(), QString::fromUtf8(c.name));
        controller.undo();
        EXPECT_EQ(contents(session.model()), before) << c.name;
        controller.redo();
        EXPECT_EQ(contents(session.model()), after) << c.name;
        // What the next activation rebuilds from.
        EXPECT_TRUE(session.model().hasSameRowsAs(store)) << c.name;
        EXPECT_EQ(store.text(SongColumn::Title, 1), session.model().cell(1, 3)) << c.name;
    }
}

} // namespace
} // namespace corvanteller

namespace corvanteller {
namespace {

// Duplicates by their texts (case, "ё", spaces at the ends and inside as the filter sees them)
// and by their files' bytes; the first of each group stays unmarked.
TEST(TableDuplicates, MarkTheLaterRowsOfEachGroup) {
    const QStringList titles = {u"Ёлка"_s, u"  елка "_s, u""_s, u""_s, u"ЁЛКА  "_s, u"Other"_s};
    const QStringList contents = {u"x"_s, u"y"_s, u"x"_s, u"x"_s, u"yy"_s, u"y"_s};
    SongTableModel table;
    RowStore store;
    for (int row = 1; row <= titles.size(); ++row) {
        store.setText(SongColumn::Title, row, titles[row - 1]);
        store.setFile(row, RowFile{u"/m/"_s, contents[row - 1]});
    }
    store.setText(SongColumn::Maker, 5, u"Maker"_s);
    store.setRowCount(static_cast<int>(titles.size()));
    table.rebuildFrom(store);
    EXPECT_EQ(rowsWithDuplicateTexts(table), (std::vector<int>{2}));

    // The file's "bytes" are its name here; only same-sized files are hashed.
    int hashed = 0;
    const FileProbe probe{
        [](const RowFile& file) { return static_cast<long long>(file.name.size()); },
        [&hashed](const RowFile& file) {
            ++hashed;
            return file.name.toUtf8();
        }};
    EXPECT_EQ(rowsWithIdenticalFiles(table, probe), (std::vector<int>{3, 4, 6}));
    EXPECT_EQ(hashed, 5); // "yy" has a size of its own
}

} // namespace
} // namespace corvanteller
