// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/cli.h"

#include "common/tab_fields.h"

#include "cli/cli_texts.h"
#include "cli/write_command.h"

#include "common/build_info.h"
#include "common/error.h"
#include "common/file_io.h"
#include "common/file_names.h"
#include "common/seams.h"
#include "kar/kar_reader.h"
#include "kar/row_store.h"
#include "office/excel_export.h"
#include "office/excel_import.h"
#include "office/word_commands.h"
#include "office/workbook_engine.h"
#include "office/xlsx_writer.h"
#include "scan/folder_scan.h"
#include "scan/scan_cache.h"
#include "scan/scan_messages.h"
#include "settings/settings_file.h"
#include "table/column_widths.h"
#include "table/list_file.h"
#include "table/song_table_model.h"
#include "table/table_session.h"
#include "table/table_sort.h"
#include "text/table_text.h"

#include <QFile>
#include <QTemporaryDir>

#include <cerrno>
#include <limits>
#include <new>
#include <optional>
#include <sys/stat.h>

namespace corvanteller {

using namespace Qt::StringLiterals;

namespace {

constexpr int exitDone = 0;
constexpr int exitReadError = 1;
constexpr int exitWrongCall = 2;
constexpr int exitTooManyFolders = 3;

struct Call {
    QByteArray command;
    RunSet runSet = RunSet::StartWindow;
    bool plenty = false;
    bool noCache = false;
    bool defaults = false;
    QByteArray target; // export --to
    std::vector<SortKey> sortKeys;
    std::vector<QByteArray> operands;
};

enum class ExportFormat { List, Workbook, Document, Text };

std::optional<ExportFormat> exportFormat(const QByteArray& target) {
    const QByteArray name = target.toLower();
    if (name.endsWith(".sgl")) {
        return ExportFormat::List;
    }
    if (name.endsWith(".xlsx")) {
        return ExportFormat::Workbook;
    }
    if (name.endsWith(".docx")) {
        return ExportFormat::Document;
    }
    if (name.endsWith(".txt")) {
        return ExportFormat::Text;
    }
    return std::nullopt;
}

// "title,name:desc": the --sort columns; nothing for a wrong name.
std::optional<std::vector<SortKey>> parseSortKeys(const QByteArray& text) {
    static const std::pair<const char*, int> columns[] = {
        {"name", SongColumn::FileName}, {"folder", SongColumn::Folder},
        {"title", SongColumn::Title},   {"d", SongColumn::TextD},
        {"e", SongColumn::TextE},       {"maker", SongColumn::Maker},
    };
    std::vector<SortKey> keys;
    for (QByteArray item : text.split(',')) {
        SortKey key;
        key.descending = item.endsWith(":desc");
        if (key.descending) {
            item.chop(5);
        }
        const auto found = std::find_if(std::begin(columns), std::end(columns),
                                        [&](const auto& column) { return item == column.first; });
        if (found == std::end(columns)) {
            return std::nullopt;
        }
        key.column = found->second;
        keys.push_back(key);
    }
    return keys;
}

void sortTable(SongTableModel& table, const Call& call) {
    if (!call.sortKeys.empty()) {
        table.reorderRows(sortedRowOrder(table, call.sortKeys, QLocale()));
    }
}

QByteArray toUtf8(const QString& text) {
    return text.toUtf8();
}

const char* endName(ScanEnd end) {
    switch (end) {
    case ScanEnd::Complete:
        return "complete";
    case ScanEnd::Guard:
        return "guard";
    case ScanEnd::TooManyFolders:
        return "too-many-folders";
    case ScanEnd::ReadError:
        return "read-error";
    case ScanEnd::RowLimit:
        return "row-limit";
    case ScanEnd::QueueLimit:
        return "queue-limit";
    case ScanEnd::Stopped:
        return "stopped";
    }
    return "complete";
}

std::optional<Call> parseCall(const std::vector<QByteArray>& args, QString& problem) {
    if (args.empty()) {
        problem = cliTexts::noCommand();
        return std::nullopt;
    }
    Call call;
    call.command = args.front();
    if (call.command != "scan" && call.command != "read" && call.command != "export" &&
        call.command != "import") {
        problem = cliTexts::unknownCommand(decodeFileName(call.command));
        return std::nullopt;
    }
    bool optionsEnded = false;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const QByteArray& arg = args[i];
        if (optionsEnded || !arg.startsWith("--")) {
            call.operands.push_back(arg);
        } else if (arg == "--") {
            optionsEnded = true;
        } else if (arg == "--from" && i + 1 < args.size() &&
                   (args[i + 1] == "start" || args[i + 1] == "main")) {
            call.runSet = args[++i] == "main" ? RunSet::MainWindow : RunSet::StartWindow;
        } else if (arg == "--plenty" && call.command != "read" && call.command != "import") {
            call.plenty = true;
        } else if (arg == "--no-cache" && (call.command == "scan" || call.command == "export")) {
            call.noCache = true;
        } else if (arg == "--defaults" && call.command == "export") {
            call.defaults = true;
        } else if (arg == "--sort" && call.command != "read" && i + 1 < args.size() &&
                   call.sortKeys.empty()) {
            const std::optional<std::vector<SortKey>> keys = parseSortKeys(args[++i]);
            if (!keys) {
                problem = cliTexts::wrongSort();
                return std::nullopt;
            }
            call.sortKeys = *keys;
        } else if (arg == "--to" && (call.command == "export" || call.command == "import") &&
                   i + 1 < args.size() && call.target.isEmpty()) {
            call.target = args[++i];
        } else {
            problem = cliTexts::wrongOption(decodeFileName(arg));
            return std::nullopt;
        }
    }
    if ((call.command == "scan" || call.command == "export") && call.operands.size() != 1) {
        problem = cliTexts::takesOneFolder(decodeFileName(call.command));
        return std::nullopt;
    }
    if (call.command == "export" && !exportFormat(call.target)) {
        problem = cliTexts::exportNeedsTarget();
        return std::nullopt;
    }
    if (call.command == "import" && call.operands.size() != 1) {
        problem = cliTexts::importTakesOneWorkbook();
        return std::nullopt;
    }
    if (call.command == "import" && !call.target.isEmpty() && !exportFormat(call.target)) {
        problem = cliTexts::importTargetEnding();
        return std::nullopt;
    }
    if (call.command == "read" && call.operands.empty()) {
        problem = cliTexts::readTakesFiles();
        return std::nullopt;
    }
    return call;
}

class LineWriter {
public:
    explicit LineWriter(std::FILE* out) : out_(out) {}
    // A line cut short by an exception is not written.
    ~LineWriter() {
        buffer_.truncate(buffer_.lastIndexOf('\n') + 1);
        flush();
    }
    LineWriter(const LineWriter&) = delete;
    LineWriter& operator=(const LineWriter&) = delete;

