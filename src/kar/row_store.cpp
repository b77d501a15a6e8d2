// SPDX-License-Identifier: GPL-3.0-or-later
#include "kar/row_store.h"

#include <stdexcept>

namespace corvanteller {

RowStore::RowStore() {
    for (std::vector<QString>& column : columns_) {
        column.resize(maxRows + 1);
    }
    files_.resize(maxRows + 1);
}

void RowStore::setRowCount(int count) {
    if (count < 0 || count > maxRows) {
        throw std::out_of_range("row count outside the row store");
    }
    rowCount_ = count;
}

} // namespace corvanteller
