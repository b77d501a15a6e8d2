// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "kar/char_sets.h"
#include "kar/song_texts.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <vector>

namespace corvanteller {

class Clock;
class FileSystemCalls;

// One row to write: its file (the path's bytes as the file system has them) and its texts.
struct TextWriteRequest {
    int row = 0;
    QByteArray path;
    SongTexts texts;
};

enum class TextWriteOutcome {
    Unchanged,  // the file already gives the row's texts: not written
    Written,    // written (an undo: put back)
    WouldWrite, // a dry run would write it
    Refused,    // the rule, the file or its name does not allow it: the file is as it was
    Failed,     // the system refused a step: the file is as it was
};

struct TextWriteRowResult {
    int row = 0;
    QByteArray path;
    SongTexts oldTexts; // what the file gave before
    SongTexts newTexts;
    TextWriteOutcome outcome = TextWriteOutcome::Unchanged;
    QString message; // why it was refused or failed
};

// What a run needs besides its rows.
struct TextWriteServices {
    FileSystemCalls& fileSystem; // the replacing rename goes through its rename()
    QString journalPath;         // textWriteJournalPath(renameJournalPath(settings))
    bool flushes = true;         // fsync of every new file, its folder and the journal
    bool dryRun = false;         // prove every row, write nothing
    // Asked before an undo (unset: Yes).
    std::function<bool(const QString&)> confirm = {};
    const Clock* clock = nullptr; // the run's start for the journal; the system clock when null
};

struct TextWriteRunResult {
    QString notice; // the journal could not be written, or there is nothing to undo
    int written = 0;
    int refused = 0;                      // refused and failed
    std::vector<TextWriteRowResult> rows; // one per row asked (an undo: per file of the run)

    // "<n> file(s) was(were) written, <m> refused."
    QString countMessage() const;
};

// Writes the four texts of every row whose file gives other texts, read with runSet (the set of
// the window whose table it is). A file is replaced only when its name holds "kar" or "KAR",
// its new bytes are proved and it has not changed since it was read; the run is recorded in
// the journal before the first replacement.
TextWriteRunResult writeTextsIntoFiles(const std::vector<TextWriteRequest>& requests, RunSet runSet,
                                       TextWriteServices& services);

// Puts back the files of the journal's newest run with something left to undo, newest first:
// each old file is rebuilt and checked against its SHA-256 before it replaces the current
// one; a file changed since the writing is left alone and reported.
TextWriteRunResult undoLastTextWriting(TextWriteServices& services);

QString nothingToUndoWriteMessage();
// "Undo the text writing of <date>: <n> file(s), the first in <folder>?"
QString undoWriteQuestion(const QString& started, qsizetype files, const QString& firstFolder);

} // namespace corvanteller
