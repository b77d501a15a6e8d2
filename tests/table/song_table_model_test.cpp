#include "table/song_table_model.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace corvanteller {
namespace {

using namespace Qt::StringLiterals;

// A store of n songs whose cell (column, row) reads "c<column>r<row>".
void fillStore(RowStore& store, int songs) {
    for (int row = 1; row <= songs; ++row) {
        for (int column = 1; column <= RowStore::columnCount; ++column) {
            store.setText(column, row, u"c%1r%2"_s.arg(column).arg(row));
        }
    }
    store.setRowCount(songs);
}

QStringList hashColumn(const SongTableModel& model) {
    QStringList cells;
    for (int row = 1; row <= model.songCount(); ++row) {
        cells << model.cell(row, 0);
    }
    return cells;
}

TEST(SongTableModel, RebuildShapesTheTableFromTheStore) {
    RowStore store;
    fillStore(store, 3);
    SongTableModel model;
    model.rebuildFrom(store);

    EXPECT_EQ(model.songCount(), 3);
    EXPECT_EQ(model.rowCount(), 3);
    EXPECT_EQ(model.columnCount(), 7);
    EXPECT_EQ(hashColumn(model), (QStringList{u"1"_s, u"2"_s, u"3"_s}));
    EXPECT_EQ(model.cell(2, 1), u"c1r2"_s);
    EXPECT_EQ(model.cell(3, 6), u"c6r3"_s);
    // Row r of the table is model row r - 1.
    EXPECT_EQ(model.data(model.index(0, 3)).toString(), u"c3r1"_s);
    EXPECT_EQ(model.cell(4, 1), QString());
    EXPECT_EQ(model.cell(0, 1), QString());

    const QStringList expectedHeader = {
        u"#"_s, u"Name of file"_s, u"Way"_s, u"The executor and/or the name of songs"_s, u"D"_s,
        u"E"_s, u"Made..."_s};
    for (int column = 0; column < 7; ++column) {
        EXPECT_EQ(model.headerData(column, Qt::Horizontal).toString(), expectedHeader[column]);
    }
}

TEST(SongTableModel, RebuildClearsMarksAndCellsOfALongerTable) {
    RowStore store;
    fillStore(store, 5);
    SongTableModel model;
    model.rebuildFrom(store);
    model.toggleCheck(2);
    model.setCell(4, 3, u"edited"_s);

    fillStore(store, 2);
    model.rebuildFrom(store);
    EXPECT_EQ(hashColumn(model), (QStringList{u"1"_s, u"2"_s}));

    fillStore(store, 5);
    store.setText(3, 4, u"from the store"_s);
    model.rebuildFrom(store);
    EXPECT_EQ(hashColumn(model), (QStringList{u"1"_s, u"2"_s, u"3"_s, u"4"_s, u"5"_s}));
    EXPECT_EQ(model.cell(4, 3), u"from the store"_s);
}

TEST(SongTableModel, RefreshCopiesTheTableIntoBothStores) {
    RowStore origin;
    fillStore(origin, 4);
    SongTableModel model;
    model.rebuildFrom(origin);
    model.setCell(2, 1, u"renamed.kar"_s);
    model.setCell(4, 6, u"maker"_s);
    model.toggleCheck(3);
    ASSERT_TRUE(model.insertEmptyRowAt(5)); // a new empty last row

    RowStore mainStore;
    RowStore startStore;
    fillStore(startStore, 40);
    model.refreshInto(mainStore, startStore);
    for (const RowStore* store : {&mainStore, &startStore}) {
        EXPECT_EQ(store->rowCount(), 5);
        EXPECT_EQ(store->text(1, 2), u"renamed.kar"_s);
        EXPECT_EQ(store->text(6, 4), u"maker"_s);
        EXPECT_EQ(store->text(2, 3), u"c2r3"_s); // the mark is not copied
        EXPECT_EQ(store->text(1, 5), QString());
    }

    // And back: a rebuild from the refreshed store gives the same texts with plain numbers.
    SongTableModel again;
    again.rebuildFrom(mainStore);
    ASSERT_EQ(again.songCount(), 5);
    for (int row = 1; row <= 5; ++row) {
        EXPECT_EQ(again.cell(row, 0), QString::number(row));
        for (int column = 1; column <= 6; ++column) {
            EXPECT_EQ(again.cell(row, column), model.cell(row, column)) << row << ',' << column;
        }
    }
}

TEST(SongTableModel, CheckMarks) {
    RowStore store;
    fillStore(store, 4);
    SongTableModel model;
    model.rebuildFrom(store);

    model.toggleCheck(2);
    EXPECT_EQ(model.cell(2, 0), u"V 2"_s);
    EXPECT_TRUE(model.isRowChecked(2));
    model.toggleCheck(2);
    EXPECT_EQ(model.cell(2, 0), u"2"_s);

    // "Check all", then a double-click: the window unchecks the box first, which removes all
    // marks, and then toggles the row.
    model.setAllChecked(true);
    EXPECT_EQ(hashColumn(model), (QStringList{u"V 1"_s, u"V 2"_s, u"V 3"_s, u"V 4"_s}));
    model.setAllChecked(true);
    EXPECT_EQ(model.cell(1, 0), u"V 1"_s);
    model.setAllChecked(false);
    model.toggleCheck(3);
    EXPECT_EQ(hashColumn(model), (QStringList{u"1"_s, u"2"_s, u"V 3"_s, u"4"_s}));

    // A "V" anywhere counts as a mark; unchecking drops the first two characters.
    EXPECT_TRUE(SongTableModel::isChecked(u"12V"_s));
    EXPECT_FALSE(SongTableModel::isChecked(u"v 12"_s));
    model.setCell(4, 0, u"4V"_s);
    model.toggleCheck(4);
    EXPECT_EQ(model.cell(4, 0), QString());
}

TEST(SongTableModel, CheckAllIsOneSignalForTheColumn) {
    RowStore store;
    fillStore(store, 100);
    SongTableModel model;
    model.rebuildFrom(store);
    std::vector<std::pair<QModelIndex, QModelIndex>> changes;
    QObject::connect(
        &model, &QAbstractItemModel::dataChanged,
        [&](const QModelIndex& from, const QModelIndex& to) { changes.emplace_back(from, to); });
    model.setAllChecked(true);
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0].first, model.index(0, 0));
    EXPECT_EQ(changes[0].second, model.index(99, 0));
}

