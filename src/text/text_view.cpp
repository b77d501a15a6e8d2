#include "text/text_view.h"

#include "common/date_patterns.h"
#include "common/file_filters.h"
#include "common/seams.h"
#include "office/document_printing.h"
#include "office/word_commands.h"
#include "settings/options.h"
#include "text/rich_text_document.h"
#include "text/table_text.h"
#include "text/text_file.h"
#include "text/text_format_dialog.h"
#include "text/text_view_modes.h"
#include "ui/error_guard.h"
#include "ui/find_bar.h"
#include "ui/form_activations.h"
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
    dialog.filter = toQtFileFilter(u"Text files|*.txt|All files (*.*)|*.*"_s);
    dialog.mustExist = true;
    dialog.kind = UiServices::FileKind::Text;
    return dialog;
}

// The text is saved as Rich Text under either filter; the second one gives the file the ending
// by which office programs open it as such.
const QString textFilter = toQtFileFilter(u"Text files|*.txt"_s);
const QString richTextFilter = u"Rich Text (*.rtf)"_s;

UiServices::FileDialog textSaveDialog() {
    UiServices::FileDialog dialog;
    dialog.filter = textFilter + u";;"_s + richTextFilter;
    dialog.defaultSuffix = u"txt"_s;
    dialog.confirmOverwrite = true;
    dialog.kind = UiServices::FileKind::Text;
    return dialog;
}

// The text's save dialog, set to write a Word document.
UiServices::FileDialog wordSaveDialog() {
    UiServices::FileDialog dialog = textSaveDialog();
    dialog.filter = toQtFileFilter(textViewWordFilter());
    dialog.defaultSuffix = wordDefaultSuffix();
    dialog.kind = UiServices::FileKind::Document;
    return dialog;
}

} // namespace

TForm8::TForm8(const WindowServices& services, TextViewModes& modes, const SongTableModel& table,
               const TextFormatOptions& textFormat, const Clock& clock, const QLocale& locale,
               TForm9& textFormatDialog, QWidget* parent)
    : QMainWindow(parent), services_(services), modes_(modes), table_(table),
      textFormat_(textFormat), clock_(clock), locale_(locale), textFormatDialog_(textFormatDialog) {
    setWindowTitle(u"Information as text"_s);
    services_.activations.addForm(this);

    RichEdit1 = new QTextEdit(this);
    // A table row stays one line; both scroll bars reach what does not fit.
    RichEdit1->setLineWrapMode(QTextEdit::NoWrap);
    // Pasted text comes in plain; opened Rich Text keeps its formats.
    RichEdit1->setAcceptRichText(false);
    RichEdit1->setContextMenuPolicy(Qt::CustomContextMenu);
    setCentralWidget(RichEdit1);

    Timer1 = new QTimer(this);
    Timer1->setSingleShot(true);
    Timer1->setInterval(emptyCheckDelayMs);
    connect(Timer1, &QTimer::timeout, this, guard(this, services_.ui, [this] { Timer1Timer(); }));

    buildMenus();
    setupFind();
    resize(clientWidth, clientHeight + menuBar()->sizeHint().height());

    connect(&textFormatDialog_, &TForm9::linesAppended, this,
            guard(this, services_.ui, [this](const QStringList& lines) { appendLines(lines); }));
}

TForm8::~TForm8() {
    services_.activations.removeForm(this);
}

QAction* TForm8::addCommand(QMenu* menu, const QString& caption, void (TForm8::*handler)()) {
    QAction* action = menu->addAction(caption);
    connect(action, &QAction::triggered, this,
            guard(this, services_.ui, [this, handler] { (this->*handler)(); }));
    return action;
}

QAction* TForm8::addEditAction(QMenu* menu, const QString& caption, void (QTextEdit::*slot)()) {
    QAction* action = menu->addAction(caption);
    connect(action, &QAction::triggered, RichEdit1, slot);
    return action;
}

