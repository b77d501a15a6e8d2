// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/file_commands.h"

#include "app/app_context.h"
#include "rename/failure_messages.h"
#include "rename/rename_journal.h"
#include "rename/rename_runs.h"
#include "table/table_controller.h"
#include "ui/ui_services.h"
#include "write/table_text_writing.h"
#include "write/text_write_journal.h"

#include <set>
#include <utility>

namespace corvanteller {

FileCommands::FileCommands(AppContext& context, TableController& controller, QWidget* dialogParent,
                           Views views)
    : context_(context), controller_(controller), dialogParent_(dialogParent),
      views_(std::move(views)) {}

void FileCommands::renameFromNameColumn() {
    runRenaming(&corvanteller::renameFromNameColumn);
}

void FileCommands::undoLastRenaming() {
    runRenaming(&corvanteller::undoLastRenaming);
}

void FileCommands::runRenaming(RenameRunResult (*run)(TableSession&, RenameServices&)) {
    RenameServices services = renameServices();
    const RenameRunResult result = run(context_.table, services);
    if (result.started) {
        views_.showStatus(context_.table.renamingStatusText());
    }
    views_.showTable();
    if (!result.notice.isEmpty()) {
        context_.ui.showMessage(dialogParent_, result.notice);
    }
}

MessageReply FileCommands::showRunFailure(const QString& text) {
    return context_.ui.showFailureMessage(dialogParent_, text) ? MessageReply::NoMoreMessages
                                                               : MessageReply::Continue;
}

RenameServices FileCommands::renameServices() {
    return {
        systemFileSystem(),
        renameJournalPath(context_.settingsPath),
        context_.options.general.errorMessages,
        [this](const QString& text) { return showRunFailure(text); },
        [this](const QString& question) { return context_.ui.askYesNo(dialogParent_, question); },
        &context_.clock};
}

TextWriteServices FileCommands::textWriteServices() {
    TextWriteServices services{systemFileSystem(),
                               textWriteJournalPath(renameJournalPath(context_.settingsPath))};
    services.confirm = [this](const QString& question) {
        return context_.ui.askYesNo(dialogParent_, question);
    };
    services.clock = &context_.clock;
    return services;
}

std::vector<TextWriteRowResult> FileCommands::previewTextWriting() {
    TextWriteServices services = textWriteServices();
    services.dryRun = true;
    TextWriteRunResult preview = writeTextsIntoFiles(textWriteRequests(context_.table.model()),
                                                     runSetOf(context_.table.origin), services);
    std::vector<TextWriteRowResult> listed;
    previewedWrites_.clear();
    for (TextWriteRowResult& row : preview.rows) {
        if (row.outcome != TextWriteOutcome::Unchanged) {
            previewedWrites_.push_back({row.row, row.path, row.newTexts});
            listed.push_back(std::move(row));
        }
    }
    return listed;
}

void FileCommands::writePreviewedTexts() {
    TextWriteServices services = textWriteServices();
    const std::vector<TextWriteRequest> requests = std::exchange(previewedWrites_, {});
    const TextWriteRunResult result =
        writeTextsIntoFiles(requests, runSetOf(context_.table.origin), services);
    if (result.written > 0) {
        controller_.startFreshHistory();
        views_.showTable();
    }
    reportTextWriting(result);
}

void FileCommands::undoLastTextWriting() {
    TextWriteServices services = textWriteServices();
    const TextWriteRunResult result = corvanteller::undoLastTextWriting(services);
    if (result.rows.empty() && result.notice.isEmpty()) {
        return; // the question was answered No
    }
    std::set<QByteArray> putBack;
    for (const TextWriteRowResult& row : result.rows) {
        if (row.outcome == TextWriteOutcome::Written) {
            putBack.insert(row.path);
        }
    }
    TableSession& table = context_.table;
    if (!putBack.empty()) {
        controller_.startFreshHistory();
        views_.showTable();
    }
    if (rereadRowTexts(table.model(), putBack, runSetOf(table.origin)) > 0) {
        // As after an open: the next activation rebuilds the table from the stores.
        table.refreshStores();
        table.unsavedChanges = true;
    }
    if (result.rows.empty()) {
        context_.ui.showMessage(dialogParent_, result.notice);
        return;
    }
    reportTextWriting(result);
}

void FileCommands::reportTextWriting(const TextWriteRunResult& result) {
    if (!result.notice.isEmpty()) {
        context_.ui.showMessage(dialogParent_, result.notice);
    }
    context_.ui.showMessage(dialogParent_, result.countMessage());
    FailureMessages failures(context_.options.general.errorMessages,
                             [this](const QString& text) { return showRunFailure(text); });
    for (const TextWriteRowResult& row : result.rows) {
        if (!row.message.isEmpty()) {
            failures.show(row.message);
        }
    }
}

} // namespace corvanteller
