#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <vector>

namespace corvanteller {

// "rename-journal.txt" beside the settings file.
QString renameJournalPath(const QString& settingsPath);

// "The renaming journal cannot be written: " + the system's reason + "."
QString journalUnavailableMessage(int error);

// A journal field: bytes outside printable ASCII, "%" and so TAB and line breaks as %XX, so that
// every name comes back exactly.
QByteArray escapeJournalField(QByteArrayView bytes);
QByteArray unescapeJournalField(QByteArrayView field);

// One rename as the journal keeps it.
struct JournalRename {
    qint64 run = 0;
    QByteArray oldPath;
    QByteArray newPath;
};

// The journal of successful renames, one line each: run number, old full path, new full path,
// separated by TAB. An undo adds a line of its own ("<run>\tundo\t<undone run>"), so that the
// next undo goes one run further back. Each run of a command takes the next run number.
class RenameJournal {
public:
    // Opens the journal for appending, creating it and its folder. Throws IoError.
    explicit RenameJournal(const QString& path);
    ~RenameJournal();
    RenameJournal(const RenameJournal&) = delete;
    RenameJournal& operator=(const RenameJournal&) = delete;

    qint64 run() const { return run_; }

    // Written at once, before the next rename. Throw IoError.
    void recordRename(const QByteArray& oldPath, const QByteArray& newPath);
    void recordUndo(qint64 undoneRun);

    // The renames of the newest run that was not undone, newest first; empty when there is none.
    // Throws IoError.
    std::vector<JournalRename> lastRunToUndo() const;

private:
    void append(const QByteArray& line);

    int descriptor_ = -1;
    qint64 run_ = 1;
};

} // namespace corvanteller
