// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/main_window.h"

#include "app/app_context.h"
#include "app/recent_lists_menu.h"
#include "common/file_filters.h"
#include "common/tab_fields.h"
#include "help/about_window.h"
#include "help/help_window.h"
#include "help/splash_window.h"
#include "office/document_printing.h"
#include "office/engine_command.h"
#include "office/excel_export.h"
#include "office/hand_over_dialogs.h"
#include "office/word_commands.h"
#include "rename/complex_rename_dialog.h"
#include "rename/file_lookup.h"
#include "rename/rename_journal.h"
#include "rename/rename_runs.h"
#include "scan/window_scan.h"
#include "settings/general_settings_dialog.h"
#include "table/column_widths.h"
#include "table/filter_bar.h"
#include "table/list_file.h"
#include "table/save_changes_prompt.h"
#include "table/song_grid.h"
#include "table/table_controller.h"
#include "table/table_duplicates.h"
#include "table/table_filter.h"
#include "table/table_find.h"
#include "table/table_texts.h"
#include "text/text_view.h"
#include "ui/dropped_file.h"
#include "ui/error_guard.h"
#include "ui/find_bar.h"
#include "ui/form_activations.h"
#include "ui/menu_keys.h"
#include "write/table_text_writing.h"
#include "write/text_write_journal.h"
#include "write/text_write_preview_window.h"

#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTextDocument>

#include <algorithm>
#include <set>
#include <utility>

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

MainWindow::MainWindow(AppContext& context, QWidget* parent)
    : QMainWindow(parent), context_(context), flow_(context.table),
      tableController_(std::make_unique<TableController>(context.table, context.locale)),
      tableHint_(context.random) {
    setWindowTitle(u"Corvanteller"_s);
    setAcceptDrops(true);
    context_.activations.addForm(this);
    auto* client = new QWidget(this);
    setCentralWidget(client);
    buildGrid(client);
    buildBottomRow(client);
    buildMenus();
    reachMenusByKeyboard(*menuBar());
    scan_ =
        new WindowScan({this, scanProgressBar, scanErrorLabel, scanProgressLabel, stopScanButton},
                       context_.scanFolderReached, {&context_.scanCache, &context_.desktop});
    setupFind(client);
    setupFilter(client);
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

    textWritePreview_ = new TextWritePreviewWindow(this);
    connect(textWritePreview_, &TextWritePreviewWindow::writeChosen, this,
            guard(this, context_.ui, [this] { writePreviewedTexts(); }));

    context_.table.hasCurrentListFile = false;
    context_.table.unsavedChanges = true;
    context_.hints.setHintsEnabled(true);
    registerTableHint();
    showTableHistory();
}

MainWindow::~MainWindow() {
    context_.activations.removeForm(this);
}

void MainWindow::buildGrid(QWidget* client) {
    songGrid = new SongGrid(context_.table.model(), client);
    songGrid->setToolTip(TableHint::initialText());
    songGrid->setContextMenuPolicy(Qt::CustomContextMenu);
    TableSession& table = context_.table;
    connect(songGrid, &SongGrid::focusedByUser, this, [this, &table] {
        table.unsavedChanges = true;
        updateWindowTitle();
    });
    connect(songGrid, &SongGrid::characterTyped, this, [this, &table] {
        table.unsavedChanges = true;
        updateWindowTitle();
    });
    connect(songGrid, &QTableView::doubleClicked, this,
            guard(this, context_.ui, [this](const QModelIndex& index) { toggleRowCheck(index); }));
    connect(songGrid, &SongGrid::checkToggleRequested, this,
            guard(this, context_.ui, [this](const QModelIndex& index) {
                const std::vector<int> rows = selectedRows();
                if (rows.size() > 1) {
                    checkAllBox->setChecked(false);
                    markRows(rows, std::nullopt);
                } else {
                    toggleRowCheck(index);
                }
            }));
    QHeaderView* header = songGrid->horizontalHeader();
    header->setSectionsClickable(true);
    // A header click sorts; it does not select the column as well.
    disconnect(header, &QHeaderView::sectionPressed, songGrid, nullptr);
    disconnect(header, &QHeaderView::sectionEntered, songGrid, nullptr);
    connect(header, &QHeaderView::sectionClicked, this,
            guard(this, context_.ui, [this](int column) { sortByColumn(column); }));
    connect(songGrid, &QWidget::customContextMenuRequested, this, [this](QPoint pos) {
        tableContextMenu->popup(songGrid->viewport()->mapToGlobal(pos));
    });
}

void MainWindow::buildBottomRow(QWidget* client) {
    checkAllBox = new QCheckBox(u"Check all"_s, client);
    checkAllBox->setToolTip(u"Check all files"_s);
    connect(checkAllBox, &QCheckBox::toggled, this, guard(this, context_.ui, [this](bool checked) {
                tableController_->setAllMarks(checked);
                showTableHistory();
            }));
    connect(checkAllBox, &QCheckBox::clicked, this,
            guard(this, context_.ui, [this] { showLastFolder(); }));

    scanProgressBar = new QProgressBar(client);
    scanProgressBar->setRange(0, progressMaximum);
    scanProgressBar->setTextVisible(false);
    scanProgressBar->hide();

    statusLabel = new QLabel(client);
    lastFolderLabel = new QLabel(client);
    countLabel_ = new QLabel(client);
    countLabel_->setObjectName(u"countLabel"_s);
    scanErrorLabel = new QLabel(client);
    scanErrorLabel->hide();
    waitLabel = new QLabel(client);

    stopScanButton = new QPushButton(u"Stop"_s, client);
    stopScanButton->hide();
    connect(stopScanButton, &QPushButton::clicked, this, [this] { scan_->stop(); });
    // Over the last folder's label, which a long folder would otherwise run into.
    scanProgressLabel = new QLabel(client);
    scanProgressLabel->setAutoFillBackground(true);
    scanProgressLabel->hide();
}

