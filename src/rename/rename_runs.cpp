// SPDX-License-Identifier: GPL-3.0-or-later
#include "rename/rename_runs.h"

#include "common/file_io.h"
#include "common/file_names.h"
#include "common/seams.h"
#include "kar/karaoke_name.h"
#include "rename/file_lookup.h"
#include "rename/name_composer.h"
#include "rename/rename_journal.h"
#include "rename/rename_texts.h"
#include "table/table_session.h"

#include <QHash>

#include <algorithm>
#include <cerrno>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <sys/stat.h>
#include <tuple>
#include <utility>

namespace corvanteller {

using namespace Qt::StringLiterals;

namespace {

// The failure of a row, its message shown while the user wants them. Without services (a dry
// run) the texts are only kept.
class RowFailures {
public:
    RowFailures(RenameServices* services, RenameJournal* journal)
        : messages_(services != nullptr && services->errorMessages,
                    services != nullptr ? services->showFailure : FailureMessages::Show(),
                    [journal] {
                        if (journal != nullptr) {
                            // What is written is on disk while the user reads.
                            try {
                                journal->flush();
                            } catch (const IoError&) {
                                // The run's end reports it.
                            }
                        }
                    }) {}

    void fail(RowResult& row, const QString& text, const QString& remark = {}) {
        row.outcome = RowOutcome::Failed;
        row.message = text;
        if (!remark.isEmpty()) {
            row.remarks.append(remark);
        }
        messages_.show(text);
    }

private:
    FailureMessages messages_;
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

// The row now stands for the renamed file, and so does the origin's slot for it, so that a
// rebuild before the next refresh keeps the new name.
// The table's undo history ends here: renaming has an undo of its own, which puts the files and
// their cells back together.
void noteRenamed(TableSession& table, int row, const RowFile& before, const RowFile& after) {
    table.history.clear();
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
        return renameTexts::complexFailureFromStartWindow(path);
    }
    return renameTexts::complexFailure(path);
}

QString emptyNameMessage(TableOrigin origin, const QString& path) {
    return origin == TableOrigin::StartWindow ? renameTexts::emptyNameFromStartWindow(path)
                                              : renameTexts::emptyName(path);
}

QString putBackFailureMessage(const QByteArray& newPath, const QByteArray& oldPath) {
    return renameTexts::cannotPutBack(displayPath(newPath), displayPath(oldPath));
}

QString notWhereLeftMessage(const QByteArray& newPath) {
    return renameTexts::notWhereLeft(displayPath(newPath));
}

QString notKaraokeMessage(const QString& path) {
    return renameTexts::notKaraoke(path);
}

// Why the system refused a rename, as the preview's remark.
QString refusalRemark(int error) {
    return error == EACCES || error == EROFS ? renameTexts::folderNotWritableRemark()
                                             : ioErrorText(error);
}

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

// The system's calls for status, and renames that only happen in memory: the dry run of a
// renaming sees every name that an earlier row freed or took.
class DryRunFileSystem final : public FileSystemCalls {
public:
    explicit DryRunFileSystem(FileSystemCalls& real) : real_(real) {}

