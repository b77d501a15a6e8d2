// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateTime>
#include <QLocale>
#include <QString>
#include <QStringList>

namespace corvanteller {

class SongTableModel;
struct TextFormatOptions;

// How a data row of the song table becomes one line of text.
enum class TableTextLayout {
    // "#", TAB, folder, file name, space, then the four texts each followed by TAB.
    WithFileName,
    // "#", TAB, folder and the first text run together, TAB, then the other three texts each
    // followed by TAB; no file name.
    WithoutFileName,
};

// One line per data row 1 to N, cells as the table holds them ("#" with its check mark).
// A line break inside a cell becomes a space, so that every row stays one line.
QStringList tableTextLines(const SongTableModel& table, TableTextLayout layout);

// The lines after the table: an empty line; the date and time ("dd.mmm.yyy  hh.mm.ss") when
// "&Add date and time" is checked; a space and the closing string when "Add next " is.
QStringList closingLines(const TextFormatOptions& options, const QDateTime& now,
                         const QLocale& locale);

// The table text and its closing lines as one text, lines separated by "\n".
QString tableText(const SongTableModel& table, TableTextLayout layout,
                  const TextFormatOptions& options, const QDateTime& now, const QLocale& locale);

// What "OK" of the text-format dialog appends: the date and time ("dd.mm.yyy  hh.mm.ss") when
// "&Add date and time" is checked, then the closing string without a leading space when
// "Add next " is.
QStringList appendedClosingLines(const TextFormatOptions& options, const QDateTime& now,
                                 const QLocale& locale);

} // namespace corvanteller