void TForm8::buildMenus() {
    QMenu* file = menuBar()->addMenu(u"&File"_s);
    Open1 = addCommand(file, u"&Open..."_s, &TForm8::Open1Click);
    Save1 = addCommand(file, u"&Save..."_s, &TForm8::Save1Click);
    Word1 = addCommand(file, u"Save as &Word document..."_s, &TForm8::Word1Click);
    file->addSeparator();
    Print1 = addCommand(file, u"&Print"_s, &TForm8::Print1Click);
    Word2 = addCommand(file, u"Print &from Word"_s, &TForm8::Word2Click);
    printToPdfAction = addCommand(file, u"Print to PDF..."_s, &TForm8::printToPdfClick);
    file->addSeparator();
    Return1 = addCommand(file, u"&Return to table"_s, &TForm8::Return1Click);

    QMenu* edit = menuBar()->addMenu(u"&Edit"_s);
    Back1 = addCommand(edit, u"&Back"_s, &TForm8::undoEdit);
    edit->addSeparator();
    Copy1 = addEditAction(edit, u"&Copy"_s, &QTextEdit::copy);
    Paste1 = addEditAction(edit, u"&Paste"_s, &QTextEdit::paste);
    Cut1 = addEditAction(edit, u"C&ut"_s, &QTextEdit::cut);
    edit->addSeparator();
    SelectAll1 = addEditAction(edit, u"&Select All"_s, &QTextEdit::selectAll);
    edit->addSeparator();
    findAction = addCommand(edit, u"Find..."_s, &TForm8::openFindBar);

    QMenu* settings = menuBar()->addMenu(u"&Settings"_s);
    Output1 = addCommand(settings, u"&Output information as text"_s, &TForm8::Output1Click);

    PopupMenu1 = new QMenu(this);
    Back2 = addCommand(PopupMenu1, u"&Back"_s, &TForm8::undoEdit);
    PopupMenu1->addSeparator();
    Copy2 = addEditAction(PopupMenu1, u"Copy"_s, &QTextEdit::copy);
    Paste2 = addEditAction(PopupMenu1, u"Paste"_s, &QTextEdit::paste);
    Cut2 = addEditAction(PopupMenu1, u"Cut"_s, &QTextEdit::cut);
    PopupMenu1->addSeparator();
    SelectAll2 = addEditAction(PopupMenu1, u"Select All"_s, &QTextEdit::selectAll);
    connect(RichEdit1, &QWidget::customContextMenuRequested, this,
            [this](QPoint pos) { PopupMenu1->popup(RichEdit1->viewport()->mapToGlobal(pos)); });

    for (QAction* back : {Back1, Back2}) {
        back->setEnabled(false);
        connect(RichEdit1, &QTextEdit::undoAvailable, back, &QAction::setEnabled);
    }
    for (QAction* copyOrCut : {Copy1, Cut1, Copy2, Cut2}) {
        copyOrCut->setEnabled(false);
        connect(RichEdit1, &QTextEdit::copyAvailable, copyOrCut, &QAction::setEnabled);
    }
}

void TForm8::setupFind() {
    findAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
    // The bar stands over the editor, which keeps the rest of the window.
    auto* page = new QWidget(this);
    auto* column = new QVBoxLayout(page);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    findBar = new FindBar(page);
    findBar->setSearchedWidget(RichEdit1);
    findBar->hide();
    column->addWidget(findBar);
    takeCentralWidget();
    column->addWidget(RichEdit1, 1);
    setCentralWidget(page);
    connect(findBar, &FindBar::findRequested, this,
            guard(this, services_.ui,
                  [this](const QString& text, FindStep step) { findInEditor(text, step); }));
}

void TForm8::openFindBar() {
    findBar->open();
}

void TForm8::findInEditor(const QString& text, FindStep step) {
    const FindPattern pattern(text);
    if (pattern.isEmpty()) {
        findBar->showMessage(QString());
        return;
    }
    QTextCursor cursor = RichEdit1->textCursor();
    // The plain text has one character for each position of the document.
    const QString plain = RichEdit1->document()->toPlainText();
    const TextFindResult result =
        findInText(plain, pattern, cursor.selectionStart(), cursor.selectionEnd(), step);
    if (result.outcome.found) {
        cursor.setPosition(static_cast<int>(result.position));
        cursor.setPosition(static_cast<int>(result.position + pattern.length()),
                           QTextCursor::KeepAnchor);
        RichEdit1->setTextCursor(cursor);
        RichEdit1->ensureCursorVisible();
    }
    findBar->showMessage(findMessage(result.outcome, step));
}

void TForm8::showFor(QWidget* opener) {
    if (!isVisible() && opener != nullptr) {
        move(opener->geometry().center() - rect().center());
    }
    showAsActive(*this, services_.activations, services_.ui, [this] { FormActivate(); });
}

bool TForm8::event(QEvent* event) {
    if (services_.activations.isActivation(this, event)) {
        guarded(this, services_.ui, [this] { FormActivate(); });
    }
    return QMainWindow::event(event);
}

void TForm8::hideEvent(QHideEvent* event) {
    services_.activations.noteHidden(this);
    QMainWindow::hideEvent(event);
}

QString TForm8::editorText() const {
    return RichEdit1->toPlainText();
}

QTextDocument& TForm8::editorDocument() const {
    return *RichEdit1->document();
}

qreal TForm8::dpi() const {
    return RichEdit1->logicalDpiX();
}

qreal TForm8::indentPixels() const {
    return indentPoints * dpi() / 72;
}

