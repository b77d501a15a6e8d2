// SPDX-License-Identifier: GPL-3.0-or-later
#include "help/about_texts.h"
#include "help/strip_motion.h"
#include "settings/settings_file.h"

#include <gtest/gtest.h>

#include <set>

namespace corvanteller {
namespace {

using namespace Qt::StringLiterals;

TEST(AboutTexts, TheAboutTextHasItsSixParagraphsIn24Lines) {
    const QStringList lines = about::textLines();
    EXPECT_EQ(lines.size(), 24);
    EXPECT_EQ(lines.count(QString()), 5);
    EXPECT_FALSE(lines.front().isEmpty());
    EXPECT_FALSE(lines.back().isEmpty());
}

TEST(AboutTexts, LastCloseInTheLocalesFormatsTheDateAloneAtMidnight) {
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    const QLocale russian(QLocale::Russian, QLocale::Russia);
    const QDateTime midnight(QDate(2026, 12, 6), QTime(0, 0));
    const QDateTime evening(QDate(2026, 12, 6), QTime(21, 5, 9));
    const QDateTime morning(QDate(2026, 12, 6), QTime(0, 0, 1));
    struct Case {
        QLocale locale;
        QDateTime lastClose;
        QString expected;
    };
    const Case cases[] = {
        {english, RunTimes::defaultCloseTime(), u"12/30/1899"_s},
        {english, midnight, u"12/6/2026"_s},
        {english, evening, u"12/6/2026 9:05:09 PM"_s},
        {english, morning, u"12/6/2026 12:00:01 AM"_s},
        {russian, RunTimes::defaultCloseTime(), u"30.12.1899"_s},
        {russian, midnight, u"06.12.2026"_s},
        {russian, evening, u"06.12.2026 21:05:09"_s},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(lastCloseLine(c.lastClose, c.locale),
                  u"Time of last close of the program: "_s + c.expected)
            << c.expected.toStdString();
    }
}

TEST(AboutTexts, FormatsKeepTheirOrderWithAFullYearAndNoZone) {
    struct Case {
        QLocale locale;
        QString date;
        QString time;
    };
    // Two-digit years become four wherever they stand; the zone goes wherever it stands.
    const Case cases[] = {
        {QLocale(QLocale::German, QLocale::Germany), u"dd.MM.yyyy"_s, u"HH:mm:ss"_s},
        {QLocale(QLocale::Korean, QLocale::SouthKorea), u"yyyy. M. d."_s, QString()},
        {QLocale(QLocale::Chinese, QLocale::China), u"yyyy/M/d"_s, u"HH:mm:ss"_s},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(shortDateFormatFullYear(c.locale), c.date) << c.locale.name().toStdString();
        if (!c.time.isEmpty()) {
            EXPECT_EQ(longTimeFormatWithoutZone(c.locale), c.time) << c.locale.name().toStdString();
        }
    }
}

TEST(StripMotion, TurnsAtTheLimitsFromTheCentreMovingRight) {
    constexpr int windowWidth = 457;
    constexpr int stripWidth = 79;
    StripMotion strip(windowWidth, stripWidth);
    strip.start(windowWidth / 2 - stripWidth / 2);
    EXPECT_EQ(strip.tick(), 191);
    EXPECT_EQ(strip.tick(), 193);

    // The strip goes past a limit by one step's remainder and turns there.
    std::set<int> turningPoints;
    bool movingRight = strip.movingRight();
    for (int tick = 0; tick < 2000; ++tick) {
        const int left = strip.tick();
        ASSERT_GE(left, 3);
        ASSERT_LE(left, windowWidth - stripWidth - 10 + 1);
        if (strip.movingRight() != movingRight) {
            movingRight = strip.movingRight();
            turningPoints.insert(left);
        }
    }
    EXPECT_EQ(turningPoints, (std::set<int>{3, 369}));
}

} // namespace
} // namespace corvanteller
