// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/list_dialogs.h"

#include "app/app_texts.h"
#include "common/file_filters.h"
#include "office/excel_import.h"

namespace corvanteller {

using namespace Qt::StringLiterals;

UiServices::FileDialog listOpenDialog() {
    UiServices::FileDialog dialog;
    dialog.filter = toQtFileFilter(appTexts::listOpenFilter());
    dialog.mustExist = true;
    dialog.kind = UiServices::FileKind::List;
    return dialog;
}

UiServices::FileDialog listSaveDialog() {
    UiServices::FileDialog dialog;
    dialog.filter = toQtFileFilter(appTexts::listSaveFilter());
    dialog.defaultSuffix = u"sgl"_s;
    dialog.confirmOverwrite = true;
    dialog.kind = UiServices::FileKind::List;
    return dialog;
}

UiServices::FileDialog excelOpenDialog() {
    UiServices::FileDialog dialog;
    dialog.filter = toQtFileFilter(excelImportFilter());
    dialog.mustExist = true;
    dialog.kind = UiServices::FileKind::Workbook;
    return dialog;
}

} // namespace corvanteller
