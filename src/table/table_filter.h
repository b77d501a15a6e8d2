// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <vector>

namespace corvanteller {

class FindPattern;
class SongTableModel;

// Any column of the filter: the file name, the folder and the four texts.
constexpr int anyFilterColumn = -1;

// One flag per row 1 to N (element 0 is row 1): the row holds the pattern in the column, or in
// any of its text columns, matched as the find bar matches. An empty pattern shows every row.
std::vector<bool> rowsShownByFilter(const SongTableModel& table, const FindPattern& pattern,
                                    int column);

} // namespace corvanteller
