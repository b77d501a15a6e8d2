// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/table_text.h"

#include "common/date_patterns.h"
#include "settings/options.h"
#include "table/song_table_model.h"

#include <algorithm>

namespace corvanteller {

using namespace Qt::StringLiterals;

namespace {

constexpr QChar tab = u'\t';

bool isLineBreak(QChar ch) {
    return ch == u'\n' || ch == u'\r' || ch == QChar::LineSeparator ||
           ch == QChar::ParagraphSeparator;
}

// Appends a cell; CR LF and every other line break become one space.
void appendCell(QString& line, const QString& cell) {
    if (std::none_of(cell.cbegin(), cell.cend(), isLineBreak)) {
        line += cell;
        return;
    }
    const qsizetype size = cell.size();
    for (qsizetype i = 0; i < size; ++i) {
        const QChar ch = cell[i];
        if (!isLineBreak(ch)) {
            line += ch;
            continue;
        }
        line += u' ';
        if (ch == u'\r' && i + 1 < size && cell[i + 1] == u'\n') {
            ++i;
        }
    }
}

QString rowLine(const SongTableModel& table, int row, TableTextLayout layout) {
    QString line;
    appendCell(line, table.cellRef(row, SongColumn::Number));
    line += tab;
    appendCell(line, table.cellRef(row, SongColumn::Folder));
    int firstTabbed = 4;
    if (layout == TableTextLayout::WithFileName) {
        appendCell(line, table.cellRef(row, SongColumn::FileName));
        line += u' ';
        firstTabbed = 3;
    } else {
        appendCell(line, table.cellRef(row, SongColumn::Title));
        line += tab;
    }
    for (int column = firstTabbed; column < SongTableModel::columnCountValue; ++column) {
        appendCell(line, table.cellRef(row, column));
        line += tab;
    }
    return line;
}

} // namespace

QStringList tableTextLines(const SongTableModel& table, TableTextLayout layout) {
    QStringList lines;
    lines.reserve(table.songCount());
    for (int row = 1; row <= table.songCount(); ++row) {
        lines.append(rowLine(table, row, layout));
    }
    return lines;
}

QStringList closingLines(const TextFormatOptions& options, const QDateTime& now,
                         const QLocale& locale) {
    QStringList lines{QString()};
    if (options.addDateAndTime) {
        lines.append(formatDatePattern(datePattern() + u"  "_s + timePattern(), now, locale));
    }
    if (options.addNext) {
        lines.append(u' ' + options.addNextText);
    }
    return lines;
}

QString tableText(const SongTableModel& table, TableTextLayout layout,
                  const TextFormatOptions& options, const QDateTime& now, const QLocale& locale) {
    return (tableTextLines(table, layout) + closingLines(options, now, locale)).join(u'\n');
}

QStringList appendedClosingLines(const TextFormatOptions& options, const QDateTime& now,
                                 const QLocale& locale) {
    QStringList lines;
    if (options.addDateAndTime) {
        lines.append(formatDatePattern(dateAndTimePattern(), now, locale));
    }
    if (options.addNext) {
        lines.append(options.addNextText);
    }
    return lines;
}

} // namespace corvanteller
