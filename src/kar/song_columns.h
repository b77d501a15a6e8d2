// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace corvanteller {

// The song table's columns: "#", the file name, the folder and the four descriptive texts of a
// karaoke file. The row stores keep columns 1 to 6.
namespace SongColumn {
enum : int { Number = 0, FileName, Folder, Title, TextD, TextE, Maker };
} // namespace SongColumn

inline constexpr int tableColumnCount = 7;

} // namespace corvanteller
