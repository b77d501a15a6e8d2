// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLocale>

#include <vector>

namespace corvanteller {

class SongTableModel;

// One column to sort by: SongColumn::Number to SongColumn::Maker.
struct SortKey {
    int column = 0;
    bool descending = false;
    bool operator==(const SortKey&) const = default;
};

// The order of rows 1 to N sorted by keys, the first key first: element i is the row that
// comes i-th. Texts compare by the locale's collation, numbers inside them by value ("Track 2"
// before "Track 10"), case and "ё"/"е" not counting; empty cells come last either way; rows
// with equal keys keep their order. The "#" column puts checked rows first, then goes by row.
std::vector<int> sortedRowOrder(const SongTableModel& table, const std::vector<SortKey>& keys,
                                const QLocale& locale);

} // namespace corvanteller