    int renameNoReplace(int folder, const QByteArray& from, const QByteArray& to) override {
        EntryStatus moved;
        if (const int error = status(folder, from, moved); error != 0) {
            return error;
        }
        if (const int error = checkWritable(folder); error != 0) {
            return error;
        }
        EntryStatus existing;
        if (status(folder, to, existing) == 0) {
            return EEXIST;
        }
        entries_[keyOf(folder, to)] = moved;
        entries_[keyOf(folder, from)] = std::nullopt;
        return 0;
    }
    int link(int folder, const QByteArray& from, const QByteArray& to) override {
        EntryStatus linked;
        if (const int error = status(folder, from, linked); error != 0) {
            return error;
        }
        if (const int error = checkWritable(folder); error != 0) {
            return error;
        }
        EntryStatus existing;
        if (status(folder, to, existing) == 0) {
            return EEXIST;
        }
        entries_[keyOf(folder, to)] = linked;
        return 0;
    }
    int unlink(int folder, const QByteArray& name) override {
        EntryStatus removed;
        if (const int error = status(folder, name, removed); error != 0) {
            return error;
        }
        if (const int error = checkWritable(folder); error != 0) {
            return error;
        }
        entries_[keyOf(folder, name)] = std::nullopt;
        return 0;
    }
    int rename(int folder, const QByteArray& from, const QByteArray& to) override {
        EntryStatus moved;
        if (const int error = status(folder, from, moved); error != 0) {
            return error;
        }
        if (const int error = checkWritable(folder); error != 0) {
            return error;
        }
        entries_[keyOf(folder, to)] = moved;
        entries_[keyOf(folder, from)] = std::nullopt;
        return 0;
    }
    int status(int folder, const QByteArray& name, EntryStatus& status) override {
        const auto entry = entries_.find(keyOf(folder, name));
        if (entry == entries_.end()) {
            return real_.status(folder, name, status);
        }
        if (!entry->second) {
            return ENOENT;
        }
        status = *entry->second;
        return 0;
    }
    int checkWritable(int folder) override { return real_.checkWritable(folder); }

private:
    // Folders by what they are: a descriptor's number may be reused for another folder.
    using EntryKey = std::tuple<quint64, quint64, QByteArray>;
    static EntryKey keyOf(int folder, const QByteArray& name) {
        struct stat info {};
        if (::fstat(folder, &info) != 0) {
            return {0, 0, name};
        }
        return {static_cast<quint64>(info.st_dev), static_cast<quint64>(info.st_ino), name};
    }

