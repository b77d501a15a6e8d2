#include "help/about_texts.h"

namespace corvanteller {

using namespace Qt::StringLiterals;

namespace about {

QString title() {
    return u"Corvanteller"_s;
}

// The addresses are reserved example names, shown as plain lines.
QStringList textLines() {
    return {
        u"Corvanteller Karaoke Information Reader (Corvanteller) - program, which allows "_s,
        u"to take the information from karaoke files (*.kar) and to operate with it "_s,
        u"(to change names of files use the internal information etc)."_s,
        u"This information can contain the name of a composition, name "_s,
        u"the executor, authors of words and music etc, and also other information."_s,
        QString(),
        u"New versions of the program (and also the same version of the program, "_s,
        u"configurated under other Offices (Ms Office 97, 2000, 2002....)) and "_s,
        u"other information you can find on the site: www.corvanteller.example "_s,
        u"or on the alternative site: corvanteller.example.org"_s,
        QString(),
        u"With all questions, remarks and offers address: "_s,
        u"corvanteller@example.org"_s,
        QString(),
        u"Corvanteller (further Program) is delivered \"AS IS\", without warranty "_s,
        u"of any kind. You use Program at own risk, and developer in any "_s,
        u"way does not answer for correct work of the program, and also for "_s,
        u"consequences!"_s,
        u"I can tell only one: it works normally! :-)"_s,
        QString(),
        u"Names of another software which was used in this Program  are registered trade "_s,
        u"marks of their owners."_s,
        QString(),
        u"I hope this Program will make your life easier!!"_s,
    };
}

QString credit() {
    return u"Developed by the Corvanteller team"_s;
}

QString version() {
    return u"Version 1.3"_s;
}

QString place() {
    return u"Russia, Moscow"_s;
}

QString year() {
    return u"2003"_s;
}

QString stripHint() {
    return u"From Russia -- with love!!!"_s;
}

QString officeNote() {
    return u"This Program was configurated under Ms Office 97, 2000, 2002 (XP)"_s;
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
        return field.front() == u'y' ? u"yyyy"_s : field;
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
    return u"Time of last close of the program: "_s + moment;
}

} // namespace corvanteller
