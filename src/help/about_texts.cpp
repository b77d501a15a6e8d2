// SPDX-License-Identifier: GPL-3.0-or-later
#include "help/about_texts.h"

#include <QCoreApplication>

namespace corvanteller {

using namespace Qt::StringLiterals;

namespace about {

QString title() {
    return u"Corvanteller"_s;
}

// The addresses are reserved example names, shown as plain lines.
QStringList textLines() {
    return {
        QCoreApplication::translate(
            "Help",
            "Corvanteller Karaoke Information Reader (Corvanteller) - program, which allows "),
        QCoreApplication::translate(
            "Help", "to take the information from karaoke files (*.kar) and to operate with it "),
        QCoreApplication::translate("Help",
                                    "(to change names of files use the internal information etc)."),
        QCoreApplication::translate(
            "Help", "This information can contain the name of a composition, name "),
        QCoreApplication::translate(
            "Help", "the executor, authors of words and music etc, and also other information."),
        QString(),
        QCoreApplication::translate(
            "Help", "New versions of the program (and also the same version of the program, "),
        QCoreApplication::translate(
            "Help", "configurated under other Offices (Ms Office 97, 2000, 2002....)) and "),
        QCoreApplication::translate(
            "Help", "other information you can find on the site: www.corvanteller.example "),
        QCoreApplication::translate("Help", "or on the alternative site: corvanteller.example.org"),
        QString(),
        QCoreApplication::translate("Help", "With all questions, remarks and offers address: "),
        u"corvanteller@example.org"_s,
        QString(),
        QCoreApplication::translate(
            "Help", "Corvanteller (further Program) is delivered \"AS IS\", without warranty "),
        QCoreApplication::translate(
            "Help", "of any kind. You use Program at own risk, and developer in any "),
        QCoreApplication::translate(
            "Help", "way does not answer for correct work of the program, and also for "),
        QCoreApplication::translate("Help", "consequences!"),
        QCoreApplication::translate("Help", "I can tell only one: it works normally! :-)"),
        QString(),
        QCoreApplication::translate(
            "Help",
            "Names of another software which was used in this Program  are registered trade "),
        QCoreApplication::translate("Help", "marks of their owners."),
        QString(),
        QCoreApplication::translate("Help", "I hope this Program will make your life easier!!"),
    };
}

QString credit() {
    return QCoreApplication::translate("Help", "Developed by the Corvanteller team");
}

QString version() {
    return QCoreApplication::translate("Help", "Version 1.3");
}

QString place() {
    return QCoreApplication::translate("Help", "Russia, Moscow");
}

QString year() {
    return u"2003"_s;
}

QString stripHint() {
    return QCoreApplication::translate("Help", "From Russia -- with love!!!");
}

QString officeNote() {
    return QCoreApplication::translate(
        "Help", "This Program was configurated under Ms Office 97, 2000, 2002 (XP)");
}

} // namespace about

namespace {

// Rewrites the fields of a QLocale date or time format outside its quoted literals: change
// gets each run of one field letter and returns what stands for it.
template <typename Change> QString rewriteFields(const QString& format, Change change) {
    QString result;
    qsizetype at = 0;
    while (at < format.size()) {
        const QChar letter = format.at(at);
        if (letter == u'\'') {
            const qsizetype close = format.indexOf(u'\'', at + 1);
            const qsizetype end = close < 0 ? format.size() : close + 1;
            result += format.mid(at, end - at);
            at = end;
            continue;
        }
        qsizetype end = at + 1;
        while (end < format.size() && format.at(end) == letter) {
            ++end;
        }
        result += change(format.mid(at, end - at));
        at = end;
    }
    return result;
}

} // namespace

QString shortDateFormatFullYear(const QLocale& locale) {
    return rewriteFields(locale.dateFormat(QLocale::ShortFormat), [](const QString& field) {
        return field.front() == u'y' ? QCoreApplication::translate("Help", "yyyy") : field;
    });
}

QString longTimeFormatWithoutZone(const QLocale& locale) {
    const QString withoutZone =
        rewriteFields(locale.timeFormat(QLocale::LongFormat), [](const QString& field) {
            return field.front() == u't' ? QString() : field;
        });
    // The space that stood between the zone and the time goes with it.
    return withoutZone.trimmed();
}

QString lastCloseLine(const QDateTime& lastClose, const QLocale& locale) {
    QString moment = locale.toString(lastClose.date(), shortDateFormatFullYear(locale));
    if (lastClose.time() != QTime(0, 0)) {
        moment += u' ' + locale.toString(lastClose.time(), longTimeFormatWithoutZone(locale));
    }
    return QCoreApplication::translate("Help", "Time of last close of the program: %1").arg(moment);
}

} // namespace corvanteller