    FileSystemCalls& real_;
    std::map<EntryKey, std::optional<EntryStatus>> entries_;
};

enum class Command { NameColumn, Complex };

// What one run of a renaming command is, for the run and for its dry run alike.
struct RunPlan {
    Command command = Command::NameColumn;
    const RenamingOptions* options = nullptr;
    const Clock* clock = nullptr;
    TableOrigin origin = TableOrigin::StartWindow;
};

// The file a row stands for, fixed before anything is renamed: a symbolic link is the link
// itself, so renaming its target earlier in the run does not lose the link's row.
struct RowEntry {
    QByteArray name;
    EntryStatus status;
};

bool wantsRename(const RunPlan& plan, const SongTableModel& model, int row) {
    const RowFile& file = model.rowFile(row);
    if (file.name.isEmpty()) {
        return false; // an added row stands for no file
    }
    if (plan.command == Command::NameColumn) {
        return model.cell(row, SongColumn::FileName) != file.name;
    }
    return chosenByWhatFiles(model, row, *plan.options);
}

// The one sequence of decisions of a renaming run. With a journal and a table to write it
// renames; without them (the dry run) its file system only pretends, and the rows tell what the
// run would do.
RenameRunResult runRows(const RunPlan& plan, const TableSession& source, TableSession* target,
                        FileSystemCalls& fileSystem, RenameJournal* journal,
                        RenameServices* services) {
    RenameRunResult result;
    const SongTableModel& model = source.model();
    const int rowCount = model.songCount();
    FileLookup lookup;
    std::vector<std::optional<RowEntry>> entries(static_cast<std::size_t>(rowCount) + 1);
    for (int row = 1; row <= rowCount; ++row) {
        if (wantsRename(plan, model, row)) {
            if (const std::optional<FoundFile> found = lookup.find(model.rowFile(row))) {
                entries[static_cast<std::size_t>(row)] = RowEntry{found->name, found->status};
            }
        }
    }
    std::optional<NameRecipe> recipe;
    if (plan.command == Command::Complex) {
        recipe = NameRecipe::from(*plan.options);
    }
    RowFailures messages(services, journal);
    std::set<FileIdentity> renamedFiles;
    QHash<QByteArray, int> rowThatTook;
    bool processed = false;
    for (int row = 1; row <= rowCount; ++row) {
        const RowFile file = model.rowFile(row);
        RowResult& rowResult = result.rows.emplace_back(
            RowResult{row, RowOutcome::Skipped, {}, file.folder, file.name, {}, {}});
        if (!wantsRename(plan, model, row)) {
            continue;
        }
        const QString path = file.folder + file.name;
        const QString failure = plan.command == Command::NameColumn
                                    ? nameColumnFailureMessage(path)
                                    : complexFailureMessage(plan.origin, path);
        const std::optional<RowEntry>& entry = entries[static_cast<std::size_t>(row)];
        if (!entry) {
            messages.fail(rowResult, noSuchFileMessage(path), renameTexts::noSuchFileRemark());
            continue;
        }
        if (!isKaraokeFileName(entry->name)) {
            messages.fail(rowResult, notKaraokeMessage(path), renameTexts::notKaraokeRemark());
            continue;
        }
        QString newName;
        if (plan.command == Command::NameColumn) {
            newName = model.cell(row, SongColumn::FileName);
            if (!isPossibleTypedName(newName)) {
                messages.fail(rowResult, failure, renameTexts::impossibleNameRemark());
                continue;
            }
        } else {
            const ComposedName composed = composeRowName(*recipe, model, row, *plan.clock);
            if (composed.name.isEmpty()) {
                processed = true;
                messages.fail(rowResult, emptyNameMessage(plan.origin, path),
                              renameTexts::emptyNameRemark());
                continue;
            }
            newName = composed.name + composedExtension;
            if (composed.cut) {
                rowResult.remarks.append(renameTexts::cutRemark());
            }
        }
        rowResult.newName = newName;
        const std::shared_ptr<const OpenFolder> folder = lookup.findFolder(file.folder);
        EntryStatus now;
        if (!folder || fileSystem.status(folder->descriptor(), entry->name, now) != 0 ||
            !now.sameEntry(entry->status) || renamedFiles.contains(entry->status.identity())) {
            // Moved by an earlier row of this run, or by someone else meanwhile.
            messages.fail(rowResult, failure, renameTexts::renamedByEarlierRowRemark());
            continue;
        }
        const QByteArray newBytes = newName.toUtf8();
        if (newBytes == entry->name) {
            rowResult.remarks.append(renameTexts::nameUnchangedRemark());
            continue;
        }
        const QByteArray oldPath = folder->path() + entry->name;
        const QByteArray newPath = folder->path() + newBytes;
        int sequence = 0;
        if (journal != nullptr) {
            try {
                sequence = journal->recordIntent(oldPath, newPath, entry->status.identity());
            } catch (const IoError& error) {
                // Without its line the rename could not be undone: the run ends here.
                result.notice = journalUnavailableMessage(error.code());
                rowResult.outcome = RowOutcome::Failed;
                rowResult.message = result.notice;
                break;
            }
        }
        const RenameOutcome outcome =
            renameWithoutReplacing(fileSystem, folder->descriptor(), entry->name, newBytes);
        if (outcome.renamed()) {
            renamedFiles.insert(entry->status.identity());
            rowThatTook.insert(newPath, row);
            rowResult.outcome = RowOutcome::Renamed;
            processed = true;
            ++result.renamed;
            if (target != nullptr) {
                target->renamedCount = result.renamed;
                noteRenamed(*target, row, file, {file.folder, newName});
                if (plan.command == Command::Complex) {
                    target->model().setCell(row, SongColumn::FileName, newName);
                }
            }
            continue;
        }
        QString failedPath = path;
        try {
            if (journal != nullptr) {
                journal->recordFailed(sequence);
            }
            if (!outcome.leftUnder.isEmpty()) {
                // The file could go neither on nor back: the row follows it to where it is.
                const RowFile stranded{file.folder, decodeFileName(outcome.leftUnder)};
                if (target != nullptr) {
                    noteRenamed(*target, row, file, stranded);
                }
                failedPath = stranded.folder + stranded.name;
                if (journal != nullptr) {
                    journal->recordIntent(oldPath, folder->path() + outcome.leftUnder,
                                          entry->status.identity());
                }
            }
        } catch (const IoError& error) {
            result.notice = journalUnavailableMessage(error.code());
        }
        QString remark = refusalRemark(outcome.error);
        if (outcome.error == EEXIST) {
            const auto taker = rowThatTook.constFind(newPath);
            remark = taker != rowThatTook.constEnd() ? renameTexts::sameNewNameRemark(*taker)
                                                     : renameTexts::nameExistsRemark();
        }
        messages.fail(rowResult,
                      plan.command == Command::NameColumn
                          ? nameColumnFailureMessage(failedPath)
                          : complexFailureMessage(plan.origin, failedPath),
                      remark);
        if (!result.notice.isEmpty()) {
            break;
        }
    }
    if (journal != nullptr) {
        try {
            journal->flush();
        } catch (const IoError& error) {
            if (result.notice.isEmpty()) {
                result.notice = journalUnavailableMessage(error.code());
            }
        }
    }
    if (target != nullptr) {
        if (processed && plan.command == Command::Complex) {
            target->keepTableOnce = true;
        }
        if (result.renamed > 0) {
            target->unsavedChanges = true;
        }
    }
    return result;
}

// Opens the journal and begins the run; null, with the notice set, when it cannot.
std::unique_ptr<RenameJournal> startJournalRun(const RenameServices& services,
                                               RenameRunResult& result) {
    std::unique_ptr<RenameJournal> journal = openJournal(services, result);
    if (journal) {
        const SystemClock systemClock;
        journal->startRun((services.clock != nullptr ? *services.clock : systemClock).now(),
                          services.confirm);
    }
    return journal;
}

// Where an undo finds the file of one rename, before it puts anything back.
enum class Whereabouts {
    Malformed,   // no rename of this program looks so: nothing to try again
    AtNewName,   // to be put back, also when saved again since (another inode)
    AtOldName,   // never renamed (the run ended between its line and the rename), or put back
    NotThere,    // gone, or its folder is not where it was: tried again by the next undo
    Unreachable, // its folder cannot be opened: tried again by the next undo
};

struct UndoStep {
    JournalRename rename;
    Whereabouts where = Whereabouts::Malformed;
    std::shared_ptr<const OpenFolder> folder;
    QByteArray oldName;
    QByteArray newName;

