// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "common/find_pattern.h"

namespace corvanteller {

class SongTableModel;

// A cell of the song table: row 1 to N, column 0 to 6.
struct TableCell {
    int row = 0;
    int column = 0;
    bool operator==(const TableCell&) const = default;
};

struct CellFindResult {
    FindOutcome outcome;
    TableCell cell;
};

// Finds a cell of the table whose text holds the pattern, in reading order (row by row, left to
// right) from the current cell: Typed from the current cell on, Next from the cell after it,
// Previous backwards from the cell before it; past the last cell it goes on from the first (and
// the other way round). Only the texts of columns 1 to 6 are searched: the "#" column holds
// numbers and check marks. A current cell outside the table starts at the first cell (for
// Previous, at the last). Reads the table only.
CellFindResult findCell(const SongTableModel& table, const FindPattern& pattern, TableCell current,
                        FindStep step);

} // namespace corvanteller