template <typename F> void TForm8::withoutUndo(F&& build) {
    QTextDocument* document = RichEdit1->document();
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

template <typename F> void TForm8::replaceDocument(F&& build) {
    // Built apart from the editor, whose layout would otherwise follow every paragraph as
    // it goes in (seconds for a full table instead of a tenth of one).
    auto document = std::make_unique<QTextDocument>();
    document->setDefaultFont(RichEdit1->font());
    document->setUndoRedoEnabled(false);
    build(*document);
    document->setUndoRedoEnabled(true);
    const QPointer<QTextDocument> old = RichEdit1->document();
    indentUndoSteps_ = -1;
    document->setParent(RichEdit1);
    RichEdit1->setDocument(document.release());
    // The editor deletes only the document it made itself; the others are this window's.
    if (old != nullptr && old->parent() == RichEdit1) {
        delete old;
    }
}

void TForm8::FormActivate() {
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
        Open1Click();
    }
    if (work.save) {
        Save1Click();
    }
}

void TForm8::writeTableText(TableTextLayout layout) {
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

void TForm8::indentParagraphAtCursor() {
    QTextCursor cursor = RichEdit1->textCursor();
    QTextBlockFormat indented = cursor.blockFormat();
    if (indented.hasProperty(QTextFormat::TextIndent) &&
        qFuzzyCompare(indented.textIndent(), indentPixels())) {
        return;
    }
    indented.setTextIndent(indentPixels());
    QTextDocument* document = RichEdit1->document();
    if (!document->isUndoAvailable()) {
        withoutUndo([&cursor, &indented] { cursor.setBlockFormat(indented); });
        return;
    }
    // Switching undo off would drop the user's edits from "Back": the indent is a step of its
    // own instead, which "Back" undoes together with the edit before it.
    cursor.setBlockFormat(indented);
    indentUndoSteps_ = document->availableUndoSteps();
}

void TForm8::undoEdit() {
    QTextDocument* document = RichEdit1->document();
    RichEdit1->undo();
    if (indentUndoSteps_ > 0 && document->availableUndoSteps() == indentUndoSteps_ - 1) {
        indentUndoSteps_ = -1;
        RichEdit1->undo();
    }
}

void TForm8::Open1Click() {
    const QString path = services_.ui.chooseFileToOpen(this, textOpenDialog());
    // Also after a cancelled dialog or a failed read: an empty view returns to the table.
    Timer1->start();
    if (path.isEmpty()) {
        return;
    }
    // Read and decoded before anything changes: a file that cannot be shown keeps the content.
    const TextFileContent content = readTextFile(path);
    fillFrom(content);
    modes_.fileLoaded();
}

void TForm8::fillFrom(const TextFileContent& content) {
    const QTextBlockFormat paragraphAtCursor = RichEdit1->textCursor().blockFormat();
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

void TForm8::Timer1Timer() {
    if (RichEdit1->document()->isEmpty()) {
        hide();
    }
}

void TForm8::Save1Click() {
    const UiServices::SaveChoice choice =
        services_.ui.chooseFileAndFilterToSave(this, textSaveDialog());
    if (choice.path.isEmpty()) {
        return;
    }
    QString path = choice.path;
    if (choice.filter == richTextFilter) {
        path = withEnding(path, filterEnding(richTextFilter), {filterEnding(textFilter)});
        // The dialog asked about the name as typed; the file now written is another one.
        if (path != choice.path && QFileInfo::exists(path) &&
            !services_.ui.showMessageWithButton(this, path + u" already exists."_s, u"Replace"_s)) {
            return;
        }
    }
    writeRtfFile(path, richTextFromDocument(*RichEdit1->document(), dpi()));
}

QString TForm8::printJobName() const {
    return u"Список kar файлов "_s + formatDatePattern(dateAndTimePattern(), clock_.now(), locale_);
}

void TForm8::Print1Click() {
    printDocument(services_.ui, this, *RichEdit1->document(), printJobName());
}

void TForm8::printToPdfClick() {
    printToPdf(services_.ui, this, *RichEdit1->document(), printJobName());
}

void TForm8::Word1Click() {
    const QString path = services_.ui.chooseFileToSave(this, wordSaveDialog());
    if (path.isEmpty()) {
        return;
    }
    saveText(WordApplication1, editorText(), path);
}

void TForm8::Word2Click() {
    // Brought to the front only: the view is already shown, and an activation here would
    // rebuild what the user has edited.
    show();
    raise();
    printText(WordApplication1, editorText(), documentPrinter(services_.ui, this));
}

void TForm8::Return1Click() {
    Q_EMIT tableAboutToBeRead();
    hide();
}

void TForm8::Output1Click() {
    modes_.outputInformationAsText();
    textFormatDialog_.showFor(this);
}

void TForm8::appendLines(const QStringList& lines) {
    withoutUndo([this, &lines] {
        QTextDocument* document = RichEdit1->document();
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
