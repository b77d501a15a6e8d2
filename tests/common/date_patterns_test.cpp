// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/date_patterns.h"

#include <gtest/gtest.h>

namespace corvanteller {
namespace {

using namespace Qt::StringLiterals;

TEST(DatePatterns, WritesThePatternsInEnglishAndRussian) {
    const QDateTime moment(QDate(2026, 12, 6), QTime(21, 5, 9));
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    const QLocale russian(QLocale::Russian, QLocale::Russia);
    struct Case {
        QString pattern;
        QLocale locale;
        QString expected;
    };
    const Case cases[] = {
        {datePattern(), english, u"06.Dec.2026"_s},
        {datePattern(), russian, u"06.дек.2026"_s},
        {timePattern(), english, u"21.05.09"_s},
        {dateAndTimePattern(), english, u"06.12.2026  21.05.09"_s},
        // "mm" is the month unless the hours came just before it.
        {u"mm hh mm dd mm"_s, english, u"12 21 05 06 12"_s},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(formatDatePattern(c.pattern, moment, c.locale), c.expected)
            << c.pattern.toStdString();
    }
    EXPECT_EQ(formatDatePattern(dateAndTimePattern(), QDateTime(QDate(987, 1, 2), QTime(0, 0, 7)),
                                english),
              u"02.01.0987  00.00.07"_s);
}

} // namespace
} // namespace corvanteller
