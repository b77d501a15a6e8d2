#include "common/find_pattern.h"

#include <gtest/gtest.h>

namespace corvanteller {
namespace {

using namespace Qt::StringLiterals;

TEST(FindPattern, MatchesAsTheFindBarPromises) {
    struct Case {
        QString typed;
        QString text;
        bool found;
    };
    const Case cases[] = {
        {u"  alpha  "_s, u"The ALPHA song"_s, true},
        {u"a b"_s, u"a  b"_s, false},
        {u"ёлка"_s, u"Елка"_s, true},
        {u"ЕЛКА"_s, u"ёлка"_s, true},
        {u"й"_s, u"и"_s, false},
        {u"straße"_s, u"STRASSE"_s, false},
        {u"kar"_s, u"ka"_s, false},
        {u"\t "_s, u"\t "_s, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FindPattern(c.typed).foundIn(c.text), c.found) << c.typed.toStdString();
    }
}

TEST(FindPattern, StepsThroughATextAndGoesOnFromTheOtherEnd) {
    const QString text = u"love is\nlove me\nЛove"_s; // matches at 0 and 8; "Л" is no "L"
    struct Case {
        qsizetype selectionStart;
        qsizetype selectionEnd;
        FindStep step;
        qsizetype position;
        bool wrapped;
    };
    const Case cases[] = {
        {0, 0, FindStep::Typed, 0, false},     {9, 9, FindStep::Typed, 0, true},
        {0, 4, FindStep::Next, 8, false},      {8, 12, FindStep::Next, 0, true},
        {8, 12, FindStep::Previous, 0, false}, {0, 4, FindStep::Previous, 8, true},
    };
    for (const Case& c : cases) {
        const TextFindResult result =
            findInText(text, FindPattern(u"LOVE"_s), c.selectionStart, c.selectionEnd, c.step);
        EXPECT_EQ(result.outcome, (FindOutcome{true, c.wrapped})) << c.selectionStart;
        EXPECT_EQ(result.position, c.position) << c.selectionStart;
    }
    EXPECT_FALSE(findInText(text, FindPattern(u"hate"_s), 5, 5, FindStep::Next).outcome.found);
}

} // namespace
} // namespace corvanteller
