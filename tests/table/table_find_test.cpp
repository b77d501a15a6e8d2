// SPDX-License-Identifier: GPL-3.0-or-later
#include "table/table_find.h"

#include "table/song_table_model.h"

#include <gtest/gtest.h>

namespace corvanteller {
namespace {

using namespace Qt::StringLiterals;

TEST(TableFind, StepsInReadingOrderAndGoesOnFromTheOtherEnd) {
    // "alpha" is in cells (1,3), (2,4) and (3,6); row 2 is checked ("V 2").
    const QStringList rows[] = {{u"a.kar"_s, u"/s/"_s, u"Alpha"_s, {}, {}, {}},
                                {u"b.kar"_s, u"/s/"_s, u"Бета"_s, u"alpha remix"_s, {}, {}},
                                {u"ёлка.kar"_s, u"/o/"_s, {}, {}, {}, u" ALPHA "_s}};
    SongTableModel model;
    model.setSongCount(3);
    for (int row = 1; row <= 3; ++row) {
        model.setCell(row, 0, QString::number(row));
        for (int column = 1; column <= 6; ++column) {
            model.setCell(row, column, rows[row - 1][column - 1]);
        }
    }
    model.toggleCheck(2);
    struct Case {
        QString typed;
        TableCell current;
        FindStep step;
        FindOutcome outcome;
        TableCell found;
    };
    const FindOutcome found{true, false};
    const FindOutcome wrapped{true, true};
    const Case cases[] = {
        {u"alpha"_s, {1, 3}, FindStep::Typed, found, {1, 3}}, // the current cell still matches
        {u"alpha"_s, {1, 3}, FindStep::Next, found, {2, 4}},
        {u"alpha"_s, {3, 6}, FindStep::Next, wrapped, {1, 3}},
        {u"alpha"_s, {2, 4}, FindStep::Previous, found, {1, 3}},
        {u"alpha"_s, {1, 1}, FindStep::Previous, wrapped, {3, 6}},
        {u"alpha"_s, {2, 0}, FindStep::Previous, found, {1, 3}}, // "#": before the row's texts
        {u"alpha"_s, {}, FindStep::Previous, found, {3, 6}},     // no current cell
        {u"БЕТА"_s, {2, 3}, FindStep::Next, wrapped, {2, 3}},    // the only match
        {u"елк"_s, {1, 1}, FindStep::Typed, found, {3, 1}},
        {u"V 2"_s, {1, 1}, FindStep::Next, {}, {}}, // the "#" column is not searched
        {u"omega"_s, {2, 3}, FindStep::Previous, {}, {}},
    };
    for (const Case& c : cases) {
        const CellFindResult result = findCell(model, FindPattern(c.typed), c.current, c.step);
        EXPECT_EQ(result.outcome, c.outcome) << c.typed.toStdString() << c.current.row;
        EXPECT_EQ(result.cell, c.found) << c.typed.toStdString() << c.current.row;
    }
}

} // namespace
} // namespace corvanteller
