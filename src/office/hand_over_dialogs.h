// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/ui_services.h"

#include <QString>
#include <QStringList>

#include <functional>

class QWidget;

namespace corvanteller {

struct ExcelExportOutcome;

// The save dialogs of a copy of the export's workbook (".xlsx") and of a Word document
// (".docx").
UiServices::FileDialog workbookSaveDialog();
UiServices::FileDialog documentSaveDialog();
// A window's save dialog set to write a Word document with the window's filter.
UiServices::FileDialog wordSaveDialog(UiServices::FileDialog dialog, const QString& filter);

// What the user is told after a hand-over: for each file that no program showed, "No program
// was found to show <path>. The file is kept there." with a button "Save a copy...", which
// writes a copy where a save dialog of that kind says; then the other messages.
void reportHandOver(UiServices& ui, QWidget* parent, const QStringList& notShown,
                    const QStringList& messages, const UiServices::FileDialog& copyDialog);

// "Save workbook as...": a save dialog, then save(path) writes the export's workbook there.
// False when the dialog was cancelled.
bool saveWorkbookWithDialog(UiServices& ui, QWidget* parent,
                            const std::function<ExcelExportOutcome(const QString& path)>& save);

} // namespace corvanteller
