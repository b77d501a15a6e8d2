// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/write_command.h"

#include "cli/cli_texts.h"

#include "common/error.h"
#include "common/file_names.h"
#include "common/tab_fields.h"
#include "kar/song_columns.h"
#include "rename/file_lookup.h"
#include "rename/rename_journal.h"
#include "rename/rename_primitive.h"
#include "settings/settings_file.h"
#include "table/list_file.h"
#include "table/song_table_model.h"
#include "write/text_write_journal.h"
#include "write/text_write_run.h"

#include <QFile>

#include <optional>

namespace corvanteller {

using namespace Qt::StringLiterals;

namespace {

constexpr int exitDone = 0;
constexpr int exitRefused = 1;
constexpr int exitWrongCall = 2;

int wrongCall(std::FILE* err, const QString& problem) {
    std::fprintf(err, "corvanteller-cli: %s\n", cliTexts::seeHelp(problem).toUtf8().constData());
    return exitWrongCall;
}

void printMessage(std::FILE* err, const QString& text) {
    std::fprintf(err, "%s\n", text.toUtf8().constData());
}

QByteArray textsFields(const SongTexts& texts) {
    return escapeField(texts.first) + '\t' + escapeField(texts.second) + '\t' +
           escapeField(texts.third) + '\t' + escapeField(texts.fourth);
}

const char* outcomeWord(TextWriteOutcome outcome) {
    switch (outcome) {
    case TextWriteOutcome::Unchanged:
        return "unchanged";
    case TextWriteOutcome::Written:
        return "written";
    case TextWriteOutcome::WouldWrite:
        return "would-write";
    case TextWriteOutcome::Refused:
        return "refused";
    case TextWriteOutcome::Failed:
        return "failed";
    }
    return "unchanged";
}

QString journalPath() {
    return textWriteJournalPath(renameJournalPath(settingsFilePath()));
}

// One line per row: outcome, path, the file's texts before, the row's texts; the reasons and
// the count go to standard error.
int report(const TextWriteRunResult& result, bool undo, bool dryRun, std::FILE* out,
           std::FILE* err) {
    for (const TextWriteRowResult& row : result.rows) {
        std::fprintf(out, "%s\t%s\t%s\t%s\n", outcomeWord(row.outcome),
                     escapeField(displayPath(row.path)).constData(),
                     textsFields(row.oldTexts).constData(), textsFields(row.newTexts).constData());
        if (!row.message.isEmpty()) {
            printMessage(err, row.message);
        }
    }
    std::fflush(out);
    if (!result.notice.isEmpty()) {
        printMessage(err, result.notice);
    }
    if (undo) {
        printMessage(err, cliTexts::putBackCount(result.written, result.refused));
    } else if (dryRun) {
        printMessage(err, cliTexts::wouldWriteCount(result.written, result.refused));
    } else {
        printMessage(err, result.countMessage());
    }
    return result.refused == 0 && result.notice.isEmpty() ? exitDone : exitRefused;
}

// The rows of a list file whose texts the files are to take.
std::optional<std::vector<TextWriteRequest>> listRequests(const QByteArray& list, std::FILE* err) {
    SongTableModel model;
    try {
        const ListOpenResult opened = openListFile(QFile::decodeName(list), model, 0);
        if (!opened.opened()) {
            printMessage(err, u"corvanteller-cli: "_s +
                                  cliTexts::fileProblem(decodeFileName(list), opened.message));
            return std::nullopt;
        }
    } catch (const UserError& error) {
        printMessage(err, u"corvanteller-cli: "_s +
                              cliTexts::fileProblem(decodeFileName(list), error.text()));
        return std::nullopt;
    }
    std::vector<TextWriteRequest> requests;
    FileLookup lookup;
    for (int row = 1; row <= model.songCount(); ++row) {
        const std::optional<FoundFile> found = lookup.find(model.rowFile(row));
        const SongTexts texts{
            model.cell(row, SongColumn::Title), model.cell(row, SongColumn::TextD),
            model.cell(row, SongColumn::TextE), model.cell(row, SongColumn::Maker)};
        if (!found) {
            printMessage(err,
                         u"corvanteller-cli: "_s + cliTexts::noSuchFile(model.rowFile(row).folder,
                                                                        model.rowFile(row).name));
            continue;
        }
        requests.push_back({row, found->path(), texts});
    }
    return requests;
}

} // namespace

int runWriteCommand(const std::vector<QByteArray>& args, std::FILE* out, std::FILE* err) {
    RunSet runSet = RunSet::StartWindow;
    bool dryRun = false;
    QByteArray list;
    std::vector<QByteArray> operands;
    bool optionsEnded = false;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const QByteArray& arg = args[i];
        if (optionsEnded || !arg.startsWith("--")) {
            operands.push_back(arg);
        } else if (arg == "--") {
            optionsEnded = true;
        } else if (arg == "--from" && i + 1 < args.size() &&
                   (args[i + 1] == "start" || args[i + 1] == "main")) {
            runSet = args[++i] == "main" ? RunSet::MainWindow : RunSet::StartWindow;
        } else if (arg == "--dry-run") {
            dryRun = true;
        } else if (arg == "--list" && i + 1 < args.size() && list.isEmpty()) {
            list = args[++i];
        } else {
            return wrongCall(err, cliTexts::wrongOption(decodeFileName(arg)));
        }
    }
    std::vector<TextWriteRequest> requests;
    if (!list.isEmpty()) {
        if (!operands.empty()) {
            return wrongCall(err, cliTexts::writeListTakesNoFile());
        }
        std::optional<std::vector<TextWriteRequest>> rows = listRequests(list, err);
        if (!rows) {
            return exitRefused;
        }
        requests = std::move(*rows);
    } else {
        if (operands.size() != 5) {
            return wrongCall(err, cliTexts::writeTakesFileAndTexts());
        }
        requests.push_back(
            {1, operands[0],
             SongTexts{QString::fromUtf8(operands[1]), QString::fromUtf8(operands[2]),
                       QString::fromUtf8(operands[3]), QString::fromUtf8(operands[4])}});
    }
    TextWriteServices services{systemFileSystem(), journalPath()};
    services.dryRun = dryRun;
    const TextWriteRunResult result = writeTextsIntoFiles(requests, runSet, services);
    return report(result, false, dryRun, out, err);
}

int runUndoWriteCommand(const std::vector<QByteArray>& args, std::FILE* out, std::FILE* err) {
    if (args.size() != 1) {
        return wrongCall(err, cliTexts::undoWriteTakesNothing());
    }
    TextWriteServices services{systemFileSystem(), journalPath()};
    const TextWriteRunResult result = undoLastTextWriting(services);
    return report(result, true, false, out, err);
}

} // namespace corvanteller
