// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/table_commands.h"

#include "app/app_context.h"
#include "app/app_texts.h"
#include "app/bottom_row.h"
#include "rename/file_lookup.h"
#include "table/table_controller.h"
#include "table/table_duplicates.h"
#include "table/table_hints.h"
#include "table/table_pane.h"
#include "table/table_texts.h"
#include "ui/error_guard.h"

#include <QAction>
#include <QClipboard>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMenu>

namespace corvanteller {

using namespace Qt::StringLiterals;

TableCommands::TableCommands(AppContext& context, TableController& controller, const Views& views)
    : context_(context), controller_(controller), views_(views),
      hint_(std::make_unique<TableHint>(context.random)) {
    connectViews();
    connectGrid();
    registerHint();
}

TableCommands::~TableCommands() = default;

void TableCommands::connectViews() {
    QWidget* window = &views_.window;
    UiServices& ui = context_.ui;
    QObject::connect(&views_.bottomRow, &BottomRow::checkAllToggled, window,
                     guard(window, ui, [this](bool checked) {
                         controller_.setAllMarks(checked);
                         showTable();
                     }));
    QObject::connect(&views_.bottomRow, &BottomRow::checkAllClicked, window,
                     guard(window, ui, [this] {
                         views_.bottomRow.showLastFolder(context_.options.lastFolder);
                     }));
    QObject::connect(&views_.pane, &TablePane::filterChanged, window,
                     guard(window, ui, [this] { applyFilter(); }));
    QObject::connect(&views_.pane, &TablePane::markShownRequested, window,
                     guard(window, ui, [this] { markRows(views_.pane.shownRows(), true); }));
    QObject::connect(&views_.pane, &TablePane::sortRequested, window,
                     guard(window, ui, [this](int column) { sortByColumn(column); }));
}

void TableCommands::connectGrid() {
    QWidget* window = &views_.window;
    SongGrid& grid = views_.pane.grid();
    grid.setToolTip(TableHint::initialText());
    grid.setContextMenuPolicy(Qt::CustomContextMenu);
    const auto changedByUser = [this] {
        context_.table.unsavedChanges = true;
        showWindowTitle();
    };
    QObject::connect(&grid, &SongGrid::focusedByUser, window, changedByUser);
    QObject::connect(&grid, &SongGrid::characterTyped, window, changedByUser);
    QObject::connect(
        &grid, &QTableView::doubleClicked, window,
        guard(window, context_.ui, [this](const QModelIndex& index) { toggleRowCheck(index); }));
    QObject::connect(&grid, &SongGrid::checkToggleRequested, window,
                     guard(window, context_.ui,
                           [this](const QModelIndex& index) { toggleSelectedMarks(index); }));
    QObject::connect(&grid, &QWidget::customContextMenuRequested, window, [this](QPoint pos) {
        if (popup_ != nullptr) {
            popup_->popup(views_.pane.grid().viewport()->mapToGlobal(pos));
        }
    });
}

void TableCommands::registerHint() {
    SongGrid* grid = &views_.pane.grid();
    context_.hints.setHintHandler(grid, [this, grid](HintRequest& request) {
        const TableHintShowing showing = hint_->beforeShow(grid->width());
        context_.hints.setHintHidePause(showing.hidePauseMs);
        request.show = showing.show;
        request.text = showing.text;
        request.hidePauseMs = showing.hidePauseMs;
        request.background =
            QColor(showing.background.red, showing.background.green, showing.background.blue);
        request.maxWidth = showing.maxWidth;
        request.pos += QPoint(showing.shiftRight, 0);
        grid->setToolTip(hint_->enabled() ? hint_->text() : QString());
    });
}

void TableCommands::useMenuEntries(QAction& undo, QAction& redo, QMenu& popup) {
    undo_ = &undo;
    redo_ = &redo;
    popup_ = &popup;
}

void TableCommands::commitCellEdit() {
    views_.pane.grid().commitOpenEditor();
}

void TableCommands::sortByColumn(int column) {
    changeKeepingCurrentCell([this, column] { controller_.sortBy(column); });
}

void TableCommands::undo() {
    changeKeepingCurrentCell([this] { controller_.undo(); });
}

void TableCommands::redo() {
    changeKeepingCurrentCell([this] { controller_.redo(); });
}

void TableCommands::changeKeepingCurrentCell(const std::function<void()>& change) {
    commitCellEdit();
    views_.pane.keepCurrentCellThrough(change);
    showStatus(context_.table.statusText());
    showTable();
}

void TableCommands::showTable() {
    const TableHistory& history = context_.table.history;
    if (undo_ != nullptr && redo_ != nullptr) {
        undo_->setText(u"&"_s + history.undoText());
        undo_->setEnabled(history.canUndo());
        redo_->setText(u"&"_s + history.redoText());
        redo_->setEnabled(history.canRedo());
    }
    views_.pane.showSort(controller_.shownSort());
    applyFilter();
    showCount();
    showWindowTitle();
}

void TableCommands::markRows(const std::vector<int>& rows, std::optional<bool> checked) {
    commitCellEdit();
    controller_.setMarks(rows, checked);
    showTable();
}

void TableCommands::markSelectedRows(bool checked) {
    markRows(views_.pane.selectedRows(), checked);
}

void TableCommands::toggleRowCheck(const QModelIndex& index) {
    views_.pane.grid().hideCellTooltip(true);
    views_.bottomRow.setAllChecked(false);
    if (index.isValid()) {
        views_.pane.grid().setCurrentIndex(index);
        controller_.toggleMarks({index.row() + 1});
        showTable();
    }
}

void TableCommands::toggleSelectedMarks(const QModelIndex& current) {
    const std::vector<int> rows = views_.pane.selectedRows();
    if (rows.size() > 1) {
        views_.bottomRow.setAllChecked(false);
        markRows(rows, std::nullopt);
    } else {
        toggleRowCheck(current);
    }
}

void TableCommands::removeRows(const std::vector<int>& rows) {
    commitCellEdit();
    if (rows.empty() || !context_.ui.askYesNo(&views_.window, tableTexts::removeRowsQuestion(
                                                                  static_cast<int>(rows.size())))) {
        return;
    }
    changeKeepingCurrentCell([this, &rows] { controller_.removeRows(rows); });
}

void TableCommands::removeSelectedRows() {
    removeRows(views_.pane.selectedRows());
}

void TableCommands::removeCheckedRows() {
    const std::vector<int> rows = checkedRows(context_.table.model());
    if (rows.empty()) {
        context_.ui.showMessage(&views_.window, tableTexts::noCheckedRows());
        return;
    }
    removeRows(rows);
}

void TableCommands::copyRows() {
    QGuiApplication::clipboard()->setText(
        rowsAsScanLines(context_.table.model(), views_.pane.selectedRows()));
}

void TableCommands::copyFullPath() {
    if (const int row = views_.pane.currentRow(); row > 0) {
        const RowFile& file = context_.table.model().rowFile(row);
        QGuiApplication::clipboard()->setText(file.folder + file.name);
    }
}

void TableCommands::openContainingFolder() {
    const int row = views_.pane.currentRow();
    const QString folder = row > 0 ? rowFolder(context_.table.model(), row) : QString();
    if (!folder.isEmpty() && !context_.ui.openWithDesktop(folder)) {
        context_.ui.showMessage(&views_.window, tableTexts::noProgramForFolder(folder));
    }
}

void TableCommands::openFindBar() {
    views_.pane.openFindBar();
}

void TableCommands::openFilterBar() {
    views_.pane.openFilterBar();
}

void TableCommands::applyFilter() {
    const bool wasFiltered = views_.pane.filtered();
    const int shown = views_.pane.applyFilter();
    if (shown >= 0) {
        showStatus(tableTexts::shownStatus(shown, context_.table.model().songCount()));
    } else if (wasFiltered) {
        showStatus(context_.table.statusText());
    }
    showCount();
}

void TableCommands::markDuplicateRows() {
    const std::vector<int> rows = rowsWithDuplicateTexts(context_.table.model());
    markRows(rows, true);
    context_.ui.showMessage(&views_.window,
                            tableTexts::duplicatesMarked(static_cast<int>(rows.size())));
}

void TableCommands::markIdenticalFiles() {
    views_.bottomRow.showWait(appTexts::wait());
    const std::vector<int> rows = rowsWithIdenticalFiles(context_.table.model(), rowFileProbe());
    views_.bottomRow.showWait(QString());
    markRows(rows, true);
    context_.ui.showMessage(&views_.window,
                            tableTexts::identicalFilesMarked(static_cast<int>(rows.size())));
}

void TableCommands::addRow() {
    const int current = views_.pane.currentRow();
    if (!controller_.addRowAt(current > 0 ? current : 1)) {
        context_.ui.showMessage(&views_.window, tableFullMessage());
    }
    showTable();
}

void TableCommands::showWindowTitle() {
    const TableSession& table = context_.table;
    views_.window.setWindowTitle(
        table.shownListFile.isEmpty()
            ? appTexts::programTitle()
            : tableTexts::listWindowTitle(QFileInfo(table.shownListFile).fileName(),
                                          table.unsavedChanges));
}

void TableCommands::showCount() {
    const SongTableModel& model = context_.table.model();
    const QLocale& locale = context_.locale;
    const int shown = views_.pane.shownRowCount();
    views_.bottomRow.showCount(
        tableTexts::countText(locale.toString(model.songCount()),
                              locale.toString(static_cast<int>(checkedRows(model).size())),
                              shown >= 0 ? locale.toString(shown) : QString()));
}

void TableCommands::showStatus(const QString& text) {
    views_.bottomRow.showStatus(text);
}

ColumnWidthList TableCommands::columnWidths() const {
    ColumnWidthList widths{};
    for (int column = 0; column < tableColumnCount; ++column) {
        widths[static_cast<std::size_t>(column)] = views_.pane.grid().columnWidth(column);
    }
    return widths;
}

void TableCommands::showColumnWidths(const ColumnWidthList& widths) {
    for (int column = 0; column < tableColumnCount; ++column) {
        views_.pane.grid().setColumnWidth(column, widths[static_cast<std::size_t>(column)]);
    }
}

void TableCommands::applyColumnWidthMode() {
    SongTableModel& model = context_.table.model();
    const QFontMetrics metrics(views_.pane.grid().font());
    const ColumnLayout layout = corvanteller::applyColumnWidthMode(
        context_.options.general.columnWidthMode, model, columnWidths(),
        context_.options.savedColumnWidths,
        [&metrics](const QString& text) { return metrics.horizontalAdvance(text); },
        model.widestCellLengths());
    showColumnWidths(layout.widths);
    model.setWidestCellLengths(layout.widest);
}

} // namespace corvanteller
