// SPDX-License-Identifier: GPL-3.0-or-later
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
    double days;
    QDateTime dateTime;
};

TEST(OleDate, KnownValuesBothWays) {
    const OleCase cases[] = {
        {0.0, local(1899, 12, 30)},
        {0.5, local(1899, 12, 30, 12)},
        {2.0, local(1900, 1, 1)},
        {36526.75, local(2000, 1, 1, 18)},
        {46362.0 + 86399.0 / 86400.0, local(2026, 12, 6, 23, 59, 59)},
        // Before the epoch the fraction still counts forwards from midnight.
        {-1.0, local(1899, 12, 29)},
        {-1.25, local(1899, 12, 29, 6)},
        {-2.75, local(1899, 12, 28, 18)},
        {-1.0 - 86399.0 / 86400.0, local(1899, 12, 29, 23, 59, 59)},
    };
    for (const OleCase& c : cases) {
        SCOPED_TRACE(c.days);
        EXPECT_DOUBLE_EQ(toOleDate(c.dateTime), c.days);
        EXPECT_EQ(fromOleDate(c.days), c.dateTime);
    }
    const QDateTime utc(QDate(2024, 7, 15), QTime(8, 30), Qt::UTC);
    EXPECT_DOUBLE_EQ(toOleDate(utc), toOleDate(utc.toLocalTime()));
}

TEST(OleDate, CutToWholeSeconds) {
    const OleCase readings[] = {
        {-0.5, local(1899, 12, 30, 12)}, // between -1 and 0 is the epoch's day
        {0.5 + 0.999 / 86400.0, local(1899, 12, 30, 12)},
        {-1.25 - 0.999 / 86400.0, local(1899, 12, 29, 6)},
        // A hair below a whole second or midnight is that second, in either direction.
        {36526.0 + 3600.0 / 86400.0 - 1e-11, local(2000, 1, 1, 1)},
        {36526.0 - 1e-11, local(2000, 1, 1)},
        {-2.0 + 1e-11, local(1899, 12, 28)},
        {2958465.0, local(9999, 12, 31)},
        {-693593.0, local(1, 1, 1)},
    };
    for (const OleCase& c : readings) {
        EXPECT_EQ(fromOleDate(c.days), c.dateTime) << c.days;
    }
    // Milliseconds are dropped, never rounded up.
    EXPECT_DOUBLE_EQ(toOleDate(local(1899, 12, 30, 12, 0, 0, 999)), 0.5);
    EXPECT_DOUBLE_EQ(truncateOleDateToSeconds(0.5 + 0.7 / 86400.0), 0.5);
    EXPECT_DOUBLE_EQ(truncateOleDateToSeconds(-1.25 - 0.7 / 86400.0), -1.25);
    EXPECT_EQ(truncatedToSeconds(local(2026, 3, 1, 10, 20, 30, 456)),
              local(2026, 3, 1, 10, 20, 30));
}

TEST(OleDate, DamagedValuesGiveNoDate) {
    for (const double value :
         {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(),
          -std::numeric_limits<double>::infinity(), 1e300, -1e300, 2958466.0 /* 1 January 10000 */,
          -693594.0 /* year 0 */}) {
        EXPECT_FALSE(fromOleDate(value).isValid()) << value;
        if (std::isfinite(value)) {
            EXPECT_EQ(truncateOleDateToSeconds(value), value);
        }
    }
    EXPECT_EQ(toOleDate(QDateTime()), 0.0);
}

} // namespace
} // namespace corvanteller