QAction* MainWindow::addCommand(QMenu* menu, const QString& caption,
                                void (MainWindow::*handler)()) {
    QAction* action = menu->addAction(caption);
    connect(action, &QAction::triggered, this,
            guard(this, context_.ui, [this, handler] { (this->*handler)(); }));
    return action;
}

void MainWindow::buildMenus() {
    QMenu* file = menuBar()->addMenu(u"&File"_s);
    newScanningAction = addCommand(file, u"&New scanning..."_s, &MainWindow::startNewScanning);
    file->addSeparator();
    openListAction = addCommand(file, u"&Open Corvanteller list..."_s, &MainWindow::openList);
    openTextListAction =
        addCommand(file, u"Open list in &text format..."_s, &MainWindow::openListInTextFormat);
    addRecentListsMenu(file, this, context_, [this](const QString& path) {
        commitCellEdit();
        droppedPath_ = path;
        carryOut(flow_.listOpenRequested());
    });
    file->addSeparator();
    saveListAction = addCommand(file, u"&Save list"_s, &MainWindow::saveList);
    saveListAsAction = addCommand(file, u"Save list &as..."_s, &MainWindow::saveListAs);
    saveAsTextAction = addCommand(file, u"Save as te&xt..."_s, &MainWindow::saveTableAsText);
    saveAsWordAction =
        addCommand(file, u"Save as Ms &Word document..."_s, &MainWindow::saveAsWordDocument);
    printFromWordAction =
        addCommand(file, u"&Print from Ms Word (text)"_s, &MainWindow::printFromWord);
    printToPdfAction = addCommand(file, u"Print to P&DF..."_s, &MainWindow::printToPdfFile);
    file->addSeparator();
    QMenu* exportMenu = file->addMenu(u"Expo&rt"_s);
    exportTextAction = addCommand(exportMenu, u"Tex&t"_s, &MainWindow::exportTableToText);
    exportExcelAction = addCommand(exportMenu, u"Ms &Excel"_s, &MainWindow::exportTableToExcel);
    saveWorkbookAsAction =
        addCommand(exportMenu, u"Save workbook as..."_s, &MainWindow::saveExportWorkbookAs);
    exportWordAction = addCommand(exportMenu, u"&Ms Word"_s, &MainWindow::exportTableToWord);
    importExcelAction = addCommand(file, u"&Import from Excel file"_s, &MainWindow::importExcel);
    file->addSeparator();
    QMenu* rename = file->addMenu(u"Rena&me files"_s);
    renameFromNameColumnAction = addCommand(rename, u"&From column of name (file)"_s,
                                            &MainWindow::renameFilesFromNameColumn);
    complexRenamingAction =
        addCommand(rename, u"&Complex renaming..."_s, &MainWindow::showComplexRenameDialog);
    undoRenamingAction =
        addCommand(rename, u"&Undo last renaming"_s, &MainWindow::revertLastRenaming);
    file->addSeparator();
    exitAction = file->addAction(u"&Exit"_s);
    connect(exitAction, &QAction::triggered, this, [this] { close(); });

    QMenu* settings = menuBar()->addMenu(u"&Settings"_s);
    scanParametersAction = settings->addAction(u"&Parameters of scanning"_s);
    generalSettingsAction = settings->addAction(u"&General settings"_s);
    connect(generalSettingsAction, &QAction::triggered, this,
            guard(this, context_.ui, [this] { context_.generalSettings->showFor(this); }));

    QMenu* table = menuBar()->addMenu(u"&Table"_s);
    addRowAction = addCommand(table, u"&Add row"_s, &MainWindow::addRow);
    exportToTextAction = addCommand(table, u"&Export to text"_s, &MainWindow::exportTableToText);
    findAction = addCommand(table, u"&Find..."_s, &MainWindow::openFindBar);
    buildTableCommands(table);
    table->addSeparator();
    writeTextsAction =
        addCommand(table, u"&Write texts into files..."_s, &MainWindow::previewTextWriting);
    undoTextWritingAction =
        addCommand(table, u"Undo last te&xt writing"_s, &MainWindow::revertLastTextWriting);

    QMenu* help = menuBar()->addMenu(u"&Help"_s);
    QMenu* about = help->addMenu(u"&About"_s);
    informationAction = addCommand(about, u"&Information"_s, &MainWindow::showInformation);
    promptAction = about->addAction(u"&Prompt"_s);
    connect(promptAction, &QAction::triggered, this,
            guard(this, context_.ui, [this] { context_.prompt->showPrompt(); }));
    helpAction = addCommand(help, u"&Corvanteller help"_s, &MainWindow::showHelp);

    tableContextMenu = new QMenu(this);
    popupNewScanningAction =
        addCommand(tableContextMenu, u"&New scanning..."_s, &MainWindow::startNewScanning);
    popupHelpAction = addCommand(tableContextMenu, u"Corvanteller &help"_s, &MainWindow::showHelp);
    buildRowCommands();
    setStandardShortcuts();
}

