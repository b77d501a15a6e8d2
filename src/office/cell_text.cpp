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

// The locale's long time format without its time zone ("HH:mm:ss t" -> "HH:mm:ss").
QString longTimeFormat(const QLocale& locale) {
    const QString format = locale.timeFormat(QLocale::LongFormat);
    QString kept;
    bool quoted = false;
    for (const QChar ch : format) {
        if (ch == u'\'') {
            quoted = !quoted;
        }
        if (!quoted && ch == u't') {
            continue;
        }
        kept += ch;
    }
    return kept.trimmed();
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
    // A time alone (day 0) reads as its time, as the system writes such a date value.
    if (days == 0 && timeOfDay != 0) {
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
