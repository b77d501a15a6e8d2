// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "table/table_sort.h"

#include <QLocale>
#include <QMetaObject>

#include <optional>
#include <vector>

namespace corvanteller {

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

} // namespace corvanteller