void MainWindow::buildTableCommands(QMenu* table) {
    table->addSeparator();
    undoTableAction_ = addCommand(table, u"&Undo"_s, &MainWindow::undoTableStep);
    undoTableAction_->setObjectName(u"undoTableAction"_s);
    undoTableAction_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    redoTableAction_ = addCommand(table, u"&Redo"_s, &MainWindow::redoTableStep);
    redoTableAction_->setObjectName(u"redoTableAction"_s);
    redoTableAction_->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    filterAction_ = addCommand(table, u"Fi&lter..."_s, &MainWindow::openFilterBar);
    filterAction_->setObjectName(u"filterAction"_s);
    filterAction_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_L));
    addCommand(table, u"Mark &duplicates"_s, &MainWindow::markDuplicateRows)
        ->setObjectName(u"markDuplicatesAction"_s);
    addCommand(table, u"Mark &identical files"_s, &MainWindow::markIdenticalFiles)
        ->setObjectName(u"markIdenticalFilesAction"_s);
    removeCheckedAction_ =
        addCommand(table, u"Remove &checked rows from the table"_s, &MainWindow::removeCheckedRows);
    removeCheckedAction_->setObjectName(u"removeCheckedAction"_s);
    sortMenu_ = table->addMenu(u"&Sort by"_s);
    sortMenu_->setObjectName(u"sortMenu"_s);
    const QString captions[] = {u"&Number (#)"_s, u"Name of &file"_s,
                                u"&Way"_s,        u"&The executor and/or the name of songs"_s,
                                u"&D"_s,          u"&E"_s,
                                u"&Made..."_s};
    for (int column = 0; column < tableColumnCount; ++column) {
        QAction* action = sortMenu_->addAction(captions[column]);
        connect(action, &QAction::triggered, this,
                guard(this, context_.ui, [this, column] { sortByColumn(column); }));
    }
    connect(table, &QMenu::aboutToShow, this, [this] { showTableHistory(); });
}

void MainWindow::buildRowCommands() {
    QMenu* menu = tableContextMenu;
    menu->addSeparator();
    const auto addRowCommand = [this, menu](const QString& caption, const QString& name,
                                            std::function<void()> command) {
        QAction* action = menu->addAction(caption);
        action->setObjectName(name);
        connect(action, &QAction::triggered, this, guard(this, context_.ui, command));
    };
    addRowCommand(u"&Check selected rows"_s, u"checkSelectedAction"_s,
                  [this] { markRows(selectedRows(), true); });
    addRowCommand(u"&Uncheck selected rows"_s, u"uncheckSelectedAction"_s,
                  [this] { markRows(selectedRows(), false); });
    addRowCommand(u"Copy &rows"_s, u"copyRowsAction"_s, [this] { copyRows(); });
    addRowCommand(u"Copy full &path"_s, u"copyFullPathAction"_s, [this] { copyFullPath(); });
    addRowCommand(u"&Open containing folder"_s, u"openContainingFolderAction"_s,
                  [this] { openContainingFolder(); });
    addRowCommand(u"Remove rows from the &table"_s, u"removeSelectedRowsAction"_s,
                  [this] { removeRowsFromTable(selectedRows()); });
}

void MainWindow::setStandardShortcuts() {
    openListAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    saveListAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    saveListAsAction->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    printToPdfAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    exitAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    newScanningAction->setShortcut(QKeySequence(Qt::Key_F5));
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
    const QModelIndex current = songGrid->currentIndex();
    change();
    // A change of the whole table resets the view's current cell: the keyboard stays where it was.
    const SongTableModel& model = context_.table.model();
    if (model.songCount() > 0 && !songGrid->currentIndex().isValid()) {
        const int row = std::clamp(current.isValid() ? current.row() : 0, 0, model.songCount() - 1);
        songGrid->setCurrentIndex(model.index(row, current.isValid() ? current.column() : 1));
    }
    updateStatusLine(context_.table.statusText());
    showTableHistory();
}

void MainWindow::showTableHistory() {
    const TableHistory& history = context_.table.history;
    undoTableAction_->setText(u"&"_s + history.undoText());
    undoTableAction_->setEnabled(history.canUndo());
    redoTableAction_->setText(u"&"_s + history.redoText());
    redoTableAction_->setEnabled(history.canRedo());
    applyFilter();
    updateCountLabel();
    updateWindowTitle();
    QHeaderView* header = songGrid->horizontalHeader();
    const std::optional<SortKey> sort = tableController_->shownSort();
    header->setSortIndicatorShown(sort.has_value());
    if (sort) {
        header->setSortIndicator(sort->column,
                                 sort->descending ? Qt::DescendingOrder : Qt::AscendingOrder);
    }
}

void MainWindow::startFreshTableHistory() {
    tableController_->startFreshHistory();
    showTableHistory();
}

std::vector<int> MainWindow::selectedRows() const {
    std::vector<int> rows;
    for (const QItemSelectionRange& range : songGrid->selectionModel()->selection()) {
        for (int row = range.top(); row <= range.bottom(); ++row) {
            rows.push_back(row + 1);
        }
    }
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    const QModelIndex current = songGrid->currentIndex();
    if (rows.empty() && current.isValid()) {
        rows.push_back(current.row() + 1);
    }
    return rows;
}

void MainWindow::markRows(const std::vector<int>& rows, std::optional<bool> checked) {
    commitCellEdit();
    const SongTableModel& model = context_.table.model();
    std::vector<int> flips;
    for (const int row : rows) {
        if (!checked || model.isRowChecked(row) != *checked) {
            flips.push_back(row);
        }
    }
    tableController_->toggleMarks(flips);
    showTableHistory();
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
    std::vector<int> rows;
    const SongTableModel& model = context_.table.model();
    for (int row = 1; row <= model.songCount(); ++row) {
        if (model.isRowChecked(row)) {
            rows.push_back(row);
        }
    }
    if (rows.empty()) {
        context_.ui.showMessage(this, tableTexts::noCheckedRows());
        return;
    }
    removeRowsFromTable(rows);
}

