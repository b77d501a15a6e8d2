#include "table/table_hints.h"

#include "common/seams.h"

#include <gtest/gtest.h>

#include <deque>
#include <utility>

namespace corvanteller {
namespace {

using namespace Qt::StringLiterals;

// Hands out scripted draws and checks the bound of each.
class ScriptedRandom final : public RandomSource {
public:
    void script(std::initializer_list<std::pair<int, int>> draws) {
        draws_.insert(draws_.end(), draws);
    }
    int bounded(int bound) override {
        EXPECT_FALSE(draws_.empty()) << "unexpected draw of bound " << bound;
        if (draws_.empty()) {
            return 1;
        }
        const auto [expectedBound, value] = draws_.front();
        draws_.pop_front();
        EXPECT_EQ(bound, expectedBound);
        return value;
    }
    bool used() const { return draws_.empty(); }

private:
    std::deque<std::pair<int, int>> draws_;
};

TEST(CellTooltip, WhichCellsMayShowOne) {
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
        {"outside the table", -1, -1, 18, u"x"_s, false},
        {"the last column", 1, 6, 18, u"Maker"_s, true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(cellMayShowTooltip(c.row, c.column, c.rowHeight, c.text), c.may) << c.name;
    }
}

TEST(CellTooltip, FitRule) {
    EXPECT_EQ(tooltipWrapWidth(90), 86);
    // Fits while the row is at least the text's height - 2 and the column its width - 2.
    EXPECT_TRUE(cellTextFits(18, 90, QSize(92, 20)));
    EXPECT_FALSE(cellTextFits(18, 90, QSize(93, 20)));
    EXPECT_FALSE(cellTextFits(18, 90, QSize(80, 21)));
    EXPECT_TRUE(cellTextFits(18, 90, QSize(10, 14)));
    EXPECT_EQ(tooltipOffset, QPoint(2, 2));
}

TEST(CellTooltip, TrackerOnlyReportsAMoveToAnotherCell) {
    CellTooltipTracker tracker;
    EXPECT_TRUE(tracker.movedToNewCell({10, 10}, 1, 1));
    EXPECT_FALSE(tracker.movedToNewCell({10, 10}, 1, 1));
    EXPECT_FALSE(tracker.movedToNewCell({12, 10}, 1, 1)); // same cell
    EXPECT_TRUE(tracker.movedToNewCell({100, 10}, 1, 2));
    tracker.forget();
    EXPECT_TRUE(tracker.movedToNewCell({100, 10}, 1, 2));
}

TEST(TableHint, FirstShowingsKeepTheHint) {
    ScriptedRandom random;
    TableHint hint(random);
    random.script({{2, 1}});
    TableHintShowing showing = hint.beforeShow(700);
    EXPECT_TRUE(showing.show);
    EXPECT_EQ(showing.text,
              u"If you want to check any file (row), double click on the necessary row"_s);
    EXPECT_EQ(showing.hidePauseMs, 3000);
    EXPECT_EQ(showing.maxWidth, 120);
    EXPECT_EQ(showing.shiftRight, 350);
    EXPECT_EQ(showing.background.red, 0);
    EXPECT_EQ(showing.background.green, 255);
    EXPECT_EQ(showing.background.blue, 255);

    // "!!" lengthens the later showings, not this one.
    random.script({{2, 0}});
    showing = hint.beforeShow(701);
    EXPECT_EQ(showing.text, TableHint::initialText());
    EXPECT_EQ(showing.shiftRight, 350);
    EXPECT_EQ(hint.text(), TableHint::initialText() + u"!!"_s);
    EXPECT_EQ(hint.counter(), 2);
    EXPECT_TRUE(hint.enabled());
    EXPECT_TRUE(random.used());
}

TEST(TableHint, ThirdShowingSwitchesTheHintOffUnlessItGreets) {
    ScriptedRandom random;
    TableHint hint(random);
    random.script({{2, 1}, {2, 1}});
    hint.beforeShow(100);
    hint.beforeShow(100);

    // 69 in 70: this showing is made, later ones are not.
    random.script({{70, 5}, {2, 0}});
    TableHintShowing showing = hint.beforeShow(100);
    EXPECT_TRUE(showing.show);
    EXPECT_EQ(showing.text, TableHint::initialText());
    EXPECT_FALSE(hint.enabled());
    showing = hint.beforeShow(100);
    EXPECT_FALSE(showing.show);
    EXPECT_TRUE(random.used());
}

TEST(TableHint, Greetings) {
    for (int index = 0; index < 3; ++index) {
        SCOPED_TRACE(index);
        ScriptedRandom random;
        TableHint hint(random);
        random.script({{2, 1}, {2, 1}, {70, 0}, {3, index}, {2, 1}});
        hint.beforeShow(100);
        hint.beforeShow(100);
        const TableHintShowing showing = hint.beforeShow(100);
        EXPECT_EQ(showing.text, TableHint::greetings()[static_cast<std::size_t>(index)]);
        EXPECT_EQ(hint.counter(), 4 + index);
        EXPECT_TRUE(hint.enabled());
        EXPECT_EQ(hint.text(), TableHint::initialText());
        EXPECT_TRUE(random.used());
    }
    EXPECT_EQ(TableHint::greetings()[0],
              u"How are you?? I'm fine... very fine and happy!!! (Hello from Russia!)"_s);
    EXPECT_EQ(TableHint::greetings()[1], u":-)  !!"_s);
    EXPECT_EQ(TableHint::greetings()[2], u"Hi!!!! Don't worry, be happy!"_s);
}

} // namespace
} // namespace corvanteller
