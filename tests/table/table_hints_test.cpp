// SPDX-License-Identifier: GPL-3.0-or-later
#include "table/table_hints.h"

#include "common/seams.h"

#include <gtest/gtest.h>

#include <deque>
#include <utility>

namespace corvanteller {
namespace {

using namespace Qt::StringLiterals;

// Hands out scripted draws: (expected bound, value), in order.
struct ScriptedRandom final : RandomSource {
    std::deque<std::pair<int, int>> draws;
    int bounded(int bound) override {
        if (draws.empty()) {
            ADD_FAILURE() << "unexpected draw of bound " << bound;
            return 1;
        }
        const auto [expectedBound, value] = draws.front();
        draws.pop_front();
        EXPECT_EQ(bound, expectedBound);
        return value;
    }
};

TEST(CellTooltip, WhichCellsShowOne) {
    struct Case {
        const char* name;
        int row;
        int column;
        int rowHeight;
        QString text;
        bool may;
    };
    const Case cases[] = {
        {"a data cell", 3, 2, 18, u"/music/"_s, true},
        {"the header row", 0, 2, 18, u"Way"_s, false},
        {"the # column", 3, 0, 18, u"V 3"_s, false},
        {"a hidden row", 3, 2, 0, u"/music/"_s, false},
        {"an empty cell", 3, 2, 18, QString(), false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(cellMayShowTooltip(c.row, c.column, c.rowHeight, c.text), c.may) << c.name;
    }

    // The text fits while the row is at least its height - 2 and the column its width - 2.
    EXPECT_TRUE(cellTextFits(18, 90, QSize(92, 20)));
    EXPECT_FALSE(cellTextFits(18, 90, QSize(93, 20)));
    EXPECT_FALSE(cellTextFits(18, 90, QSize(80, 21)));
}

TEST(TableHint, TwoShowingsThenOffUnlessItGreets) {
    ScriptedRandom random;
    TableHint hint(random);
    random.draws = {{2, 1}, {2, 0}};
    EXPECT_TRUE(hint.beforeShow(700).show);
    // "!!" lengthens the later showings, not this one.
    EXPECT_EQ(hint.beforeShow(700).text, TableHint::initialText());
    EXPECT_EQ(hint.text(), TableHint::initialText() + u"!!"_s);
    EXPECT_EQ(hint.counter(), 2);

    // 69 in 70: this showing is made, later ones are not.
    random.draws = {{70, 5}, {2, 1}};
    const TableHintShowing showing = hint.beforeShow(700);
    EXPECT_TRUE(showing.show);
    EXPECT_EQ(showing.text, TableHint::initialText() + u"!!"_s);
    EXPECT_EQ(showing.shiftRight, 350); // half the grid's width
    EXPECT_FALSE(hint.enabled());
    EXPECT_FALSE(hint.beforeShow(700).show);
    EXPECT_TRUE(random.draws.empty());

    for (int index = 0; index < 3; ++index) {
        SCOPED_TRACE(index);
        TableHint greeting(random);
        random.draws = {{2, 1}, {2, 1}, {70, 0}, {3, index}, {2, 1}};
        greeting.beforeShow(100);
        greeting.beforeShow(100);
        EXPECT_EQ(greeting.beforeShow(100).text,
                  TableHint::greetings()[static_cast<std::size_t>(index)]);
        EXPECT_EQ(greeting.counter(), 4 + index);
        EXPECT_TRUE(greeting.enabled());
        EXPECT_TRUE(random.draws.empty());
    }
}

} // namespace
} // namespace corvanteller
