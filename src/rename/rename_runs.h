// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "rename/failure_messages.h"
#include "rename/rename_primitive.h"
#include "settings/options.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

namespace corvanteller {

class Clock;
class TableSession;

// What a run needs besides the table.
struct RenameServices {
    FileSystemCalls& fileSystem;
    QString journalPath;
    bool errorMessages = true; // "Messages about errors"
    // Shows one failure message while the run goes on; called only while messages are wanted,
    // and no more after NoMoreMessages.
    std::function<MessageReply(const QString&)> showFailure;
    // Asks a Yes/No question, true for Yes: before an undo (unset: Yes) and before the journal
    // drops a run that still has files to put back (unset: No).
    std::function<bool(const QString&)> confirm = {};
    // The run's start time for the journal; the system clock when null.
    const Clock* clock = nullptr;
};

enum class RowOutcome { Skipped, Renamed, Failed };

struct RowResult {
    int row = 0;
    RowOutcome outcome = RowOutcome::Skipped;
    QString message; // the failure message, also when it was not shown
    QString folder;  // the row's folder and file name before the run
    QString oldName;
    QString newName;     // the name the run gives or would give; empty when there is none
    QStringList remarks; // why the row is not renamed, or what happens to its name
};

struct RenameRunResult {
    // A message to show whatever "Messages about errors" says: the journal could not be written
    // (then nothing, or nothing more, was renamed) or there is nothing to undo.
    QString notice;
    bool started = true; // false: nothing was looked at
    int renamed = 0;
    // One per data row looked at, in order; for an undo, one per rename of the journal.
    std::vector<RowResult> rows;
};

// File > "Rename files" > "&From column of name (file)": every row whose "Name of file" cell
// differs from its file's name renames the file to the cell's text. Sets the renamed count;
// the status line is the caller's.
RenameRunResult renameFromNameColumn(TableSession& table, RenameServices& services);

// "Start renaming" of complex renaming, with the dialog's options and the table origin as it
// stands. Sets the renamed count, the renaming report and the mark that keeps the table once.
RenameRunResult runComplexRename(TableSession& table, const RenamingOptions& options,
                                 const Clock& clock, RenameServices& services);

// What "Start renaming" would do to one row.
using PreviewRow = RowResult;

// Every row that the run would look at, with what the run would do to it, found by the run's
// own steps on a file system that only pretends to rename: a name that an earlier row frees or
// takes counts as in the run. Nothing is renamed.
std::vector<PreviewRow> previewComplexRename(const TableSession& table,
                                             const RenamingOptions& options, const Clock& clock,
                                             FileSystemCalls& fileSystem);

// File > "Rename files" > "Undo last renaming": after the user's Yes, puts the files of the
// journal's newest run with something left to undo back under their old names, newest first,
// and updates the rows that stand for them. Only a file put back, or found at its old name,
// counts as undone: the rest (gone, moved, its old name taken) is tried again by the next undo.
// The renamed count becomes the files put back.
RenameRunResult undoLastRenaming(TableSession& table, RenameServices& services);

// Texts of the runs.
QString nameColumnFailureMessage(const QString& path);
QString noSuchFileMessage(const QString& path);
QString nothingToUndoMessage();
QString noPartCheckedMessage();

} // namespace corvanteller