    void field(const QString& text) {
        if (!lineEmpty_) {
            buffer_.append('\t');
        }
        appendEscapedField(buffer_, text);
        lineEmpty_ = false;
    }
    void endLine() {
        buffer_.append('\n');
        lineEmpty_ = true;
        if (buffer_.size() > 1 << 16) {
            flush();
        }
    }
    void flush() {
        std::fwrite(buffer_.constData(), 1, static_cast<std::size_t>(buffer_.size()), out_);
        std::fflush(out_);
        buffer_.clear();
    }

private:
    std::FILE* out_;
    QByteArray buffer_;
    bool lineEmpty_ = true;
};

void writeTexts(LineWriter& writer, const SongTexts& texts) {
    writer.field(texts.first);
    writer.field(texts.second);
    writer.field(texts.third);
    writer.field(texts.fourth);
}

void printLine(std::FILE* stream, const QString& text) {
    std::fprintf(stream, "%s\n", toUtf8(text).constData());
}

bool isFolder(const QByteArray& path) {
    struct stat status {};
    return ::stat(path.constData(), &status) == 0 && S_ISDIR(status.st_mode);
}

bool isFolderArgument(const QByteArray& folder, std::FILE* err) {
    if (isFolder(folder)) {
        return true;
    }
    printLine(err, u"corvanteller-cli: "_s + cliTexts::noSuchFolder(decodeFileName(folder)));
    return false;
}

// Tells how the scan ended, as the summary line and the exit status say it.
int reportScanEnd(const ScanOutcome& outcome, int rows, std::FILE* err) {
    if (outcome.end == ScanEnd::ReadError) {
        printLine(err, outcome.errorText);
    }
    if (outcome.tooManyFolders()) {
        printLine(err, tooManyFoldersMessage());
    }
    if (outcome.unreadableFolders > 0) {
        printLine(err, unreadableFoldersMessage(outcome));
    }
    std::fprintf(err, "# end=%s rows=%d listed=%d unreadable=%d\n", endName(outcome.end), rows,
                 outcome.listedFolders, outcome.unreadableFolders);
    if (outcome.end == ScanEnd::ReadError) {
        return exitReadError;
    }
    return outcome.tooManyFolders() ? exitTooManyFolders : exitDone;
}

// The scan of the call's folder, with the cache of earlier scans unless --no-cache; a cache
// that cannot be written is a cache lost, not a failed scan.
template <typename Rows> ScanOutcome scanCalledFolder(const Call& call, Rows& rows) {
    ScanRequest request =
        ScanRequest::forFolderBytes(call.operands.front(), call.runSet, call.plenty);
    if (call.noCache) {
        return scanFolder(request, rows);
    }
    ScanCache cache;
    request.cache = &cache;
    const ScanOutcome outcome = scanFolder(request, rows);
    cache.save();
    return outcome;
}

// Sorted, the rows wait for the scan's end in the table the main window would show.
int runSortedScan(const Call& call, std::FILE* out, std::FILE* err) {
    RowStore rows;
    const ScanOutcome outcome = scanCalledFolder(call, rows);
    SongTableModel table;
    table.rebuildFrom(rows);
    sortTable(table, call);
    {
        LineWriter writer(out);
        for (int row = 1; row <= table.songCount(); ++row) {
            for (int column = SongColumn::FileName; column <= SongColumn::Maker; ++column) {
                writer.field(table.cellRef(row, column));
            }
            writer.endLine();
        }
    }
    return reportScanEnd(outcome, rows.rowCount(), err);
}

int runScan(const Call& call, std::FILE* out, std::FILE* err) {
    const QByteArray& folder = call.operands.front();
    if (!isFolderArgument(folder, err)) {
        return exitWrongCall;
    }
    if (!call.sortKeys.empty()) {
        return runSortedScan(call, out, err);
    }
    // The lines go out while the scan runs; a row store is not needed.
    int rows = 0;
    ScanOutcome outcome;
    {
        LineWriter writer(out);
        const ScanRowSink writeRow = [&](const QString& name, const QString& storedFolder,
                                         const SongTexts& texts) {
            writer.field(name);
            writer.field(storedFolder);
            writeTexts(writer, texts);
            writer.endLine();
            ++rows;
        };
        outcome = scanCalledFolder(call, writeRow);
    }
    return reportScanEnd(outcome, rows, err);
}

int runRead(const Call& call, std::FILE* out, std::FILE* err) {
    int status = exitDone;
    LineWriter writer(out);
    for (const QByteArray& path : call.operands) {
        const QString shownPath = decodeFileName(path);
        const KarReadResult read = readKaraokeFile(path, call.runSet);
        if (!read.ok) {
            writer.flush();
            printLine(err, karReadFailureText(shownPath, read));
            status = exitReadError;
            continue;
        }
        writer.field(shownPath);
        writeTexts(writer, read.texts);
        writer.endLine();
    }
    return status;
}

// The workbook's column widths come from the widest cells; without a display there is no font,
// so the longest text of a column counts as its widest.
int characterCount(const QString& text) {
    return static_cast<int>(text.size());
}

// Writes the table to the file; false, with the reason on err, when it could not be written.
bool writeExport(const SongTableModel& table, const Options& options, ExportFormat format,
                 const QString& path, std::FILE* err) {
    const QDateTime now = SystemClock().now();
    const QLocale locale = QLocale::system();
    switch (format) {
    case ExportFormat::List:
        writeListFile(path, table);
        return true;
    case ExportFormat::Workbook: {
        WorkbookEngine engine;
        if (!buildExportWorkbook(engine, table, options.excel, now, locale)) {
            // A zero exit would pass an older workbook at FILE off as this table.
            printLine(err, u"corvanteller-cli: "_s + cliTexts::emptyTableNoWorkbook(path));
            return false;
        }
        // The library writes its own file; it goes to the target only once it is complete.
        const QTemporaryDir scratch;
        if (!scratch.isValid()) {
            throw UserError(scratch.errorString());
        }
        const QString written = scratch.filePath(QStringLiteral("export.xlsx"));
        const XlsxWriteReport report = writeXlsx(engine.workbook(1), written);
        writeFileAtomically(path, readFileBounded(written, std::numeric_limits<qint64>::max()));
        if (report.cutCells > 0) {
            printLine(err, cutCellsMessage());
        }
        return true;
    }
    case ExportFormat::Document: {
        DocumentEngine engine;
        saveText(engine,
                 tableText(table, TableTextLayout::WithFileName, options.textFormat, now, locale),
                 path);
        return true;
    }
    case ExportFormat::Text:
        writeFileAtomically(path, (tableText(table, TableTextLayout::WithFileName,
                                             options.textFormat, now, locale) +
                                   u'\n')
                                      .toUtf8());
        return true;
    }
    return true;
}

Options loadOptions(std::FILE* err) {
    Options options;
    RunTimes times;
    const LoadResult loaded = loadSettings(options, times, SystemClock());
    if (!loaded.message.isEmpty()) {
        printLine(err, u"corvanteller-cli: "_s + cliTexts::settingsProblem(loaded.message));
    }
    return options;
}

int runExport(const Call& call, std::FILE* err) {
    const QByteArray& folder = call.operands.front();
    if (!isFolderArgument(folder, err)) {
        return exitWrongCall;
    }
    const Options options = call.defaults ? Options() : loadOptions(err);
    RowStore rows;
    const ScanOutcome outcome = scanCalledFolder(call, rows);
    // The table as the window shows it after the scan, with its widest-cell lengths.
    SongTableModel table;
    table.rebuildFrom(rows);
    sortTable(table, call);
    table.setWidestCellLengths(widestCellLengths(table, characterCount));

    bool written = false;
    try {
        written = writeExport(table, options, *exportFormat(call.target),
                              QFile::decodeName(call.target), err);
    } catch (const UserError& error) {
        printLine(err, u"corvanteller-cli: "_s +
                           cliTexts::fileProblem(decodeFileName(call.target), error.text()));
    }
    const int status = reportScanEnd(outcome, rows.rowCount(), err);
    return written ? status : exitReadError;
}

int runImport(const Call& call, std::FILE* out, std::FILE* err) {
    const QByteArray& workbook = call.operands.front();
    const Options options = loadOptions(err);
    TableSession table;
    SongTableModel& model = table.model();
    ImportWidths widths;
    widths.mode = options.general.columnWidthMode;
    widths.measure = characterCount;
    try {
        WorkbookEngine engine;
        importFromExcel(engine, QFile::decodeName(workbook),
                        call.runSet == RunSet::MainWindow ? ImportingWindow::Main
                                                          : ImportingWindow::Start,
                        table, widths, QLocale::system());
        if (model.takeCutCellCount() > 0) {
            printLine(err, longCellsCutMessage());
        }
        sortTable(model, call);
    } catch (const UserError& error) {
        printLine(err, u"corvanteller-cli: "_s +
                           cliTexts::fileProblem(decodeFileName(workbook), error.text()));
        return exitReadError;
    }
    if (call.target.isEmpty()) {
        LineWriter writer(out);
        for (int row = 0; row <= model.songCount(); ++row) {
            for (int column = 0; column < model.columnCount(); ++column) {
                writer.field(row == 0 ? model.headerText(column) : model.cell(row, column));
            }
            writer.endLine();
        }
        return exitDone;
    }
    if (widths.mode != ColumnWidthMode::WidestLine) {
        model.setWidestCellLengths(widestCellLengths(model, characterCount));
    }
    try {
        writeExport(model, options, *exportFormat(call.target), QFile::decodeName(call.target),
                    err);
    } catch (const UserError& error) {
        printLine(err, u"corvanteller-cli: "_s +
                           cliTexts::fileProblem(decodeFileName(call.target), error.text()));
        return exitReadError;
    }
    return exitDone;
}

} // namespace