    bool happened() const {
        return where != Whereabouts::Malformed && where != Whereabouts::AtOldName;
    }
};

Whereabouts whereabouts(FileSystemCalls& fileSystem, const UndoStep& step) {
    const int folder = step.folder->descriptor();
    EntryStatus old;
    const bool atOld = fileSystem.status(folder, step.oldName, old) == 0 && !old.isFolder;
    EntryStatus renamed;
    if (fileSystem.status(folder, step.newName, renamed) != 0 || renamed.isFolder) {
        return atOld ? Whereabouts::AtOldName : Whereabouts::NotThere;
    }
    const std::optional<FileIdentity>& file = step.rename.file;
    if (file && renamed.identity() != *file && atOld && old.identity() == *file) {
        return Whereabouts::AtOldName; // another file took the name the file never got
    }
    return Whereabouts::AtNewName;
}

// The renames left in the run, newest first, each with where its file is.
std::vector<UndoStep> locateRenames(const JournalRun& run, FileSystemCalls& fileSystem) {
    std::vector<UndoStep> steps;
    QByteArray folderPath;
    std::shared_ptr<const OpenFolder> folder;
    int folderError = 0;
    for (const JournalRename* rename : run.pending()) {
        UndoStep& step = steps.emplace_back();
        step.rename = *rename;
        const qsizetype oldSlash = rename->oldPath.lastIndexOf('/');
        const qsizetype newSlash = rename->newPath.lastIndexOf('/');
        const QByteArray path = rename->newPath.left(newSlash + 1);
        step.oldName = rename->oldPath.mid(oldSlash + 1);
        step.newName = rename->newPath.mid(newSlash + 1);
        if (newSlash < 0 || rename->oldPath.left(oldSlash + 1) != path || step.oldName.isEmpty() ||
            step.newName.isEmpty()) {
            continue;
        }
        if (path != folderPath) {
            folderPath = path;
            errno = 0;
            folder = openFolderBytes(path);
            folderError = errno;
        }
        step.folder = folder;
        if (!folder) {
            step.where = folderError == ENOENT || folderError == ENOTDIR ? Whereabouts::NotThere
                                                                         : Whereabouts::Unreachable;
            continue;
        }
        step.where = whereabouts(fileSystem, step);
    }
    return steps;
}

QString undoQuestion(const JournalRun& run, const std::vector<UndoStep>& steps) {
    const QString when = run.started.isValid()
                             ? renameTexts::renamingOf(run.started.toString(u"dd.MM.yyyy HH:mm"_s))
                             : renameTexts::lastRenaming();
    QString where;
    // The run's first rename left.
    const auto first = std::find_if(steps.rbegin(), steps.rend(), std::mem_fn(&UndoStep::happened));
    if (first != steps.rend()) {
        const QByteArray& path = first->rename.oldPath;
        where = renameTexts::inFolder(displayPath(path.left(path.lastIndexOf('/') + 1)));
    }
    const auto count = std::count_if(steps.begin(), steps.end(), std::mem_fn(&UndoStep::happened));
    return renameTexts::undoQuestion(when, count, where);
}

// A damaged line as its bytes stand: what cannot be read is not decoded into a name.
QString damagedLineText(QByteArrayView line) {
    QString text;
    for (const char byte : line) {
        const auto code = static_cast<unsigned char>(byte);
        if (byte == '\t') {
            text += u' ';
        } else if (code >= 0x20 && code < 0x7F) {
            text += QLatin1Char(byte);
        } else {
            text += u"\\x"_s + QString::number(code, 16).rightJustified(2, u'0').toUpper();
        }
    }
    return text;
}

QString damagedLinesNotice(const QByteArrayList& lines) {
    QString text = renameTexts::damagedLines(lines.size());
    for (const QByteArray& line : lines) {
        text += u"\n"_s +
                damagedLineText(QByteArrayView(line).first(std::min(line.size(), qsizetype(300))));
    }
    return text;
}

// The rows by the paths of their files, so that an undo shows each row's file as it now is: a
// hard link's other names and a symbolic link (even one left dangling) keep rows of their own.
class RowsByPath {
public:
    explicit RowsByPath(const SongTableModel& model) {
        FileLookup lookup;
        for (int row = 1; row <= model.songCount(); ++row) {
            const RowFile& file = model.rowFile(row);
            const std::shared_ptr<const OpenFolder> folder =
                file.name.isEmpty() ? nullptr : lookup.findFolder(file.folder);
            if (folder) {
                for (const QByteArray& name : fileNameCandidates(file.name)) {
                    rows_[folder->path() + name].push_back(row);
                }
            }
        }
    }

