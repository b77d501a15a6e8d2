// SPDX-License-Identifier: GPL-3.0-or-later
#include "table/table_find.h"

#include "kar/song_columns.h"
#include "table/song_table_model.h"

namespace corvanteller {

namespace {

constexpr int firstColumn = SongColumn::FileName;
constexpr int searchedColumns = tableColumnCount - firstColumn;

// The cells searched, numbered in reading order from 0.
int cellOrder(TableCell cell) {
    return (cell.row - 1) * searchedColumns + (cell.column - firstColumn);
}

TableCell cellAt(int order) {
    return {order / searchedColumns + 1, order % searchedColumns + firstColumn};
}

} // namespace

CellFindResult findCell(const SongTableModel& table, const FindPattern& pattern, TableCell current,
                        FindStep step) {
    CellFindResult result;
    const int cells = table.songCount() * searchedColumns;
    if (pattern.isEmpty() || cells == 0) {
        return result;
    }
    const bool inTable = current.row >= 1 && current.row <= table.songCount() &&
                         current.column >= 0 && current.column < tableColumnCount;
    const bool backwards = step == FindStep::Previous;
    // The first cell looked at; the "#" cell stands just before the row's first searched cell.
    int start = 0;
    if (!inTable) {
        start = backwards ? cells - 1 : 0;
    } else if (current.column < firstColumn) {
        start = cellOrder({current.row, firstColumn}) - (backwards ? 1 : 0);
    } else {
        start = cellOrder(current) + (step == FindStep::Next ? 1 : backwards ? -1 : 0);
    }
    bool wrapped = false;
    if (start >= cells || start < 0) {
        start = backwards ? cells - 1 : 0;
        wrapped = true;
    }
    auto matches = [&](int order) {
        const TableCell cell = cellAt(order);
        return pattern.foundIn(table.cellRef(cell.row, cell.column));
    };
    auto found = [&](int order, bool afterWrap) {
        result.outcome = {true, afterWrap};
        result.cell = cellAt(order);
        return result;
    };
    if (backwards) {
        for (int order = start; order >= 0; --order) {
            if (matches(order)) {
                return found(order, wrapped);
            }
        }
        for (int order = cells - 1; order > start; --order) {
            if (matches(order)) {
                return found(order, true);
            }
        }
    } else {
        for (int order = start; order < cells; ++order) {
            if (matches(order)) {
                return found(order, wrapped);
            }
        }
        for (int order = 0; order < start; ++order) {
            if (matches(order)) {
                return found(order, true);
            }
        }
    }
    return result;
}

} // namespace corvanteller
