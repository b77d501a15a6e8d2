// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/list_commands.h"

#include "app/app_context.h"
#include "app/list_dialogs.h"
#include "app/recent_lists_menu.h"
#include "office/excel_import.h"
#include "table/list_file.h"
#include "table/table_controller.h"
#include "ui/ui_services.h"

namespace corvanteller {

ListCommands::ListCommands(AppContext& context, TableController& controller,
                           WorkbookEngine& workbooks, QWidget* mainWindow, TableView view)
    : context_(context), controller_(controller), workbooks_(workbooks), mainWindow_(mainWindow),
      view_(std::move(view)) {}

ListCommands::ListRead ListCommands::readList(QWidget* parent, const QString& path,
                                              int originRowCount, ListOpenFailure failure) {
    // The start window's open resets the table first, so it stays reset when the file cannot be
    // read; the main window's keeps the table until the whole list is read.
    if (failure == ListOpenFailure::ResetTable) {
        view_.showColumnWidths(fixedColumnWidths);
    }
    const ListOpenResult result = controller_.openList(path, originRowCount, failure);
    if (result.opened() && failure == ListOpenFailure::KeepTable) {
        view_.showColumnWidths(fixedColumnWidths);
    }
    view_.showTable();
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
    view_.showFromTopLeft(true);
    noteRecentList(context_, path);
    return ListRead::Read;
}

void ListCommands::openListFromDialog(const QString& droppedPath) {
    const QString path = droppedPath.isEmpty()
                             ? context_.ui.chooseFileToOpen(mainWindow_, listOpenDialog())
                             : droppedPath;
    if (path.isEmpty()) {
        return;
    }
    TableSession& table = context_.table;
    // A list that cannot be read leaves the table, the row stores and the status line as they
    // were.
    if (readList(mainWindow_, path, table.originStore().rowCount(), ListOpenFailure::KeepTable) ==
        ListRead::Read) {
        // Into both row stores with their counts at once: when the save-changes prompt was
        // shown, the window's next activation rebuilds the table without a deactivation first.
        table.refreshStores();
        view_.showStatus(processedStatusText(table.model().songCount()));
    }
}

bool ListCommands::openListForStartWindow(QWidget* parent) {
    const QString path = context_.ui.chooseFileToOpen(parent, listOpenDialog());
    if (path.isEmpty()) {
        return false;
    }
    return readList(parent, path, context_.table.startStore().rowCount(),
                    ListOpenFailure::ResetTable) != ListRead::Stopped;
}

bool ListCommands::openListForStartWindow(QWidget* parent, const QString& path) {
    return readList(parent, path, context_.table.startStore().rowCount(),
                    ListOpenFailure::ResetTable) == ListRead::Read;
}

bool ListCommands::saveListWithDialog() {
    const QString path = context_.ui.chooseFileToSave(mainWindow_, listSaveDialog());
    if (path.isEmpty()) {
        return false;
    }
    controller_.saveListAs(path);
    noteRecentList(context_, path);
    view_.showTable();
    return true;
}

bool ListCommands::saveListToCurrentFile() {
    controller_.saveListToCurrentFile();
    noteRecentList(context_, context_.table.currentListFile);
    view_.showTable();
    return true;
}

void ListCommands::importWorkbookFromDialog(const QString& droppedPath) {
    const QString path = droppedPath.isEmpty()
                             ? context_.ui.chooseFileToOpen(mainWindow_, excelOpenDialog())
                             : droppedPath;
    if (path.isEmpty()) {
        return;
    }
    view_.showStatus(importFile(path, ImportingWindow::Main).statusText);
    // As after an open: the next activation may rebuild the table from the stores.
    context_.table.refreshStores();
}

bool ListCommands::importExcelForStartWindow(QWidget* parent) {
    return importExcelForStartWindow(parent,
                                     context_.ui.chooseFileToOpen(parent, excelOpenDialog()));
}

bool ListCommands::importExcelForStartWindow(QWidget*, const QString& path) {
    if (path.isEmpty()) {
        return false;
    }
    importFile(path, ImportingWindow::Start);
    return true;
}

ImportOutcome ListCommands::importFile(const QString& path, ImportingWindow window) {
    // The hourglass and "Wait..." go back whatever happens to the import.
    struct BusyShown {
        explicit BusyShown(const TableView& view) : view_(view) { view_.showBusy(true); }
        ~BusyShown() { view_.showBusy(false); }
        const TableView& view_;
    } busy(view_);

    ImportWidths widths;
    widths.mode = context_.options.general.columnWidthMode;
    widths.current = view_.columnWidths();
    widths.measure = view_.textWidthInGrid();
    context_.table.model().takeCutCellCount();
    const ImportOutcome outcome =
        importFromExcel(workbooks_, path, window, context_.table, widths, context_.locale);
    context_.table.shownListFile.clear();
    controller_.startFreshHistory();
    view_.showTable();
    if (context_.table.model().takeCutCellCount() > 0) {
        context_.ui.showMessage(mainWindow_, longCellsCutMessage());
    }
    if (outcome.layout) {
        view_.showColumnWidths(outcome.layout->widths);
    }
    view_.showFromTopLeft(false);
    return outcome;
}

} // namespace corvanteller
