// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/main_window.h"

#include "app/app_context.h"
#include "app/app_texts.h"
#include "app/bottom_row.h"
#include "app/file_commands.h"
#include "app/list_commands.h"
#include "app/office_commands.h"
#include "app/recent_lists_menu.h"
#include "help/about_window.h"
#include "help/help_window.h"
#include "help/splash_window.h"
#include "rename/complex_rename_dialog.h"
#include "rename/file_lookup.h"
#include "settings/general_settings_dialog.h"
#include "table/column_widths.h"
#include "table/save_changes_prompt.h"
#include "table/table_controller.h"
#include "table/table_duplicates.h"
#include "table/table_hints.h"
#include "table/table_pane.h"
#include "table/table_texts.h"
#include "text/text_view.h"
#include "ui/dropped_file.h"
#include "ui/menu_keys.h"
#include "ui/screen_fit.h"
#include "write/text_write_preview_window.h"

#include <QClipboard>
#include <QCloseEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMenuBar>
#include <QMimeData>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>

namespace corvanteller {

using namespace Qt::StringLiterals;

MainWindow::MainWindow(AppContext& context, QWidget* parent)
    : ProgramWindow(context.windowServices(), parent), context_(context), flow_(context.table),
      tableController_(std::make_unique<TableController>(context.table, context.locale)),
      tableHint_(std::make_unique<TableHint>(context.random)) {
    setWindowTitle(appTexts::programTitle());
    setAcceptDrops(true);
    buildClient();
    buildFileCommands();
    buildListCommands();
    buildMenus();
    reachMenusByKeyboard(*menuBar());
    scan_ = new WindowScan(bottomRow->scanParts(this), context_.scanFolderReached,
                           {&context_.scanCache, &context_.desktop});
    connect(bottomRow, &BottomRow::stopClicked, this, [this] { scan_->stop(); });
    resize(clientWidth, clientHeight + menuBar()->sizeHint().height());

    textView_ = std::make_unique<TextView>(context_.windowServices(), context_.textViewModes,
                                           context_.table.model(), context_.options.textFormat,
                                           context_.clock, context_.locale, *context_.textFormat);
    connect(textView_.get(), &TextView::tableAboutToBeRead, this, &MainWindow::commitCellEdit);

    savePrompt_ = new SaveChangesPrompt(context_.windowServices(), flow_, this);
    connect(savePrompt_, &SaveChangesPrompt::answered, this,
            guard(this, context_.ui, [this](PromptAnswer answer) {
                commitCellEdit();
                carryOut(flow_.promptAnswered(answer));
            }));

    complexRenaming_ =
        new ComplexRenameDialog(context_.windowServices(), context_.options, context_.table,
                                context_.clock, context_.settingsPath, this);
    connect(complexRenaming_, &ComplexRenameDialog::mainWindowWanted, this,
            [this] { showAsActive(); });
    connect(complexRenaming_, &ComplexRenameDialog::tableAboutToBeRead, this,
            [this] { commitCellEdit(); });

    context_.table.hasCurrentListFile = false;
    context_.table.unsavedChanges = true;
    context_.hints.setHintsEnabled(true);
    registerTableHint();
    showTableHistory();
}

MainWindow::~MainWindow() = default;

WorkbookEngine& MainWindow::workbookEngine() {
    return officeCommands_->workbookEngine();
}

DocumentEngine& MainWindow::documentEngine() {
    return officeCommands_->documentEngine();
}

void MainWindow::buildClient() {
    auto* client = new QWidget(this);
    setCentralWidget(client);
    auto* layout = new QVBoxLayout(client);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    tablePane = new TablePane(context_.table.model(), client);
    bottomRow = new BottomRow(client);
    bottomRow->setFixedHeight(BottomRow::rowHeight);
    layout->addWidget(tablePane, 1);
    layout->addWidget(bottomRow);
    connectGrid();
    connect(bottomRow, &BottomRow::checkAllToggled, this,
            guard(this, context_.ui, [this](bool checked) {
                tableController_->setAllMarks(checked);
                showTableHistory();
            }));
    connect(bottomRow, &BottomRow::checkAllClicked, this,
            guard(this, context_.ui, [this] { showLastFolder(); }));
    connect(tablePane, &TablePane::filterChanged, this,
            guard(this, context_.ui, [this] { applyFilter(); }));
    connect(tablePane, &TablePane::markShownRequested, this,
            guard(this, context_.ui, [this] { markShownRows(); }));
    connect(tablePane, &TablePane::sortRequested, this,
            guard(this, context_.ui, [this](int column) { sortByColumn(column); }));
}

void MainWindow::connectGrid() {
    SongGrid& grid = tablePane->grid();
    grid.setToolTip(TableHint::initialText());
    grid.setContextMenuPolicy(Qt::CustomContextMenu);
    const auto changedByUser = [this] {
        context_.table.unsavedChanges = true;
        updateWindowTitle();
    };
    connect(&grid, &SongGrid::focusedByUser, this, changedByUser);
    connect(&grid, &SongGrid::characterTyped, this, changedByUser);
    connect(&grid, &QTableView::doubleClicked, this,
            guard(this, context_.ui, [this](const QModelIndex& index) { toggleRowCheck(index); }));
    connect(
        &grid, &SongGrid::checkToggleRequested, this,
        guard(this, context_.ui, [this](const QModelIndex& index) { toggleSelectedMarks(index); }));
    connect(&grid, &QWidget::customContextMenuRequested, this, [this](QPoint pos) {
        tableContextMenu->popup(tablePane->grid().viewport()->mapToGlobal(pos));
    });
}

QMenu* MainWindow::addMenu(QWidget* bar, const char* name) {
    auto* menu = new QMenu(appTexts::caption(name), bar);
    menu->setObjectName(QString::fromLatin1(name));
    bar->addAction(menu->menuAction());
    return menu;
}

QAction* MainWindow::addMenuCommand(QMenu* menu, const char* name,
                                    const std::function<void()>& command) {
    return addCommand(menu, name, appTexts::caption(name), command);
}

QAction* MainWindow::addMenuCommand(QMenu* menu, const char* name, void (MainWindow::*handler)()) {
    return addCommand(menu, name, appTexts::caption(name), handler);
}

void MainWindow::beforeCommand() {
    commitCellEdit();
}

void MainWindow::buildMenus() {
    buildFileMenu(addMenu(menuBar(), "fileMenu"));

    QMenu* settings = addMenu(menuBar(), "settingsMenu");
    settings->addAction(appTexts::caption("scanParametersAction"))
        ->setObjectName(u"scanParametersAction"_s);
    addMenuCommand(settings, "generalSettingsAction",
                   [this] { context_.generalSettings->showFor(this); });

    buildTableMenu(addMenu(menuBar(), "tableMenu"));

    QMenu* help = addMenu(menuBar(), "helpMenu");
    QMenu* about = addMenu(help, "aboutMenu");
    addMenuCommand(about, "informationAction", [this] { context_.about->showAbout(); });
    addMenuCommand(about, "promptAction", [this] { context_.prompt->showPrompt(); });
    addMenuCommand(help, "helpAction", [this] { context_.help->showHelp(); });

    tableContextMenu = new QMenu(this);
    tableContextMenu->setObjectName(u"tableContextMenu"_s);
    addMenuCommand(tableContextMenu, "popupNewScanningAction", &MainWindow::startNewScanning);
    addMenuCommand(tableContextMenu, "popupHelpAction", [this] { context_.help->showHelp(); });
    buildRowCommands(tableContextMenu);
}

void MainWindow::buildFileMenu(QMenu* file) {
    addMenuCommand(file, "newScanningAction", &MainWindow::startNewScanning)
        ->setShortcut(QKeySequence(Qt::Key_F5));
    file->addSeparator();
    addMenuCommand(file, "openListAction", &MainWindow::openList)
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    addMenuCommand(file, "openTextListAction", [this] { showTextView(TextViewMode::OpenText); });
    addRecentListsMenu(file, this, context_, [this](const QString& path) {
        commitCellEdit();
        droppedPath_ = path;
        carryOut(flow_.listOpenRequested());
    });
    file->addSeparator();
    addMenuCommand(file, "saveListAction", &MainWindow::saveList)
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    addMenuCommand(file, "saveListAsAction", &MainWindow::saveListAs)
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    addMenuCommand(file, "saveAsTextAction", [this] { showTextView(TextViewMode::SaveText); });
    OfficeCommands& office = *officeCommands_;
    addMenuCommand(file, "saveAsWordAction", [&office] { office.saveAsWordDocument(); });
    addMenuCommand(file, "printFromWordAction", [&office] { office.printFromWord(); });
    addMenuCommand(file, "printToPdfAction", [&office] {
        office.printToPdf();
    })->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    file->addSeparator();
    QMenu* exportMenu = addMenu(file, "exportMenu");
    addMenuCommand(exportMenu, "exportTextAction",
                   [this] { showTextView(TextViewMode::TableText); });
    addMenuCommand(exportMenu, "exportExcelAction", [&office] { office.exportToExcel(); });
    addMenuCommand(exportMenu, "saveWorkbookAsAction",
                   [&office] { office.saveExportWorkbookAs(); });
    addMenuCommand(exportMenu, "exportWordAction", [&office] { office.exportToWord(); });
    addMenuCommand(file, "importExcelAction", &MainWindow::importExcel);
    file->addSeparator();
    QMenu* rename = addMenu(file, "renameMenu");
    FileCommands& files = *fileCommands_;
    addMenuCommand(rename, "renameFromNameColumnAction",
                   [&files] { files.renameFromNameColumn(); });
    addMenuCommand(rename, "complexRenamingAction", [this] { complexRenaming_->showFor(this); });
    addMenuCommand(rename, "undoRenamingAction", [&files] { files.undoLastRenaming(); });
    file->addSeparator();
    addMenuCommand(file, "exitAction", [this] {
        close();
    })->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
}

void MainWindow::buildTableMenu(QMenu* table) {
    addMenuCommand(table, "addRowAction", &MainWindow::addRow);
    addMenuCommand(table, "exportToTextAction", [this] { showTextView(TextViewMode::TableText); });
    addMenuCommand(table, "findAction", &MainWindow::openFindBar)
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
    table->addSeparator();
    undoTableAction = addMenuCommand(table, "undoTableAction", &MainWindow::undoTableStep);
    undoTableAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    redoTableAction = addMenuCommand(table, "redoTableAction", &MainWindow::redoTableStep);
    redoTableAction->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    addMenuCommand(table, "filterAction", &MainWindow::openFilterBar)
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_L));
    addMenuCommand(table, "markDuplicatesAction", &MainWindow::markDuplicateRows);
    addMenuCommand(table, "markIdenticalFilesAction", &MainWindow::markIdenticalFiles);
    addMenuCommand(table, "removeCheckedAction", &MainWindow::removeCheckedRows);
    QMenu* sortMenu = addMenu(table, "sortMenu");
    for (int column = 0; column < tableColumnCount; ++column) {
        addCommand(sortMenu, "", appTexts::sortCaption(column),
                   [this, column] { sortByColumn(column); });
    }
    connect(table, &QMenu::aboutToShow, this, [this] { showTableHistory(); });
    table->addSeparator();
    FileCommands& files = *fileCommands_;
    addMenuCommand(table, "writeTextsAction",
                   [this, &files] { textWritePreview_->showRows(files.previewTextWriting()); });
    addMenuCommand(table, "undoTextWritingAction", [&files] { files.undoLastTextWriting(); });
}

