// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "common/find_pattern.h"
#include "office/document_engine.h"
#include "text/table_text.h"
#include "ui/window_services.h"

#include "ui/program_window.h"

#include <QMainWindow>

class QAction;
class QLocale;
class QMenu;
class QTextDocument;
class QTextEdit;
class QTimer;

namespace corvanteller {

class Clock;
class FindBar;
class SongTableModel;
class TextViewModes;
class TextFormatDialog;
struct TextFileContent;
struct TextFormatOptions;

// The text view ("Information as text"): the song table as lines of text, or a text file, in
// an editor from which it is saved, printed or handed on. Every activation builds the content
// as the text-view mode says.
class TextView : public ProgramWindow<QMainWindow> {
    Q_OBJECT

public:
    static constexpr int clientWidth = 692;
    static constexpr int clientHeight = 433;
    // After "&Open...", the view hides itself if the editor is still empty.
    static constexpr int emptyCheckDelayMs = 200;
    static constexpr qreal indentPoints = 11;

    TextView(const WindowServices& services, TextViewModes& modes, const SongTableModel& table,
             const TextFormatOptions& textFormat, const Clock& clock, const QLocale& locale,
             TextFormatDialog& textFormatDialog, QWidget* parent = nullptr);
    ~TextView() override;

    // The editor's content, as built by the latest activation or edited since. Building a
    // new content replaces the document: take it again after every activation.
    QString editorText() const;
    QTextDocument& editorDocument() const;

    void onActivated() override;
    void openTextFile();
    void saveTextFile();
    void printToDefaultPrinter();
    void saveAsWordDocument();
    void printFromWord();
    void printToPdfFile();
    void returnToTable();
    void showTextFormatSettings();
    // "&Back": undoes the last edit, and an indent that an activation set after it.
    void undoEdit();
    void hideIfStillEmpty();
    // Appends each line as a paragraph of its own.
    void appendLines(const QStringList& lines);

    // The list's caption: the job name of its prints and the title of its PDF files, in both
    // windows.
    QString printJobName() const;

    // The view's own word processor: its two Word commands use it.
    DocumentEngine documentEngine;

Q_SIGNALS:
    // The view is about to read the song table: an open cell editor's text must be in it.
    void tableAboutToBeRead();

protected:
    bool keepsPlaceWhenShown() const override { return true; }
    void hideEvent(QHideEvent* event) override;

private:
    void buildMenus();
    void setupFind();
    void openFindBar();
    void findInEditor(const QString& text, FindStep step);
    QAction* addEditAction(QMenu* menu, const QString& caption, void (QTextEdit::*slot)());
    qreal indentPixels() const;
    qreal dpi() const;
    // Content the program builds is no edit: it cannot be undone.
    template <typename F> void withoutUndo(F&& build);
    // The same for a whole new content, built in a new document that then replaces the
    // editor's.
    template <typename F> void replaceDocument(F&& build);
    void writeTableText(TableTextLayout layout);
    void indentParagraphAtCursor();
    void fillFrom(const TextFileContent& content);

    QTextEdit* editor = nullptr;
    QMenu* editorContextMenu = nullptr;
    QTimer* emptyCheckTimer = nullptr; // the check after an open

    // "&File"
    QAction* openTextAction = nullptr;      // "&Open..."
    QAction* saveTextAction = nullptr;      // "&Save..."
    QAction* saveAsWordAction = nullptr;    // "Save as &Word document..."
    QAction* printAction = nullptr;         // "&Print"
    QAction* printFromWordAction = nullptr; // "Print &from Word"
    QAction* printToPdfAction = nullptr;    // "Print to PDF..."
    QAction* returnToTableAction = nullptr; // "&Return to table"
    // "&Edit"
    QAction* undoAction = nullptr; // "&Back"
    QAction* copyAction = nullptr;
    QAction* pasteAction = nullptr;
    QAction* cutAction = nullptr;
    QAction* selectAllAction = nullptr;
    // "Find..." and the bar over the editor that it shows.
    QAction* findAction = nullptr;
    FindBar* findBar = nullptr;
    // "&Settings"
    QAction* textFormatSettingsAction = nullptr; // "&Output information as text"
    // The pop-up menu.
    QAction* popupUndoAction = nullptr;
    QAction* popupCopyAction = nullptr;
    QAction* popupPasteAction = nullptr;
    QAction* popupCutAction = nullptr;
    QAction* popupSelectAllAction = nullptr;

    TextViewModes& modes_;
    const SongTableModel& table_;
    const TextFormatOptions& textFormat_;
    const Clock& clock_;
    const QLocale& locale_;
    TextFormatDialog& textFormatDialog_;
    // The undo steps right after an activation's indent that was kept as a step of its own;
    // -1 when there is none.
    int indentUndoSteps_ = -1;
};

} // namespace corvanteller
