// SPDX-License-Identifier: GPL-3.0-or-later
#include "table/song_table_model.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>

#include <gtest/gtest.h>

namespace corvanteller {
namespace {

using namespace Qt::StringLiterals;

// A table of n songs whose cell (row, column) reads "c<column>r<row>".
RowStore storeOf(int songs) {
    RowStore store;
    for (int row = 1; row <= songs; ++row) {
        for (int column = 1; column <= RowStore::columnCount; ++column) {
            store.setText(column, row, u"c%1r%2"_s.arg(column).arg(row));
        }
    }
    store.setRowCount(songs);
    return store;
}

// The cells of columns first to last, row by row.
QStringList cells(const SongTableModel& model, int first = 1, int last = 6) {
    QStringList texts;
    for (int row = 1; row <= model.songCount(); ++row) {
        for (int column = first; column <= last; ++column) {
            texts << model.cell(row, column);
        }
    }
    return texts;
}

QStringList hashColumn(const SongTableModel& model) {
    return cells(model, 0, 0);
}

TEST(SongTableModel, RebuildAndRefreshRoundTrip) {
    SongTableModel model;
    model.rebuildFrom(storeOf(5));
    model.toggleCheck(2);
    model.rebuildFrom(storeOf(4)); // a shorter rebuild drops the fifth row and the mark
    EXPECT_EQ(hashColumn(model), (QStringList{u"1"_s, u"2"_s, u"3"_s, u"4"_s}));
    EXPECT_EQ(model.data(model.index(0, 3)).toString(), u"c3r1"_s); // table row r is model row r-1

    model.setCell(2, 1, u"renamed.kar"_s);
    model.toggleCheck(3);
    ASSERT_TRUE(model.insertEmptyRowAt(5)); // a new empty last row
    RowStore mainStore;
    RowStore startStore = storeOf(40);
    model.refreshInto(mainStore, startStore);
    for (const RowStore* store : {&mainStore, &startStore}) {
        EXPECT_EQ(store->rowCount(), 5);
        EXPECT_EQ(store->text(1, 2), u"renamed.kar"_s);
        EXPECT_EQ(store->text(2, 3), u"c2r3"_s); // the mark is not copied
        EXPECT_EQ(store->text(1, 5), QString());
    }

    // And back: the same texts with plain numbers.
    SongTableModel again;
    again.rebuildFrom(startStore);
    EXPECT_EQ(cells(again), cells(model));
    EXPECT_EQ(hashColumn(again), (QStringList{u"1"_s, u"2"_s, u"3"_s, u"4"_s, u"5"_s}));
}

TEST(SongTableModel, EachRowKeepsItsFileThroughEditsInsertionsAndRefreshes) {
    RowStore store = storeOf(3);
    for (int row = 1; row <= 3; ++row) {
        store.setFile(row, {u"/m%1/"_s.arg(row), u"f%1.kar"_s.arg(row)});
    }
    SongTableModel model;
    model.rebuildFrom(store);
    model.setCell(2, 1, u"typed.kar"_s);
    model.setCell(2, 2, u"/elsewhere/"_s);
    ASSERT_TRUE(model.insertEmptyRowAt(1));
    EXPECT_TRUE(model.rowFile(1).isEmpty());
    EXPECT_EQ(model.rowFile(3), (RowFile{u"/m2/"_s, u"f2.kar"_s}));

    RowStore mainStore;
    RowStore startStore;
    model.refreshInto(mainStore, startStore);
    SongTableModel again;
    again.rebuildFrom(mainStore);
    for (int row = 1; row <= 4; ++row) {
        EXPECT_EQ(again.rowFile(row), model.rowFile(row)) << row;
        EXPECT_EQ(startStore.file(row), model.rowFile(row)) << row;
    }
    again.resetForList(2);
    EXPECT_TRUE(again.rowFile(1).isEmpty());
}

TEST(SongTableModel, CheckMarks) {
    SongTableModel model;
    model.rebuildFrom(storeOf(4));
    model.toggleCheck(2);
    EXPECT_EQ(model.cell(2, 0), u"V 2"_s);
    model.toggleCheck(2);
    EXPECT_EQ(model.cell(2, 0), u"2"_s);

    // "Check all", then a double-click: the window unchecks the box first, which removes all
    // marks, and then toggles the row.
    model.setAllChecked(true);
    EXPECT_EQ(hashColumn(model), (QStringList{u"V 1"_s, u"V 2"_s, u"V 3"_s, u"V 4"_s}));
    model.setAllChecked(false);
    model.toggleCheck(3);
    EXPECT_EQ(hashColumn(model), (QStringList{u"1"_s, u"2"_s, u"V 3"_s, u"4"_s}));
}

TEST(SongTableModel, InsertEmptyRow) {
    const RowStore store = storeOf(4);
    for (const int selected : {1, 3}) {
        SCOPED_TRACE(selected);
        SongTableModel model;
        model.rebuildFrom(store);
        QStringList expected = cells(model);
        expected.insert((selected - 1) * 6, 6, QString());
        model.toggleCheck(selected);
        ASSERT_TRUE(model.insertEmptyRowAt(selected));
        EXPECT_EQ(cells(model), expected);
        QStringList numbers{u"1"_s, u"2"_s, u"3"_s, u"4"_s, u"5"_s};
        numbers[selected - 1] = u"V %1"_s.arg(selected); // the mark stays at its position
        EXPECT_EQ(hashColumn(model), numbers);
    }

    RowStore full = storeOf(1);
    full.setRowCount(RowStore::maxRows);
    SongTableModel model;
    model.rebuildFrom(full);
    EXPECT_FALSE(model.insertEmptyRowAt(1));
    EXPECT_EQ(model.songCount(), RowStore::maxRows);
    EXPECT_EQ(model.cell(1, 1), u"c1r1"_s);
}

TEST(SongTableModel, HeaderAndEditing) {
    SongTableModel model;
    model.resetForList(2);
    EXPECT_EQ(model.headerText(4), u"D"_s);
    EXPECT_EQ(model.headerText(5), u"E"_s);
    EXPECT_EQ(model.headerText(6), u"Made by..."_s);
    model.rebuildFrom(storeOf(1));
    EXPECT_EQ(model.headerData(6, Qt::Horizontal).toString(), u"Made..."_s);
    model.setMadeByHeader(true);
    EXPECT_EQ(model.headerData(6, Qt::Horizontal).toString(), u"Made by..."_s);

    EXPECT_FALSE(model.setData(model.index(0, 0), u"x"_s)); // the "#" column is not edited
    EXPECT_TRUE(model.setData(model.index(0, 2), u"/music/"_s));
    EXPECT_EQ(model.cell(1, 2), u"/music/"_s);
}

} // namespace
} // namespace corvanteller

namespace corvanteller {
namespace {

TEST(SongTableModel, KeepsTheModelContractAndRebuildsInOneReset) {
    SongTableModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    QSignalSpy resets(&model, &QAbstractItemModel::modelReset);
    QSignalSpy changes(&model, &QAbstractItemModel::dataChanged);
    model.rebuildFrom(storeOf(500));
    EXPECT_EQ(resets.count(), 1);
    EXPECT_EQ(changes.count(), 0);

    // The other bulk operations and single edits keep the contract too.
    model.setAllChecked(true);
    ASSERT_TRUE(model.insertEmptyRowAt(3));
    model.setData(model.index(1, 3), u"edited"_s);
    model.toggleCheck(2);
    model.resetForList(7);
    model.setSongCount(2);
    EXPECT_EQ(model.rowCount(), 2);
}

} // namespace
} // namespace corvanteller
