// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "office/document_engine.h"
#include "text/text_view_modes.h"

#include <functional>
#include <memory>
#include <optional>

class QWidget;

namespace corvanteller {

class AppContext;
class TextView;
class WorkbookEngine;

// The main window's commands that hand the table to the office programs: the export to a
// workbook and its copy, and the Word commands, which take the table's text as the text view
// builds it. The window's spreadsheet server and word processor live here.
class OfficeCommands {
public:
    // Shows the text view for the mode (or the one it has), hands it to use, hides it again and
    // gives the keyboard back to the table.
    using TextViewUse = std::function<void(std::optional<TextViewMode> mode,
                                           const std::function<void(const TextView&)>& use)>;

    OfficeCommands(AppContext& context, QWidget* dialogParent, TextViewUse useTextView);
    ~OfficeCommands();

    WorkbookEngine& workbookEngine() { return *workbookEngine_; }
    DocumentEngine& documentEngine() { return *documentEngine_; }

    void exportToExcel();
    void saveExportWorkbookAs();
    void exportToWord();
    void saveAsWordDocument();
    void printFromWord();
    // The text "&Print from Ms Word (text)" prints, written as a PDF file by the text view's own
    // "Print to PDF...": one document, one layout and one title for both windows.
    void printToPdf();

private:
    // The table's text as a new document of the word processor.
    void newWordDocumentFromTextView(std::optional<TextViewMode> mode);
    void printTableDocument(const DocumentPrinter& printer);
    void askForTableTextBeforeAnyRequest();

    AppContext& context_;
    QWidget* dialogParent_;
    TextViewUse useTextView_;
    std::unique_ptr<WorkbookEngine> workbookEngine_;
    std::unique_ptr<DocumentEngine> documentEngine_;
};

} // namespace corvanteller
