#include "cli/cli.h"

#include "common/error.h"
#include "common/file_io.h"
#include "common/file_names.h"
#include "common/seams.h"
#include "kar/kar_reader.h"
#include "office/excel_export.h"
#include "office/word_commands.h"
#include "office/workbook_engine.h"
#include "office/xlsx_writer.h"
#include "scan/folder_scan.h"
#include "scan/scan_messages.h"
#include "settings/settings_file.h"
#include "table/column_widths.h"
#include "table/list_file.h"
#include "table/row_store.h"
#include "table/song_table_model.h"
#include "text/table_text.h"

#include <QFile>
#include <QTemporaryDir>

#include <limits>
#include <optional>
#include <sys/stat.h>

namespace corvanteller {
namespace {

constexpr int exitDone = 0;
constexpr int exitReadError = 1;
constexpr int exitWrongCall = 2;
constexpr int exitTooManyFolders = 3;

constexpr const char* helpText =
    "Usage:\n"
    "  corvanteller-cli scan [--from start|main] [--plenty] FOLDER\n"
    "  corvanteller-cli read [--from start|main] FILE...\n"
    "  corvanteller-cli export [--from start|main] [--plenty] [--defaults] FOLDER --to FILE\n"
    "  corvanteller-cli --help\n"
    "\n"
    "scan  walks FOLDER and every folder below it, breadth first, reads every file whose\n"
    "      name contains \"kar\" or \"KAR\" and writes one line per karaoke file: file name,\n"
    "      folder (ending with \"/\"), text 1, text 2, text 3, text 4.\n"
    "      --from start  keeps < and > in the texts, as the start window's scan (default)\n"
    "      --from main   cuts the texts at < and >, as the main window's scan\n"
    "      --plenty      allows 55,010 instead of 4,021 entries below \"..\" folders\n"
    "      Then a summary line goes to standard error:\n"
    "      # end=complete|guard|too-many-folders|read-error|row-limit|queue-limit rows=N "
    "listed=N\n"
    "read  writes one line per FILE: the path as given, then the four texts.\n"
    "export  scans FOLDER as scan does and writes the table to FILE, by its ending:\n"
    "      .sgl   the list file, as \"Save list\" writes it\n"
    "      .xlsx  the workbook of File > Export > \"Ms Excel\" (nothing for an empty table)\n"
    "      .docx  a Word document of the table's text\n"
    "      .txt   the table's text in UTF-8: one line per song, then the closing lines\n"
    "      The options are those of the settings file, or the program's first ones with\n"
    "      --defaults. Column widths count characters, not a font's pixels. Then the\n"
    "      summary line of scan goes to standard error.\n"
    "\n"
    "Fields are separated by TAB and written in UTF-8; inside a field a backslash is written\n"
    "as \\\\ and TAB, CR and LF as \\t, \\r and \\n.\n"
    "Exit status: 0 when the scan ran to an end, 1 after a file could not be read or FILE\n"
    "could not be written, 2 for a wrong call or a folder that does not exist, 3 after too\n"
    "many folders.\n";

struct Call {
    QByteArray command;
    RunSet runSet = RunSet::StartWindow;
    bool plenty = false;
    bool defaults = false;
    QByteArray target; // export --to
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
    if (call.command != "scan" && call.command != "read" && call.command != "export") {
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
        } else if (arg == "--plenty" && call.command != "read") {
            call.plenty = true;
        } else if (arg == "--defaults" && call.command == "export") {
            call.defaults = true;
        } else if (arg == "--to" && call.command == "export" && i + 1 < args.size() &&
                   call.target.isEmpty()) {
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
    if (call.command == "read" && call.operands.empty()) {
        problem = QStringLiteral("read takes at least one file");
        return std::nullopt;
    }
    return call;
}

class LineWriter {
public:
    explicit LineWriter(std::FILE* out) : out_(out) {}
    ~LineWriter() { flush(); }
    LineWriter(const LineWriter&) = delete;
    LineWriter& operator=(const LineWriter&) = delete;

    void field(const QString& text) {
        if (!lineEmpty_) {
            buffer_.append('\t');
        }
        buffer_.append(escapeField(text));
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
    std::fprintf(err, "# end=%s rows=%d listed=%d\n", endName(outcome.end), rows,
                 outcome.listedFolders);
    if (outcome.end == ScanEnd::ReadError) {
        return exitReadError;
    }
    return outcome.tooManyFolders() ? exitTooManyFolders : exitDone;
}

int runScan(const Call& call, std::FILE* out, std::FILE* err) {
    const QByteArray& folder = call.operands.front();
    if (!isFolderArgument(folder, err)) {
        return exitWrongCall;
    }
    RowStore rows;
    const ScanOutcome outcome =
        scanFolder(ScanRequest::forFolderBytes(folder, call.runSet, call.plenty), rows);
    {
        LineWriter writer(out);
        for (int row = 1; row <= rows.rowCount(); ++row) {
            for (int column = 1; column <= RowStore::columnCount; ++column) {
                writer.field(rows.text(column, row));
            }
            writer.endLine();
        }
    }
    return reportScanEnd(outcome, rows.rowCount(), err);
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
            printLine(err, QStringLiteral("corvanteller-cli: the table is empty: no workbook "
                                          "was written"));
            return true;
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
            printLine(err, QStringLiteral("Some cells were longer than 32767 characters and "
                                          "were cut in the workbook."));
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

int runExport(const Call& call, std::FILE* err) {
    const QByteArray& folder = call.operands.front();
    if (!isFolderArgument(folder, err)) {
        return exitWrongCall;
    }
    Options options;
    if (!call.defaults) {
        RunTimes times;
        const LoadResult loaded = loadSettings(options, times, SystemClock());
        if (!loaded.message.isEmpty()) {
            printLine(err, QStringLiteral("corvanteller-cli: settings: %1").arg(loaded.message));
        }
    }
    RowStore rows;
    const ScanOutcome outcome =
        scanFolder(ScanRequest::forFolderBytes(folder, call.runSet, call.plenty), rows);
    // The table as the window shows it after the scan, with its widest-cell lengths.
    SongTableModel table;
    table.rebuildFrom(rows);
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

int runRead(const Call& call, std::FILE* out, std::FILE* err) {
    int status = exitDone;
    LineWriter writer(out);
    for (const QByteArray& path : call.operands) {
        const QString shownPath = decodeFileName(path);
        const KarReadResult read = readKaraokeFile(path, shownPath, call.runSet);
        if (!read.ok) {
            writer.flush();
            printLine(err, read.error);
            status = exitReadError;
            continue;
        }
        writer.field(shownPath);
        writeTexts(writer, read.texts);
        writer.endLine();
    }
    return status;
}

} // namespace

QByteArray escapeField(const QString& text) {
    QByteArray bytes = text.toUtf8();
    QByteArray escaped;
    escaped.reserve(bytes.size());
    for (char ch : bytes) {
        switch (ch) {
        case '\\':
            escaped.append("\\\\");
            break;
        case '\t':
            escaped.append("\\t");
            break;
        case '\r':
            escaped.append("\\r");
            break;
        case '\n':
            escaped.append("\\n");
            break;
        default:
            escaped.append(ch);
        }
    }
    return escaped;
}

int runCli(const std::vector<QByteArray>& args, std::FILE* out, std::FILE* err) {
    if (!args.empty() && (args.front() == "--help" || args.front() == "-h")) {
        std::fputs(helpText, out);
        return exitDone;
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
    return call->command == "scan" ? runScan(*call, out, err) : runRead(*call, out, err);
}

} // namespace corvanteller
