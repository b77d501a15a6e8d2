// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "table/song_grid.h"
#include "table/table_sort.h"

#include <QWidget>

#include <functional>
#include <optional>
#include <vector>

namespace corvanteller {

class FilterBar;
class FindBar;
class SongTableModel;
enum class FindStep;

// The song grid with the filter line above it and the find bar below it: what the main window
// shows of its table, with the selection and the filter the table commands work on.
class TablePane final : public QWidget {
    Q_OBJECT

public:
    TablePane(SongTableModel& model, QWidget* parent = nullptr);

    SongGrid& grid() const { return *songGrid; }

    void openFindBar();
    void openFilterBar();
    // Hides the rows the filter line does not show: the shown count, or -1 when every row is
    // shown.
    int applyFilter();
    bool filtered() const { return shownRows_ >= 0; }
    int shownRowCount() const { return shownRows_; }

    // The rows of the selection, or the current row when nothing is selected (1-based).
    std::vector<int> selectedRows() const;
    // The rows the filter shows (1-based).
    std::vector<int> shownRows() const;
    // The current row (1-based), 0 without one.
    int currentRow() const;
    // A change of the whole table resets the view's current cell: the keyboard stays where it
    // was.
    void keepCurrentCellThrough(const std::function<void()>& change);

    // The header's sort indicator, for the sort the table is still in.
    void showSort(std::optional<SortKey> sort);

Q_SIGNALS:
    // A click on a column header.
    void sortRequested(int column);
    void filterChanged();
    void markShownRequested();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void layoutBars();
    void findInTable(const QString& text, FindStep step);

    SongTableModel& model_;
    SongGrid* songGrid = nullptr;
    FindBar* findBar = nullptr;
    FilterBar* filterBar = nullptr;
    int shownRows_ = -1; // while a filter hides rows
};

} // namespace corvanteller