    // The file of newPath now has its old name.
    void moved(TableSession& table, const QByteArray& newPath, const QByteArray& oldName) {
        const auto found = rows_.find(newPath);
        if (found == rows_.end()) {
            return;
        }
        const std::vector<int> rows = std::move(found->second);
        rows_.erase(found);
        const QString name = decodeFileName(oldName);
        for (const int row : rows) {
            const RowFile before = table.model().rowFile(row);
            noteRenamed(table, row, before, {before.folder, name});
            table.model().setCell(row, SongColumn::FileName, name);
        }
        std::vector<int>& atOld = rows_[newPath.left(newPath.lastIndexOf('/') + 1) + oldName];
        atOld.insert(atOld.end(), rows.begin(), rows.end());
    }

private:
    std::map<QByteArray, std::vector<int>> rows_;
};

} // namespace

QString nameColumnFailureMessage(const QString& path) {
    return renameTexts::nameColumnFailure(path);
}

QString noSuchFileMessage(const QString& path) {
    return renameTexts::noSuchFile(path);
}

QString nothingToUndoMessage() {
    return renameTexts::nothingToUndo();
}

QString noPartCheckedMessage() {
    return renameTexts::noPartChecked();
}

RenameRunResult renameFromNameColumn(TableSession& table, RenameServices& services) {
    RenameRunResult result;
    table.renamedCount = 0;
    table.renamedCountPutBack = false;
    const std::unique_ptr<RenameJournal> journal = startJournalRun(services, result);
    if (!journal) {
        return result;
    }
    const RunPlan plan{Command::NameColumn, nullptr, nullptr, table.origin};
    return runRows(plan, table, &table, services.fileSystem, journal.get(), &services);
}

RenameRunResult runComplexRename(TableSession& table, const RenamingOptions& options,
                                 const Clock& clock, RenameServices& services) {
    RenameRunResult result;
    const std::unique_ptr<RenameJournal> journal = startJournalRun(services, result);
    if (!journal) {
        return result;
    }
    table.renamedCount = 0;
    table.renamedCountPutBack = false;
    table.renamingReport = true;
    const RunPlan plan{Command::Complex, &options, &clock, table.origin};
    return runRows(plan, table, &table, services.fileSystem, journal.get(), &services);
}

std::vector<PreviewRow> previewComplexRename(const TableSession& table,
                                             const RenamingOptions& options, const Clock& clock,
                                             FileSystemCalls& fileSystem) {
    DryRunFileSystem dryRun(fileSystem);
    const RunPlan plan{Command::Complex, &options, &clock, table.origin};
    RenameRunResult result = runRows(plan, table, nullptr, dryRun, nullptr, nullptr);
    std::vector<PreviewRow> preview;
    for (RowResult& row : result.rows) {
        if (wantsRename(plan, table.model(), row.row)) {
            preview.push_back(std::move(row));
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
    FileSystemCalls& fileSystem = services.fileSystem;
    std::optional<RowsByPath> rows;
    const auto showAtOldName = [&](const UndoStep& step) {
        if (!rows) {
            rows.emplace(table.model());
        }
        rows->moved(table, step.rename.newPath, step.oldName);
    };
    RowFailures messages(&services, journal.get());
    std::set<qint64> settledRuns;
    try {
        const JournalRun* run = journal->runToUndo();
        std::vector<UndoStep> steps;
        for (; run != nullptr && !settledRuns.contains(run->run); run = journal->runToUndo()) {
            steps = locateRenames(*run, fileSystem);
            if (std::any_of(steps.begin(), steps.end(), std::mem_fn(&UndoStep::happened))) {
                break;
            }
            // Every file of the run already has its old name: nothing to ask.
            settledRuns.insert(run->run);
            for (const UndoStep& step : steps) {
                journal->recordSettled(run->run, step.rename.sequence);
                if (step.where == Whereabouts::AtOldName) {
                    showAtOldName(step);
                }
            }
            if (run->damagedLines.size() > run->reportedDamage) {
                result.notice = damagedLinesNotice(run->damagedLines.mid(run->reportedDamage));
                journal->recordDamageReported(run->run, static_cast<int>(run->damagedLines.size()));
                journal->flush();
                result.started = false;
                return result;
            }
        }
        if (run == nullptr || settledRuns.contains(run->run)) {
            journal->flush();
            result.notice = nothingToUndoMessage();
            result.started = false;
            return result;
        }
        if (services.confirm && !services.confirm(undoQuestion(*run, steps))) {
            result.started = false;
            return result;
        }
        const qint64 runNumber = run->run;
        const QByteArrayList damaged = run->damagedLines.mid(run->reportedDamage);
        const auto damagedLines = static_cast<int>(run->damagedLines.size());
        table.renamedCount = 0;
        table.renamedCountPutBack = true;
        for (const UndoStep& step : steps) {
            RowResult& rowResult = result.rows.emplace_back();
            const QString cannot = putBackFailureMessage(step.rename.newPath, step.rename.oldPath);
            switch (step.where) {
            case Whereabouts::Malformed:
                messages.fail(rowResult, cannot);
                journal->recordSettled(runNumber, step.rename.sequence);
                continue;
            case Whereabouts::AtOldName:
                journal->recordSettled(runNumber, step.rename.sequence);
                showAtOldName(step);
                continue;
            case Whereabouts::NotThere:
                messages.fail(rowResult, notWhereLeftMessage(step.rename.newPath));
                continue;
            case Whereabouts::Unreachable:
                messages.fail(rowResult, cannot);
                continue;
            case Whereabouts::AtNewName:
                break;
            }
            const RenameOutcome outcome = renameWithoutReplacing(
                fileSystem, step.folder->descriptor(), step.newName, step.oldName);
            if (!outcome.renamed()) {
                messages.fail(rowResult, cannot); // stays for the next undo
                continue;
            }
            journal->recordSettled(runNumber, step.rename.sequence);
            rowResult.outcome = RowOutcome::Renamed;
            ++result.renamed;
            table.renamedCount = result.renamed;
            showAtOldName(step);
        }
        if (!damaged.isEmpty()) {
            result.notice = damagedLinesNotice(damaged);
            journal->recordDamageReported(runNumber, damagedLines);
        }
        journal->flush();
    } catch (const IoError& error) {
        result.notice = journalUnavailableMessage(error.code());
    }
    if (result.renamed > 0) {
        table.unsavedChanges = true;
    }
    return result;
}

} // namespace corvanteller