void MainWindow::copyRows() {
    commitCellEdit();
    const SongTableModel& model = context_.table.model();
    QByteArray lines;
    for (const int row : selectedRows()) {
        for (int column = SongColumn::FileName; column <= SongColumn::Maker; ++column) {
            if (column != SongColumn::FileName) {
                lines.append('\t');
            }
            appendEscapedField(lines, model.cellRef(row, column));
        }
        lines.append('\n');
    }
    QGuiApplication::clipboard()->setText(QString::fromUtf8(lines));
}

void MainWindow::copyFullPath() {
    const QModelIndex current = songGrid->currentIndex();
    if (current.isValid()) {
        const RowFile& file = context_.table.model().rowFile(current.row() + 1);
        QGuiApplication::clipboard()->setText(file.folder + file.name);
    }
}

void MainWindow::openContainingFolder() {
    const QModelIndex current = songGrid->currentIndex();
    if (!current.isValid()) {
        return;
    }
    const RowFile& file = context_.table.model().rowFile(current.row() + 1);
    const QString folder = file.folder.isEmpty()
                               ? context_.table.model().cell(current.row() + 1, SongColumn::Folder)
                               : file.folder;
    if (!folder.isEmpty() && !context_.ui.openWithDesktop(folder)) {
        context_.ui.showMessage(this, tableTexts::noProgramForFolder(folder));
    }
}

void MainWindow::registerTableHint() {
    context_.hints.setHintHandler(songGrid, [this](HintRequest& request) {
        const TableHintShowing showing = tableHint_.beforeShow(songGrid->width());
        context_.hints.setHintHidePause(showing.hidePauseMs);
        request.show = showing.show;
        request.text = showing.text;
        request.hidePauseMs = showing.hidePauseMs;
        request.background =
            QColor(showing.background.red, showing.background.green, showing.background.blue);
        request.maxWidth = showing.maxWidth;
        request.pos += QPoint(showing.shiftRight, 0);
        songGrid->setToolTip(tableHint_.enabled() ? tableHint_.text() : QString());
    });
}

void MainWindow::showAsActive() {
    if (!centred_) {
        centred_ = true;
        if (context_.desktop.mainWindowGeometry.isEmpty() ||
            !restoreGeometry(context_.desktop.mainWindowGeometry)) {
            if (const QScreen* screen = this->screen()) {
                move(screen->availableGeometry().center() - rect().center());
            }
        }
        keepOnScreen();
    }
    corvanteller::showAsActive(*this, context_.activations, context_.ui, [this] { onActivated(); });
}

// Its title bar and menus always reachable: on the screen it is on, or the primary one.
void MainWindow::keepOnScreen() {
    const QScreen* screen = QGuiApplication::screenAt(frameGeometry().center());
    screen = screen != nullptr ? screen : QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        return;
    }
    const QRect room = screen->availableGeometry();
    const QRect frame = frameGeometry();
    const QSize margins = frame.size() - size();
    resize(size().boundedTo(room.size() - margins));
    const QSize fitted = frameGeometry().size();
    move(std::clamp(frame.x(), room.left(),
                    std::max(room.left(), room.right() + 1 - fitted.width())),
         std::clamp(frame.y(), room.top(),
                    std::max(room.top(), room.bottom() + 1 - fitted.height())));
}

bool MainWindow::event(QEvent* event) {
    // While a scan runs the table waits for its rows: the scan rebuilds it at its end.
    if (context_.activations.isActivation(this, event)) {
        if (!WindowScan::anyRunning()) {
            guarded(this, context_.ui, [this] { onActivated(); });
        }
    } else if (context_.activations.isDeactivation(this, event)) {
        if (!WindowScan::anyRunning()) {
            guarded(this, context_.ui, [this] { onDeactivated(); });
        }
    }
    return QMainWindow::event(event);
}

void MainWindow::commitCellEdit() {
    songGrid->commitOpenEditor();
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
        table.widths[static_cast<std::size_t>(column)] = songGrid->columnWidth(column);
    }
    return table;
}

void MainWindow::applyColumnWidthMode() {
    SongTableModel& model = context_.table.model();
    const QFontMetrics metrics(songGrid->font());
    const ColumnLayout layout = corvanteller::applyColumnWidthMode(
        context_.options.general.columnWidthMode, model, widthsAtClose().widths,
        context_.options.savedColumnWidths,
        [&metrics](const QString& text) { return metrics.horizontalAdvance(text); },
        model.widestCellLengths());
    for (int column = 0; column < tableColumnCount; ++column) {
        songGrid->setColumnWidth(column, layout.widths[static_cast<std::size_t>(column)]);
    }
    model.setWidestCellLengths(layout.widest);
}

void MainWindow::updateStatusLine(const QString& text) {
    statusLabel->setText(text);
    statusLabel->adjustSize();
    alignStatusLine();
}

void MainWindow::alignStatusLine() {
    QWidget* client = centralWidget();
    statusLabel->move(client->width() - statusLabel->width() - statusRightMargin,
                      client->height() - statusLabel->height() - 4);
    waitLabel->move(statusLabel->x() - waitLabel->width() - 12, statusLabel->y());
    const int rowTop = client->height() - bottomRowHeight + 4;
    countLabel_->move(client->width() - countLabel_->width() - statusRightMargin, rowTop + 2);
    // A long last folder is cut before the status line rather than drawn over it.
    const int folderRoom = std::max(0, statusLabel->x() - lastFolderLabel->x() - 12);
    lastFolderLabel->resize(std::min(lastFolderLabel->sizeHint().width(), folderRoom),
                            lastFolderLabel->sizeHint().height());
}

