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
        {u"alpha"_s, u"The ALPHA song"_s, true},
        {u"  alpha  "_s, u"alpha"_s, true},  // spaces at either end do not count
        {u"a b"_s, u"a  b"_s, false},        // inner spaces do
        {u"ёлка"_s, u"Елка в лесу"_s, true}, // ё matches е, either case
        {u"ЕЛКА"_s, u"ёлка"_s, true},        // and the other way round
        {u"Ёж"_s, u"ЁЖИК"_s, true},
        {u"песня"_s, u"ПЕСНЯ.kar"_s, true}, // Cyrillic case
        {u"й"_s, u"и"_s, false},            // no other letters fold together
        {u"straße"_s, u"STRASSE"_s, false}, // one character for one
        {u"kar"_s, u"ka"_s, false},         // longer than the text
        {u"x"_s, QString(), false},
        {u"\t"_s, u"\t"_s, false}, // only spaces: nothing to find
        {u"C:\\Songs"_s, u"c:\\songs\\a.kar"_s, true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FindPattern(c.typed).foundIn(c.text), c.found)
            << c.typed.toStdString() << " in " << c.text.toStdString();
    }
}

TEST(FindPattern, PositionsAreThoseOfTheOriginalText) {
    const FindPattern pattern(u" Ёж "_s);
    EXPECT_EQ(pattern.length(), 2);
    const QString text = u"еж ёж ЕЖ"_s;
    EXPECT_EQ(pattern.indexIn(text, 0), 0);
    EXPECT_EQ(pattern.indexIn(text, 1), 3);
    EXPECT_EQ(pattern.indexIn(text, 7), -1);
    EXPECT_EQ(pattern.lastIndexIn(text, 100), 6);
    EXPECT_EQ(pattern.lastIndexIn(text, 5), 3);
    EXPECT_EQ(pattern.lastIndexIn(text, -1), -1);
}

TEST(FindPattern, StepsThroughATextAndGoesOnFromTheOtherEnd) {
    // Matches start at 0, 8 and 16.
    const QString text = u"love is\nlove me\nLove"_s;
    const FindPattern pattern(u"love"_s);
    struct Case {
        qsizetype selectionStart;
        qsizetype selectionEnd;
        FindStep step;
        qsizetype position;
        bool wrapped;
    };
    const Case cases[] = {
        {0, 0, FindStep::Typed, 0, false},     {8, 12, FindStep::Typed, 8, false},
        {9, 9, FindStep::Typed, 16, false},    {17, 17, FindStep::Typed, 0, true},
        {0, 4, FindStep::Next, 8, false},      {8, 12, FindStep::Next, 16, false},
        {16, 20, FindStep::Next, 0, true},     {20, 20, FindStep::Next, 0, true},
        {8, 12, FindStep::Previous, 0, false}, {16, 20, FindStep::Previous, 8, false},
        {0, 4, FindStep::Previous, 16, true},  {3, 3, FindStep::Previous, 0, false},
    };
    for (const Case& c : cases) {
        const TextFindResult result =
            findInText(text, pattern, c.selectionStart, c.selectionEnd, c.step);
        EXPECT_TRUE(result.outcome.found);
        EXPECT_EQ(result.position, c.position)
            << c.selectionStart << "-" << c.selectionEnd << " step " << static_cast<int>(c.step);
        EXPECT_EQ(result.outcome.wrapped, c.wrapped) << c.selectionStart;
    }
    EXPECT_FALSE(findInText(text, FindPattern(u"hate"_s), 5, 5, FindStep::Next).outcome.found);
    EXPECT_FALSE(findInText(text, FindPattern(u" "_s), 0, 0, FindStep::Typed).outcome.found);
}

TEST(FindPattern, MessagesOfTheBar) {
    EXPECT_EQ(findMessage({false, false}, FindStep::Next), u"Not found"_s);
    EXPECT_EQ(findMessage({true, false}, FindStep::Next), QString());
    EXPECT_EQ(findMessage({true, true}, FindStep::Typed), u"Continued from the top"_s);
    EXPECT_EQ(findMessage({true, true}, FindStep::Next), u"Continued from the top"_s);
    EXPECT_EQ(findMessage({true, true}, FindStep::Previous), u"Continued from the bottom"_s);
}

} // namespace
} // namespace corvanteller