void MainWindow::buildRowCommands(QMenu* menu) {
    menu->addSeparator();
    addMenuCommand(menu, "checkSelectedAction",
                   [this] { markRows(tablePane->selectedRows(), true); });
    addMenuCommand(menu, "uncheckSelectedAction",
                   [this] { markRows(tablePane->selectedRows(), false); });
    addMenuCommand(menu, "copyRowsAction", &MainWindow::copyRows);
    addMenuCommand(menu, "copyFullPathAction", &MainWindow::copyFullPath);
    addMenuCommand(menu, "openContainingFolderAction", &MainWindow::openContainingFolder);
    addMenuCommand(menu, "removeSelectedRowsAction",
                   [this] { removeRowsFromTable(tablePane->selectedRows()); });
}

// Built before the menus that call them.
void MainWindow::buildFileCommands() {
    textWritePreview_ = new TextWritePreviewWindow(this);
    const FileCommands::Views views{[this](const QString& status) { updateStatusLine(status); },
                                    [this] { showTableHistory(); }};
    fileCommands_ = std::make_unique<FileCommands>(context_, *tableController_, this, views);
    connect(textWritePreview_, &TextWritePreviewWindow::writeChosen, this,
            guard(this, context_.ui, [this] { fileCommands_->writePreviewedTexts(); }));
    officeCommands_ = std::make_unique<OfficeCommands>(
        context_, this,
        [this](std::optional<TextViewMode> mode, const std::function<void(const TextView&)>& use) {
            useTextView(mode, use);
        });
}

