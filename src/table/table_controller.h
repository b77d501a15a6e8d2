// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "table/list_file.h"
#include "table/table_sort.h"

#include <QLocale>
#include <QMetaObject>

#include <optional>
#include <vector>

namespace corvanteller {

class SongTableModel;
class TableHistory;
class TableSession;

// The main window's table commands that change its contents: each is a step of the table's
// undo history, refreshes both row stores at once (so that the next activation rebuilds the
// same rows) and counts as an unsaved change. Typed and pasted cells are recorded as the grid
// writes them.
class TableController {
public:
    TableController(TableSession& session, const QLocale& locale);
    ~TableController();
    TableController(const TableController&) = delete;
    TableController& operator=(const TableController&) = delete;

    // A header click: ascending, or descending when the last sort was this column ascending.
    SortKey sortBy(int column);
    // The sort the header shows, if the table is still in it.
    std::optional<SortKey> shownSort() const;

    void toggleMarks(const std::vector<int>& rows);
    // Checks (true), unchecks (false) or toggles (nothing) the rows' marks, as one step.
    void setMarks(const std::vector<int>& rows, std::optional<bool> checked);
    void setAllMarks(bool checked);
    // "&Add row" at selectedRow; false when the table is full.
    bool addRowAt(int selectedRow);
    // Takes the rows out of the table (never a file); the number taken.
    int removeRows(const std::vector<int>& rows);

    TableHistory& history();
    void undo();
    void redo();
    // A new table (a scan, a list, an import) or files changed on disk: nothing to undo.
    void startFreshHistory();

    // Reads the list into the table; a list read, or a table reset by a failed read, starts a
    // fresh history, and a list read names the window.
    ListOpenResult openList(const QString& path, int originRowCount, ListOpenFailure failure);
    // The list written to path, which becomes the current list file; or to the current one.
    // The unsaved-changes flag clears only once the list is safely written.
    void saveListAs(const QString& path);
    void saveListToCurrentFile();

private:
    void recordCellEdit(int row, int column, const QString& before);
    void changed();

    TableSession& session_;
    QLocale locale_;
    std::optional<SortKey> shownSort_;
    QMetaObject::Connection cellEdits_;
};

// "typing in row 12", "sort by title": the steps' names.
QString sortStepName(SortKey key);

// The checked rows (1-based).
std::vector<int> checkedRows(const SongTableModel& model);
// The rows as corvanteller-cli scan prints them: TAB-separated texts, a line each.
QString rowsAsScanLines(const SongTableModel& model, const std::vector<int>& rows);
// The folder of the row's file, or its folder cell for a row without a file.
QString rowFolder(const SongTableModel& model, int row);

} // namespace corvanteller
