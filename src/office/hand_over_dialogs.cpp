// SPDX-License-Identifier: GPL-3.0-or-later
#include "office/hand_over_dialogs.h"

#include "common/file_filters.h"
#include "common/file_io.h"
#include "office/excel_export.h"
#include "office/hand_over.h"
#include "office/office_texts.h"
#include "office/word_commands.h"

#include <QFileInfo>

#include <limits>

namespace corvanteller {

using namespace Qt::StringLiterals;

UiServices::FileDialog workbookSaveDialog() {
    UiServices::FileDialog dialog;
    dialog.filter = exportWorkbookFilter();
    dialog.defaultSuffix = u"xlsx"_s;
    dialog.confirmOverwrite = true;
    dialog.kind = UiServices::FileKind::Workbook;
    return dialog;
}

UiServices::FileDialog documentSaveDialog() {
    UiServices::FileDialog dialog;
    dialog.confirmOverwrite = true;
    return wordSaveDialog(dialog, mainWindowWordFilter());
}

UiServices::FileDialog wordSaveDialog(UiServices::FileDialog dialog, const QString& filter) {
    dialog.filter = toQtFileFilter(filter);
    dialog.defaultSuffix = wordDefaultSuffix();
    dialog.kind = UiServices::FileKind::Document;
    return dialog;
}

void reportHandOver(UiServices& ui, QWidget* parent, const QStringList& notShown,
                    const QStringList& messages, const UiServices::FileDialog& copyDialog) {
    for (const QString& kept : notShown) {
        if (!ui.showMessageWithButton(parent, notShownMessage(kept), officeTexts::saveACopy())) {
            continue;
        }
        const QString copy = ui.chooseFileToSave(parent, copyDialog);
        if (!copy.isEmpty() && QFileInfo(copy) != QFileInfo(kept)) {
            writeFileAtomically(copy, readFileBounded(kept, std::numeric_limits<qint64>::max()));
        }
    }
    for (const QString& message : messages) {
        ui.showMessage(parent, message);
    }
}

bool saveWorkbookWithDialog(UiServices& ui, QWidget* parent,
                            const std::function<ExcelExportOutcome(const QString& path)>& save) {
    const QString path = ui.chooseFileToSave(parent, workbookSaveDialog());
    if (path.isEmpty()) {
        return false;
    }
    const ExcelExportOutcome outcome = save(path);
    if (!outcome.exported) {
        ui.showMessage(parent, officeTexts::emptyTableNotExported());
    }
    for (const QString& message : outcome.messages) {
        ui.showMessage(parent, message);
    }
    return true;
}

} // namespace corvanteller
