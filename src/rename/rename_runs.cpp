#include "rename/rename_runs.h"

#include "common/file_io.h"
#include "common/file_names.h"
#include "common/seams.h"
#include "rename/file_lookup.h"
#include "rename/name_composer.h"
#include "rename/rename_journal.h"
#include "table/table_session.h"

#include <QHash>

#include <cerrno>
#include <map>
#include <memory>
#include <set>
#include <sys/stat.h>
#include <tuple>
#include <utility>

namespace corvanteller {

using namespace Qt::StringLiterals;

namespace {

using FileKey = std::pair<quint64, quint64>;

FileKey keyOf(const EntryStatus& status) {
    return {status.device, status.inode};
}

FileIdentity identityOf(const EntryStatus& status) {
    return {status.device, status.inode};
}

bool isIdentity(const EntryStatus& status, const FileIdentity& identity) {
    return status.device == identity.device && status.inode == identity.inode;
}

// Failure messages while the user wants them and has not asked for no more. Without services
// (a dry run) the texts are only kept.
class FailureMessages {
public:
    FailureMessages(RenameServices* services, RenameJournal* journal)
        : services_(services), journal_(journal) {}

    void fail(RowResult& row, const QString& text, const QString& remark = {}) {
        row.outcome = RowOutcome::Failed;
        row.message = text;
        if (!remark.isEmpty()) {
            row.remarks.append(remark);
        }
        if (services_ == nullptr || !services_->errorMessages || silenced_ ||
            !services_->showFailure) {
            return;
        }
        if (journal_ != nullptr) {
            // The user may take long to answer: what is written is on disk meanwhile.
            try {
                journal_->flush();
            } catch (const IoError&) {
                // The run's end reports it.
            }
        }
        silenced_ = services_->showFailure(text) == MessageReply::NoMoreMessages;
    }

private:
    RenameServices* services_;
    RenameJournal* journal_;
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
        entries_[keyOf(folder, name)] = std::nullopt;
        return 0;
    }
    int rename(int folder, const QByteArray& from, const QByteArray& to) override {
        EntryStatus moved;
        if (const int error = status(folder, from, moved); error != 0) {
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
    FailureMessages messages(services, journal);
    std::set<FileKey> renamedFiles;
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
            messages.fail(rowResult, noSuchFileMessage(path), u"no such file"_s);
            continue;
        }
        if (!isKaraokeName(file.name)) {
            messages.fail(rowResult, failure, u"not a karaoke file"_s);
            continue;
        }
        QString newName;
        if (plan.command == Command::NameColumn) {
            newName = model.cell(row, SongColumn::FileName);
            if (!isPossibleTypedName(newName)) {
                messages.fail(rowResult, failure, u"impossible name"_s);
                continue;
            }
        } else {
            const ComposedName composed = composeRowName(*recipe, model, row, *plan.clock);
            if (composed.name.isEmpty()) {
                processed = true;
                messages.fail(rowResult, emptyNameMessage(plan.origin, path), u"empty name"_s);
                continue;
            }
            newName = composed.name + composedExtension;
            if (composed.cut) {
                rowResult.remarks.append(u"cut to 255 bytes"_s);
            }
        }
        rowResult.newName = newName;
        const std::shared_ptr<const OpenFolder> folder = lookup.findFolder(file.folder);
        EntryStatus now;
        if (!folder || fileSystem.status(folder->descriptor(), entry->name, now) != 0 ||
            !now.sameEntry(entry->status) || renamedFiles.contains(keyOf(entry->status))) {
            // Moved by an earlier row of this run, or by someone else meanwhile.
            messages.fail(rowResult, failure, u"renamed by an earlier row"_s);
            continue;
        }
        const QByteArray newBytes = newName.toUtf8();
        if (newBytes == entry->name) {
            rowResult.remarks.append(u"name unchanged"_s);
            continue;
        }
        const QByteArray oldPath = folder->path() + entry->name;
        const QByteArray newPath = folder->path() + newBytes;
        int sequence = 0;
        if (journal != nullptr) {
            try {
                sequence = journal->recordIntent(oldPath, newPath, identityOf(entry->status));
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
            renamedFiles.insert(keyOf(entry->status));
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
                                          identityOf(entry->status));
                }
            }
        } catch (const IoError& error) {
            result.notice = journalUnavailableMessage(error.code());
        }
        QString remark = ioErrorText(outcome.error);
        if (outcome.error == EEXIST) {
            const auto taker = rowThatTook.constFind(newPath);
            remark = taker != rowThatTook.constEnd() ? u"same new name as row %1"_s.arg(*taker)
                                                     : u"a file of this name exists"_s;
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

// Opens the journal and records the run's start; null, with the notice set, when it cannot.
std::unique_ptr<RenameJournal> startJournalRun(const RenameServices& services,
                                               RenameRunResult& result) {
    std::unique_ptr<RenameJournal> journal = openJournal(services, result);
    if (!journal) {
        return nullptr;
    }
    try {
        const SystemClock systemClock;
        journal->startRun((services.clock != nullptr ? *services.clock : systemClock).now());
    } catch (const IoError& error) {
        result.notice = journalUnavailableMessage(error.code());
        result.started = false;
        return nullptr;
    }
    return journal;
}

QString undoQuestion(const JournalRun& run, const std::vector<const JournalRename*>& pending) {
    const QString when = run.started.isValid()
                             ? u"the renaming of "_s + run.started.toString(u"dd.MM.yyyy HH:mm"_s)
                             : u"the last renaming"_s;
    QString where;
    if (!pending.empty()) {
        const QByteArray& first = pending.back()->oldPath; // the run's first rename left
        where = u" in "_s + displayPath(first.left(first.lastIndexOf('/') + 1)) + u"..."_s;
    }
    return u"Undo "_s + when + u": "_s + QString::number(pending.size()) + u" file(s)"_s + where +
           u"?"_s;
}

QString damagedLinesNotice(const QByteArrayList& lines) {
    QString text = QString::number(lines.size()) +
                   u" line(s) of the renaming journal are damaged and were not undone; the "
                   u"file(s) they name may keep their new names:"_s;
    for (const QByteArray& line : lines) {
        text += u"\n"_s + displayPath(unescapeJournalField(line.left(300))).replace(u'\t', u' ');
    }
    return text;
}

} // namespace

QString nameColumnFailureMessage(const QString& path) {
    return u"Can't rename "_s + path +
           u". Imposible name of file or the file busy by another application."_s;
}

QString noSuchFileMessage(const QString& path) {
    return u"Can't rename "_s + path + u". There is no such file."_s;
}

QString nothingToUndoMessage() {
    return u"There is no renaming to undo."_s;
}

QString noPartCheckedMessage() {
    return u"One or more items from the list should be checked."_s;
}

bool isKaraokeName(const QString& name) {
    return name.contains(u"kar"_s) || name.contains(u"KAR"_s);
}

RenameRunResult renameFromNameColumn(TableSession& table, RenameServices& services) {
    RenameRunResult result;
    table.renamedCount = 0;
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
    const JournalRun* run = journal->runToUndo();
    if (run == nullptr) {
        result.notice = nothingToUndoMessage();
        result.started = false;
        return result;
    }
    const qint64 runNumber = run->run;
    std::vector<JournalRename> renames;
    for (const JournalRename* rename : run->pending()) {
        renames.push_back(*rename);
    }
    const QByteArrayList damaged = run->damagedLines.mid(run->reportedDamage);
    if (services.confirm && !services.confirm(undoQuestion(*run, run->pending()))) {
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

    FailureMessages messages(&services, journal.get());
    FileSystemCalls& fileSystem = services.fileSystem;
    try {
        for (const JournalRename& rename : renames) {
            RowResult& rowResult = result.rows.emplace_back();
            const qsizetype oldSlash = rename.oldPath.lastIndexOf('/');
            const qsizetype newSlash = rename.newPath.lastIndexOf('/');
            const QByteArray folderPath = rename.newPath.left(newSlash + 1);
            const QByteArray oldName = rename.oldPath.mid(oldSlash + 1);
            const QByteArray newName = rename.newPath.mid(newSlash + 1);
            const QString message = putBackFailureMessage(rename.newPath, rename.oldPath);
            if (newSlash < 0 || rename.oldPath.left(oldSlash + 1) != folderPath ||
                oldName.isEmpty() || newName.isEmpty()) {
                // No rename of this program looks so: nothing to try again.
                messages.fail(rowResult, message);
                journal->recordSettled(runNumber, rename.sequence);
                continue;
            }
            errno = 0;
            const std::shared_ptr<const OpenFolder> folder = openFolderBytes(folderPath);
            if (!folder) {
                if (errno == ENOENT || errno == ENOTDIR) {
                    journal->recordSettled(runNumber, rename.sequence); // the folder is gone
                } else {
                    messages.fail(rowResult, message);
                }
                continue;
            }
            const auto isTheFile = [&rename](const EntryStatus& status) {
                return !status.isFolder && (!rename.file || isIdentity(status, *rename.file));
            };
            EntryStatus renamed;
            if (fileSystem.status(folder->descriptor(), newName, renamed) != 0 ||
                !isTheFile(renamed)) {
                // Never renamed (the run ended between its line and the rename), put back
                // already, or gone since: nothing is left to put back.
                journal->recordSettled(runNumber, rename.sequence);
                continue;
            }
            const RenameOutcome outcome =
                renameWithoutReplacing(fileSystem, folder->descriptor(), newName, oldName);
            if (!outcome.renamed()) {
                messages.fail(rowResult, message); // stays for the next undo
                continue;
            }
            journal->recordSettled(runNumber, rename.sequence);
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
        if (!damaged.isEmpty()) {
            result.notice = damagedLinesNotice(damaged);
            journal->recordDamageReported(runNumber, static_cast<int>(run->damagedLines.size()));
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
