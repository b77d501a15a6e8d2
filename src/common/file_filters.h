#pragma once

#include <QString>

namespace corvanteller {

// Turns a Windows-style filter list, pairs of description and patterns separated by "|"
// ("Text|*.txt|All files (*.*)|*.*"), into Qt's form ("Text (*.txt);;All files (*.*)").
// Patterns separated by ";" become space-separated; a description that already ends with its
// patterns in parentheses keeps them once. A trailing "|" and empty pairs are ignored; a
// description without patterns matches every file.
QString toQtFileFilter(const QString& windowsFilter);

} // namespace corvanteller
