// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "table/column_widths.h"

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QAction;
class QMenu;
class QModelIndex;
class QWidget;

namespace corvanteller {

class AppContext;
class BottomRow;
class TableController;
class TableHint;
class TablePane;

// The main window's commands on its table (sort, undo and redo, marks, removing and copying
// rows, find and filter) and what shows their results in the window: the Undo and Redo
// captions, the header's sort, the filter's status, the count label and the window's title.
class TableCommands {
public:
    struct Views {
        QWidget& window;
        TablePane& pane;
        BottomRow& bottomRow;
    };

    TableCommands(AppContext& context, TableController& controller, const Views& views);
    ~TableCommands();
    TableCommands(const TableCommands&) = delete;
    TableCommands& operator=(const TableCommands&) = delete;

    // The menu entries that show the table's state: Table > "Undo ...", "Redo ...", and the
    // pop-up menu.
    void useMenuEntries(QAction& undo, QAction& redo, QMenu& popup);

    void sortByColumn(int column);
    void undo();
    void redo();
    // Checks (true), unchecks (false) or toggles (nothing) the rows' marks, as one step.
    void markRows(const std::vector<int>& rows, std::optional<bool> checked);
    void markSelectedRows(bool checked);
    // Takes the rows out of the table once the user agrees; no file is touched.
    void removeSelectedRows();
    void removeCheckedRows();
    void copyRows();
    void copyFullPath();
    void openContainingFolder();
    void openFindBar();
    void openFilterBar();
    void markDuplicateRows();
    // Reads every file whose size another row's file has: the wait label shows meanwhile.
    void markIdenticalFiles();
    void addRow();

    // The Undo and Redo entries name the steps they would take; the header shows the sort;
    // the filter, the count and the title follow the table.
    void showTable();
    void showStatus(const QString& text);
    // "songs.sgl* - Corvanteller": the current list, and a star while it has unsaved changes.
    void showWindowTitle();

    ColumnWidthList columnWidths() const;
    void showColumnWidths(const ColumnWidthList& widths);
    void applyColumnWidthMode();

private:
    void connectViews();
    void connectGrid();
    void registerHint();
    void changeKeepingCurrentCell(const std::function<void()>& change);
    void toggleRowCheck(const QModelIndex& index);
    void toggleSelectedMarks(const QModelIndex& current);
    void removeRows(const std::vector<int>& rows);
    void applyFilter();
    void showCount();
    void commitCellEdit();

    AppContext& context_;
    TableController& controller_;
    Views views_;
    QAction* undo_ = nullptr;
    QAction* redo_ = nullptr;
    QMenu* popup_ = nullptr;
    std::unique_ptr<TableHint> hint_;
};

} // namespace corvanteller
