// SPDX-License-Identifier: GPL-3.0-or-later
#include "table/table_duplicates.h"

#include "common/find_pattern.h"
#include "table/song_table_model.h"

#include <QHash>
#include <QSet>

#include <map>

namespace corvanteller {

std::vector<int> rowsWithDuplicateTexts(const SongTableModel& table) {
    std::vector<int> duplicates;
    QSet<QString> seen;
    for (int row = 1; row <= table.songCount(); ++row) {
        QString key;
        bool empty = true;
        for (int column = SongColumn::Title; column <= SongColumn::Maker; ++column) {
            const QString text = foldedForMatching(table.cellRef(row, column).simplified());
            empty = empty && text.isEmpty();
            key += text + QChar(u'\x1f');
        }
        if (empty) {
            continue;
        }
        if (seen.contains(key)) {
            duplicates.push_back(row);
        } else {
            seen.insert(key);
        }
    }
    return duplicates;
}

std::vector<int> rowsWithIdenticalFiles(const SongTableModel& table, const FileProbe& probe) {
    std::map<long long, std::vector<int>> rowsBySize;
    for (int row = 1; row <= table.songCount(); ++row) {
        const RowFile& file = table.rowFile(row);
        if (!file.isEmpty()) {
            const long long size = probe.sizeOf(file);
            if (size >= 0) {
                rowsBySize[size].push_back(row);
            }
        }
    }
    std::vector<int> duplicates;
    for (const auto& [size, rows] : rowsBySize) {
        if (rows.size() < 2) {
            continue;
        }
        QSet<QByteArray> seen;
        for (const int row : rows) {
            const RowFile& file = table.rowFile(row);
            const QByteArray hash = probe.hashOf(file);
            if (hash.isEmpty()) {
                continue;
            }
            if (seen.contains(hash)) {
                duplicates.push_back(row);
            } else {
                seen.insert(hash);
            }
        }
    }
    std::sort(duplicates.begin(), duplicates.end());
    return duplicates;
}

} // namespace corvanteller