TEST(SongTableModel, InsertEmptyRow) {
    RowStore store;
    fillStore(store, 4);

    struct Case {
        const char* name;
        int selected;
        int emptyRow;
    };
    const Case cases[] = {
        {"at row 1", 1, 1},
        {"in the middle", 3, 3},
        {"at the last row", 4, 4},
        {"without a selection at the end", 0, 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SongTableModel model;
        model.rebuildFrom(store);
        model.toggleCheck(c.emptyRow > 4 ? 1 : c.emptyRow);
        ASSERT_TRUE(model.insertEmptyRowAt(c.selected));
        ASSERT_EQ(model.songCount(), 5);
        EXPECT_EQ(model.cell(5, 0), u"5"_s);
        for (int row = 1; row <= 5; ++row) {
            for (int column = 1; column <= 6; ++column) {
                const QString expected = row < c.emptyRow    ? u"c%1r%2"_s.arg(column).arg(row)
                                         : row == c.emptyRow ? QString()
                                                             : u"c%1r%2"_s.arg(column).arg(row - 1);
                EXPECT_EQ(model.cell(row, column), expected) << row << ',' << column;
            }
        }
        // The mark stays at its row position.
        const int marked = c.emptyRow > 4 ? 1 : c.emptyRow;
        EXPECT_EQ(model.cell(marked, 0), u"V %1"_s.arg(marked));
    }
}

TEST(SongTableModel, FullTableRefusesAnotherRow) {
    RowStore store;
    store.setRowCount(RowStore::maxRows);
    SongTableModel model;
    model.rebuildFrom(store);
    model.setCell(1, 1, u"first"_s);
    int inserted = 0;
    QObject::connect(&model, &QAbstractItemModel::rowsInserted, [&] { ++inserted; });
    EXPECT_FALSE(model.insertEmptyRowAt(1));
    EXPECT_EQ(model.songCount(), RowStore::maxRows);
    EXPECT_EQ(model.cell(1, 1), u"first"_s);
    EXPECT_EQ(inserted, 0);

    store.setRowCount(RowStore::maxRows - 1);
    model.rebuildFrom(store);
    EXPECT_TRUE(model.insertEmptyRowAt(1));
    EXPECT_EQ(model.cell(RowStore::maxRows, 0), QString::number(RowStore::maxRows));
}

TEST(SongTableModel, HeaderOfColumnSixAndEditing) {
    SongTableModel model;
    model.resetForList(2);
    EXPECT_EQ(model.headerText(6), u"Made by..."_s);
    EXPECT_EQ(model.headerText(4), u"D"_s);
    EXPECT_EQ(model.headerText(5), u"E"_s);
    EXPECT_EQ(model.cell(2, 0), u"2"_s);
    RowStore store;
    model.rebuildFrom(store);
    EXPECT_EQ(model.headerText(6), u"Made..."_s);
    model.setMadeByHeader(true);
    EXPECT_EQ(model.headerData(6, Qt::Horizontal).toString(), u"Made by..."_s);

    fillStore(store, 1);
    model.rebuildFrom(store);
    EXPECT_FALSE(model.flags(model.index(0, 0)).testFlag(Qt::ItemIsEditable));
    EXPECT_FALSE(model.setData(model.index(0, 0), u"x"_s));
    for (int column = 1; column <= 6; ++column) {
        EXPECT_TRUE(model.flags(model.index(0, column)).testFlag(Qt::ItemIsEditable));
    }
    EXPECT_TRUE(model.setData(model.index(0, 2), u"/music/"_s));
    EXPECT_EQ(model.cell(1, 2), u"/music/"_s);
}

} // namespace
} // namespace corvanteller
