// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/text_view.h"

#include "common/date_patterns.h"
#include "common/file_filters.h"
#include "common/seams.h"
#include "office/document_printing.h"
#include "office/hand_over_dialogs.h"
#include "office/word_commands.h"
#include "settings/options.h"
#include "text/rich_text_document.h"
#include "text/table_text.h"
#include "text/text_file.h"
#include "text/text_format_dialog.h"
#include "text/text_texts.h"
#include "text/text_view_modes.h"
#include "ui/error_guard.h"
#include "ui/find_bar.h"
#include "ui/form_activations.h"
#include "ui/menu_keys.h"
#include "ui/ui_services.h"

#include <QFileInfo>
#include <QMenuBar>
#include <QPointer>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextEdit>
#include <QTimer>
#include <QVBoxLayout>

#include <memory>

namespace corvanteller {

using namespace Qt::StringLiterals;

namespace {

UiServices::FileDialog textOpenDialog() {
    UiServices::FileDialog dialog;
    dialog.filter = toQtFileFilter(textTexts::openFilter());
    dialog.mustExist = true;
    dialog.kind = UiServices::FileKind::Text;
    return dialog;
}

// The text is saved as Rich Text under either filter; the second one gives the file the ending
// by which office programs open it as such.
QString textFilter() {
    return toQtFileFilter(textTexts::textFilter());
}

QString richTextFilter() {
    return textTexts::richTextFilter();
}

UiServices::FileDialog textSaveDialog() {
    UiServices::FileDialog dialog;
    dialog.filter = textFilter() + u";;"_s + richTextFilter();
    dialog.defaultSuffix = u"txt"_s;
    dialog.confirmOverwrite = true;
    dialog.kind = UiServices::FileKind::Text;
    return dialog;
}

// The text's save dialog, set to write a Word document.
} // namespace

TextView::TextView(const WindowServices& services, TextViewModes& modes,
                   const SongTableModel& table, const TextFormatOptions& textFormat,
                   const Clock& clock, const QLocale& locale, TextFormatDialog& textFormatDialog,
                   QWidget* parent)
    : ProgramWindow(services, parent), modes_(modes), table_(table), textFormat_(textFormat),
      clock_(clock), locale_(locale), textFormatDialog_(textFormatDialog) {
    setWindowTitle(textTexts::viewTitle());

    editor = new QTextEdit(this);
    editor->setObjectName(u"editor"_s);
    // A table row stays one line; both scroll bars reach what does not fit.
    editor->setLineWrapMode(QTextEdit::NoWrap);
    // Pasted text comes in plain; opened Rich Text keeps its formats.
    editor->setAcceptRichText(false);
    editor->setContextMenuPolicy(Qt::CustomContextMenu);
    setCentralWidget(editor);

    emptyCheckTimer = new QTimer(this);
    emptyCheckTimer->setObjectName(u"emptyCheckTimer"_s);
    emptyCheckTimer->setSingleShot(true);
    emptyCheckTimer->setInterval(emptyCheckDelayMs);
    connect(emptyCheckTimer, &QTimer::timeout, this,
            guard(this, services_.ui, [this] { hideIfStillEmpty(); }));

    buildMenus();
    reachMenusByKeyboard(*menuBar());
    setupFind();
    resize(clientWidth, clientHeight + menuBar()->sizeHint().height());

    connect(&textFormatDialog_, &TextFormatDialog::linesAppended, this,
            guard(this, services_.ui, [this](const QStringList& lines) { appendLines(lines); }));
}

TextView::~TextView() = default;

QAction* TextView::addEditAction(QMenu* menu, const QString& caption, void (QTextEdit::*slot)()) {
    QAction* action = menu->addAction(caption);
    connect(action, &QAction::triggered, editor, slot);
    return action;
}

void TextView::buildMenus() {
    QMenu* file = menuBar()->addMenu(textTexts::fileMenu());
    openTextAction =
        addCommand(file, "openTextAction", textTexts::openText(), &TextView::openTextFile);
    saveTextAction =
        addCommand(file, "saveTextAction", textTexts::saveText(), &TextView::saveTextFile);
    saveAsWordAction = addCommand(file, "saveAsWordAction", textTexts::saveAsWord(),
                                  &TextView::saveAsWordDocument);
    file->addSeparator();
    printAction =
        addCommand(file, "printAction", textTexts::print(), &TextView::printToDefaultPrinter);
    printFromWordAction = addCommand(file, "printFromWordAction", textTexts::printFromWord(),
                                     &TextView::printFromWord);
    printToPdfAction =
        addCommand(file, "printToPdfAction", textTexts::printToPdf(), &TextView::printToPdfFile);
    file->addSeparator();
    returnToTableAction = addCommand(file, "returnToTableAction", textTexts::returnToTable(),
                                     &TextView::returnToTable);

    QMenu* edit = menuBar()->addMenu(textTexts::editMenu());
    undoAction = addCommand(edit, "undoAction", textTexts::back(), &TextView::undoEdit);
    edit->addSeparator();
    copyAction = addEditAction(edit, textTexts::copy(), &QTextEdit::copy);
    copyAction->setObjectName(u"copyAction"_s);
    pasteAction = addEditAction(edit, textTexts::paste(), &QTextEdit::paste);
    pasteAction->setObjectName(u"pasteAction"_s);
    cutAction = addEditAction(edit, textTexts::cut(), &QTextEdit::cut);
    cutAction->setObjectName(u"cutAction"_s);
    edit->addSeparator();
    selectAllAction = addEditAction(edit, textTexts::selectAll(), &QTextEdit::selectAll);
    selectAllAction->setObjectName(u"selectAllAction"_s);
    edit->addSeparator();
    findAction = addCommand(edit, "findAction", textTexts::find(), &TextView::openFindBar);

    QMenu* settings = menuBar()->addMenu(textTexts::settingsMenu());
    textFormatSettingsAction =
        addCommand(settings, "textFormatSettingsAction", textTexts::outputAsText(),
                   &TextView::showTextFormatSettings);

    editorContextMenu = new QMenu(this);
    editorContextMenu->setObjectName(u"editorContextMenu"_s);
    popupUndoAction =
        addCommand(editorContextMenu, "popupUndoAction", textTexts::back(), &TextView::undoEdit);
    editorContextMenu->addSeparator();
    popupCopyAction = addEditAction(editorContextMenu, textTexts::popupCopy(), &QTextEdit::copy);
    popupCopyAction->setObjectName(u"popupCopyAction"_s);
    popupPasteAction = addEditAction(editorContextMenu, textTexts::popupPaste(), &QTextEdit::paste);
    popupPasteAction->setObjectName(u"popupPasteAction"_s);
    popupCutAction = addEditAction(editorContextMenu, textTexts::popupCut(), &QTextEdit::cut);
    popupCutAction->setObjectName(u"popupCutAction"_s);
    editorContextMenu->addSeparator();
    popupSelectAllAction =
        addEditAction(editorContextMenu, textTexts::popupSelectAll(), &QTextEdit::selectAll);
    popupSelectAllAction->setObjectName(u"popupSelectAllAction"_s);
    connect(editor, &QWidget::customContextMenuRequested, this,
            [this](QPoint pos) { editorContextMenu->popup(editor->viewport()->mapToGlobal(pos)); });

    for (QAction* back : {undoAction, popupUndoAction}) {
        back->setEnabled(false);
        connect(editor, &QTextEdit::undoAvailable, back, &QAction::setEnabled);
    }
    for (QAction* copyOrCut : {copyAction, cutAction, popupCopyAction, popupCutAction}) {
        copyOrCut->setEnabled(false);
        connect(editor, &QTextEdit::copyAvailable, copyOrCut, &QAction::setEnabled);
    }
}

void TextView::setupFind() {
    findAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
    // The bar stands over the editor, which keeps the rest of the window.
    auto* page = new QWidget(this);
    auto* column = new QVBoxLayout(page);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    findBar = new FindBar(page);
    findBar->setSearchedWidget(editor);
    findBar->hide();
    column->addWidget(findBar);
    takeCentralWidget();
    column->addWidget(editor, 1);
    setCentralWidget(page);
    connect(findBar, &FindBar::findRequested, this,
            guard(this, services_.ui,
                  [this](const QString& text, FindStep step) { findInEditor(text, step); }));
}

void TextView::openFindBar() {
    findBar->open();
}

void TextView::findInEditor(const QString& text, FindStep step) {
    const FindPattern pattern(text);
    if (pattern.isEmpty()) {
        findBar->showMessage(QString());
        return;
    }
    QTextCursor cursor = editor->textCursor();
    // The plain text has one character for each position of the document.
    const QString plain = editor->document()->toPlainText();
    const TextFindResult result =
        findInText(plain, pattern, cursor.selectionStart(), cursor.selectionEnd(), step);
    if (result.outcome.found) {
        cursor.setPosition(static_cast<int>(result.position));
        cursor.setPosition(static_cast<int>(result.position + pattern.length()),
                           QTextCursor::KeepAnchor);
        editor->setTextCursor(cursor);
        editor->ensureCursorVisible();
    }
    findBar->showMessage(findMessage(result.outcome, step));
}

void TextView::hideEvent(QHideEvent* event) {
    services_.activations.noteHidden(this);
    QMainWindow::hideEvent(event);
}

QString TextView::editorText() const {
    return editor->toPlainText();
}

QTextDocument& TextView::editorDocument() const {
    return *editor->document();
}

qreal TextView::dpi() const {
    return editor->logicalDpiX();
}

qreal TextView::indentPixels() const {
    return indentPoints * dpi() / 72;
}

template <typename F> void TextView::withoutUndo(F&& build) {
    QTextDocument* document = editor->document();
    // Switching undo off drops what could be undone so far; the content starts afresh.
    document->setUndoRedoEnabled(false);
    try {
        build();
    } catch (...) {
        document->setUndoRedoEnabled(true);
        throw;
    }
    document->setUndoRedoEnabled(true);
}

template <typename F> void TextView::replaceDocument(F&& build) {
    // Built apart from the editor, whose layout would otherwise follow every paragraph as
    // it goes in (seconds for a full table instead of a tenth of one).
    auto document = std::make_unique<QTextDocument>();
    document->setDefaultFont(editor->font());
    document->setUndoRedoEnabled(false);
    build(*document);
    document->setUndoRedoEnabled(true);
    const QPointer<QTextDocument> old = editor->document();
    indentUndoSteps_ = -1;
    document->setParent(editor);
    editor->setDocument(document.release());
    // The editor deletes only the document it made itself; the others are this window's.
    if (old != nullptr && old->parent() == editor) {
        delete old;
    }
}

void TextView::onActivated() {
    const TextViewActivation work = modes_.activate();
    if (work.writeTable) {
        Q_EMIT tableAboutToBeRead();
        writeTableText(work.layout);
    } else {
        if (work.clear) {
            replaceDocument([](QTextDocument&) {});
        }
        // Before an open, so that a plain-text file takes the indent everywhere.
        indentParagraphAtCursor();
    }
    if (work.open) {
        openTextFile();
    }
    if (work.save) {
        saveTextFile();
    }
}

void TextView::writeTableText(TableTextLayout layout) {
    const QString text =
        editorSafeText(tableText(table_, layout, textFormat_, clock_.now(), locale_));
    const qreal indent = indentPixels();
    replaceDocument([&text, indent](QTextDocument& document) {
        QTextCursor cursor(&document);
        QTextBlockFormat indented;
        indented.setTextIndent(indent);
        cursor.setBlockFormat(indented);
        // One insertion: every new paragraph takes the indent of the first.
        cursor.insertText(text);
    });
}

void TextView::indentParagraphAtCursor() {
    QTextCursor cursor = editor->textCursor();
    QTextBlockFormat indented = cursor.blockFormat();
    if (indented.hasProperty(QTextFormat::TextIndent) &&
        qFuzzyCompare(indented.textIndent(), indentPixels())) {
        return;
    }
    indented.setTextIndent(indentPixels());
    QTextDocument* document = editor->document();
    if (!document->isUndoAvailable()) {
        withoutUndo([&cursor, &indented] { cursor.setBlockFormat(indented); });
        return;
    }
    // Switching undo off would drop the user's edits from "Back": the indent is a step of its
    // own instead, which "Back" undoes together with the edit before it.
    cursor.setBlockFormat(indented);
    indentUndoSteps_ = document->availableUndoSteps();
}

void TextView::undoEdit() {
    QTextDocument* document = editor->document();
    editor->undo();
    if (indentUndoSteps_ > 0 && document->availableUndoSteps() == indentUndoSteps_ - 1) {
        indentUndoSteps_ = -1;
        editor->undo();
    }
}

void TextView::openTextFile() {
    const QString path = services_.ui.chooseFileToOpen(this, textOpenDialog());
    // Also after a cancelled dialog or a failed read: an empty view returns to the table.
    emptyCheckTimer->start();
    if (path.isEmpty()) {
        return;
    }
    // Read and decoded before anything changes: a file that cannot be shown keeps the content.
    const TextFileContent content = readTextFile(path);
    fillFrom(content);
    modes_.fileLoaded();
}

void TextView::fillFrom(const TextFileContent& content) {
    const QTextBlockFormat paragraphAtCursor = editor->textCursor().blockFormat();
    const qreal dots = dpi();
    replaceDocument([&](QTextDocument& document) {
        QTextCursor cursor(&document);
        if (content.rich) {
            insertRichText(cursor, content.richText, dots);
        } else {
            cursor.setBlockFormat(paragraphAtCursor);
            cursor.insertText(editorSafeText(content.plainText));
        }
    });
}

void TextView::hideIfStillEmpty() {
    if (editor->document()->isEmpty()) {
        hide();
    }
}

void TextView::saveTextFile() {
    const UiServices::SaveChoice choice =
        services_.ui.chooseFileAndFilterToSave(this, textSaveDialog());
    if (choice.path.isEmpty()) {
        return;
    }
    QString path = choice.path;
    if (choice.filter == richTextFilter()) {
        path = withEnding(path, filterEnding(richTextFilter()), {filterEnding(textFilter())});
        // The dialog asked about the name as typed; the file now written is another one.
        if (path != choice.path && QFileInfo::exists(path) &&
            !services_.ui.showMessageWithButton(this, textTexts::alreadyExists(path),
                                                textTexts::replace())) {
            return;
        }
    }
    writeRtfFile(path, richTextFromDocument(*editor->document(), dpi()));
}

QString TextView::printJobName() const {
    return textTexts::printJobName(formatDatePattern(dateAndTimePattern(), clock_.now(), locale_));
}

void TextView::printToDefaultPrinter() {
    printDocument(services_.ui, this, *editor->document(), printJobName());
}

void TextView::printToPdfFile() {
    printToPdf(services_.ui, this, *editor->document(), printJobName());
}

void TextView::saveAsWordDocument() {
    const QString path =
        services_.ui.chooseFileToSave(this, wordSaveDialog(textSaveDialog(), textViewWordFilter()));
    if (path.isEmpty()) {
        return;
    }
    saveText(documentEngine, editorText(), path);
}

void TextView::printFromWord() {
    // Brought to the front only: the view is already shown, and an activation here would
    // rebuild what the user has edited.
    show();
    raise();
    printText(documentEngine, editorText(), documentPrinter(services_.ui, this));
}

void TextView::returnToTable() {
    Q_EMIT tableAboutToBeRead();
    hide();
}

void TextView::showTextFormatSettings() {
    modes_.outputInformationAsText();
    textFormatDialog_.showFor(this);
}

void TextView::appendLines(const QStringList& lines) {
    withoutUndo([this, &lines] {
        QTextDocument* document = editor->document();
        QTextCursor cursor(document);
        cursor.movePosition(QTextCursor::End);
        for (const QString& line : lines) {
            if (!document->isEmpty()) {
                cursor.insertBlock();
            }
            cursor.insertText(editorSafeText(line));
        }
    });
}

} // namespace corvanteller
