#include "rename/rename_runs.h"

#include "common/file_io.h"
#include "common/file_names.h"
#include "common/seams.h"
#include "rename/file_lookup.h"
#include "rename/name_composer.h"
#include "rename/rename_journal.h"
#include "table/table_session.h"

#include <QHash>

#include <map>
#include <memory>
#include <set>
#include <utility>

namespace corvanteller {

using namespace Qt::StringLiterals;

namespace {

using FileKey = std::pair<quint64, quint64>;

FileKey keyOf(const EntryStatus& status) {
    return {status.device, status.inode};
}

// Failure messages while the user wants them and has not asked for no more.
class FailureMessages {
public:
    explicit FailureMessages(RenameServices& services) : services_(services) {}

    void fail(RowResult& row, const QString& text) {
        row.outcome = RowOutcome::Failed;
        row.message = text;
        if (!services_.errorMessages || silenced_ || !services_.showFailure) {
            return;
        }
        silenced_ = services_.showFailure(text) == MessageReply::NoMoreMessages;
    }

private:
    RenameServices& services_;
    bool silenced_ = false;
};

std::unique_ptr<RenameJournal> openJournal(const RenameServices& services,
                                           RenameRunResult& result) {
    try {
        return std::make_unique<RenameJournal>(services.journalPath);
    } catch (const IoError& error) {
        result.notice = journalUnavailableMessage(error.code());
        result.started = false;
        return nullptr;
    }
}

// False, with the notice set, when the journal could not take the line: the run must stop, or
// the rename could not be undone.
bool record(RenameJournal& journal, const QByteArray& oldPath, const QByteArray& newPath,
            RenameRunResult& result) {
    try {
        journal.recordRename(oldPath, newPath);
        return true;
    } catch (const IoError& error) {
        result.notice = journalUnavailableMessage(error.code());
        return false;
    }
}

// The row now stands for the renamed file, and so does the origin's slot for it, so that a
// rebuild before the next refresh keeps the new name.
void noteRenamed(TableSession& table, int row, const RowFile& before, const RowFile& after) {
    table.model().setRowFile(row, after);
    RowStore& store = table.originStore();
    if (row <= store.rowCount() && store.file(row) == before) {
        store.setFile(row, after);
        store.setText(SongColumn::FileName, row, after.name);
    }
}

bool isPossibleTypedName(const QString& name) {
    if (name.isEmpty() || name == u"."_s || name == u".."_s || name.contains(u'/')) {
        return false;
    }
    for (const QChar character : name) {
        if (character.unicode() < 0x20 || character.unicode() == 0x7F) {
            return false;
        }
    }
    return true;
}

QString complexFailureMessage(TableOrigin origin, const QString& path) {
    if (origin == TableOrigin::StartWindow) {
        return u"Не удалось переименовать "_s + path +
               u". Недопустимое новое имя файла или файл с таким именем, как новое имя файла, "
               u"уже существует. Или Файл занят другим приложением"_s;
    }
    return u"Can't rename "_s + path +
           u". Error in new name of a file or file with such name, as a new name of a file, "
           u"already exists. Or the file is busy by other application "_s;
}

QString emptyNameMessage(TableOrigin origin, const QString& path) {
    return u"Can't rename "_s + path + u". New name mustn't be empty string"_s +
           (origin == TableOrigin::StartWindow ? u". :)"_s : QString());
}

QString putBackFailureMessage(const QByteArray& newPath, const QByteArray& oldPath) {
    return u"Can't put back "_s + displayPath(newPath) + u" as "_s + displayPath(oldPath) + u"."_s;
}

// One row's rename and what follows from it for the row, the journal and the run.
struct RowRename {
    TableSession& table;
    RenameServices& services;
    RenameJournal& journal;
    RenameRunResult& result;
    std::set<FileKey>& renamedFiles;

    enum class Step { Renamed, Failed, StopRun };

