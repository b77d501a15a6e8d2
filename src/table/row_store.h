#pragma once

#include <QString>

#include <array>
#include <vector>

namespace corvanteller {

// Six text columns (file name, folder, the four descriptive texts) of 45,002 slots indexed by
// row numbers 1 to 45,002, and a row count. The start window and the main window own one each.
class RowStore {
public:
    static constexpr int maxRows = 45002;
    static constexpr int columnCount = 6;

    RowStore();

    int rowCount() const { return rowCount_; }
    // Counts above the capacity are refused; callers keep to the limit.
    void setRowCount(int count);

    // column 1 to 6, row 1 to maxRows.
    const QString& text(int column, int row) const { return columns_[slot(column)][row]; }
    void setText(int column, int row, const QString& text) { columns_[slot(column)][row] = text; }

private:
    static std::size_t slot(int column) { return static_cast<std::size_t>(column - 1); }

    std::array<std::vector<QString>, columnCount> columns_;
    int rowCount_ = 0;
};

} // namespace corvanteller
