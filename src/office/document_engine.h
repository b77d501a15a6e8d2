// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "office/hand_over.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

namespace corvanteller {

// Prints a document's plain text as one job of that name; false when nothing was printed (the
// reason has then been reported). The window layer passes its UI services' printer: the core
// never shows anything.
using DocumentPrinter = std::function<bool(const QString& text, const QString& jobName)>;

// The document engine: the program's own stand-in for a word processor, one per window object.
// It holds documents of plain text, saves one as a Word document (.docx), prints one through
// the window layer's printer and shows one by handing it over, saved, to the desktop's
// program. Failures throw UserError (file errors IoError).
class DocumentEngine : public HandOverEngine {
public:
    int documentCount() const { return static_cast<int>(documents_.size()); }
    // Documents.Add: a new, empty document, which becomes the active one. Documents are named
    // "Document1", "Document2", ... counted for this engine.
    void addDocument();
    bool hasActiveDocument() const { return !documents_.empty(); }
    // The active document's name and text.
    const QString& activeName() const;
    const QString& activeText() const;
    // ActiveDocument.Range().InsertAfter: the text goes at the end of the whole document.
    void insertAfter(const QString& text);
    // SaveAs: the active document as a .docx file, an existing file replaced only once the new
    // one is complete. The document takes the file's name.
    void saveAs(const QString& path);
    // PrintOut: the active document's text, as a job named after the document.
    bool printOut(const DocumentPrinter& print);
    bool displayAlerts() const { return displayAlerts_; }
    void setDisplayAlerts(bool alerts) { displayAlerts_ = alerts; }
    // ActiveWindow.Close: the active document goes without being saved.
    void closeActiveWindow();
    // Visible: each document is saved to a new file in the hand-over folder and opened with the
    // desktop's program; the engine then drops them.
    std::vector<HandOver> show(const DesktopOpener& openWithDesktop);
    // Activate: the desktop's program came to the front when it opened the file.
    void activate() {}
    // Drops every document.
    void reset() { documents_.clear(); }

private:
    struct Document {
        QString name;
        QString text;
    };
    Document& active();
    const Document& active() const;

    std::vector<Document> documents_;
    int documentsAdded_ = 0;
    bool displayAlerts_ = true;
};

} // namespace corvanteller
