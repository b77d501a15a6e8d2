// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/file_filters.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QStringList>

namespace corvanteller {

namespace {

using namespace Qt::StringLiterals;

// "*.xls;*.xlsx" -> "*.xls *.xlsx": Qt splits a filter's patterns at spaces only.
QString qtPatterns(const QString& patterns) {
    QStringList parts = patterns.split(u';', Qt::SkipEmptyParts);
    for (QString& part : parts) {
        part = part.trimmed();
    }
    parts.removeAll(QString());
    return parts.join(u' ');
}

// Drops "(patterns)" from the end of a description that already names its patterns, in either
// the Windows or Qt spelling, so that they are not shown twice.
QString withoutTrailingPatterns(const QString& description, const QString& windowsPatterns,
                                const QString& patterns) {
    for (const QString& spelling : {windowsPatterns.trimmed(), patterns}) {
        const QString suffix = u'(' + spelling + u')';
        if (description.endsWith(suffix, Qt::CaseInsensitive)) {
            return description.chopped(suffix.size()).trimmed();
        }
    }
    return description;
}

} // namespace

QString toQtFileFilter(const QString& windowsFilter) {
    const QStringList fields = windowsFilter.split(u'|');
    QStringList filters;
    for (qsizetype i = 0; i < fields.size(); i += 2) {
        const QString description = fields.at(i).trimmed();
        const QString windowsPatterns = i + 1 < fields.size() ? fields.at(i + 1) : QString();
        QString patterns = qtPatterns(windowsPatterns);
        if (description.isEmpty() && patterns.isEmpty()) {
            continue;
        }
        if (patterns.isEmpty()) {
            patterns = u"*"_s;
        }
        const QString shown = withoutTrailingPatterns(description, windowsPatterns, patterns);
        if (shown.isEmpty()) {
            filters.append(u'(' + patterns + u')');
        } else {
            filters.append(shown + u" ("_s + patterns + u')');
        }
    }
    return filters.join(u";;"_s);
}

QString filterEnding(const QString& qtFilter) {
    static const QRegularExpression firstPattern(uR"(\(\s*\*\.([^\s*?\[\]()]+)[\s)])"_s);
    const QRegularExpressionMatch match = firstPattern.match(qtFilter);
    return match.hasMatch() ? match.captured(1) : QString();
}

QString withEnding(const QString& path, const QString& ending, const QStringList& replaced) {
    const QFileInfo file(path);
    const QString name = file.fileName();
    const QString oldEnding = file.suffix();
    if (name.isEmpty() || ending.isEmpty()) {
        return path;
    }
    if (oldEnding.isEmpty()) {
        return path + u'.' + ending;
    }
    if (!replaced.contains(oldEnding, Qt::CaseInsensitive)) {
        return path;
    }
    return path.chopped(oldEnding.size()) + ending;
}

} // namespace corvanteller