void MainWindow::showWaitLabel(const QString& text) {
    waitLabel->setText(text);
    waitLabel->adjustSize();
    alignStatusLine();
    // Shown before the window goes on with work that blocks it.
    waitLabel->repaint();
}

void MainWindow::layoutClient() {
    QWidget* client = centralWidget();
    const int width = client->width();
    const int height = client->height();
    const int findBarHeight = findBar->isHidden() ? 0 : findBar->sizeHint().height();
    const int filterBarHeight = filterBar_->isHidden() ? 0 : filterBar_->sizeHint().height();
    filterBar_->setGeometry(0, 0, width, filterBarHeight);
    const int gridHeight = height - bottomRowHeight - findBarHeight - filterBarHeight;
    songGrid->setGeometry(0, filterBarHeight, width, gridHeight);
    const int findBarTop = filterBarHeight + gridHeight;
    findBar->setGeometry(0, findBarTop, width, findBarHeight);
    const int rowTop = height - bottomRowHeight + 4;
    checkAllBox->move(8, rowTop);
    checkAllBox->adjustSize();
    scanProgressBar->setGeometry(checkAllBox->x() + checkAllBox->width() + 12, rowTop + 4, 250, 10);
    stopScanButton->setGeometry(scanProgressBar->geometry().right() + 9, rowTop, 60, 20);
    scanProgressLabel->setGeometry(scanProgressBar->x(), rowTop + 18, scanProgressBar->width(), 16);
    lastFolderLabel->move(8, rowTop + 20);
    alignStatusLine();
}

void MainWindow::setupFind(QWidget* client) {
    findAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
    findBar = new FindBar(client);
    findBar->setSearchedWidget(songGrid);
    findBar->hide();
    connect(findBar, &FindBar::findRequested, this,
            guard(this, context_.ui,
                  [this](const QString& text, FindStep step) { findInTable(text, step); }));
    connect(findBar, &FindBar::closed, this, [this] { layoutClient(); });
}

void MainWindow::setupFilter(QWidget* client) {
    QStringList columns;
    for (int column = 0; column < tableColumnCount; ++column) {
        columns << context_.table.model().headerText(column);
    }
    filterBar_ = new FilterBar(columns, client);
    filterBar_->hide();
    connect(filterBar_, &FilterBar::filterChanged, this,
            guard(this, context_.ui, [this] { applyFilter(); }));
    connect(filterBar_, &FilterBar::markShownRequested, this,
            guard(this, context_.ui, [this] { markShownRows(); }));
    connect(filterBar_, &FilterBar::closed, this, [this] {
        layoutClient();
        songGrid->setFocus(Qt::OtherFocusReason);
    });
}

void MainWindow::openFilterBar() {
    commitCellEdit();
    filterBar_->open();
    layoutClient();
}

void MainWindow::applyFilter() {
    const SongTableModel& model = context_.table.model();
    const std::vector<bool> shown =
        rowsShownByFilter(model, FindPattern(filterBar_->text()), filterBar_->column());
    const bool filtered = std::find(shown.begin(), shown.end(), false) != shown.end();
    if (!filtered && shownRows_ < 0) {
        return; // nothing hidden, nothing to hide
    }
    songGrid->setUpdatesEnabled(false);
    for (std::size_t row = 0; row < shown.size(); ++row) {
        songGrid->setRowHidden(static_cast<int>(row), !shown[row]);
    }
    songGrid->setUpdatesEnabled(true);
    shownRows_ = filtered ? static_cast<int>(std::count(shown.begin(), shown.end(), true)) : -1;
    updateStatusLine(filtered ? tableTexts::shownStatus(shownRows_, model.songCount())
                              : context_.table.statusText());
    updateCountLabel();
}

void MainWindow::markShownRows() {
    std::vector<int> rows;
    for (int row = 1; row <= context_.table.model().songCount(); ++row) {
        if (!songGrid->isRowHidden(row - 1)) {
            rows.push_back(row);
        }
    }
    markRows(rows, true);
}

void MainWindow::markDuplicateRows() {
    const std::vector<int> rows = rowsWithDuplicateTexts(context_.table.model());
    markRows(rows, true);
    context_.ui.showMessage(this, tableTexts::duplicatesMarked(static_cast<int>(rows.size())));
}

void MainWindow::markIdenticalFiles() {
    commitCellEdit();
    showWaitLabel(u"Wait..."_s);
    const std::vector<int> rows = rowsWithIdenticalFiles(context_.table.model(), rowFileProbe());
    showWaitLabel(QString());
    markRows(rows, true);
    context_.ui.showMessage(this, tableTexts::identicalFilesMarked(static_cast<int>(rows.size())));
}

void MainWindow::updateWindowTitle() {
    const TableSession& table = context_.table;
    setWindowTitle(table.shownListFile.isEmpty()
                       ? u"Corvanteller"_s
                       : tableTexts::listWindowTitle(QFileInfo(table.shownListFile).fileName(),
                                                     table.unsavedChanges));
}

void MainWindow::updateCountLabel() {
    const SongTableModel& model = context_.table.model();
    int checked = 0;
    for (int row = 1; row <= model.songCount(); ++row) {
        checked += model.isRowChecked(row) ? 1 : 0;
    }
    const QLocale& locale = context_.locale;
    countLabel_->setText(
        tableTexts::countText(locale.toString(model.songCount()), locale.toString(checked),
                              shownRows_ >= 0 ? locale.toString(shownRows_) : QString()));
    countLabel_->adjustSize();
    alignStatusLine();
}