void MainWindow::sortByColumn(int column) {
    changeTableKeepingCurrentCell([this, column] { tableController_->sortBy(column); });
}

void MainWindow::undoTableStep() {
    changeTableKeepingCurrentCell([this] { tableController_->undo(); });
}

void MainWindow::redoTableStep() {
    changeTableKeepingCurrentCell([this] { tableController_->redo(); });
}

void MainWindow::changeTableKeepingCurrentCell(const std::function<void()>& change) {
    commitCellEdit();
    tablePane->keepCurrentCellThrough(change);
    updateStatusLine(context_.table.statusText());
    showTableHistory();
}

void MainWindow::showTableHistory() {
    const TableHistory& history = context_.table.history;
    undoTableAction->setText(u"&"_s + history.undoText());
    undoTableAction->setEnabled(history.canUndo());
    redoTableAction->setText(u"&"_s + history.redoText());
    redoTableAction->setEnabled(history.canRedo());
    tablePane->showSort(tableController_->shownSort());
    applyFilter();
    updateCountLabel();
    updateWindowTitle();
}

void MainWindow::startFreshTableHistory() {
    tableController_->startFreshHistory();
    showTableHistory();
}

void MainWindow::markRows(const std::vector<int>& rows, std::optional<bool> checked) {
    commitCellEdit();
    tableController_->setMarks(rows, checked);
    showTableHistory();
}

