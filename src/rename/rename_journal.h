// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "rename/rename_primitive.h"

#include <QByteArray>
#include <QByteArrayList>
#include <QByteArrayView>
#include <QDateTime>
#include <QString>

#include <chrono>
#include <functional>
#include <optional>
#include <vector>

namespace corvanteller {

// "rename-journal.txt" beside the settings file.
QString renameJournalPath(const QString& settingsPath);

// "The renaming journal cannot be written: " + the system's reason + "."
QString journalUnavailableMessage(int error);
// The question before the journal drops a run that still has files to put back.
QString dropRunQuestion(qsizetype files);

// A journal field: bytes outside printable ASCII, "%" and so TAB and line breaks as %XX, so that
// every name comes back exactly.
QByteArray escapeJournalField(QByteArrayView bytes);
QByteArray unescapeJournalField(QByteArrayView field);

// A journal line of fields separated by TAB, with the checksum of their text as its last field
// and its line break.
QByteArray checkedJournalLine(QByteArrayView fields);
// The fields of a line (without its line break) whose checksum holds; nothing otherwise.
std::optional<QList<QByteArray>> checkedJournalFields(QByteArrayView line);

// One rename of a run as the journal keeps it.
struct JournalRename {
    qint64 run = 0;
    int sequence = 0; // its place in the run, from 1
    QByteArray oldPath;
    QByteArray newPath;
    std::optional<FileIdentity> file; // lines of older journals do not tell it
    bool failed = false;              // the rename did not happen
    bool settled = false;             // an undo put it back or found nothing to put back
};

// One run of a renaming command.
struct JournalRun {
    qint64 run = 0;
    QDateTime started; // invalid for runs of older journals
    std::vector<JournalRename> renames;
    // Lines after this run's own that cannot be told complete, as they stand; an undo of the
    // run reports those beyond the first reportedDamage.
    QByteArrayList damagedLines;
    qsizetype reportedDamage = 0;

    // The renames an undo must still look at, newest first.
    std::vector<const JournalRename*> pending() const;
    bool needsUndo() const;
};

// The journal of renames. Every line ends with a checksum of its own text, so that a line cut
// short (a crash, a full disk, a file-size limit) or damaged is never taken for a rename:
//   S <run> <start time>                              a run begins
//   R <run> <n> <device:inode> <old path> <new path>  written before the n-th rename happens
//   F <run> <n>                                       the n-th rename failed
//   U <run> <n>                                       an undo settled the n-th rename
//   D <run> <count>                                   an undo reported the run's damaged lines
// Fields are separated by TAB. Lines of older journals ("<run> <old> <new>" and
// "<run> undo <undone run>") are still read.
class RenameJournal {
public:
    static constexpr int keptRuns = 100;
    static constexpr qint64 compactionSize = 16 * 1024 * 1024;

    // Opens the journal for appending, creating it and its folder, and reads it. Throws IoError.
    explicit RenameJournal(const QString& path);
    ~RenameJournal(); // flushes to disk
    RenameJournal(const RenameJournal&) = delete;
    RenameJournal& operator=(const RenameJournal&) = delete;

    // The number the next run takes.
    qint64 run() const { return run_; }
    const std::vector<JournalRun>& runs() const { return runs_; }

    // Begins a renaming run. Its start is written with its first rename, so that a run that
    // renames nothing leaves no trace; before that line the journal drops runs when it holds
    // more than keptRuns runs or compactionSize bytes: runs with nothing left to put back
    // first, oldest first, and the oldest run that still has files to put back only when
    // askToDrop answers yes (never without it).
    void startRun(const QDateTime& started,
                  std::function<bool(const QString&)> askToDrop = nullptr);
    // Each written at once (write(2) has returned) and flushed to disk at least once a second.
    // Throw IoError.
    int recordIntent(const QByteArray& oldPath, const QByteArray& newPath,
                     const FileIdentity& file);
    void recordFailed(int sequence);
    void recordSettled(qint64 run, int sequence);
    void recordDamageReported(qint64 run, int count);
    // Flushes what was written to disk. Throws IoError.
    void flush();

    // The newest run that an undo has still something to do for, or null.
    const JournalRun* runToUndo() const;

private:
    void read();
    void writeStart();
    void compact();
    void append(const QByteArray& text);
    void writeLine(const QByteArray& fields);
    JournalRun& runNumbered(qint64 run);

    QString path_;
    int descriptor_ = -1;
    qint64 run_ = 1;
    qint64 size_ = 0;
    int sequence_ = 0;
    std::optional<QDateTime> unwrittenStart_;
    std::function<bool(const QString&)> askToDrop_;
    std::vector<JournalRun> runs_; // by run number
    std::chrono::steady_clock::time_point lastFlush_;
    bool unflushed_ = false;
};

} // namespace corvanteller
