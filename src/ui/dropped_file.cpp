// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/dropped_file.h"

#include <QFileInfo>
#include <QMimeData>
#include <QUrl>

namespace corvanteller {

DroppedFile droppedFile(const QMimeData* data) {
    if (data == nullptr || !data->hasUrls() || data->urls().isEmpty() ||
        !data->urls().front().isLocalFile()) {
        return {};
    }
    const QString path = data->urls().front().toLocalFile();
    const QFileInfo info(path);
    const QString suffix = info.suffix().toLower();
    if (info.isDir()) {
        return {DroppedFile::Kind::Folder, path};
    }
    if (!info.isFile()) {
        return {};
    }
    if (suffix == QStringLiteral("sgl")) {
        return {DroppedFile::Kind::List, path};
    }
    if (suffix == QStringLiteral("xls") || suffix == QStringLiteral("xlsx")) {
        return {DroppedFile::Kind::Workbook, path};
    }
    return {};
}

} // namespace corvanteller
