// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/office_commands.h"

#include "app/app_context.h"
#include "app/list_dialogs.h"
#include "office/document_engine.h"
#include "office/document_printing.h"
#include "office/engine_command.h"
#include "office/excel_export.h"
#include "office/hand_over_dialogs.h"
#include "office/word_commands.h"
#include "office/workbook_engine.h"
#include "text/text_view.h"

#include <QTextDocument>

namespace corvanteller {

OfficeCommands::OfficeCommands(AppContext& context, QWidget* dialogParent, TextViewUse useTextView)
    : context_(context), dialogParent_(dialogParent), useTextView_(std::move(useTextView)),
      workbookEngine_(std::make_unique<WorkbookEngine>()),
      documentEngine_(std::make_unique<DocumentEngine>()) {}

OfficeCommands::~OfficeCommands() = default;

void OfficeCommands::exportToExcel() {
    const ExcelExportOutcome outcome = corvanteller::exportToExcel(
        *workbookEngine_, context_.table.model(), context_.options.excel, context_.clock.now(),
        context_.locale, [this](const QString& path) { return context_.ui.openWithDesktop(path); });
    reportHandOver(context_.ui, dialogParent_, outcome.notShown, outcome.messages,
                   workbookSaveDialog());
}

void OfficeCommands::saveExportWorkbookAs() {
    saveWorkbookWithDialog(context_.ui, dialogParent_, [this](const QString& path) {
        return saveExportWorkbook(*workbookEngine_, context_.table.model(), context_.options.excel,
                                  context_.clock.now(), context_.locale, path);
    });
}

void OfficeCommands::exportToWord() {
    const EngineCommand<DocumentEngine> command(*documentEngine_);
    newWordDocumentFromTextView(TextViewMode::TableText);
    const QStringList notShown = showInWordProcessor(*documentEngine_, [this](const QString& path) {
        return context_.ui.openWithDesktop(path);
    });
    reportHandOver(context_.ui, dialogParent_, notShown, {}, documentSaveDialog());
}

void OfficeCommands::saveAsWordDocument() {
    const QString path = context_.ui.chooseFileToSave(
        dialogParent_, wordSaveDialog(listSaveDialog(), mainWindowWordFilter()));
    if (path.isEmpty()) {
        return;
    }
    const EngineCommand<DocumentEngine> command(*documentEngine_);
    newWordDocumentFromTextView(TextViewMode::TableText);
    saveAndClose(*documentEngine_, path);
}

void OfficeCommands::printFromWord() {
    printTableDocument(documentPrinter(context_.ui, dialogParent_));
}

void OfficeCommands::printToPdf() {
    askForTableTextBeforeAnyRequest();
    useTextView_(std::nullopt, [this](const TextView& view) {
        corvanteller::printToPdf(context_.ui, dialogParent_, view.editorDocument(),
                                 view.printJobName());
    });
}

void OfficeCommands::newWordDocumentFromTextView(std::optional<TextViewMode> mode) {
    useTextView_(mode, [this](const TextView& view) {
        newDocumentWithText(*documentEngine_, view.editorDocument().toPlainText());
    });
}

void OfficeCommands::askForTableTextBeforeAnyRequest() {
    // The view shows what its last request says; before any request that would be an empty
    // page, so the table's text is asked for then.
    if (context_.textViewModes.mode() == TextViewMode::None) {
        context_.textViewModes.setByCommand(TextViewMode::TableText);
    }
}

void OfficeCommands::printTableDocument(const DocumentPrinter& printer) {
    askForTableTextBeforeAnyRequest();
    const EngineCommand<DocumentEngine> command(*documentEngine_);
    newWordDocumentFromTextView(std::nullopt);
    printAndDiscard(*documentEngine_, printer);
}

} // namespace corvanteller
