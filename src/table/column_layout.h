// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "kar/song_columns.h"

#include <array>

namespace corvanteller {

// Widths in pixels of the song table's columns 0 to 6.
using ColumnWidthList = std::array<int, tableColumnCount>;

// The three column-width modes of the General settings.
enum class ColumnWidthMode { Fixed = 0, User = 1, WidestLine = 2 };

inline constexpr ColumnWidthList fixedColumnWidths = {40, 90, 140, 190, 155, 155, 200};

} // namespace corvanteller
