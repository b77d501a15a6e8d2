// SPDX-License-Identifier: GPL-3.0-or-later
#include "rename/name_composer.h"

#include <QDateTime>

#include <gtest/gtest.h>

namespace corvanteller {
namespace {

using namespace Qt::StringLiterals;

const QDateTime moment(QDate(2026, 12, 6), QTime(21, 48, 9));

RowTexts row(const QString& column3, const QString& column4 = {}, const QString& column5 = {}) {
    return RowTexts{u"Song.kar"_s, {column3, column4, column5, u"Maker"_s}};
}

NameRecipe recipe(std::vector<NamePart> parts, const QString& separator) {
    NameRecipe made;
    made.parts = std::move(parts);
    made.separator = separator;
    made.yourString = u"Mine"_s;
    made.wordListText = u"Gift"_s;
    return made;
}

TEST(NameComposer, PartsInOrderWithTheLastSeparatorTakenOff) {
    using enum NamePart;
    struct Case {
        const char* name;
        NameRecipe recipe;
        RowTexts texts;
        QString expected;
    };
    NameRecipe emptyString = recipe({YourString}, u"_"_s);
    emptyString.yourString.clear();
    NameRecipe stringBetween = recipe({Column3, YourString, Column6}, u"-"_s);
    stringBetween.yourString.clear();
    NameRecipe timeOnly = recipe({DateAndTime}, u"_"_s);
    timeOnly.dateChoice = DateTimeChoice::Time;
    NameRecipe dateOnly = recipe({DateAndTime, ChooseFromList}, u" "_s);
    dateOnly.dateChoice = DateTimeChoice::Date;
    const Case cases[] = {
        {"present name keeps its extension", recipe({InitialName}, u" -- "_s), row(u"T"_s),
         u"Song.kar"_s},
        {"column 3 then date and time", recipe({Column3, DateAndTime}, u"_"_s), row(u"Title"_s),
         u"Title_06.12.2026  21.48.09"_s},
        {"date and time moved up", recipe({DateAndTime, Column3}, u"_"_s), row(u"Title"_s),
         u"06.12.2026  21.48.09_Title"_s},
        {"time only", timeOnly, row(u"T"_s), u"21.48.09"_s},
        {"date and a word", dateOnly, row(u"T"_s), u"06.12.2026 Gift"_s},
        {"empty column keeps its separator", recipe({Column3, Column4, Column5}, u"--"_s),
         row(u"A"_s, {}, u"C"_s), u"A----C"_s},
        {"empty string adds not even its separator", stringBetween, row(u"A"_s), u"A-Maker"_s},
        {"empty string alone is an empty name", emptyString, row(u"T"_s), QString()},
        {"only empty parts are an empty name", recipe({Column4, Column5}, u" -- "_s), row(u"T"_s),
         QString()},
        {"forbidden characters become spaces", recipe({Column3}, u" "_s),
         row(u"AC/DC: \"Live\" <1>|*?\\"_s), u"AC DC   Live   1     "_s},
        {"control characters become spaces", recipe({Column3, Column4}, u"-"_s),
         row(u"a\u0001b\tc"_s, u"d\u007F"_s), u"a b c-d "_s},
        {"leading dots go", recipe({Column3}, u" "_s), row(u"...Baby"_s), u"Baby"_s},
        {"nothing but dots is an empty name", recipe({Column3}, u" "_s), row(u".."_s), QString()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ComposedName composed = composeName(c.recipe, c.texts, moment);
        EXPECT_EQ(composed.name, c.expected);
        EXPECT_FALSE(composed.cut);
    }
}

TEST(NameComposer, RecipeFollowsTheMarksAndTheOrderOfTheList) {
    RenamingOptions options;
    options.nameParts = {false, true, false, false, false, false, false, true};
    std::swap(options.partOrder[6], options.partOrder[7]); // "Date and time" one place up
    std::swap(options.nameParts[6], options.nameParts[7]);
    options.separatorIndex = 6;
    options.wordListIndex = 16;
    const NameRecipe made = NameRecipe::from(options);
    EXPECT_EQ(made.parts, (std::vector{NamePart::Column3, NamePart::DateAndTime}));
    EXPECT_EQ(made.separator, u"_"_s);
    EXPECT_EQ(made.wordListText, u"Gift"_s);

    options.separatorIndex = -1;
    options.wordListIndex = -1;
    EXPECT_TRUE(NameRecipe::from(options).separator.isEmpty());
    EXPECT_TRUE(NameRecipe::from(options).wordListText.isEmpty());
}

TEST(NameComposer, LongNamesKeepTheirStartAndLastCharacterWithin255Bytes) {
    const QString emoji = u"\U0001F600"_s;
    struct Case {
        const char* name;
        QString text;
        QString expected; // empty: only the checks below
    };
    const Case cases[] = {
        {"ascii", QString(299, u'x') + u"Z"_s, QString(250, u'x') + u"Z"_s},
        {"emoji at the cut", QString(249, u'a') + emoji + QString(10, u'b') + u"Z"_s,
         QString(249, u'a') + u"Z"_s},
        {"accent at the cut", QString(249, u'a') + u"e\u0301"_s + u"bbZ"_s,
         QString(249, u'a') + u"Z"_s},
        {"cyrillic", QString(199, u'Ж') + u"Я"_s, QString(124, u'Ж') + u"Я"_s},
        {"emoji last", QString(300, u'a') + emoji, QString(247, u'a') + emoji},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        bool cut = false;
        const QString fitted = fitNameBytes(c.text, composedExtension, maxNameBytes, &cut);
        EXPECT_TRUE(cut);
        EXPECT_EQ(fitted, c.expected);
        EXPECT_LE((fitted + composedExtension).toUtf8().size(), maxNameBytes);
        EXPECT_EQ(QString::fromUtf8(fitted.toUtf8()), fitted); // no half characters
    }
    const QString fits = QString(251, u'x');
    bool cut = true;
    EXPECT_EQ(fitNameBytes(fits, composedExtension, maxNameBytes, &cut), fits);
    EXPECT_FALSE(cut);

    // Through the whole composition: 300 characters give 250 + the last + ".kar".
    const ComposedName composed =
        composeName(recipe({NamePart::Column3}, u"_"_s), row(QString(299, u'q') + u"!"_s), moment);
    EXPECT_TRUE(composed.cut);
    EXPECT_EQ(composed.name, QString(250, u'q') + u"!"_s);
}

} // namespace
} // namespace corvanteller
