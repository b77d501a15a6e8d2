// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "table/column_layout.h"

#include <QString>

#include <functional>

class QWidget;

namespace corvanteller {

class AppContext;
class TableController;
class WorkbookEngine;
enum class ImportingWindow;
enum class ListOpenFailure;
struct ImportOutcome;

// The commands that read a table from a list file or a workbook, from either window, and the
// list saves. The table is the main window's, which shows it through the view it hands in.
class ListCommands {
public:
    struct TableView {
        std::function<ColumnWidthList()> columnWidths;
        std::function<void(const ColumnWidthList&)> showColumnWidths;
        // What measures a text's width in the grid's font.
        std::function<std::function<int(const QString&)>()> textWidthInGrid;
        // A new table shown from its first row; with the first row's file name current.
        std::function<void(bool firstRowCurrent)> showFromTopLeft;
        // The history, the title and the counts after the table changed.
        std::function<void()> showTable;
        std::function<void(const QString&)> showStatus;
        // The hourglass and "Wait..." on (true) and off.
        std::function<void(bool)> showBusy;
    };

    ListCommands(AppContext& context, TableController& controller, WorkbookEngine& workbooks,
                 QWidget* mainWindow, TableView view);

    // "&Open Corvanteller list..." and "&Import from Excel file" of the main window, once the
    // table may be replaced: the dropped path, if any, in place of the dialog.
    void openListFromDialog(const QString& droppedPath);
    void importWorkbookFromDialog(const QString& droppedPath);
    // False when the dialog was cancelled.
    bool saveListWithDialog();
    bool saveListToCurrentFile();

    // The start window's "Open Corvanteller list...": reads the list into the table. False when
    // the dialog was cancelled or the reading stopped at a damaged count line: the start window
    // then stays.
    bool openListForStartWindow(QWidget* parent);
    // The same for a list named on the command line, which is handed over only when it was read:
    // after the message of a damaged list the start window stays, as before.
    bool openListForStartWindow(QWidget* parent, const QString& path);
    // The start window's "Import from Excel file". False when the dialog was cancelled.
    bool importExcelForStartWindow(QWidget* parent);
    bool importExcelForStartWindow(QWidget* parent, const QString& path);

private:
    enum class ListRead { Read, Refused, Stopped };

    ListRead readList(QWidget* parent, const QString& path, int originRowCount,
                      ListOpenFailure failure);
    ImportOutcome importFile(const QString& path, ImportingWindow window);

    AppContext& context_;
    TableController& controller_;
    WorkbookEngine& workbooks_;
    QWidget* mainWindow_;
    TableView view_;
};

} // namespace corvanteller
