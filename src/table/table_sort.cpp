// SPDX-License-Identifier: GPL-3.0-or-later
#include "table/table_sort.h"

#include "table/song_table_model.h"

#include <QCollator>

#include <algorithm>
#include <numeric>

namespace corvanteller {
namespace {

QString foldedForSorting(const QString& text) {
    QString folded = text;
    folded.replace(u'ё', u'е').replace(u'Ё', u'Е');
    return folded;
}

// Compares two rows by one key; negative, zero or positive.
class KeyOrder {
public:
    KeyOrder(const SongTableModel& table, SortKey key, const QCollator& collator) : key_(key) {
        const int rows = table.songCount();
        empty_.resize(static_cast<std::size_t>(rows) + 1);
        if (key.column == SongColumn::Number) {
            return;
        }
        // A sort key per cell: collating 45,002 texts once instead of at every comparison.
        sortKeys_.reserve(static_cast<std::size_t>(rows) + 1);
        sortKeys_.push_back(collator.sortKey(QString()));
        for (int row = 1; row <= rows; ++row) {
            const QString& text = table.cellRef(row, key.column);
            empty_[static_cast<std::size_t>(row)] = text.trimmed().isEmpty();
            sortKeys_.push_back(collator.sortKey(foldedForSorting(text)));
        }
    }

    int compare(const SongTableModel& table, int left, int right) const {
        if (key_.column == SongColumn::Number) {
            const bool leftChecked = table.isRowChecked(left);
            const bool rightChecked = table.isRowChecked(right);
            const int byMark = leftChecked == rightChecked ? 0 : (leftChecked ? -1 : 1);
            return directed(byMark != 0 ? byMark : left - right);
        }
        const bool leftEmpty = empty_[static_cast<std::size_t>(left)];
        const bool rightEmpty = empty_[static_cast<std::size_t>(right)];
        if (leftEmpty || rightEmpty) {
            return int(leftEmpty) - int(rightEmpty); // empty cells last, in either direction
        }
        return directed(sortKeys_[static_cast<std::size_t>(left)].compare(
            sortKeys_[static_cast<std::size_t>(right)]));
    }

private:
    int directed(int order) const { return key_.descending ? -order : order; }

    SortKey key_;
    std::vector<QCollatorSortKey> sortKeys_;
    std::vector<bool> empty_;
};

} // namespace

std::vector<int> sortedRowOrder(const SongTableModel& table, const std::vector<SortKey>& keys,
                                const QLocale& locale) {
    // Qt's collator for the C locale compares code points, with neither numbers nor case:
    // a machine without a locale sorts as an English one does.
    QCollator collator(locale.language() == QLocale::C ? QLocale(QLocale::English) : locale);
    collator.setNumericMode(true);
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::vector<KeyOrder> orders;
    orders.reserve(keys.size());
    for (const SortKey& key : keys) {
        orders.emplace_back(table, key, collator);
    }
    std::vector<int> order(static_cast<std::size_t>(table.songCount()));
    std::iota(order.begin(), order.end(), 1);
    std::stable_sort(order.begin(), order.end(), [&](int left, int right) {
        for (const KeyOrder& keyOrder : orders) {
            if (const int result = keyOrder.compare(table, left, right); result != 0) {
                return result < 0;
            }
        }
        return false;
    });
    return order;
}

} // namespace corvanteller
