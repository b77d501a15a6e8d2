// SPDX-License-Identifier: GPL-3.0-or-later
#include "write/table_text_writing.h"

#include "kar/kar_reader.h"
#include "kar/song_columns.h"
#include "rename/file_lookup.h"
#include "table/song_table_model.h"

#include <QFile>

#include <climits>
#include <cstdlib>

namespace corvanteller {

namespace {

QByteArray resolvedPath(const QByteArray& path) {
    char resolved[PATH_MAX];
    return ::realpath(path.constData(), resolved) != nullptr ? QByteArray(resolved) : QByteArray();
}

} // namespace

RunSet runSetOf(TableOrigin origin) {
    return origin == TableOrigin::StartWindow ? RunSet::StartWindow : RunSet::MainWindow;
}

std::vector<TextWriteRequest> textWriteRequests(const SongTableModel& model) {
    std::vector<TextWriteRequest> requests;
    FileLookup lookup;
    for (int row = 1; row <= model.songCount(); ++row) {
        const RowFile& file = model.rowFile(row);
        if (file.name.isEmpty()) {
            continue;
        }
        const std::optional<FoundFile> found = lookup.find(file);
        requests.push_back(
            {row, found ? found->path() : QFile::encodeName(file.folder + file.name),
             SongTexts{model.cell(row, SongColumn::Title), model.cell(row, SongColumn::TextD),
                       model.cell(row, SongColumn::TextE), model.cell(row, SongColumn::Maker)}});
    }
    return requests;
}

int rereadRowTexts(SongTableModel& model, const std::set<QByteArray>& files, RunSet runSet) {
    if (files.empty()) {
        return 0;
    }
    int reread = 0;
    FileLookup lookup;
    for (int row = 1; row <= model.songCount(); ++row) {
        const RowFile& file = model.rowFile(row);
        const std::optional<FoundFile> found =
            file.name.isEmpty() ? std::nullopt : lookup.find(file);
        if (!found || !files.contains(resolvedPath(found->path()))) {
            continue;
        }
        const KarReadResult read = readKaraokeFile(found->path(), runSet);
        if (!read.ok) {
            continue;
        }
        model.setCell(row, SongColumn::Title, read.texts.first);
        model.setCell(row, SongColumn::TextD, read.texts.second);
        model.setCell(row, SongColumn::TextE, read.texts.third);
        model.setCell(row, SongColumn::Maker, read.texts.fourth);
        ++reread;
    }
    return reread;
}

} // namespace corvanteller