    // failedPath receives the path the failure message names.
    Step run(int row, const RowFile& file, const FoundFile& found, const QString& newName,
             QString& failedPath) {
        failedPath = file.folder + file.name;
        if (renamedFiles.contains(keyOf(found.status))) {
            return Step::Failed;
        }
        const QByteArray newBytes = newName.toUtf8();
        const RenameOutcome outcome = renameWithoutReplacing(
            services.fileSystem, found.folder->descriptor(), found.name, newBytes);
        if (outcome.renamed()) {
            renamedFiles.insert(keyOf(found.status));
            noteRenamed(table, row, file, {file.folder, newName});
            ++result.renamed;
            table.renamedCount = result.renamed;
            if (found.name != newBytes &&
                !record(journal, found.path(), found.folder->path() + newBytes, result)) {
                return Step::StopRun;
            }
            return Step::Renamed;
        }
        if (!outcome.leftUnder.isEmpty()) {
            // The file could go neither on nor back: the row follows it to where it is.
            const RowFile stranded{file.folder, decodeFileName(outcome.leftUnder)};
            noteRenamed(table, row, file, stranded);
            failedPath = stranded.folder + stranded.name;
            record(journal, found.path(), found.folder->path() + outcome.leftUnder, result);
        }
        return Step::Failed;
    }
};

// "What files": every row, or only the checked ones.
bool chosenByWhatFiles(const SongTableModel& model, int row, const RenamingOptions& options) {
    return options.whatFiles != WhatFiles::OnlyChecked || model.isRowChecked(row);
}

// The new name complex renaming composes from the row's file name and texts.
ComposedName composeRowName(const NameRecipe& recipe, const SongTableModel& model, int row,
                            const Clock& clock) {
    const RowTexts texts{model.rowFile(row).name,
                         {model.cell(row, SongColumn::Title), model.cell(row, SongColumn::TextD),
                          model.cell(row, SongColumn::TextE), model.cell(row, SongColumn::Maker)}};
    return composeName(recipe, texts, clock.now());
}

} // namespace

QString nameColumnFailureMessage(const QString& path) {
    return u"Can't rename "_s + path +
           u". Imposible name of file or the file busy by another application."_s;
}

QString nothingToUndoMessage() {
    return u"There is no renaming to undo."_s;
}

QString noPartCheckedMessage() {
    return u"One or more items from the list should be checked."_s;
}

RenameRunResult renameFromNameColumn(TableSession& table, RenameServices& services) {
    RenameRunResult result;
    table.renamedCount = 0;
    const std::unique_ptr<RenameJournal> journal = openJournal(services, result);
    if (!journal) {
        return result;
    }
    SongTableModel& model = table.model();
    FileLookup lookup;
    FailureMessages messages(services);
    std::set<FileKey> renamedFiles;
    RowRename rename{table, services, *journal, result, renamedFiles};
    for (int row = 1; row <= model.songCount(); ++row) {
        RowResult& rowResult = result.rows.emplace_back(RowResult{row, RowOutcome::Skipped, {}});
        const QString cell = model.cell(row, SongColumn::FileName);
        const RowFile file = model.rowFile(row);
        if (cell == file.name) {
            continue;
        }
        const std::optional<FoundFile> found = lookup.find(file);
        if (!found) {
            continue;
        }
        if (!isPossibleTypedName(cell)) {
            messages.fail(rowResult, nameColumnFailureMessage(file.folder + file.name));
            continue;
        }
        QString failedPath;
        const RowRename::Step step = rename.run(row, file, *found, cell, failedPath);
        if (step == RowRename::Step::Failed) {
            messages.fail(rowResult, nameColumnFailureMessage(failedPath));
            continue;
        }
        rowResult.outcome = RowOutcome::Renamed;
        if (step == RowRename::Step::StopRun) {
            break;
        }
    }
    if (result.renamed > 0) {
        table.unsavedChanges = true;
    }
    return result;
}

RenameRunResult runComplexRename(TableSession& table, const RenamingOptions& options,
                                 const Clock& clock, RenameServices& services) {
    RenameRunResult result;
    const std::unique_ptr<RenameJournal> journal = openJournal(services, result);
    if (!journal) {
        return result;
    }
    const TableOrigin origin = table.origin;
    const NameRecipe recipe = NameRecipe::from(options);
    table.renamedCount = 0;
    table.renamingReport = true;
    SongTableModel& model = table.model();
    FileLookup lookup;
    FailureMessages messages(services);
    std::set<FileKey> renamedFiles;
    RowRename rename{table, services, *journal, result, renamedFiles};
    bool processed = false;
    for (int row = 1; row <= model.songCount(); ++row) {
        RowResult& rowResult = result.rows.emplace_back(RowResult{row, RowOutcome::Skipped, {}});
        const RowFile file = model.rowFile(row);
        const std::optional<FoundFile> found = lookup.find(file);
        if (!found || !chosenByWhatFiles(model, row, options)) {
            continue;
        }
        const ComposedName composed = composeRowName(recipe, model, row, clock);
        if (composed.name.isEmpty()) {
            processed = true;
            messages.fail(rowResult, emptyNameMessage(origin, file.folder + file.name));
            continue;
        }
        const QString newName = composed.name + composedExtension;
        QString failedPath;
        const RowRename::Step step = rename.run(row, file, *found, newName, failedPath);
        if (step == RowRename::Step::Failed) {
            messages.fail(rowResult, complexFailureMessage(origin, failedPath));
            continue;
        }
        model.setCell(row, SongColumn::FileName, newName);
        processed = true;
        rowResult.outcome = RowOutcome::Renamed;
        if (step == RowRename::Step::StopRun) {
            break;
        }
    }
    if (processed) {
        table.keepTableOnce = true;
    }
    if (result.renamed > 0) {
        table.unsavedChanges = true;
    }
    return result;
}

std::vector<PreviewRow> previewComplexRename(const TableSession& table,
                                             const RenamingOptions& options, const Clock& clock,
                                             FileSystemCalls& fileSystem) {
    std::vector<PreviewRow> preview;
    const NameRecipe recipe = NameRecipe::from(options);
    const SongTableModel& model = table.model();
    FileLookup lookup;
    QHash<QByteArray, int> firstRowOfPath;
    for (int row = 1; row <= model.songCount(); ++row) {
        const RowFile& file = model.rowFile(row);
        const std::optional<FoundFile> found = lookup.find(file);
        if (!found || !chosenByWhatFiles(model, row, options)) {
            continue;
        }
        const ComposedName composed = composeRowName(recipe, model, row, clock);
        PreviewRow& shown = preview.emplace_back(PreviewRow{row, file.name, {}, {}});
        if (composed.name.isEmpty()) {
            shown.remarks.append(u"empty name"_s);
            continue;
        }
        shown.newName = composed.name + composedExtension;
        const QByteArray newBytes = shown.newName.toUtf8();
        const QByteArray newPath = found->folder->path() + newBytes;
        if (const auto earlier = firstRowOfPath.constFind(newPath);
            earlier != firstRowOfPath.constEnd()) {
            shown.remarks.append(u"same new name as row %1"_s.arg(*earlier));
        } else {
            firstRowOfPath.insert(newPath, row);
        }
        EntryStatus existing;
        if (newBytes != found->name &&
            fileSystem.status(found->folder->descriptor(), newBytes, existing) == 0 &&
            !existing.sameEntry(found->status)) {
            shown.remarks.append(u"a file of this name exists"_s);
        }
        if (composed.cut) {
            shown.remarks.append(u"cut to 255 bytes"_s);
        }
    }
    return preview;
}

RenameRunResult undoLastRenaming(TableSession& table, RenameServices& services) {
    RenameRunResult result;
    const std::unique_ptr<RenameJournal> journal = openJournal(services, result);
    if (!journal) {
        return result;
    }
    std::vector<JournalRename> renames;
    try {
        renames = journal->lastRunToUndo();
    } catch (const IoError& error) {
        result.notice = journalUnavailableMessage(error.code());
        result.started = false;
        return result;
    }
    if (renames.empty()) {
        result.notice = nothingToUndoMessage();
        result.started = false;
        return result;
    }
    table.renamedCount = 0;
    SongTableModel& model = table.model();

    std::map<FileKey, std::vector<int>> rowsOfFile;
    FileLookup lookup;
    for (int row = 1; row <= model.songCount(); ++row) {
        if (const std::optional<FoundFile> found = lookup.find(model.rowFile(row))) {
            rowsOfFile[keyOf(found->status)].push_back(row);
        }
    }

    FailureMessages messages(services);
    for (const JournalRename& rename : renames) {
        RowResult& rowResult = result.rows.emplace_back();
        const qsizetype oldSlash = rename.oldPath.lastIndexOf('/');
        const qsizetype newSlash = rename.newPath.lastIndexOf('/');
        const QByteArray folderPath = rename.newPath.left(newSlash + 1);
        const QByteArray oldName = rename.oldPath.mid(oldSlash + 1);
        const QByteArray newName = rename.newPath.mid(newSlash + 1);
        const QString message = putBackFailureMessage(rename.newPath, rename.oldPath);
        if (newSlash < 0 || rename.oldPath.left(oldSlash + 1) != folderPath || oldName.isEmpty() ||
            newName.isEmpty()) {
            messages.fail(rowResult, message);
            continue;
        }
        const std::shared_ptr<const OpenFolder> folder = openFolderBytes(folderPath);
        EntryStatus renamed;
        if (!folder || services.fileSystem.status(folder->descriptor(), newName, renamed) != 0 ||
            renamed.isFolder) {
            continue; // the renamed file is no longer there
        }
        const RenameOutcome outcome =
            renameWithoutReplacing(services.fileSystem, folder->descriptor(), newName, oldName);
        if (!outcome.renamed()) {
            messages.fail(rowResult, message);
            continue;
        }
        rowResult.outcome = RowOutcome::Renamed;
        ++result.renamed;
        table.renamedCount = result.renamed;
        const auto rows = rowsOfFile.find(keyOf(renamed));
        if (rows == rowsOfFile.end()) {
            continue;
        }
        for (const int row : rows->second) {
            const RowFile before = model.rowFile(row);
            const RowFile after{before.folder, decodeFileName(oldName)};
            noteRenamed(table, row, before, after);
            model.setCell(row, SongColumn::FileName, after.name);
        }
    }
    try {
        journal->recordUndo(renames.front().run);
    } catch (const IoError& error) {
        result.notice = journalUnavailableMessage(error.code());
    }
    if (result.renamed > 0) {
        table.unsavedChanges = true;
    }
    return result;
}

} // namespace corvanteller
