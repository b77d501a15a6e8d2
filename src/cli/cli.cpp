// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/cli.h"

#include "common/tab_fields.h"

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
namespace {

constexpr int exitDone = 0;
constexpr int exitReadError = 1;
constexpr int exitWrongCall = 2;
constexpr int exitTooManyFolders = 3;

// help2man makes the manual page from this text: "Usage:" and the lines ending with ":" become
// its sections, the indented "-" lines its option list.
constexpr const char* helpText =
    "Usage: corvanteller-cli scan [--from start|main] [--plenty] [--no-cache] [--sort COLUMNS] "
    "[--] FOLDER\n"
    "  or:  corvanteller-cli read [--from start|main] [--] FILE...\n"
    "  or:  corvanteller-cli export [--from start|main] [--plenty] [--no-cache] [--defaults] "
    "[--sort COLUMNS] [--] FOLDER --to FILE\n"
    "  or:  corvanteller-cli import [--from start|main] [--sort COLUMNS] [--] WORKBOOK [--to "
    "FILE]\n"
    "  or:  corvanteller-cli write [--from start|main] [--dry-run] [--] FILE TEXT1 TEXT2 TEXT3 "
    "TEXT4\n"
    "  or:  corvanteller-cli write [--from start|main] [--dry-run] --list LIST.sgl\n"
    "  or:  corvanteller-cli undo-write\n"
    "  or:  corvanteller-cli --help | --version\n"
    "Lists the descriptive texts inside karaoke files (*.kar) as Corvanteller's song table\n"
    "shows them: title, performer, authors and the maker line. Fields are separated by TAB\n"
    "and written in UTF-8; inside a field a backslash is written as \\\\ and TAB, CR and LF\n"
    "as \\t, \\r and \\n. Messages go to standard error.\n"
    "\n"
    "Commands:\n"
    "  scan FOLDER   walks FOLDER and every folder below it, breadth first, reads every file\n"
    "                whose name contains \"kar\" or \"KAR\" and writes one line per karaoke\n"
    "                file: file name, folder (ending with \"/\"), text 1, text 2, text 3,\n"
    "                text 4. Then it writes the summary line\n"
    "                \"# end=END rows=N listed=N unreadable=N\" to standard error: END tells\n"
    "                how the scan ended (below), rows counts the lines written, listed the\n"
    "                folders listed and unreadable those of them that could not be read\n"
    "                (taken as empty; the first of them is named on standard error).\n"
    "  read FILE...  reads each FILE, whatever its name, and writes one line per FILE: the\n"
    "                path as given, then the four texts.\n"
    "  export FOLDER --to FILE\n"
    "                scans FOLDER as scan does and writes the table to FILE, by its ending:\n"
    "                .sgl the list file as \"Save list\" writes it; .xlsx the workbook of\n"
    "                File > Export > \"Ms Excel\"; .docx a Word document of the table's\n"
    "                text; .txt the table's text in UTF-8, one line per song, then the\n"
    "                closing lines. An empty table is written as such, except as a workbook:\n"
    "                as \"Ms Excel\" makes none, export then leaves FILE as it was, says so\n"
    "                and exits with status 1. The options are those of the settings file.\n"
    "                Column widths count characters, not a font's pixels. Then the summary\n"
    "                line of scan goes to standard error.\n"
    "  import WORKBOOK\n"
    "                reads the first worksheet of WORKBOOK (.xls or .xlsx) as File >\n"
    "                \"Import from Excel file\" of the start window fills the table (--from\n"
    "                main: of the main window), with the same footer rules, column offset,\n"
    "                row limit and messages, and writes the table: the header's captions,\n"
    "                then one line per row, every column the table shows; with --to FILE,\n"
    "                to FILE by its ending as export writes it. Dates read in the system\n"
    "                locale's short date and long time formats.\n"
    "  write FILE TEXT1 TEXT2 TEXT3 TEXT4\n"
    "                writes the four texts into the karaoke file FILE, so that read gives\n"
    "                them (with --from main: as the main window reads), every other byte\n"
    "                of its MIDI data unchanged. The new file is proved by reading it again\n"
    "                before it replaces the old one (a symbolic link's target is replaced),\n"
    "                and the old bytes go to a journal first. A file that already gives the\n"
    "                texts is left alone. Writes one line per file: written, unchanged,\n"
    "                would-write, refused or failed, the path, the file's four texts, the\n"
    "                four texts asked; why a file was refused and the count go to standard\n"
    "                error.\n"
    "  write --list LIST.sgl\n"
    "                writes the texts of every row of the list file into its file.\n"
    "  undo-write    puts back the files of the last text writing, byte for byte; a file\n"
    "                changed since then is left alone and reported.\n"
    "\n"
    "Options:\n"
    "  --from start  keeps < and > in the texts, as the start window's scan (the default)\n"
    "  --from main   cuts the texts at < and >, as the main window's scan\n"
    "  --plenty      (scan, export) allows 55,010 instead of 4,021 entries below \"..\"\n"
    "                folders since the last karaoke file, as the option \"Processing of a\n"
    "                plenty of files\"\n"
    "  --no-cache    (scan, export) reads every karaoke file. Otherwise a file whose size,\n"
    "                times and inode are as they were at an earlier scan with the same\n"
    "                --from gives the texts read then without being read again; the texts\n"
    "                are kept in ~/.cache/Corvanteller/scan-cache.bin\n"
    "  --from ...    (import) imports as the start or the main window's command\n"
    "  --to FILE     (export, import) the file to write: .sgl, .xlsx, .docx or .txt\n"
    "  --defaults    (export) the program's first options instead of the settings file's\n"
    "  --sort COLUMNS\n"
    "                (scan, export, import) sorts the rows as the main window's table does,\n"
    "                by COLUMN[,COLUMN...]: name, folder, title, d, e or maker, each\n"
    "                ascending or, with :desc, descending (title:desc,name)\n"
    "  --dry-run     (write) proves every row and writes nothing: tells what would be\n"
    "                written and why a row is refused\n"
    "  --list LIST.sgl\n"
    "                (write) the rows of a list file instead of FILE and texts\n"
    "  --            ends the options: every later argument is a FOLDER, a FILE or a\n"
    "                WORKBOOK\n"
    "  -h, --help    writes this help and exits\n"
    "  --version     writes the program's name and version and exits\n"
    "\n"

