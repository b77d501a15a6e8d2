// SPDX-License-Identifier: GPL-3.0-or-later
#include "table/table_filter.h"

#include "common/find_pattern.h"
#include "table/song_table_model.h"

namespace corvanteller {

std::vector<bool> rowsShownByFilter(const SongTableModel& table, const FindPattern& pattern,
                                    int column) {
    const int rows = table.songCount();
    std::vector<bool> shown(static_cast<std::size_t>(rows), true);
    if (pattern.isEmpty()) {
        return shown;
    }
    const int first = column == anyFilterColumn ? SongColumn::FileName : column;
    const int last = column == anyFilterColumn ? SongColumn::Maker : column;
    for (int row = 1; row <= rows; ++row) {
        bool found = false;
        for (int cell = first; cell <= last && !found; ++cell) {
            found = pattern.foundIn(table.cellRef(row, cell));
        }
        shown[static_cast<std::size_t>(row - 1)] = found;
    }
    return shown;
}

} // namespace corvanteller
