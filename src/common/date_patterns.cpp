// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/date_patterns.h"

namespace corvanteller {

namespace {

QString twoDigits(int value) {
    return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0'));
}

// The stand-alone short name without the abbreviation's dot that some locales add ("дек."),
// so that it never meets the pattern's own dot.
QString shortMonthName(const QLocale& locale, int month) {
    QString name = locale.standaloneMonthName(month, QLocale::ShortFormat);
    if (name.endsWith(QLatin1Char('.'))) {
        name.chop(1);
    }
    return name;
}

} // namespace

QString formatDatePattern(const QString& pattern, const QDateTime& moment, const QLocale& locale) {
    const QDate date = moment.date();
    const QTime time = moment.time();
    QString text;
    bool afterHours = false;
    qsizetype i = 0;
    const auto startsWith = [&pattern, &i](QStringView token) {
        return QStringView(pattern).mid(i).startsWith(token);
    };
    while (i < pattern.size()) {
        if (startsWith(u"dd")) {
            text += twoDigits(date.day());
            afterHours = false;
            i += 2;
        } else if (startsWith(u"mmm")) {
            text += shortMonthName(locale, date.month());
            afterHours = false;
            i += 3;
        } else if (startsWith(u"mm")) {
            text += twoDigits(afterHours ? time.minute() : date.month());
            afterHours = false;
            i += 2;
        } else if (startsWith(u"yyy")) {
            text += QStringLiteral("%1").arg(date.year(), 4, 10, QLatin1Char('0'));
            afterHours = false;
            i += 3;
        } else if (startsWith(u"hh")) {
            text += twoDigits(time.hour());
            afterHours = true;
            i += 2;
        } else if (startsWith(u"ss")) {
            text += twoDigits(time.second());
            afterHours = false;
            i += 2;
        } else {
            text += pattern[i];
            ++i;
        }
    }
    return text;
}

} // namespace corvanteller
