// SPDX-License-Identifier: GPL-3.0-or-later
#include "office/cell_text.h"

#include "office/number_formats.h"
#include "office/workbook.h"

#include <QDateTime>

#include <cmath>

namespace corvanteller {

using namespace Qt::StringLiterals;

namespace {

constexpr double lastDateSerial = 2958466; // 10000-01-01
constexpr qint64 secondsPerDay = 86400;

bool isZoneSeparator(QChar ch) {
    return ch == u' ' || ch == u',' || ch == QChar(0x00A0) || ch == QChar(0x202F);
}

// The locale's long time format without its time zone and what only frames it ("H:mm:ss (t)",
// "HH:mm:ss, t" -> "H:mm:ss", "HH:mm:ss"); a day period ("B", which the formats do not know)
// as the AM/PM text.
QString longTimeFormat(const QLocale& locale) {
    QString format = locale.timeFormat(QLocale::LongFormat);
    bool quoted = false;
    for (qsizetype i = 0; i < format.size(); ++i) {
        if (format[i] == u'\'') {
            quoted = !quoted;
            continue;
        }
        if (quoted) {
            continue;
        }
        if (format[i] == u'B') {
            format.replace(i, 1, u"AP"_s);
            ++i;
            continue;
        }
        if (format[i] != u't') {
            continue;
        }
        qsizetype first = i;
        qsizetype last = i;
        while (last + 1 < format.size() && format[last + 1] == u't') {
            ++last;
        }
        if (first > 0 && last + 1 < format.size() &&
            ((format[first - 1] == u'(' && format[last + 1] == u')') ||
             (format[first - 1] == u'[' && format[last + 1] == u']'))) {
            --first;
            ++last;
        }
        const qsizetype zoneFirst = first;
        while (first > 0 && isZoneSeparator(format[first - 1])) {
            --first;
        }
        if (first == zoneFirst) {
            while (last + 1 < format.size() && isZoneSeparator(format[last + 1])) {
                ++last;
            }
        }
        format.remove(first, last - first + 1);
        i = first - 1;
    }
    return format.trimmed();
}

} // namespace

QString spreadsheetNumberText(double number) {
    return QString::fromStdString(generalNumberText(number));
}

QString dateSerialText(double serial, const QLocale& locale) {
    if (!(serial >= 0 && serial < lastDateSerial)) {
        return spreadsheetNumberText(serial);
    }
    const auto seconds = static_cast<qint64>(std::llround(serial * secondsPerDay));
    qint64 days = seconds / secondsPerDay;
    const qint64 timeOfDay = seconds % secondsPerDay;
    // The spreadsheet counts a 29 February 1900: serials before it are one day later.
    const QDate base = days < 61 ? QDate(1899, 12, 31) : QDate(1899, 12, 30);
    QDate date = base.addDays(days);
    if (days == 60) {
        date = QDate(1900, 2, 28);
    }
    const QString time =
        locale.toString(QTime(0, 0).addSecs(static_cast<int>(timeOfDay)), longTimeFormat(locale));
    // A time alone (day 0, also midnight) reads as its time, as the system writes such a date
    // value.
    if (days == 0) {
        return time;
    }
    QString text = locale.toString(date, QLocale::ShortFormat);
    if (timeOfDay != 0) {
        text += u' ' + time;
    }
    return text;
}

QString cellText(const CellValue& value, const QLocale& locale) {
    if (value.kind() != CellValue::Kind::Number) {
        return value.text();
    }
    return value.isDate() ? dateSerialText(value.number(), locale)
                          : spreadsheetNumberText(value.number());
}

} // namespace corvanteller