void MainWindow::toggleRowCheck(const QModelIndex& index) {
    tablePane->grid().hideCellTooltip(true);
    bottomRow->setAllChecked(false);
    if (index.isValid()) {
        tablePane->grid().setCurrentIndex(index);
        tableController_->toggleMarks({index.row() + 1});
        showTableHistory();
    }
}

void MainWindow::toggleSelectedMarks(const QModelIndex& current) {
    const std::vector<int> rows = tablePane->selectedRows();
    if (rows.size() > 1) {
        bottomRow->setAllChecked(false);
        markRows(rows, std::nullopt);
    } else {
        toggleRowCheck(current);
    }
}

void MainWindow::removeRowsFromTable(const std::vector<int>& rows) {
    commitCellEdit();
    if (rows.empty() || !context_.ui.askYesNo(
                            this, tableTexts::removeRowsQuestion(static_cast<int>(rows.size())))) {
        return;
    }
    changeTableKeepingCurrentCell([this, &rows] { tableController_->removeRows(rows); });
}

void MainWindow::removeCheckedRows() {
    const std::vector<int> rows = checkedRows(context_.table.model());
    if (rows.empty()) {
        context_.ui.showMessage(this, tableTexts::noCheckedRows());
        return;
    }
    removeRowsFromTable(rows);
}

void MainWindow::copyRows() {
    QGuiApplication::clipboard()->setText(
        rowsAsScanLines(context_.table.model(), tablePane->selectedRows()));
}

void MainWindow::copyFullPath() {
    if (const int row = tablePane->currentRow(); row > 0) {
        const RowFile& file = context_.table.model().rowFile(row);
        QGuiApplication::clipboard()->setText(file.folder + file.name);
    }
}