void MainWindow::openFindBar() {
    // As every command: a cell being typed goes into the table first.
    commitCellEdit();
    findBar->open();
    layoutClient();
}

void MainWindow::findInTable(const QString& text, FindStep step) {
    commitCellEdit();
    const FindPattern pattern(text);
    if (pattern.isEmpty()) {
        findBar->showMessage(QString());
        return;
    }
    SongTableModel& model = context_.table.model();
    const QModelIndex current = songGrid->currentIndex();
    const TableCell from =
        current.isValid() ? TableCell{current.row() + 1, current.column()} : TableCell{};
    const CellFindResult result = findCell(model, pattern, from, step);
    if (result.outcome.found) {
        const QModelIndex index = model.index(result.cell.row - 1, result.cell.column);
        songGrid->setCurrentIndex(index);
        songGrid->scrollTo(index);
    }
    findBar->showMessage(findMessage(result.outcome, step));
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

void MainWindow::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    layoutClient();
}

void MainWindow::showLastFolder() {
    lastFolderLabel->setText(context_.options.lastFolder);
    alignStatusLine();
}

void MainWindow::toggleRowCheck(const QModelIndex& index) {
    songGrid->hideCellTooltip(true);
    checkAllBox->setChecked(false);
    if (index.isValid()) {
        songGrid->setCurrentIndex(index);
        tableController_->toggleMarks({index.row() + 1});
        showTableHistory();
    }
}

MessageReply MainWindow::showRunFailure(const QString& text) {
    return context_.ui.showFailureMessage(this, text) ? MessageReply::NoMoreMessages
                                                      : MessageReply::Continue;
}

RenameServices MainWindow::renameServices() {
    return {systemFileSystem(),
            renameJournalPath(context_.settingsPath),
            context_.options.general.errorMessages,
            [this](const QString& text) { return showRunFailure(text); },
            [this](const QString& question) { return context_.ui.askYesNo(this, question); },
            &context_.clock};
}

TextWriteServices MainWindow::textWriteServices() {
    TextWriteServices services{systemFileSystem(),
                               textWriteJournalPath(renameJournalPath(context_.settingsPath))};
    services.confirm = [this](const QString& question) {
        return context_.ui.askYesNo(this, question);
    };
    services.clock = &context_.clock;
    return services;
}

void MainWindow::previewTextWriting() {
    commitCellEdit();
    TextWriteServices services = textWriteServices();
    services.dryRun = true;
    TextWriteRunResult preview = writeTextsIntoFiles(textWriteRequests(context_.table.model()),
                                                     runSetOf(context_.table.origin), services);
    std::vector<TextWriteRowResult> listed;
    previewedWrites_.clear();
    for (TextWriteRowResult& row : preview.rows) {
        if (row.outcome != TextWriteOutcome::Unchanged) {
            previewedWrites_.push_back({row.row, row.path, row.newTexts});
            listed.push_back(std::move(row));
        }
    }
    textWritePreview_->showRows(std::move(listed));
}

void MainWindow::writePreviewedTexts() {
    TextWriteServices services = textWriteServices();
    const std::vector<TextWriteRequest> requests = std::exchange(previewedWrites_, {});
    const TextWriteRunResult result =
        writeTextsIntoFiles(requests, runSetOf(context_.table.origin), services);
    if (result.written > 0) {
        // The files changed on disk: their own undo puts them back, not the table's.
        startFreshTableHistory();
    }
    reportTextWriting(result);
}

void MainWindow::revertLastTextWriting() {
    commitCellEdit();
    TextWriteServices services = textWriteServices();
    const TextWriteRunResult result = undoLastTextWriting(services);
    if (result.rows.empty() && result.notice.isEmpty()) {
        return; // the question was answered No
    }
    std::set<QByteArray> putBack;
    for (const TextWriteRowResult& row : result.rows) {
        if (row.outcome == TextWriteOutcome::Written) {
            putBack.insert(row.path);
        }
    }
    TableSession& table = context_.table;
    if (!putBack.empty()) {
        startFreshTableHistory();
    }
    if (rereadRowTexts(table.model(), putBack, runSetOf(table.origin)) > 0) {
        // As after an open: the next activation rebuilds the table from the stores.
        table.refreshStores();
        table.unsavedChanges = true;
    }
    if (result.rows.empty()) {
        context_.ui.showMessage(this, result.notice);
        return;
    }
    reportTextWriting(result);
}

void MainWindow::reportTextWriting(const TextWriteRunResult& result) {
    if (!result.notice.isEmpty()) {
        context_.ui.showMessage(this, result.notice);
    }
    context_.ui.showMessage(this, result.countMessage());
    FailureMessages failures(context_.options.general.errorMessages,
                             [this](const QString& text) { return showRunFailure(text); });
    for (const TextWriteRowResult& row : result.rows) {
        if (!row.message.isEmpty()) {
            failures.show(row.message);
        }
    }
}

void MainWindow::renameFilesFromNameColumn() {
    commitCellEdit();
    RenameServices services = renameServices();
    const RenameRunResult result = renameFromNameColumn(context_.table, services);
    if (result.started) {
        updateStatusLine(context_.table.renamingStatusText());
    }
    showTableHistory();
    if (!result.notice.isEmpty()) {
        context_.ui.showMessage(this, result.notice);
    }
}

