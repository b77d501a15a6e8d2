// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/ole_date.h"

#include <cmath>
#include <optional>

namespace corvanteller {
namespace {

constexpr qint64 msecsPerDay = 86'400'000;
constexpr double secondsPerDay = 86'400.0;

QDate oleEpoch() {
    return QDate(oleEpochYear, oleEpochMonth, oleEpochDay);
}

struct OleParts {
    qint64 days;      // whole days from the epoch, negative before it
    int secondsOfDay; // time of day, counted forwards from midnight
};

std::optional<OleParts> split(double value) {
    if (!std::isfinite(value)) {
        return std::nullopt;
    }
    static const qint64 firstDay = oleEpoch().daysTo(QDate(1, 1, 1));
    static const qint64 lastDay = oleEpoch().daysTo(QDate(9999, 12, 31));
    const double whole = std::trunc(value);
    // Checked before the conversion to an integer, which would overflow for huge values.
    if (whole < static_cast<double>(firstDay) || whole > static_cast<double>(lastDay)) {
        return std::nullopt;
    }
    qint64 days = static_cast<qint64>(whole);
    // Rounded to the millisecond first, so that 0.999999999 s of binary error is not a second
    // lost, then cut to the second.
    qint64 msecs = std::llround(std::fabs(value - whole) * static_cast<double>(msecsPerDay));
    if (msecs >= msecsPerDay) {
        msecs = 0;
        days += value < 0 ? -1 : 1;
        if (days < firstDay || days > lastDay) {
            return std::nullopt;
        }
    }
    return OleParts{days, static_cast<int>(msecs / 1000)};
}

double compose(qint64 days, int secondsOfDay) {
    const double fraction = secondsOfDay / secondsPerDay;
    return days >= 0 ? static_cast<double>(days) + fraction : static_cast<double>(days) - fraction;
}

} // namespace

double toOleDate(const QDateTime& dateTime) {
    if (!dateTime.isValid()) {
        return 0.0;
    }
    const QDateTime local = dateTime.toLocalTime();
    return compose(oleEpoch().daysTo(local.date()), local.time().msecsSinceStartOfDay() / 1000);
}

QDateTime fromOleDate(double days) {
    const std::optional<OleParts> parts = split(days);
    if (!parts) {
        return {};
    }
    return QDateTime(oleEpoch().addDays(parts->days),
                     QTime::fromMSecsSinceStartOfDay(parts->secondsOfDay * 1000), Qt::LocalTime);
}

double truncateOleDateToSeconds(double days) {
    const std::optional<OleParts> parts = split(days);
    return parts ? compose(parts->days, parts->secondsOfDay) : days;
}

QDateTime truncatedToSeconds(const QDateTime& dateTime) {
    if (!dateTime.isValid()) {
        return dateTime;
    }
    return dateTime.addMSecs(-dateTime.time().msec());
}

} // namespace corvanteller