void MainWindow::openContainingFolder() {
    const int row = tablePane->currentRow();
    const QString folder = row > 0 ? rowFolder(context_.table.model(), row) : QString();
    if (!folder.isEmpty() && !context_.ui.openWithDesktop(folder)) {
        context_.ui.showMessage(this, tableTexts::noProgramForFolder(folder));
    }
}

void MainWindow::openFindBar() {
    tablePane->openFindBar();
}

void MainWindow::openFilterBar() {
    tablePane->openFilterBar();
}

void MainWindow::applyFilter() {
    const bool wasFiltered = tablePane->filtered();
    const int shown = tablePane->applyFilter();
    if (shown >= 0) {
        updateStatusLine(tableTexts::shownStatus(shown, context_.table.model().songCount()));
    } else if (wasFiltered) {
        updateStatusLine(context_.table.statusText());
    }
    updateCountLabel();
}

void MainWindow::markShownRows() {
    markRows(tablePane->shownRows(), true);
}

void MainWindow::markDuplicateRows() {
    const std::vector<int> rows = rowsWithDuplicateTexts(context_.table.model());
    markRows(rows, true);
    context_.ui.showMessage(this, tableTexts::duplicatesMarked(static_cast<int>(rows.size())));
}

void MainWindow::markIdenticalFiles() {
    bottomRow->showWait(appTexts::wait());
    const std::vector<int> rows = rowsWithIdenticalFiles(context_.table.model(), rowFileProbe());
    bottomRow->showWait(QString());
    markRows(rows, true);
    context_.ui.showMessage(this, tableTexts::identicalFilesMarked(static_cast<int>(rows.size())));
}

void MainWindow::addRow() {
    const int current = tablePane->currentRow();
    if (!tableController_->addRowAt(current > 0 ? current : 1)) {
        context_.ui.showMessage(this, tableFullMessage());
    }
    showTableHistory();
}

void MainWindow::updateWindowTitle() {
    const TableSession& table = context_.table;
    setWindowTitle(table.shownListFile.isEmpty()
                       ? appTexts::programTitle()
                       : tableTexts::listWindowTitle(QFileInfo(table.shownListFile).fileName(),
                                                     table.unsavedChanges));
}

void MainWindow::updateCountLabel() {
    const SongTableModel& model = context_.table.model();
    const QLocale& locale = context_.locale;
    const int shown = tablePane->shownRowCount();
    bottomRow->showCount(
        tableTexts::countText(locale.toString(model.songCount()),
                              locale.toString(static_cast<int>(checkedRows(model).size())),
                              shown >= 0 ? locale.toString(shown) : QString()));
}

void MainWindow::updateStatusLine(const QString& text) {
    bottomRow->showStatus(text);
}

void MainWindow::showLastFolder() {
    bottomRow->showLastFolder(context_.options.lastFolder);
}

void MainWindow::registerTableHint() {
    SongGrid* grid = &tablePane->grid();
    context_.hints.setHintHandler(grid, [this, grid](HintRequest& request) {
        const TableHintShowing showing = tableHint_->beforeShow(grid->width());
        context_.hints.setHintHidePause(showing.hidePauseMs);
        request.show = showing.show;
        request.text = showing.text;
        request.hidePauseMs = showing.hidePauseMs;
        request.background =
            QColor(showing.background.red, showing.background.green, showing.background.blue);
        request.maxWidth = showing.maxWidth;
        request.pos += QPoint(showing.shiftRight, 0);
        grid->setToolTip(tableHint_->enabled() ? tableHint_->text() : QString());
    });
}

void MainWindow::showAsActive() {
    if (!placed_) {
        placed_ = true;
        if (context_.desktop.mainWindowGeometry.isEmpty() ||
            !restoreGeometry(context_.desktop.mainWindowGeometry)) {
            centreOnScreen(*this);
        }
        keepOnScreen(*this);
    }
    corvanteller::showAsActive(*this, context_.activations, context_.ui, [this] { onActivated(); });
}