namespace {

int runCommand(const std::vector<QByteArray>& args, std::FILE* out, std::FILE* err) {
    if (!args.empty() && (args.front() == "--help" || args.front() == "-h")) {
        std::fputs(cliTexts::helpText().constData(), out);
        return exitDone;
    }
    if (!args.empty() && args.front() == "--version") {
        std::fprintf(out, "corvanteller-cli (%s) %s\n", build::programName, build::version);
        return exitDone;
    }
    if (!args.empty() && args.front() == "write") {
        return runWriteCommand(args, out, err);
    }
    if (!args.empty() && args.front() == "undo-write") {
        return runUndoWriteCommand(args, out, err);
    }
    QString problem;
    const std::optional<Call> call = parseCall(args, problem);
    if (!call) {
        printLine(err, u"corvanteller-cli: "_s + cliTexts::seeHelp(problem));
        return exitWrongCall;
    }
    if (call->command == "export") {
        return runExport(*call, err);
    }
    if (call->command == "import") {
        return runImport(*call, out, err);
    }
    return call->command == "scan" ? runScan(*call, out, err) : runRead(*call, out, err);
}

} // namespace

int runCli(const std::vector<QByteArray>& args, std::FILE* out, std::FILE* err) {
    // Whatever a command throws (out of memory under a limit among it) ends it with a
    // message, never with an abort and a core dump.
    QString reason;
    try {
        return runCommand(args, out, err);
    } catch (const UserError& error) {
        reason = error.text();
    } catch (const std::bad_alloc&) {
        reason = ioErrorText(ENOMEM);
    } catch (const std::exception& error) {
        reason = QString::fromLocal8Bit(error.what());
    } catch (...) {
        reason = cliTexts::unknownError();
    }
    std::fflush(out);
    std::fprintf(err, "corvanteller-cli: %s\n", reason.toUtf8().constData());
    return exitReadError;
}

} // namespace corvanteller
