// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QMimeData;

namespace corvanteller {

// What a file manager's drop brings: a folder scans, a list opens, a workbook imports.
struct DroppedFile {
    enum class Kind { None, Folder, List, Workbook };
    Kind kind = Kind::None;
    QString path;
};

// The first local file of the drop, by its kind; Kind::None for anything else.
DroppedFile droppedFile(const QMimeData* data);

} // namespace corvanteller