bool MainWindow::takesActivations() const {
    return !WindowScan::anyRunning();
}

void MainWindow::commitCellEdit() {
    tablePane->grid().commitOpenEditor();
}

void MainWindow::onActivated() {
    context_.table.rebuildOnActivation(context_.desktop.keepMarksOnSwitch);
    applyColumnWidthMode();
    updateStatusLine(context_.table.statusText());
    showTableHistory();
}

void MainWindow::onDeactivated() {
    commitCellEdit();
    context_.table.refreshStores();
}

TableWidthsAtClose MainWindow::widthsAtClose() const {
    TableWidthsAtClose table;
    table.mainWindowVisible = isVisible();
    for (int column = 0; column < tableColumnCount; ++column) {
        table.widths[static_cast<std::size_t>(column)] = tablePane->grid().columnWidth(column);
    }
    return table;
}

void MainWindow::applyColumnWidthMode() {
    SongTableModel& model = context_.table.model();
    const QFontMetrics metrics(tablePane->grid().font());
    const ColumnLayout layout = corvanteller::applyColumnWidthMode(
        context_.options.general.columnWidthMode, model, widthsAtClose().widths,
        context_.options.savedColumnWidths,
        [&metrics](const QString& text) { return metrics.horizontalAdvance(text); },
        model.widestCellLengths());
    showColumnWidths(layout.widths);
    model.setWidestCellLengths(layout.widest);
}

void MainWindow::showColumnWidths(const ColumnWidthList& widths) {
    for (int column = 0; column < tableColumnCount; ++column) {
        tablePane->grid().setColumnWidth(column, widths[static_cast<std::size_t>(column)]);
    }
}

void MainWindow::showTextView(TextViewMode mode) {
    context_.textViewModes.setByCommand(mode);
    openTextView();
}

void MainWindow::openTextView() {
    // The view takes over at once, so the table goes into the row stores now, as this
    // window's deactivation does. A Word command hides the view again before the window
    // system reports anything, and the activation that follows would otherwise rebuild the
    // table from stores without the user's edits.
    onDeactivated();
    textView_->showFor(this);
}

void MainWindow::useTextView(std::optional<TextViewMode> mode,
                             const std::function<void(const TextView&)>& use) {
    const QModelIndex current = tablePane->grid().currentIndex();
    {
        const ShownOffScreen offScreen(*textView_);
        if (mode) {
            showTextView(*mode);
        } else {
            openTextView();
        }
        use(*textView_);
        textView_->hide();
    }
    returnToGrid(current.isValid() ? current.row() : 0,
                 current.isValid() ? current.column() : SongColumn::FileName);
}

void MainWindow::returnToGrid(int row, int column) {
    // The view was shown only to build the text: the keyboard comes back to the table, which
    // the activation rebuilds and so leaves without a current cell.
    showAsActive();
    const SongTableModel& model = context_.table.model();
    SongGrid& grid = tablePane->grid();
    if (model.songCount() > 0) {
        grid.setCurrentIndex(model.index(std::clamp(row, 0, model.songCount() - 1), column));
    }
    grid.setFocus(Qt::OtherFocusReason);
}

QString MainWindow::takeDroppedPath() {
    return std::exchange(droppedPath_, QString());
}

void MainWindow::startNewScanning() {
    droppedPath_.clear();
    carryOut(flow_.newScanRequested());
}

void MainWindow::openList() {
    droppedPath_.clear();
    carryOut(flow_.listOpenRequested());
}

void MainWindow::importExcel() {
    droppedPath_.clear();
    carryOut(flow_.importRequested());
}

void MainWindow::saveList() {
    carryOut(flow_.saveRequested());
}

void MainWindow::saveListAs() {
    listCommands_->saveListWithDialog();
}

