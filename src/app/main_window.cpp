// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/main_window.h"

#include "app/app_context.h"
#include "app/app_texts.h"
#include "app/bottom_row.h"
#include "app/file_commands.h"
#include "app/list_commands.h"
#include "app/main_menus.h"
#include "app/office_commands.h"
#include "app/table_commands.h"
#include "rename/complex_rename_dialog.h"
#include "table/save_changes_prompt.h"
#include "table/table_controller.h"
#include "table/table_pane.h"
#include "text/text_view.h"
#include "ui/dropped_file.h"
#include "ui/menu_keys.h"
#include "ui/screen_fit.h"
#include "write/text_write_preview_window.h"

#include <QCloseEvent>
#include <QMenuBar>
#include <QMimeData>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>

namespace corvanteller {

using namespace Qt::StringLiterals;

MainWindow::MainWindow(AppContext& context, QWidget* parent)
    : ProgramWindow(context.windowServices(), parent), context_(context), flow_(context.table),
      tableController_(std::make_unique<TableController>(context.table, context.locale)) {
    setWindowTitle(appTexts::programTitle());
    setAcceptDrops(true);
    buildClient();
    buildFileCommands();
    buildListCommands();
    buildMenus();
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
    tableCommands_->showTable();
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
    tableCommands_ = std::make_unique<TableCommands>(
        context_, *tableController_, TableCommands::Views{*this, *tablePane, *bottomRow});
}

void MainWindow::buildMenus() {
    const MainMenuCommands commands{
        .context = context_,
        .table = *tableCommands_,
        .files = *fileCommands_,
        .office = *officeCommands_,
        .newScanning = [this] { startNewScanning(); },
        .openList = [this] { openList(); },
        .openRecentList =
            [this](const QString& path) {
                commitCellEdit();
                droppedPath_ = path;
                carryOut(flow_.listOpenRequested());
            },
        .saveList = [this] { carryOut(flow_.saveRequested()); },
        .saveListAs = [this] { listCommands_->saveListWithDialog(); },
        .importExcel = [this] { importExcel(); },
        .showTextView = [this](TextViewMode mode) { showTextView(mode); },
        .complexRenaming = [this] { complexRenaming_->showFor(this); },
        .previewTextWriting =
            [this] { textWritePreview_->showRows(fileCommands_->previewTextWriting()); },
        .exit = [this] { close(); },
    };
    const AddMenuCommand add = [this](QMenu* menu, const char* name, const QString& caption,
                                      std::function<void()> command) {
        return addCommand(menu, name, caption, std::move(command));
    };
    const MainMenuEntries entries = buildMainMenus(*menuBar(), *this, add, commands);
    tableCommands_->useMenuEntries(*entries.undo, *entries.redo, *entries.popup);
    reachMenusByKeyboard(*menuBar());
}

void MainWindow::beforeCommand() {
    commitCellEdit();
}

// Built before the menus that call them.
void MainWindow::buildFileCommands() {
    textWritePreview_ = new TextWritePreviewWindow(this);
    TableCommands& table = *tableCommands_;
    const FileCommands::Views views{[&table](const QString& status) { table.showStatus(status); },
                                    [&table] { table.showTable(); }};
    fileCommands_ = std::make_unique<FileCommands>(context_, *tableController_, this, views);
    connect(textWritePreview_, &TextWritePreviewWindow::writeChosen, this,
            guard(this, context_.ui, [this] { fileCommands_->writePreviewedTexts(); }));
    officeCommands_ = std::make_unique<OfficeCommands>(
        context_, this,
        [this](std::optional<TextViewMode> mode, const std::function<void(const TextView&)>& use) {
            useTextView(mode, use);
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
    tableCommands_->applyColumnWidthMode();
    tableCommands_->showStatus(context_.table.statusText());
    tableCommands_->showTable();
}

void MainWindow::onDeactivated() {
    commitCellEdit();
    context_.table.refreshStores();
}

TableWidthsAtClose MainWindow::widthsAtClose() const {
    return {isVisible(), tableCommands_->columnWidths()};
}

void MainWindow::applyColumnWidthMode() {
    tableCommands_->applyColumnWidthMode();
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
    tableCommands_->showTable();
    tableCommands_->applyColumnWidthMode();
    tableCommands_->showStatus(table.statusText());
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
    TableCommands& table = *tableCommands_;
    view.columnWidths = [&table] { return table.columnWidths(); };
    view.showColumnWidths = [&table](const ColumnWidthList& widths) {
        table.showColumnWidths(widths);
    };
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
    view.showTable = [&table] { table.showTable(); };
    view.showStatus = [&table](const QString& status) { table.showStatus(status); };
    view.showBusy = [this](bool busy) { bottomRow->showBusy(tablePane->grid(), busy); };
    listCommands_ = std::make_unique<ListCommands>(context_, *tableController_,
                                                   officeCommands_->workbookEngine(), this, view);
}

} // namespace corvanteller
