#include "common/ole_date.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace corvanteller {
namespace {

QDateTime local(int y, int mo, int d, int h = 0, int mi = 0, int s = 0, int ms = 0) {
    return QDateTime(QDate(y, mo, d), QTime(h, mi, s, ms), Qt::LocalTime);
}

struct OleCase {
    const char* name;
    QDateTime dateTime;
    double days;
};

TEST(OleDate, KnownValuesBothWays) {
    const OleCase cases[] = {
        {"the epoch", local(1899, 12, 30), 0.0},
        {"noon of the epoch", local(1899, 12, 30, 12), 0.5},
        {"1 January 1900", local(1900, 1, 1), 2.0},
        {"2000 at 18:00", local(2000, 1, 1, 18), 36526.75},
        {"the day before the epoch", local(1899, 12, 29), -1.0},
        // Before the epoch the fraction still counts forwards from midnight.
        {"29 December 1899, 06:00", local(1899, 12, 29, 6), -1.25},
        {"28 December 1899, 18:00", local(1899, 12, 28, 18), -2.75},
        {"a second before midnight", local(2026, 12, 6, 23, 59, 59), 46362.0 + 86399.0 / 86400.0},
        {"a second before the epoch's midnight, backwards", local(1899, 12, 29, 23, 59, 59),
         -1.0 - 86399.0 / 86400.0},
    };
    for (const OleCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_DOUBLE_EQ(toOleDate(c.dateTime), c.days);
        EXPECT_EQ(fromOleDate(c.days), c.dateTime);
    }
}

TEST(OleDate, NegativeFractionBetweenMinusOneAndZeroIsTheEpochDay) {
    EXPECT_EQ(fromOleDate(-0.5), local(1899, 12, 30, 12));
    EXPECT_EQ(fromOleDate(-0.25), local(1899, 12, 30, 6));
}

TEST(OleDate, CutToWholeSeconds) {
    // Milliseconds are dropped, never rounded up.
    EXPECT_DOUBLE_EQ(toOleDate(local(1899, 12, 30, 12, 0, 0, 999)), 0.5);
    EXPECT_EQ(fromOleDate(0.5 + 0.999 / 86400.0), local(1899, 12, 30, 12));
    EXPECT_EQ(fromOleDate(-1.25 - 0.999 / 86400.0), local(1899, 12, 29, 6));
    // A value a hair below a whole second is that second, not the one before.
    const double nearly = 36526.0 + 3600.0 / 86400.0 - 1e-11;
    EXPECT_EQ(fromOleDate(nearly), local(2000, 1, 1, 1));
    // A hair below the next midnight is that midnight, in either direction.
    EXPECT_EQ(fromOleDate(36526.0 - 1e-11), local(2000, 1, 1));
    EXPECT_EQ(fromOleDate(-2.0 + 1e-11), local(1899, 12, 28));

    EXPECT_DOUBLE_EQ(truncateOleDateToSeconds(0.5 + 0.7 / 86400.0), 0.5);
    EXPECT_DOUBLE_EQ(truncateOleDateToSeconds(-1.25 - 0.7 / 86400.0), -1.25);
    EXPECT_EQ(truncatedToSeconds(local(2026, 3, 1, 10, 20, 30, 456)),
              local(2026, 3, 1, 10, 20, 30));
}

TEST(OleDate, EverySecondOfADayRoundTrips) {
    for (int second = 0; second < 86400; second += 7) {
        const QDateTime before = local(1850, 6, 1).addSecs(second);
        const QDateTime after = local(2031, 6, 1).addSecs(second);
        ASSERT_EQ(fromOleDate(toOleDate(before)), before) << second;
        ASSERT_EQ(fromOleDate(toOleDate(after)), after) << second;
        ASSERT_EQ(truncateOleDateToSeconds(toOleDate(after)), toOleDate(after)) << second;
    }
}

TEST(OleDate, DamagedValuesGiveNoDate) {
    const double damaged[] = {std::numeric_limits<double>::quiet_NaN(),
                              std::numeric_limits<double>::infinity(),
                              -std::numeric_limits<double>::infinity(),
                              1e300,
                              -1e300,
                              2958466.0 /* 1 January 10000 */,
                              -693594.0 /* year 0 */};
    for (const double value : damaged) {
        EXPECT_FALSE(fromOleDate(value).isValid()) << value;
        if (std::isfinite(value)) {
            EXPECT_EQ(truncateOleDateToSeconds(value), value);
        }
    }
    EXPECT_EQ(fromOleDate(2958465.0), local(9999, 12, 31));
    EXPECT_EQ(fromOleDate(-693593.0), local(1, 1, 1));
    EXPECT_EQ(toOleDate(QDateTime()), 0.0);
}

TEST(OleDate, UtcInputIsTakenAsItsLocalTime) {
    const QDateTime utc(QDate(2024, 7, 15), QTime(8, 30), Qt::UTC);
    EXPECT_DOUBLE_EQ(toOleDate(utc), toOleDate(utc.toLocalTime()));
}

} // namespace
} // namespace corvanteller