void MainWindow::carryOut(NextStep step) {
    switch (step) {
    case NextStep::Nothing:
        return;
    case NextStep::ShowPrompt:
        savePrompt_->showFor(this);
        return;
    case NextStep::SaveToCurrentFile:
    case NextStep::SaveWithDialog: {
        bool saved = false;
        try {
            saved = step == NextStep::SaveToCurrentFile ? listCommands_->saveListToCurrentFile()
                                                        : listCommands_->saveListWithDialog();
        } catch (...) {
            carryOut(flow_.saveFinished(false));
            throw;
        }
        carryOut(flow_.saveFinished(saved));
        return;
    }
    default:
        break;
    }
    savePrompt_->hide();
    switch (step) {
    case NextStep::EndProgram:
        endProgram();
        return;
    case NextStep::ChooseFolder:
        runNewScan();
        return;
    case NextStep::ChooseListFile:
        listCommands_->openListFromDialog(takeDroppedPath());
        return;
    case NextStep::ChooseWorkbook:
        listCommands_->importWorkbookFromDialog(takeDroppedPath());
        return;
    default:
        return; // back to the table
    }
}

void MainWindow::runNewScan() {
    TableSession& table = context_.table;
    const auto beforeScan = [&table] { table.startNewScanRows(); };
    const QString dropped = takeDroppedPath();
    const std::optional<ScanOutcome> outcome =
        dropped.isEmpty()
            ? scan_->chooseFolderAndScan(context_.ui, context_.options, table.mainStore(),
                                         RunSet::MainWindow, beforeScan)
            : scan_->scanFolder(dropped, context_.options, table.mainStore(), RunSet::MainWindow,
                                beforeScan);
    bottomRow->finishScanProgress();
    table.finishNewScan();
    if (outcome) {
        tablePane->grid().showFromTopLeft();
    }
    showTableHistory();
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

void MainWindow::endProgram() {
    if (isVisible()) {
        context_.desktop.mainWindowGeometry = saveGeometry();
    }
    saveSettingsAtClose(context_, this, widthsAtClose());
    context_.quit();
}

void MainWindow::closeEvent(QCloseEvent* event) {
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

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (droppedFile(event->mimeData()).kind != DroppedFile::Kind::None) {
        event->acceptProposedAction();
    }
}

// A drop goes the way of its menu command, the save-changes prompt included; the dropped
// path takes the place of the command's dialog.
void MainWindow::dropEvent(QDropEvent* event) {
    const DroppedFile dropped = droppedFile(event->mimeData());
    if (dropped.kind == DroppedFile::Kind::None) {
        return;
    }
    event->acceptProposedAction();
    guarded(this, context_.ui, [this, &dropped] {
        commitCellEdit();
        droppedPath_ = dropped.path;
        switch (dropped.kind) {
        case DroppedFile::Kind::Folder:
            carryOut(flow_.newScanRequested());
            break;
        case DroppedFile::Kind::List:
            carryOut(flow_.listOpenRequested());
            break;
        case DroppedFile::Kind::Workbook:
        case DroppedFile::Kind::None:
            carryOut(flow_.importRequested());
            break;
        }
    });
}

void MainWindow::buildListCommands() {
    ListCommands::TableView view;
    view.columnWidths = [this] { return widthsAtClose().widths; };
    view.showColumnWidths = [this](const ColumnWidthList& widths) { showColumnWidths(widths); };
    view.textWidthInGrid = [this] {
        return [metrics = QFontMetrics(tablePane->grid().font())](const QString& text) {
            return metrics.horizontalAdvance(text);
        };
    };
    view.showFromTopLeft = [this](bool firstRowCurrent) {
        SongGrid& grid = tablePane->grid();
        if (firstRowCurrent && context_.table.model().songCount() > 0) {
            grid.setCurrentIndex(context_.table.model().index(0, SongColumn::FileName));
        }
        grid.showFromTopLeft();
    };
    view.showTable = [this] { showTableHistory(); };
    view.showStatus = [this](const QString& status) { updateStatusLine(status); };
    view.showBusy = [this](bool busy) { bottomRow->showBusy(tablePane->grid(), busy); };
    listCommands_ = std::make_unique<ListCommands>(context_, *tableController_,
                                                   officeCommands_->workbookEngine(), this, view);
}

} // namespace corvanteller
