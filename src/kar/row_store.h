// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "kar/song_columns.h"

#include <QString>

#include <array>
#include <vector>

namespace corvanteller {

// The file a row of the table stands for: the folder (ending with "/") and the name under which
// the scan found it, or the "Way" and "Name of file" texts that a list file or a workbook gave.
// Editing the cells never changes it; only a successful rename changes its name. Empty for a
// row that "&Add row" made.
struct RowFile {
    QString folder;
    QString name;

    bool isEmpty() const { return folder.isEmpty() && name.isEmpty(); }
    bool operator==(const RowFile&) const = default;
};

// Six text columns (file name, folder, the four descriptive texts) of 45,002 slots indexed by
// row numbers 1 to 45,002, each slot with the file its row stands for, and a row count. The
// start window and the main window own one each.
class RowStore {
public:
    static constexpr int maxRows = 45002;
    static constexpr int columnCount = tableColumnCount - 1;

    RowStore();

    int rowCount() const { return rowCount_; }
    // Counts above the capacity are refused; callers keep to the limit.
    void setRowCount(int count);

    // column SongColumn::FileName to SongColumn::Maker, row 1 to maxRows.
    const QString& text(int column, int row) const { return columns_[slot(column)][row]; }
    void setText(int column, int row, const QString& text) { columns_[slot(column)][row] = text; }
    // row 1 to maxRows.
    const RowFile& file(int row) const { return files_[static_cast<std::size_t>(row)]; }
    void setFile(int row, const RowFile& file) { files_[static_cast<std::size_t>(row)] = file; }

private:
    static std::size_t slot(int column) { return static_cast<std::size_t>(column - 1); }

    std::array<std::vector<QString>, columnCount> columns_;
    std::vector<RowFile> files_;
    int rowCount_ = 0;
};

} // namespace corvanteller
