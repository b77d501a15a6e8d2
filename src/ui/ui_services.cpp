// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/ui_services.h"

#include <QFileInfo>

namespace corvanteller {

QString UiServices::chooseFileToOpen(QWidget* parent, FileDialog dialog) {
    startInLastFolder(dialog);
    return rememberFolder(dialog.kind, chooseOpenFile(parent, dialog));
}

QString UiServices::chooseFileToSave(QWidget* parent, FileDialog dialog) {
    startInLastFolder(dialog);
    return rememberFolder(dialog.kind, chooseSaveFile(parent, dialog));
}

UiServices::SaveChoice UiServices::chooseFileAndFilterToSave(QWidget* parent, FileDialog dialog) {
    startInLastFolder(dialog);
    SaveChoice choice = chooseSaveFileAndFilter(parent, dialog);
    rememberFolder(dialog.kind, choice.path);
    return choice;
}

void UiServices::startInLastFolder(FileDialog& dialog) const {
    if (dialog.kind != FileKind::Other && dialog.startFolder.isEmpty()) {
        dialog.startFolder = lastFolders_.at(static_cast<std::size_t>(dialog.kind));
    }
}

QString UiServices::rememberFolder(FileKind kind, const QString& chosen) {
    if (kind != FileKind::Other && !chosen.isEmpty()) {
        lastFolders_.at(static_cast<std::size_t>(kind)) = QFileInfo(chosen).absolutePath();
    }
    return chosen;
}

} // namespace corvanteller
