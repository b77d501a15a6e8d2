// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

namespace corvanteller {

// Turns a Windows-style filter list, pairs of description and patterns separated by "|"
// ("Text|*.txt|All files (*.*)|*.*"), into Qt's form ("Text (*.txt);;All files (*.*)").
// Patterns separated by ";" become space-separated; a description that already ends with its
// patterns in parentheses keeps them once. A trailing "|" and empty pairs are ignored; a
// description without patterns matches every file.
QString toQtFileFilter(const QString& windowsFilter);

// The ending a Qt filter entry gives a file: that of its first pattern ("Rich Text (*.rtf)"
// gives "rtf"), or an empty text when that pattern names no single ending ("*", "*.*").
QString filterEnding(const QString& qtFilter);

// The path with the given ending when its name has none or one of the replaced endings (compared
// without regard to case): "song" and "song.txt" become "song.rtf"; any other path stays.
QString withEnding(const QString& path, const QString& ending, const QStringList& replaced);

} // namespace corvanteller
