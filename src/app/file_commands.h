// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "write/text_write_run.h"

#include <functional>
#include <vector>

class QString;
class QWidget;

namespace corvanteller {

class AppContext;
class TableController;
class TableSession;
struct RenameRunResult;
struct RenameServices;
enum class MessageReply;

// The table's commands that change files on disk: renaming from the name column and its undo,
// and texts written into the karaoke files and their undo. Each asks and reports through the
// UI services with the window as the dialogs' parent; a run that changed files starts a fresh
// table history, since the files' own undo puts them back.
class FileCommands {
public:
    // What the window shows once a run has changed the table: the status line's text, and the
    // table with its history and counts.
    struct Views {
        std::function<void(const QString& status)> showStatus;
        std::function<void()> showTable;
    };

    FileCommands(AppContext& context, TableController& controller, QWidget* dialogParent,
                 Views views);

    void renameFromNameColumn();
    void undoLastRenaming();

    // The rows a writing would change, with their outcomes, as the preview lists them; the
    // next writePreviewedTexts writes them.
    std::vector<TextWriteRowResult> previewTextWriting();
    void writePreviewedTexts();
    void undoLastTextWriting();

private:
    void runRenaming(RenameRunResult (*run)(TableSession&, RenameServices&));
    RenameServices renameServices();
    TextWriteServices textWriteServices();
    // One failure message of a run with "OK" and "No more messages".
    MessageReply showRunFailure(const QString& text);
    // The run's notice, its count and its refusals one by one.
    void reportTextWriting(const TextWriteRunResult& result);

    AppContext& context_;
    TableController& controller_;
    QWidget* dialogParent_;
    Views views_;
    std::vector<TextWriteRequest> previewedWrites_;
};

} // namespace corvanteller
