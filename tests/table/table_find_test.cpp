#include "table/table_find.h"

#include "table/song_table_model.h"

#include <gtest/gtest.h>

namespace corvanteller {
namespace {

using namespace Qt::StringLiterals;

// Three rows; "alpha" is in cells (1,3), (2,4) and (3,6) and nowhere in the "#" column.
void fillThreeRows(SongTableModel& model) {
    const QStringList rows[] = {
        {u"a.kar"_s, u"/songs/"_s, u"Alpha"_s, QString(), QString(), u"maker"_s},
        {u"b.kar"_s, u"/songs/"_s, u"Бета"_s, u"alpha remix"_s, QString(), QString()},
        {u"ёлка.kar"_s, u"/other/"_s, u"Ёлочка"_s, QString(), u"E"_s, u" ALPHA "_s}};
    model.setSongCount(3);
    for (int row = 1; row <= 3; ++row) {
        model.setCell(row, 0, QString::number(row));
        for (int column = 1; column <= 6; ++column) {
            model.setCell(row, column, rows[row - 1][column - 1]);
        }
    }
}

TEST(TableFind, StepsInReadingOrderAndGoesOnFromTheOtherEnd) {
    SongTableModel model;
    fillThreeRows(model);
    struct Case {
        QString typed;
        TableCell current;
        FindStep step;
        TableCell found;
        bool wrapped;
    };
    const Case cases[] = {
        {u"alpha"_s, {1, 3}, FindStep::Typed, {1, 3}, false}, // the current cell still matches
        {u"alpha"_s, {1, 4}, FindStep::Typed, {2, 4}, false},
        {u"alpha"_s, {1, 3}, FindStep::Next, {2, 4}, false},
        {u"alpha"_s, {2, 4}, FindStep::Next, {3, 6}, false},
        {u"alpha"_s, {3, 6}, FindStep::Next, {1, 3}, true},
        {u"alpha"_s, {2, 4}, FindStep::Previous, {1, 3}, false},
        {u"alpha"_s, {1, 3}, FindStep::Previous, {3, 6}, true},
        {u"alpha"_s, {1, 1}, FindStep::Previous, {3, 6}, true},
        // From the "#" cell: as from just before the row's first text.
        {u"alpha"_s, {1, 0}, FindStep::Typed, {1, 3}, false},
        {u"alpha"_s, {1, 0}, FindStep::Next, {1, 3}, false},
        {u"alpha"_s, {2, 0}, FindStep::Previous, {1, 3}, false},
        {u"alpha"_s, {1, 0}, FindStep::Previous, {3, 6}, true},
        // No current cell: from the first cell, or backwards from the last.
        {u"alpha"_s, {}, FindStep::Typed, {1, 3}, false},
        {u"alpha"_s, {}, FindStep::Previous, {3, 6}, false},
        {u"alpha"_s, {7, 2}, FindStep::Next, {1, 3}, false},
        // The only match is the current cell: found again after going round.
        {u"БЕТА"_s, {2, 3}, FindStep::Next, {2, 3}, true},
        {u"бета"_s, {2, 3}, FindStep::Previous, {2, 3}, true},
        {u"елк"_s, {1, 1}, FindStep::Typed, {3, 1}, false},
        {u"a.kar"_s, {3, 6}, FindStep::Next, {1, 1}, true},
        {u"/songs/"_s, {1, 1}, FindStep::Previous, {2, 2}, true},
        {u"  e  "_s, {3, 4}, FindStep::Typed, {3, 5}, false},
    };
    for (const Case& c : cases) {
        const CellFindResult result = findCell(model, FindPattern(c.typed), c.current, c.step);
        const std::string name = c.typed.toStdString() + " from " + std::to_string(c.current.row) +
                                 "," + std::to_string(c.current.column) + " step " +
                                 std::to_string(static_cast<int>(c.step));
        EXPECT_TRUE(result.outcome.found) << name;
        EXPECT_EQ(result.cell, c.found)
            << name << " found " << result.cell.row << "," << result.cell.column;
        EXPECT_EQ(result.outcome.wrapped, c.wrapped) << name;
    }
}

TEST(TableFind, FindsNothingWhereThereIsNothingToFind) {
    SongTableModel model;
    fillThreeRows(model);
    model.toggleCheck(2); // "V 2": the "#" column is not searched
    struct Case {
        SongTableModel* table;
        QString typed;
    };
    SongTableModel empty;
    const Case cases[] = {
        {&model, u"omega"_s}, {&model, u"V "_s}, {&model, u"2"_s},
        {&model, u"   "_s},   {&empty, u"a"_s},
    };
    for (const Case& c : cases) {
        for (FindStep step : {FindStep::Typed, FindStep::Next, FindStep::Previous}) {
            const CellFindResult result = findCell(*c.table, FindPattern(c.typed), {2, 3}, step);
            EXPECT_EQ(result.outcome, FindOutcome{}) << c.typed.toStdString();
        }
    }
}

TEST(TableFind, ReadsTheTableOnly) {
    SongTableModel model;
    fillThreeRows(model);
    model.toggleCheck(1);
    std::vector<QString> before;
    for (int row = 1; row <= 3; ++row) {
        for (int column = 0; column < tableColumnCount; ++column) {
            before.push_back(model.cell(row, column));
        }
    }
    int signals = 0;
    QObject::connect(&model, &QAbstractItemModel::dataChanged, [&signals] { ++signals; });
    QObject::connect(&model, &QAbstractItemModel::modelReset, [&signals] { ++signals; });
    QObject::connect(&model, &QAbstractItemModel::layoutChanged, [&signals] { ++signals; });
    TableCell current{1, 1};
    for (int i = 0; i < 5; ++i) {
        current = findCell(model, FindPattern(u"a"_s), current, FindStep::Next).cell;
    }
    findCell(model, FindPattern(u"zz"_s), current, FindStep::Previous);
    EXPECT_EQ(signals, 0);
    std::vector<QString> after;
    for (int row = 1; row <= 3; ++row) {
        for (int column = 0; column < tableColumnCount; ++column) {
            after.push_back(model.cell(row, column));
        }
    }
    EXPECT_EQ(after, before);
}

} // namespace
} // namespace corvanteller
