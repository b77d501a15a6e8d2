// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <vector>

class QByteArray;
class QString;

namespace corvanteller {

class SongTableModel;

// The rows whose title, D, E and maker texts equal those of an earlier row, compared as the
// filter compares them with the spaces inside collapsed; rows whose four texts are all empty
// are never duplicates. The first row of each group is not among them.
std::vector<int> rowsWithDuplicateTexts(const SongTableModel& table);

struct RowFile;

// The rows whose file has the same size and the same bytes as an earlier row's file. sizeOf
// gives a file's size (negative: no such file), hashOf the hash of its bytes (empty: unread);
// only files whose size another file has are read.
struct FileProbe {
    std::function<long long(const RowFile& file)> sizeOf;
    std::function<QByteArray(const RowFile& file)> hashOf;
};
std::vector<int> rowsWithIdenticalFiles(const SongTableModel& table, const FileProbe& probe);

} // namespace corvanteller
