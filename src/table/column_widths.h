// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "table/column_layout.h"
#include "table/song_table_model.h"

#include <QString>

#include <array>
#include <functional>

namespace corvanteller {

// A text's width in pixels in the grid's font; the window passes QFontMetrics, tests a fake.
using TextWidth = std::function<int(const QString&)>;

inline constexpr int gridLineWidth = 1;

struct ColumnLayout {
    ColumnWidthList widths{};
    WidestCellLengths widest;
};

// For each column 1 to 6, header row included: the length in characters of the cell that is
// strictly wider than every cell before it and not narrower than any after it (ties keep the
// earlier cell). Slot 7 is left as it was in previous.
WidestCellLengths widestCellLengths(const SongTableModel& model, const TextWidth& measure,
                                    const WidestCellLengths& previous = {});

// The widths of columns 0 to 6 for a mode, and the widest-cell lengths recorded with them.
// current: the widths the grid has now (mode 2 keeps column 0's); saved: the user's widths
// from the settings file (mode 1).
ColumnLayout applyColumnWidthMode(ColumnWidthMode mode, const SongTableModel& model,
                                  const ColumnWidthList& current, const ColumnWidthList& saved,
                                  const TextWidth& measure, const WidestCellLengths& previous = {});

} // namespace corvanteller