void MainWindow::showComplexRenameDialog() {
    commitCellEdit();
    complexRenaming_->showFor(this);
}

void MainWindow::revertLastRenaming() {
    commitCellEdit();
    RenameServices services = renameServices();
    const RenameRunResult result = undoLastRenaming(context_.table, services);
    if (result.started) {
        updateStatusLine(context_.table.renamingStatusText());
    }
    showTableHistory();
    if (!result.notice.isEmpty()) {
        context_.ui.showMessage(this, result.notice);
    }
}

void MainWindow::addRow() {
    commitCellEdit();
    const QModelIndex current = songGrid->currentIndex();
    const int selectedRow = current.isValid() ? current.row() + 1 : 1;
    if (!tableController_->addRowAt(selectedRow)) {
        context_.ui.showMessage(this, tableFullMessage());
    }
    showTableHistory();
}

void MainWindow::showInformation() {
    context_.about->showAbout();
}

void MainWindow::showHelp() {
    context_.help->showHelp();
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

void MainWindow::openListInTextFormat() {
    showTextView(TextViewMode::OpenText);
}

void MainWindow::saveTableAsText() {
    showTextView(TextViewMode::SaveText);
}

void MainWindow::exportTableToText() {
    showTextView(TextViewMode::TableText);
}

void MainWindow::startNewScanning() {
    droppedPath_.clear();
    commitCellEdit();
    carryOut(flow_.newScanRequested());
}

void MainWindow::carryOut(NextStep step) {
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
            saved = step == NextStep::SaveToCurrentFile ? saveListToCurrentFile()
                                                        : saveListWithDialog();
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

void MainWindow::runNewScan() {
    TableSession& table = context_.table;
    const auto beforeScan = [&table] { table.startNewScanRows(); };
    const QString dropped = std::exchange(droppedPath_, QString());
    const std::optional<ScanOutcome> outcome =
        dropped.isEmpty()
            ? scan_->chooseFolderAndScan(context_.ui, context_.options, table.mainStore(),
                                         RunSet::MainWindow, beforeScan)
            : scan_->scanFolder(dropped, context_.options, table.mainStore(), RunSet::MainWindow,
                                beforeScan);
    finishScanProgress(scanProgressBar);
    table.finishNewScan();
    if (outcome) {
        songGrid->showFromTopLeft();
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
        context_.desktop.save(context_.desktopSettingsPath);
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

MainWindow::ListRead MainWindow::readListIntoGrid(QWidget* parent, const QString& path,
                                                  int originRowCount, ListOpenFailure failure) {
    SongTableModel& model = context_.table.model();
    const auto resetWidths = [this] {
        for (int column = 0; column < tableColumnCount; ++column) {
            songGrid->setColumnWidth(column, fixedColumnWidths[static_cast<std::size_t>(column)]);
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
    if (result.opened() || failure == ListOpenFailure::ResetTable) {
        startFreshTableHistory();
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
        songGrid->setCurrentIndex(model.index(0, 1));
    }
    songGrid->showFromTopLeft();
    noteRecentList(context_, path);
    context_.table.shownListFile = path;
    updateWindowTitle();
    return ListRead::Read;
}

void MainWindow::openList() {
    droppedPath_.clear();
    commitCellEdit();
    carryOut(flow_.listOpenRequested());
}

void MainWindow::openListFromDialog() {
    const QString dropped = std::exchange(droppedPath_, QString());
    const QString path =
        dropped.isEmpty() ? context_.ui.chooseFileToOpen(this, listOpenDialog()) : dropped;
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

void MainWindow::exportTableToExcel() {
    commitCellEdit();
    const ExcelExportOutcome outcome = exportToExcel(
        workbookEngine, context_.table.model(), context_.options.excel, context_.clock.now(),
        context_.locale, [this](const QString& path) { return context_.ui.openWithDesktop(path); });
    reportHandOver(context_.ui, this, outcome.notShown, outcome.messages, workbookSaveDialog());
}

void MainWindow::saveExportWorkbookAs() {
    commitCellEdit();
    saveWorkbookWithDialog(context_.ui, this, [this](const QString& path) {
        return saveExportWorkbook(workbookEngine, context_.table.model(), context_.options.excel,
                                  context_.clock.now(), context_.locale, path);
    });
}

void MainWindow::newWordDocumentFromTextView(std::optional<TextViewMode> mode) {
    useTextViewDocument(mode, [this](const QTextDocument& document) {
        newDocumentWithText(documentEngine, document.toPlainText());
    });
}

void MainWindow::useTextViewDocument(std::optional<TextViewMode> mode,
                                     const std::function<void(const QTextDocument&)>& use) {
    const QModelIndex current = songGrid->currentIndex();
    {
        const ShownOffScreen offScreen(*textView_);
        if (mode) {
            showTextView(*mode);
        } else {
            openTextView();
        }
        use(textView_->editorDocument());
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
    if (model.songCount() > 0) {
        songGrid->setCurrentIndex(model.index(std::clamp(row, 0, model.songCount() - 1), column));
    }
    songGrid->setFocus(Qt::OtherFocusReason);
}

void MainWindow::exportTableToWord() {
    const EngineCommand<DocumentEngine> command(documentEngine);
    newWordDocumentFromTextView(TextViewMode::TableText);
    const QStringList notShown = showInWordProcessor(
        documentEngine, [this](const QString& path) { return context_.ui.openWithDesktop(path); });
    reportHandOver(context_.ui, this, notShown, {}, documentSaveDialog());
}

void MainWindow::saveAsWordDocument() {
    commitCellEdit();
    const QString path = context_.ui.chooseFileToSave(this, wordSaveDialog());
    if (path.isEmpty()) {
        return;
    }
    const EngineCommand<DocumentEngine> command(documentEngine);
    newWordDocumentFromTextView(TextViewMode::TableText);
    saveAndClose(documentEngine, path);
}

void MainWindow::printFromWord() {
    printTableDocument(documentPrinter(context_.ui, this));
}

// The text "&Print from Ms Word (text)" prints, written as a PDF file by the text view's own
// "Print to PDF...": one document, one layout and one title for both windows.
void MainWindow::printToPdfFile() {
    askForTableTextBeforeAnyRequest();
    useTextViewDocument(std::nullopt, [this](const QTextDocument& document) {
        printToPdf(context_.ui, this, document, textView_->printJobName());
    });
}

void MainWindow::askForTableTextBeforeAnyRequest() {
    // The view shows what its last request says; before any request that would be an empty
    // page, so the table's text is asked for then.
    if (context_.textViewModes.mode() == TextViewMode::None) {
        context_.textViewModes.setByCommand(TextViewMode::TableText);
    }
}

void MainWindow::printTableDocument(const DocumentPrinter& printer) {
    askForTableTextBeforeAnyRequest();
    const EngineCommand<DocumentEngine> command(documentEngine);
    newWordDocumentFromTextView(std::nullopt);
    printAndDiscard(documentEngine, printer);
}

void MainWindow::importExcel() {
    droppedPath_.clear();
    commitCellEdit();
    carryOut(flow_.importRequested());
}

void MainWindow::importWorkbookFromDialog() {
    const QString dropped = std::exchange(droppedPath_, QString());
    const QString path =
        dropped.isEmpty() ? context_.ui.chooseFileToOpen(this, excelOpenDialog()) : dropped;
    if (path.isEmpty()) {
        return;
    }
    updateStatusLine(importExcelFile(path, ImportingWindow::Main).statusText);
    // As after an open: the next activation may rebuild the table from the stores.
    context_.table.refreshStores();
}

bool MainWindow::importExcelForStartWindow(QWidget* parent) {
    return importExcelForStartWindow(parent,
                                     context_.ui.chooseFileToOpen(parent, excelOpenDialog()));
}

bool MainWindow::importExcelForStartWindow(QWidget*, const QString& path) {
    if (path.isEmpty()) {
        return false;
    }
    importExcelFile(path, ImportingWindow::Start);
    return true;
}

ImportOutcome MainWindow::importExcelFile(const QString& path, ImportingWindow window) {
    // The hourglass and "Wait..." go back whatever happens to the import.
    struct WaitShown {
        explicit WaitShown(MainWindow& form) : form_(form) {
            form_.songGrid->setCursor(Qt::WaitCursor);
            form_.showWaitLabel(u"Wait..."_s);
        }
        ~WaitShown() {
            form_.songGrid->unsetCursor();
            form_.showWaitLabel(QString());
        }
        MainWindow& form_;
    } wait(*this);

    const QFontMetrics metrics(songGrid->font());
    ImportWidths widths;
    widths.mode = context_.options.general.columnWidthMode;
    widths.current = widthsAtClose().widths;
    widths.measure = [&metrics](const QString& text) { return metrics.horizontalAdvance(text); };
    context_.table.model().takeCutCellCount();
    const ImportOutcome outcome =
        importFromExcel(workbookEngine, path, window, context_.table, widths, context_.locale);
    context_.table.shownListFile.clear();
    startFreshTableHistory();
    if (context_.table.model().takeCutCellCount() > 0) {
        context_.ui.showMessage(this, longCellsCutMessage());
    }
    if (outcome.layout) {
        for (int column = 0; column < tableColumnCount; ++column) {
            songGrid->setColumnWidth(column,
                                     outcome.layout->widths[static_cast<std::size_t>(column)]);
        }
    }
    songGrid->showFromTopLeft();
    return outcome;
}

bool MainWindow::openListForStartWindow(QWidget* parent) {
    const QString path = context_.ui.chooseFileToOpen(parent, listOpenDialog());
    if (path.isEmpty()) {
        return false;
    }
    return readListIntoGrid(parent, path, context_.table.startStore().rowCount(),
                            ListOpenFailure::ResetTable) != ListRead::Stopped;
}

bool MainWindow::openListForStartWindow(QWidget* parent, const QString& path) {
    return readListIntoGrid(parent, path, context_.table.startStore().rowCount(),
                            ListOpenFailure::ResetTable) == ListRead::Read;
}

void MainWindow::saveListAs() {
    commitCellEdit();
    saveListWithDialog();
}

void MainWindow::saveList() {
    commitCellEdit();
    carryOut(flow_.saveRequested());
}

bool MainWindow::saveListWithDialog() {
    const QString path = context_.ui.chooseFileToSave(this, listSaveDialog());
    if (path.isEmpty()) {
        return false;
    }
    TableSession& table = context_.table;
    writeListFile(path, table.model());
    table.currentListFile = path;
    table.shownListFile = path;
    table.hasCurrentListFile = true;
    table.unsavedChanges = false;
    noteRecentList(context_, path);
    updateWindowTitle();
    return true;
}

bool MainWindow::saveListToCurrentFile() {
    TableSession& table = context_.table;
    // The flag is cleared only once the list is safely written: a failed save must still ask
    // before the program closes.
    writeListFile(table.currentListFile, table.model());
    table.unsavedChanges = false;
    noteRecentList(context_, table.currentListFile);
    updateWindowTitle();
    return true;
}

} // namespace corvanteller
