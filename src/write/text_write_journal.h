// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "write/text_writer.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <chrono>
#include <optional>
#include <vector>

namespace corvanteller {

// "write-journal.txt" in the folder of the renaming journal.
QString textWriteJournalPath(const QString& renameJournalPath);

// One file of a writing run as the journal keeps it.
struct JournalWrite {
    int sequence = 0;         // its place in the run, from 1
    QByteArray path;          // the file replaced: a symbolic link's target
    QByteArray temporaryName; // the new file's name in the same folder until it is renamed
    QByteArray oldSha256;     // hex
    QByteArray newSha256;
    std::vector<ChangedRegion> regions;
    bool failed = false;  // the file was not replaced
    bool settled = false; // an undo put it back or left it for good
};

struct JournalWriteRun {
    qint64 run = 0;
    QDateTime started;
    std::vector<JournalWrite> writes;

    // The writes an undo must still look at, newest first.
    std::vector<const JournalWrite*> pending() const;
};

// The journal of text writing, beside the renaming journal and in its manner: every line ends
// with the checksum of its text, so that a line cut short is never taken for a write.
//   S <run> <start time>                                            a run begins
//   W <run> <n> <path> <temporary> <old SHA-256> <new SHA-256> <regions>
//                                       written before the n-th file is replaced
//   F <run> <n>                         the n-th file was not replaced
//   U <run> <n>                         an undo settled the n-th file
// A region is "<offset>:<old bytes in hex>:<new size>", regions are separated by ",".
class TextWriteJournal {
public:
    static constexpr int keptRuns = 100;

    // Opens the journal for appending, creating it and its folder, and reads it. With flushes
    // off nothing is flushed to disk. Throws IoError.
    TextWriteJournal(const QString& path, bool flushes = true);
    ~TextWriteJournal();
    TextWriteJournal(const TextWriteJournal&) = delete;
    TextWriteJournal& operator=(const TextWriteJournal&) = delete;

    // Begins a run; its start line goes out with its first write, so that a run that writes
    // nothing leaves no trace. Runs beyond keptRuns with nothing left to undo are dropped then.
    void startRun(const QDateTime& started);
    // Each line is written at once (write(2) has returned) and flushed at least once a
    // second. Throw IoError.
    int recordWrite(const JournalWrite& write);
    void recordFailed(int sequence);
    void recordSettled(qint64 run, int sequence);
    void flush();

    const std::vector<JournalWriteRun>& runs() const { return runs_; }
    // The newest run with a file left to undo, or null.
    const JournalWriteRun* runToUndo() const;

private:
    void read();
    void append(const QByteArray& fields);
    void compact();
    JournalWriteRun& runNumbered(qint64 run);

    QString path_;
    int descriptor_ = -1;
    bool flushes_ = true;
    qint64 run_ = 1;
    int sequence_ = 0;
    std::optional<QDateTime> unwrittenStart_;
    std::vector<JournalWriteRun> runs_;
    std::chrono::steady_clock::time_point lastFlush_;
    bool unflushed_ = false;
};

} // namespace corvanteller
