// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/cli_texts.h"

#include <QCoreApplication>

namespace corvanteller::cliTexts {

namespace {

// help2man makes the manual page from this text: "Usage:" and the lines ending with ":" become
// its sections, the indented "-" lines its option list.
const char* const helpSource = QT_TRANSLATE_NOOP(
    "Cli",
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
    "  3  the scan stopped after too many folders\n");

} // namespace

QByteArray helpText() {
    return QCoreApplication::translate("Cli", helpSource).toUtf8();
}

QString noCommand() {
    return QCoreApplication::translate("Cli", "no command given");
}

QString unknownCommand(const QString& command) {
    return QCoreApplication::translate("Cli", "unknown command \"%1\"").arg(command);
}

QString wrongSort() {
    return QCoreApplication::translate("Cli", "--sort takes name, folder, title, d, e or maker, "
                                              "each with :desc or not, separated by commas");
}

QString wrongOption(const QString& option) {
    return QCoreApplication::translate("Cli", "wrong option \"%1\"").arg(option);
}

QString takesOneFolder(const QString& command) {
    return QCoreApplication::translate("Cli", "%1 takes exactly one folder").arg(command);
}

QString exportNeedsTarget() {
    return QCoreApplication::translate(
        "Cli", "export needs --to FILE ending in .sgl, .xlsx, .docx or .txt");
}

QString importTakesOneWorkbook() {
    return QCoreApplication::translate("Cli", "import takes exactly one workbook");
}

QString importTargetEnding() {
    return QCoreApplication::translate(
        "Cli", "import --to needs a FILE ending in .sgl, .xlsx, .docx or .txt");
}

QString readTakesFiles() {
    return QCoreApplication::translate("Cli", "read takes at least one file");
}

QString writeListTakesNoFile() {
    return QCoreApplication::translate("Cli", "write --list takes no FILE or texts");
}

QString writeTakesFileAndTexts() {
    return QCoreApplication::translate("Cli", "write takes a FILE and four texts");
}

QString undoWriteTakesNothing() {
    return QCoreApplication::translate("Cli", "undo-write takes nothing more");
}

QString seeHelp(const QString& problem) {
    return QCoreApplication::translate("Cli", "%1 (see --help)").arg(problem);
}

QString noSuchFolder(const QString& folder) {
    return QCoreApplication::translate("Cli", "no such folder: %1").arg(folder);
}

QString noSuchFile(const QString& folder, const QString& name) {
    return QCoreApplication::translate("Cli", "no such file: %1%2").arg(folder, name);
}

QString emptyTableNoWorkbook(const QString& path) {
    return QCoreApplication::translate(
               "Cli", "the table is empty: no workbook was written, %1 was left as it was")
        .arg(path);
}

QString settingsProblem(const QString& message) {
    return QCoreApplication::translate("Cli", "settings: %1").arg(message);
}

QString fileProblem(const QString& path, const QString& reason) {
    return QCoreApplication::translate("Cli", "%1: %2").arg(path, reason);
}

QString unknownError() {
    return QCoreApplication::translate("Cli", "Unknown error");
}

QString putBackCount(qsizetype putBack, qsizetype leftAlone) {
    return QCoreApplication::translate("Cli", "%1 file(s) was(were) put back, %2 left alone.")
        .arg(QString::number(putBack), QString::number(leftAlone));
}

QString wouldWriteCount(qsizetype wouldWrite, qsizetype refused) {
    return QCoreApplication::translate("Cli", "%1 file(s) would be written, %2 refused.")
        .arg(QString::number(wouldWrite), QString::number(refused));
}

} // namespace corvanteller::cliTexts
