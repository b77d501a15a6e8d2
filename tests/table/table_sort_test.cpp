// SPDX-License-Identifier: GPL-3.0-or-later
#include "table/table_sort.h"

#include "table/song_table_model.h"

#include <gtest/gtest.h>

namespace corvanteller {
namespace {

using namespace Qt::StringLiterals;

// Rows with the given titles (and makers), each standing for the file "f<row>.kar".
void fill(SongTableModel& table, const QStringList& titles, const QStringList& makers = {}) {
    RowStore store;
    for (int row = 1; row <= titles.size(); ++row) {
        store.setText(SongColumn::Title, row, titles[row - 1]);
        store.setText(SongColumn::Maker, row, makers.value(row - 1));
        store.setFile(row, RowFile{u"/m/"_s, u"f%1.kar"_s.arg(row)});
    }
    store.setRowCount(static_cast<int>(titles.size()));
    table.rebuildFrom(store);
}

TEST(TableSort, OrdersAsACatalogue) {
    const QLocale russian(QLocale::Russian, QLocale::Russia);
    struct Case {
        const char* what;
        QStringList titles;
        std::vector<SortKey> keys;
        std::vector<int> order;
    };
    const Case cases[] = {
        {"numbers by value",
         {u"Track 10"_s, u"Track 2"_s, u"track 1"_s},
         {{SongColumn::Title, false}},
         {3, 2, 1}},
        {"case and yo do not count, equal keys keep their order",
         {u"ёлка"_s, u"Елка"_s, u"ЕЛКА"_s, u"Берёза"_s},
         {{SongColumn::Title, false}},
         {4, 1, 2, 3}},
        {"empty cells last, ascending",
         {u""_s, u"Б"_s, u"  "_s, u"А"_s},
         {{SongColumn::Title, false}},
         {4, 2, 1, 3}},
        {"empty cells last, descending",
         {u""_s, u"Б"_s, u"А"_s},
         {{SongColumn::Title, true}},
         {2, 3, 1}},
        {"the second key orders equal first keys",
         {u"Б"_s, u"А"_s, u"Б"_s, u"А"_s},
         {{SongColumn::Title, false}, {SongColumn::Maker, true}},
         {2, 4, 3, 1}},
    };
    const QStringList makers = {u"x"_s, u"y"_s, u"z"_s, u"w"_s};
    for (const Case& c : cases) {
        SongTableModel table;
        fill(table, c.titles, makers);
        EXPECT_EQ(sortedRowOrder(table, c.keys, russian), c.order) << c.what;
    }
}

TEST(TableSort, NumberColumnPutsCheckedRowsFirstAndRowsMoveWhole) {
    SongTableModel table;
    fill(table, {u"c"_s, u"a"_s, u"b"_s});
    table.toggleCheck(3);
    const std::vector<int> byMark = sortedRowOrder(table, {{SongColumn::Number, false}}, QLocale());
    EXPECT_EQ(byMark, (std::vector<int>{3, 1, 2}));

    table.reorderRows(sortedRowOrder(table, {{SongColumn::Title, false}}, QLocale()));
    const QStringList numbers = {table.cell(1, 0), table.cell(2, 0), table.cell(3, 0)};
    EXPECT_EQ(numbers, (QStringList{u"1"_s, u"V 2"_s, u"3"_s}));
    EXPECT_EQ(table.cell(2, SongColumn::Title), u"b"_s);
    EXPECT_EQ(table.rowFile(2).name, u"f3.kar"_s);
    EXPECT_EQ(table.rowFile(3).name, u"f1.kar"_s);
}

} // namespace
} // namespace corvanteller