    "Scan ends:\n"
    "  complete          every folder below FOLDER was listed\n"
    "  guard             more entries below \"..\" folders than --plenty allows: the scan\n"
    "                    stopped there, as the program's scan does, without a message\n"
    "  too-many-folders  more than 17,119 folders listed: the scan stopped with the\n"
    "                    program's message\n"
    "  read-error        a karaoke file could not be read, or a folder could not be opened\n"
    "                    for want of file descriptors or memory: the scan stopped there and\n"
    "                    its path and reason went to standard error\n"
    "  row-limit         a karaoke file would have needed row 45,003 of the table\n"
    "  queue-limit       a folder would have been queued while 45,002 folders waited\n"
    "The lines written before the end stay valid in every case.\n"
    "\n"
    "Exit status:\n"
    "  0  the scan ran to an end other than read-error and too-many-folders, or every\n"
    "     FILE was read, or the workbook was imported; also after --help and --version\n"
    "  1  a karaoke file or a folder could not be read (read goes on with the next FILE),\n"
    "     export could not write FILE or left it as it was (an empty table as .xlsx), or\n"
    "     import could not read WORKBOOK or write FILE (the reason goes to standard error)\n"
    "     write: a row was refused or a file could not be written; undo-write: a\n"
    "     file was left alone, or there was nothing to undo\n"
    "  2  a wrong call, or a FOLDER that does not exist\n"
    "  3  the scan stopped after too many folders\n";

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
        problem = QStringLiteral("no command given");
        return std::nullopt;
    }
    Call call;
    call.command = args.front();
    if (call.command != "scan" && call.command != "read" && call.command != "export" &&
        call.command != "import") {
        problem = QStringLiteral("unknown command \"%1\"").arg(decodeFileName(call.command));
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
                problem = QStringLiteral("--sort takes name, folder, title, d, e or maker, "
                                         "each with :desc or not, separated by commas");
                return std::nullopt;
            }
            call.sortKeys = *keys;
        } else if (arg == "--to" && (call.command == "export" || call.command == "import") &&
                   i + 1 < args.size() && call.target.isEmpty()) {
            call.target = args[++i];
        } else {
            problem = QStringLiteral("wrong option \"%1\"").arg(decodeFileName(arg));
            return std::nullopt;
        }
    }
    if ((call.command == "scan" || call.command == "export") && call.operands.size() != 1) {
        problem = QStringLiteral("%1 takes exactly one folder").arg(decodeFileName(call.command));
        return std::nullopt;
    }
    if (call.command == "export" && !exportFormat(call.target)) {
        problem = QStringLiteral("export needs --to FILE ending in .sgl, .xlsx, .docx or .txt");
        return std::nullopt;
    }
    if (call.command == "import" && call.operands.size() != 1) {
        problem = QStringLiteral("import takes exactly one workbook");
        return std::nullopt;
    }
    if (call.command == "import" && !call.target.isEmpty() && !exportFormat(call.target)) {
        problem = QStringLiteral("import --to needs a FILE ending in .sgl, .xlsx, .docx or .txt");
        return std::nullopt;
    }
    if (call.command == "read" && call.operands.empty()) {
        problem = QStringLiteral("read takes at least one file");
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
    printLine(err,
              QStringLiteral("corvanteller-cli: no such folder: %1").arg(decodeFileName(folder)));
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
            printLine(err, QStringLiteral("corvanteller-cli: the table is empty: no workbook "
                                          "was written, %1 was left as it was")
                               .arg(path));
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
        printLine(err, QStringLiteral("corvanteller-cli: settings: %1").arg(loaded.message));
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
        printLine(err, QStringLiteral("corvanteller-cli: %1: %2")
                           .arg(decodeFileName(call.target), error.text()));
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
        printLine(
            err,
            QStringLiteral("corvanteller-cli: %1: %2").arg(decodeFileName(workbook), error.text()));
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
        printLine(err, QStringLiteral("corvanteller-cli: %1: %2")
                           .arg(decodeFileName(call.target), error.text()));
        return exitReadError;
    }
    return exitDone;
}

} // namespace

namespace {

int runCommand(const std::vector<QByteArray>& args, std::FILE* out, std::FILE* err) {
    if (!args.empty() && (args.front() == "--help" || args.front() == "-h")) {
        std::fputs(helpText, out);
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
        printLine(err, QStringLiteral("corvanteller-cli: %1 (see --help)").arg(problem));
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
        reason = QStringLiteral("Unknown error");
    }
    std::fflush(out);
    std::fprintf(err, "corvanteller-cli: %s\n", reason.toUtf8().constData());
    return exitReadError;
}

} // namespace corvanteller
