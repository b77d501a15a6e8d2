#include "app/main_window.h"

#include "app/app_context.h"
#include "common/file_filters.h"
#include "help/about_window.h"
#include "help/help_window.h"
#include "help/splash_window.h"
#include "office/document_printing.h"
#include "office/engine_command.h"
#include "office/excel_export.h"
#include "office/word_commands.h"
#include "rename/complex_rename_dialog.h"
#include "rename/rename_journal.h"
#include "rename/rename_runs.h"
#include "scan/window_scan.h"
#include "settings/general_settings_dialog.h"
#include "table/column_widths.h"
#include "table/list_file.h"
#include "table/save_changes_prompt.h"
#include "table/song_grid.h"
#include "table/table_find.h"
#include "text/text_view.h"
#include "ui/error_guard.h"
#include "ui/find_bar.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QLabel>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>

#include <algorithm>

namespace corvanteller {

using namespace Qt::StringLiterals;

namespace {

constexpr int bottomRowHeight = 44;

UiServices::FileDialog listOpenDialog() {
    UiServices::FileDialog dialog;
    dialog.filter = toQtFileFilter(u"List files (Corvanteller)|*.sgl|All files (*.*)|*.*"_s);
    dialog.mustExist = true;
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

UiServices::FileDialog listSaveDialog() {
    UiServices::FileDialog dialog;
    dialog.filter = toQtFileFilter(u"List files (Corvanteller)|*.sgl|"_s);
    dialog.defaultSuffix = u"sgl"_s;
    dialog.confirmOverwrite = true;
    dialog.kind = UiServices::FileKind::List;
    return dialog;
}

// The list file's save dialog, set to write a Word document.
UiServices::FileDialog wordSaveDialog() {
    UiServices::FileDialog dialog = listSaveDialog();
    dialog.filter = toQtFileFilter(mainWindowWordFilter());
    dialog.defaultSuffix = wordDefaultSuffix();
    dialog.kind = UiServices::FileKind::Document;
    return dialog;
}

} // namespace

TForm4::TForm4(AppContext& context, QWidget* parent)
    : QMainWindow(parent), context_(context), flow_(context.table), tableHint_(context.random) {
    setWindowTitle(u"Corvanteller"_s);
    context_.activations.addForm(this);
    auto* client = new QWidget(this);
    setCentralWidget(client);
    buildGrid(client);
    buildBottomRow(client);
    buildMenus();
    scan_ = new WindowScan({this, ProgressBar1, Label3, scanProgressLabel, stopScanButton},
                           context_.scanFolderReached);
    setupFind(client);
    resize(clientWidth, clientHeight + menuBar()->sizeHint().height());

    textView_ = std::make_unique<TForm8>(context_.windowServices(), context_.textViewModes,
                                         context_.table.model(), context_.options.textFormat,
                                         context_.clock, context_.locale, *context_.textFormat);
    connect(textView_.get(), &TForm8::tableAboutToBeRead, this, &TForm4::commitCellEdit);

    savePrompt_ = new TForm12(context_.windowServices(), flow_, this);
    connect(savePrompt_, &TForm12::answered, this,
            guard(this, context_.ui, [this](PromptAnswer answer) {
                commitCellEdit();
                carryOut(flow_.promptAnswered(answer));
            }));

    complexRenaming_ = new TForm6(context_.windowServices(), context_.options, context_.table,
                                  context_.clock, context_.settingsPath, this);
    connect(complexRenaming_, &TForm6::mainWindowWanted, this, [this] { showAsActive(); });
    connect(complexRenaming_, &TForm6::tableAboutToBeRead, this, [this] { commitCellEdit(); });

    context_.table.hasCurrentListFile = false;
    context_.table.unsavedChanges = true;
    context_.hints.setHintsEnabled(true);
    registerTableHint();
}

TForm4::~TForm4() {
    context_.activations.removeForm(this);
}

void TForm4::buildGrid(QWidget* client) {
    StringGrid1 = new SongGrid(context_.table.model(), client);
    StringGrid1->setToolTip(TableHint::initialText());
    StringGrid1->setContextMenuPolicy(Qt::CustomContextMenu);
    TableSession& table = context_.table;
    connect(StringGrid1, &SongGrid::focusedByUser, this, [&table] { table.unsavedChanges = true; });
    connect(StringGrid1, &SongGrid::characterTyped, this,
            [&table] { table.unsavedChanges = true; });
    connect(
        StringGrid1, &QTableView::doubleClicked, this,
        guard(this, context_.ui, [this](const QModelIndex& index) { StringGrid1DblClick(index); }));
    connect(
        StringGrid1, &SongGrid::checkToggleRequested, this,
        guard(this, context_.ui, [this](const QModelIndex& index) { StringGrid1DblClick(index); }));
    connect(StringGrid1, &QWidget::customContextMenuRequested, this,
            [this](QPoint pos) { PopupMenu1->popup(StringGrid1->viewport()->mapToGlobal(pos)); });
}

void TForm4::buildBottomRow(QWidget* client) {
    CheckBox1 = new QCheckBox(u"Check all"_s, client);
    CheckBox1->setToolTip(u"Check all files"_s);
    connect(CheckBox1, &QCheckBox::toggled, this, guard(this, context_.ui, [this](bool checked) {
                context_.table.model().setAllChecked(checked);
            }));
    connect(CheckBox1, &QCheckBox::clicked, this,
            guard(this, context_.ui, [this] { CheckBox1Click(); }));

    ProgressBar1 = new QProgressBar(client);
    ProgressBar1->setRange(0, progressMaximum);
    ProgressBar1->setTextVisible(false);
    ProgressBar1->hide();

    Label1 = new QLabel(client);
    Label2 = new QLabel(client);
    Label3 = new QLabel(client);
    Label3->hide();
    Label4 = new QLabel(client);

    stopScanButton = new QPushButton(u"Stop"_s, client);
    stopScanButton->hide();
    connect(stopScanButton, &QPushButton::clicked, this, [this] { scan_->stop(); });
    // Over the last folder's label, which a long folder would otherwise run into.
    scanProgressLabel = new QLabel(client);
    scanProgressLabel->setAutoFillBackground(true);
    scanProgressLabel->hide();
}

QAction* TForm4::addCommand(QMenu* menu, const QString& caption, void (TForm4::*handler)()) {
    QAction* action = menu->addAction(caption);
    connect(action, &QAction::triggered, this,
            guard(this, context_.ui, [this, handler] { (this->*handler)(); }));
    return action;
}

void TForm4::buildMenus() {
    QMenu* file = menuBar()->addMenu(u"&File"_s);
    newScanning = addCommand(file, u"&New scanning..."_s, &TForm4::NewScanningClick);
    file->addSeparator();
    N8 = addCommand(file, u"&Open Corvanteller list..."_s, &TForm4::N8Click);
    openTextList = addCommand(file, u"Open list in &text format..."_s, &TForm4::OpenTextListClick);
    file->addSeparator();
    N29 = addCommand(file, u"&Save list"_s, &TForm4::N29Click);
    N9 = addCommand(file, u"Save list &as..."_s, &TForm4::N9Click);
    saveAsText = addCommand(file, u"Save as te&xt..."_s, &TForm4::SaveAsTextClick);
    Word2 = addCommand(file, u"Save as Ms &Word document..."_s, &TForm4::Word2Click);
    N28 = addCommand(file, u"&Print from Ms Word (text)"_s, &TForm4::N28Click);
    printToPdfAction = addCommand(file, u"Print to PDF..."_s, &TForm4::printToPdfClick);
    file->addSeparator();
    QMenu* exportMenu = file->addMenu(u"Export"_s);
    exportText = addCommand(exportMenu, u"Tex&t"_s, &TForm4::ExportTextClick);
    Excel3 = addCommand(exportMenu, u"Ms &Excel"_s, &TForm4::Excel3Click);
    Word1 = addCommand(exportMenu, u"&Ms Word"_s, &TForm4::Word1Click);
    Excel2 = addCommand(file, u"&Import from Excel file"_s, &TForm4::Excel2Click);
    file->addSeparator();
    QMenu* rename = file->addMenu(u"Rename files"_s);
    N12 = addCommand(rename, u"&From column of name (file)"_s, &TForm4::N12Click);
    N13 = addCommand(rename, u"&Complex renaming..."_s, &TForm4::N13Click);
    undoRenaming = addCommand(rename, u"Undo last renaming"_s, &TForm4::UndoRenamingClick);
    file->addSeparator();
    exitAction = file->addAction(u"Exit"_s);
    connect(exitAction, &QAction::triggered, this, [this] { close(); });

    QMenu* settings = menuBar()->addMenu(u"&Settings"_s);
    parametersOfScanning = settings->addAction(u"&Parameters of scanning"_s);
    generalSettings = settings->addAction(u"&General settings"_s);
    connect(generalSettings, &QAction::triggered, this,
            guard(this, context_.ui, [this] { context_.generalSettings->showFor(this); }));

    QMenu* table = menuBar()->addMenu(u"&Table"_s);
    N19 = addCommand(table, u"&Add row"_s, &TForm4::N19Click);
    exportToText = addCommand(table, u"&Export to text"_s, &TForm4::ExportTextClick);
    findAction = addCommand(table, u"Find..."_s, &TForm4::openFindBar);

    QMenu* help = menuBar()->addMenu(u"&Help"_s);
    QMenu* about = help->addMenu(u"&About"_s);
    information = addCommand(about, u"&Information"_s, &TForm4::InformationClick);
    promptAction = about->addAction(u"&Prompt"_s);
    connect(promptAction, &QAction::triggered, this,
            guard(this, context_.ui, [this] { context_.prompt->showPrompt(); }));
    corvantellerHelp = addCommand(help, u"&Corvanteller help"_s, &TForm4::CorvantellerHelpClick);

    PopupMenu1 = new QMenu(this);
    popupNewScanning = addCommand(PopupMenu1, u"New scanning..."_s, &TForm4::NewScanningClick);
    popupCorvantellerHelp =
        addCommand(PopupMenu1, u"Corvanteller help"_s, &TForm4::CorvantellerHelpClick);
}

void TForm4::registerTableHint() {
    context_.hints.setHintHandler(StringGrid1, [this](HintRequest& request) {
        const TableHintShowing showing = tableHint_.beforeShow(StringGrid1->width());
        context_.hints.setHintHidePause(showing.hidePauseMs);
        request.show = showing.show;
        request.text = showing.text;
        request.hidePauseMs = showing.hidePauseMs;
        request.background =
            QColor(showing.background.red, showing.background.green, showing.background.blue);
        request.maxWidth = showing.maxWidth;
        request.pos += QPoint(showing.shiftRight, 0);
        StringGrid1->setToolTip(tableHint_.enabled() ? tableHint_.text() : QString());
    });
}

void TForm4::showAsActive() {
    if (!centred_) {
        centred_ = true;
        if (const QScreen* screen = this->screen()) {
            move(screen->availableGeometry().center() - rect().center());
        }
    }
    corvanteller::showAsActive(*this, context_.activations, context_.ui,
                               [this] { FormActivate(); });
}

bool TForm4::event(QEvent* event) {
    // While a scan runs the table waits for its rows: the scan rebuilds it at its end.
    if (context_.activations.isActivation(this, event)) {
        if (!WindowScan::anyRunning()) {
            guarded(this, context_.ui, [this] { FormActivate(); });
        }
    } else if (context_.activations.isDeactivation(this, event)) {
        if (!WindowScan::anyRunning()) {
            guarded(this, context_.ui, [this] { FormDeactivate(); });
        }
    }
    return QMainWindow::event(event);
}

void TForm4::commitCellEdit() {
    StringGrid1->commitOpenEditor();
}

void TForm4::FormActivate() {
    context_.table.rebuildOnActivation();
    applyColumnWidthMode();
    updateStatusLine(context_.table.statusText());
}

void TForm4::FormDeactivate() {
    commitCellEdit();
    context_.table.refreshStores();
}

TableWidthsAtClose TForm4::widthsAtClose() const {
    TableWidthsAtClose table;
    table.mainWindowVisible = isVisible();
    for (int column = 0; column < tableColumnCount; ++column) {
        table.widths[static_cast<std::size_t>(column)] = StringGrid1->columnWidth(column);
    }
    return table;
}

void TForm4::applyColumnWidthMode() {
    SongTableModel& model = context_.table.model();
    const QFontMetrics metrics(StringGrid1->font());
    const ColumnLayout layout = corvanteller::applyColumnWidthMode(
        context_.options.general.columnWidthMode, model, widthsAtClose().widths,
        context_.options.savedColumnWidths,
        [&metrics](const QString& text) { return metrics.horizontalAdvance(text); },
        model.widestCellLengths());
    for (int column = 0; column < tableColumnCount; ++column) {
        StringGrid1->setColumnWidth(column, layout.widths[static_cast<std::size_t>(column)]);
    }
    model.setWidestCellLengths(layout.widest);
}

void TForm4::updateStatusLine(const QString& text) {
    Label1->setText(text);
    Label1->adjustSize();
    alignStatusLine();
}

void TForm4::alignStatusLine() {
    QWidget* client = centralWidget();
    Label1->move(client->width() - Label1->width() - statusRightMargin,
                 client->height() - Label1->height() - 4);
    Label4->move(Label1->x() - Label4->width() - 12, Label1->y());
}

void TForm4::showWaitLabel(const QString& text) {
    Label4->setText(text);
    Label4->adjustSize();
    alignStatusLine();
    // Shown before the window goes on with work that blocks it.
    Label4->repaint();
}

void TForm4::layoutClient() {
    QWidget* client = centralWidget();
    const int width = client->width();
    const int height = client->height();
    const int findBarHeight = findBar->isHidden() ? 0 : findBar->sizeHint().height();
    const int gridHeight = height - bottomRowHeight - findBarHeight;
    StringGrid1->setGeometry(0, 0, width, gridHeight);
    findBar->setGeometry(0, gridHeight, width, findBarHeight);
    const int rowTop = height - bottomRowHeight + 4;
    CheckBox1->move(8, rowTop);
    CheckBox1->adjustSize();
    ProgressBar1->setGeometry(CheckBox1->x() + CheckBox1->width() + 12, rowTop + 4, 250, 10);
    stopScanButton->setGeometry(ProgressBar1->geometry().right() + 9, rowTop, 60, 20);
    scanProgressLabel->setGeometry(ProgressBar1->x(), rowTop + 18, ProgressBar1->width(), 16);
    Label2->move(8, rowTop + 20);
    Label2->adjustSize();
    alignStatusLine();
}

void TForm4::setupFind(QWidget* client) {
    findAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
    findBar = new FindBar(client);
    findBar->setSearchedWidget(StringGrid1);
    findBar->hide();
    connect(findBar, &FindBar::findRequested, this,
            guard(this, context_.ui,
                  [this](const QString& text, FindStep step) { findInTable(text, step); }));
    connect(findBar, &FindBar::closed, this, [this] { layoutClient(); });
}

void TForm4::openFindBar() {
    // As every command: a cell being typed goes into the table first.
    commitCellEdit();
    findBar->open();
    layoutClient();
}

void TForm4::findInTable(const QString& text, FindStep step) {
    commitCellEdit();
    const FindPattern pattern(text);
    if (pattern.isEmpty()) {
        findBar->showMessage(QString());
        return;
    }
    SongTableModel& model = context_.table.model();
    const QModelIndex current = StringGrid1->currentIndex();
    const TableCell from =
        current.isValid() ? TableCell{current.row() + 1, current.column()} : TableCell{};
    const CellFindResult result = findCell(model, pattern, from, step);
    if (result.outcome.found) {
        const QModelIndex index = model.index(result.cell.row - 1, result.cell.column);
        StringGrid1->setCurrentIndex(index);
        StringGrid1->scrollTo(index);
    }
    findBar->showMessage(findMessage(result.outcome, step));
}

void TForm4::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    layoutClient();
}

void TForm4::CheckBox1Click() {
    Label2->setText(context_.options.lastFolder);
    Label2->adjustSize();
}

void TForm4::StringGrid1DblClick(const QModelIndex& index) {
    StringGrid1->hideCellTooltip(true);
    CheckBox1->setChecked(false);
    if (index.isValid()) {
        StringGrid1->setCurrentIndex(index);
        context_.table.model().toggleCheck(index.row() + 1);
    }
}

RenameServices TForm4::renameServices() {
    return {systemFileSystem(),
            renameJournalPath(context_.settingsPath),
            context_.options.general.errorMessages,
            [this](const QString& text) {
                return context_.ui.showFailureMessage(this, text) ? MessageReply::NoMoreMessages
                                                                  : MessageReply::Continue;
            },
            [this](const QString& question) { return context_.ui.askYesNo(this, question); },
            &context_.clock};
}

void TForm4::N12Click() {
    commitCellEdit();
    RenameServices services = renameServices();
    const RenameRunResult result = renameFromNameColumn(context_.table, services);
    if (result.started) {
        updateStatusLine(renamedStatusText(context_.table.renamedCount));
    }
    if (!result.notice.isEmpty()) {
        context_.ui.showMessage(this, result.notice);
    }
}

void TForm4::N13Click() {
    commitCellEdit();
    complexRenaming_->showFor(this);
}

void TForm4::UndoRenamingClick() {
    commitCellEdit();
    RenameServices services = renameServices();
    const RenameRunResult result = undoLastRenaming(context_.table, services);
    if (result.started) {
        updateStatusLine(renamedStatusText(context_.table.renamedCount));
    }
    if (!result.notice.isEmpty()) {
        context_.ui.showMessage(this, result.notice);
    }
}

void TForm4::N19Click() {
    commitCellEdit();
    const QModelIndex current = StringGrid1->currentIndex();
    const int selectedRow = current.isValid() ? current.row() + 1 : 1;
    if (!context_.table.model().insertEmptyRowAt(selectedRow)) {
        context_.ui.showMessage(this, tableFullMessage());
    }
}

void TForm4::InformationClick() {
    context_.about->showAbout();
}

void TForm4::CorvantellerHelpClick() {
    context_.help->showHelp();
}

void TForm4::showTextView(TextViewMode mode) {
    context_.textViewModes.setByCommand(mode);
    openTextView();
}

void TForm4::openTextView() {
    // The view takes over at once, so the table goes into the row stores now, as this
    // window's deactivation does. A Word command hides the view again before the window
    // system reports anything, and the activation that follows would otherwise rebuild the
    // table from stores without the user's edits.
    FormDeactivate();
    textView_->showFor(this);
}

void TForm4::OpenTextListClick() {
    showTextView(TextViewMode::OpenText);
}

void TForm4::SaveAsTextClick() {
    showTextView(TextViewMode::SaveText);
}

void TForm4::ExportTextClick() {
    showTextView(TextViewMode::TableText);
}

void TForm4::NewScanningClick() {
    commitCellEdit();
    carryOut(flow_.newScanRequested());
}

void TForm4::carryOut(NextStep step) {
    switch (step) {
    case NextStep::Nothing:
        return;
    case NextStep::ShowPrompt:
        savePrompt_->showFor(this);
        return;
    case NextStep::EndProgram:
        savePrompt_->hide();
        endProgram();
        return;
    case NextStep::ChooseFolder:
        savePrompt_->hide();
        runNewScan();
        return;
    case NextStep::SaveToCurrentFile:
    case NextStep::SaveWithDialog: {
        bool saved = false;
        try {
            saved = step == NextStep::SaveToCurrentFile ? saveListToCurrentFile() : saveListAs();
        } catch (...) {
            carryOut(flow_.saveFinished(false));
            throw;
        }
        carryOut(flow_.saveFinished(saved));
        return;
    }
    case NextStep::ReturnToTable:
        savePrompt_->hide();
        return;
    case NextStep::ChooseListFile:
        savePrompt_->hide();
        openListFromDialog();
        return;
    case NextStep::ChooseWorkbook:
        savePrompt_->hide();
        importWorkbookFromDialog();
        return;
    }
}

void TForm4::runNewScan() {
    TableSession& table = context_.table;
    const std::optional<ScanOutcome> outcome =
        scan_->chooseFolderAndScan(context_.ui, context_.options, table.mainStore(),
                                   RunSet::MainWindow, [&table] { table.startNewScanRows(); });
    finishScanProgress(ProgressBar1);
    table.finishNewScan();
    applyColumnWidthMode();
    updateStatusLine(table.statusText());
    // A scan stopped by the close box goes on to the close, which asks to save first.
    if (scan_->closeWanted()) {
        close();
        return;
    }
    // Only now: a message box shown before the rebuild would meet the table before the scan.
    if (outcome) {
        reportScanEnd(context_.ui, this, *outcome);
    }
}

void TForm4::endProgram() {
    saveSettingsAtClose(context_, this, widthsAtClose());
    context_.quit();
}

void TForm4::closeEvent(QCloseEvent* event) {
    if (scan_->running()) {
        event->ignore();
        scan_->stopForClose();
        return;
    }
    commitCellEdit();
    TableSession& table = context_.table;
    guarded(this, context_.ui, [&table] { table.refreshStores(); });
    const NextStep step = flow_.closeRequested();
    if (step == NextStep::EndProgram) {
        event->accept();
        endProgram();
        return;
    }
    event->ignore();
    guarded(this, context_.ui, [this, step] { carryOut(step); });
}

TForm4::ListRead TForm4::readListIntoGrid(QWidget* parent, const QString& path, int originRowCount,
                                          ListOpenFailure failure) {
    SongTableModel& model = context_.table.model();
    const auto resetWidths = [this] {
        for (int column = 0; column < tableColumnCount; ++column) {
            StringGrid1->setColumnWidth(column,
                                        fixedColumnWidths[static_cast<std::size_t>(column)]);
        }
    };
    // The start window's open resets the table first, so it stays reset when the file cannot be
    // read; the main window's keeps the table until the whole list is read.
    if (failure == ListOpenFailure::ResetTable) {
        resetWidths();
    }
    const ListOpenResult result = openListFile(path, model, originRowCount, failure);
    if (result.opened() && failure == ListOpenFailure::KeepTable) {
        resetWidths();
    }
    switch (result.outcome) {
    case ListOpenResult::Outcome::Opened:
        break;
    case ListOpenResult::Outcome::NotAListFile:
    case ListOpenResult::Outcome::TooManyRows:
        context_.ui.showMessage(parent, result.message);
        return ListRead::Refused;
    case ListOpenResult::Outcome::ConversionError:
        context_.ui.reportError(parent, result.message);
        return ListRead::Stopped;
    }
    if (model.songCount() > 0) {
        StringGrid1->setCurrentIndex(model.index(0, 1));
    }
    return ListRead::Read;
}

void TForm4::N8Click() {
    commitCellEdit();
    carryOut(flow_.listOpenRequested());
}

void TForm4::openListFromDialog() {
    const QString path = context_.ui.chooseFileToOpen(this, listOpenDialog());
    if (path.isEmpty()) {
        return;
    }
    TableSession& table = context_.table;
    // A list that cannot be read leaves the table, the row stores and the status line as they
    // were.
    if (readListIntoGrid(this, path, table.originStore().rowCount(), ListOpenFailure::KeepTable) ==
        ListRead::Read) {
        // Into both row stores with their counts at once: when the save-changes prompt was
        // shown, the window's next activation rebuilds the table without a deactivation first.
        table.refreshStores();
        updateStatusLine(processedStatusText(table.model().songCount()));
    }
}

void TForm4::Excel3Click() {
    commitCellEdit();
    const ExcelExportOutcome outcome = exportToExcel(
        XLApp, context_.table.model(), context_.options.excel, context_.clock.now(),
        context_.locale, [this](const QString& path) { return context_.ui.openWithDesktop(path); });
    for (const QString& message : outcome.messages) {
        context_.ui.showMessage(this, message);
    }
}

void TForm4::newWordDocumentFromTextView(std::optional<TextViewMode> mode) {
    const QModelIndex current = StringGrid1->currentIndex();
    if (mode) {
        showTextView(*mode);
    } else {
        openTextView();
    }
    newDocumentWithText(WordApplication1, textView_->editorText());
    textView_->hide();
    returnToGrid(current.isValid() ? current.row() : 0,
                 current.isValid() ? current.column() : SongColumn::FileName);
}

void TForm4::returnToGrid(int row, int column) {
    // The view was shown only to build the text: the keyboard comes back to the table, which
    // the activation rebuilds and so leaves without a current cell.
    showAsActive();
    const SongTableModel& model = context_.table.model();
    if (model.songCount() > 0) {
        StringGrid1->setCurrentIndex(
            model.index(std::clamp(row, 0, model.songCount() - 1), column));
    }
    StringGrid1->setFocus(Qt::OtherFocusReason);
}

void TForm4::Word1Click() {
    const EngineCommand<DocumentEngine> command(WordApplication1);
    newWordDocumentFromTextView(TextViewMode::TableText);
    const QStringList messages = showInWordProcessor(WordApplication1, [this](const QString& path) {
        return context_.ui.openWithDesktop(path);
    });
    for (const QString& message : messages) {
        context_.ui.showMessage(this, message);
    }
}

void TForm4::Word2Click() {
    commitCellEdit();
    const QString path = context_.ui.chooseFileToSave(this, wordSaveDialog());
    if (path.isEmpty()) {
        return;
    }
    const EngineCommand<DocumentEngine> command(WordApplication1);
    newWordDocumentFromTextView(TextViewMode::TableText);
    saveAndClose(WordApplication1, path);
}

void TForm4::N28Click() {
    // The view shows what its last request says; before any request that would be an empty
    // page, so the table's text is asked for then.
    if (context_.textViewModes.mode() == TextViewMode::None) {
        context_.textViewModes.setByCommand(TextViewMode::TableText);
    }
    const EngineCommand<DocumentEngine> command(WordApplication1);
    newWordDocumentFromTextView(std::nullopt);
    printAndDiscard(WordApplication1, documentPrinter(context_.ui, this));
}

// The document "&Print from Ms Word (text)" prints, written as a PDF file instead.
void TForm4::printToPdfClick() {
    if (context_.textViewModes.mode() == TextViewMode::None) {
        context_.textViewModes.setByCommand(TextViewMode::TableText);
    }
    const EngineCommand<DocumentEngine> command(WordApplication1);
    newWordDocumentFromTextView(std::nullopt);
    printAndDiscard(WordApplication1, pdfPrinter(context_.ui, this));
}

void TForm4::Excel2Click() {
    commitCellEdit();
    carryOut(flow_.importRequested());
}

void TForm4::importWorkbookFromDialog() {
    const QString path = context_.ui.chooseFileToOpen(this, excelOpenDialog());
    if (path.isEmpty()) {
        return;
    }
    updateStatusLine(importExcelFile(path, ImportingWindow::Main).statusText);
    // As after an open: the next activation may rebuild the table from the stores.
    context_.table.refreshStores();
}

bool TForm4::importExcelForStartWindow(QWidget* parent) {
    const QString path = context_.ui.chooseFileToOpen(parent, excelOpenDialog());
    if (path.isEmpty()) {
        return false;
    }
    importExcelFile(path, ImportingWindow::Start);
    return true;
}

ImportOutcome TForm4::importExcelFile(const QString& path, ImportingWindow window) {
    // The hourglass and "Wait..." go back whatever happens to the import.
    struct WaitShown {
        explicit WaitShown(TForm4& form) : form_(form) {
            form_.StringGrid1->setCursor(Qt::WaitCursor);
            form_.showWaitLabel(u"Wait..."_s);
        }
        ~WaitShown() {
            form_.StringGrid1->unsetCursor();
            form_.showWaitLabel(QString());
        }
        TForm4& form_;
    } wait(*this);

    const QFontMetrics metrics(StringGrid1->font());
    ImportWidths widths;
    widths.mode = context_.options.general.columnWidthMode;
    widths.current = widthsAtClose().widths;
    widths.measure = [&metrics](const QString& text) { return metrics.horizontalAdvance(text); };
    const ImportOutcome outcome =
        importFromExcel(XLApp, path, window, context_.table, widths, context_.locale);
    if (outcome.layout) {
        for (int column = 0; column < tableColumnCount; ++column) {
            StringGrid1->setColumnWidth(column,
                                        outcome.layout->widths[static_cast<std::size_t>(column)]);
        }
    }
    return outcome;
}

bool TForm4::openListForStartWindow(QWidget* parent) {
    const QString path = context_.ui.chooseFileToOpen(parent, listOpenDialog());
    if (path.isEmpty()) {
        return false;
    }
    return openListForStartWindow(parent, path);
}

bool TForm4::openListForStartWindow(QWidget* parent, const QString& path) {
    return readListIntoGrid(parent, path, context_.table.startStore().rowCount(),
                            ListOpenFailure::ResetTable) != ListRead::Stopped;
}

void TForm4::N9Click() {
    commitCellEdit();
    saveListAs();
}

void TForm4::N29Click() {
    commitCellEdit();
    carryOut(flow_.saveRequested());
}

bool TForm4::saveListAs() {
    const QString path = context_.ui.chooseFileToSave(this, listSaveDialog());
    if (path.isEmpty()) {
        return false;
    }
    TableSession& table = context_.table;
    writeListFile(path, table.model());
    table.currentListFile = path;
    table.hasCurrentListFile = true;
    table.unsavedChanges = false;
    return true;
}

bool TForm4::saveListToCurrentFile() {
    TableSession& table = context_.table;
    // The flag is cleared only once the list is safely written: a failed save must still ask
    // before the program closes.
    writeListFile(table.currentListFile, table.model());
    table.unsavedChanges = false;
    return true;
}

} // namespace corvanteller
