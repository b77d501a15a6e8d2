// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/cli.h"

#include "common/build_info.h"
#include "common/seams.h"
#include "kar/row_store.h"
#include "office/workbook.h"
#include "office/workbook_file.h"
#include "office/zip_archive.h"
#include "scan/folder_scan.h"
#include "settings/settings_file.h"
#include "support/kar_builder.h"
#include "support/temp_tree.h"
#include "table/list_file.h"
#include "table/song_table_model.h"

#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace corvanteller {
namespace {

// Every command line run by the tests of this program keeps its scan cache in a folder of
// its own, never in the real home.
const struct TestCacheHome {
    TestCacheHome() { qputenv("XDG_CACHE_HOME", QFile::encodeName(folder.path())); }
    QTemporaryDir folder;
} testCacheHome;

using test::KarBuilder;
using test::TempTree;
using namespace Qt::StringLiterals;

struct CliRun {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

CliRun runCliProcess(const QStringList& args, const QString& configHome = QString()) {
    QProcess process;
    if (!configHome.isEmpty()) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"XDG_CONFIG_HOME"_s, configHome);
        process.setProcessEnvironment(environment);
    }
    process.start(QStringLiteral(CORVANTELLER_CLI_PATH), args);
    EXPECT_TRUE(process.waitForFinished(60000));
    return CliRun{process.exitCode(), process.readAllStandardOutput(),
                  process.readAllStandardError()};
}

TEST(CliFields, EscapesBackslashTabAndLineBreaks) {
    EXPECT_EQ(escapeField(u"a\\b\tc\rd\ne"_s), QByteArray("a\\\\b\\tc\\rd\\ne"));
    EXPECT_EQ(escapeField(u"Песня"_s), u"Песня"_s.toUtf8());
}

TEST(CliFields, WritesEveryCharacterAsTheRuntimeEncodesIt) {
    const QString lowSurrogate(QChar(char16_t{0xDC00}));
    const QString highSurrogate(QChar(char16_t{0xD83D}));
    const struct {
        QString text;
        QByteArray escaped;
    } cases[] = {
        {u"€ ё\\Я"_s, u"€ ё"_s.toUtf8() + "\\\\" + u"Я"_s.toUtf8()},
        {u"\u00A0\u07FF\u0800\uFFFF\tx"_s, u"\u00A0\u07FF\u0800\uFFFF"_s.toUtf8() + "\\tx"},
        {u"a\U0001F600b"_s, u"a\U0001F600b"_s.toUtf8()},
        {u"a"_s + lowSurrogate + u"b"_s + highSurrogate,
         (u"a"_s + lowSurrogate).toUtf8() + "b" + highSurrogate.toUtf8()},
        {u"\n\r"_s, "\\n\\r"},
    };
    for (const auto& [text, escaped] : cases) {
        EXPECT_EQ(escapeField(text), escaped) << text.toStdString();
    }
}

TEST(Cli, ScanWritesOneLinePerRowAndASummary) {
    TempTree tree;
    tree.writeFile("song.kar", KarBuilder().trackName("Title <x>").text("Artist").bytes());
    tree.writeFile("readme.txt", "not karaoke");
    const QString folderField = tree.root() + u"/"_s;

    const CliRun start = runCliProcess({u"scan"_s, tree.root()});
    EXPECT_EQ(start.exitCode, 0);
    EXPECT_EQ(start.out, (u"song.kar\t"_s + folderField + u"\tTitle <x>\tArtist\t\t\n"_s).toUtf8());
    EXPECT_EQ(start.err, QByteArray("# end=complete rows=1 listed=1 unreadable=0\n"));

    const CliRun main = runCliProcess({u"scan"_s, u"--from"_s, u"main"_s, tree.root()});
    EXPECT_EQ(main.out, (u"song.kar\t"_s + folderField + u"\tTitle \t\t\t\n"_s).toUtf8());
}

TEST(Cli, SortOrdersTheRowsAsTheTableDoes) {
    TempTree tree;
    tree.writeFile("a.kar", KarBuilder().trackName("Track 10").text("bbb").bytes());
    tree.writeFile("b.kar", KarBuilder().trackName("track 2").text("aaa").bytes());
    tree.writeFile("c.kar", KarBuilder().trackName("Track 10").text("ccc").bytes());
    const auto sortedNames = [&](const QString& sort) {
        const CliRun run = runCliProcess({u"scan"_s, u"--sort"_s, sort, tree.root()});
        EXPECT_EQ(run.exitCode, 0) << sort.toStdString();
        QByteArrayList names;
        for (const QByteArray& line : run.out.split('\n')) {
            if (!line.isEmpty()) {
                names << line.split('\t').front();
            }
        }
        return names.join(' ');
    };
    EXPECT_EQ(sortedNames(u"title,d:desc"_s), "b.kar c.kar a.kar");
    EXPECT_EQ(sortedNames(u"name:desc"_s), "c.kar b.kar a.kar");
    EXPECT_EQ(runCliProcess({u"scan"_s, u"--sort"_s, u"size"_s, tree.root()}).exitCode, 2);
}

TEST(Cli, FieldsWithTabsAndBackslashesAreEscaped) {
    TempTree tree;
    tree.writeFile("a\tb\\c.kar", KarBuilder().trackName("T").bytes());
    const CliRun run = runCliProcess({u"scan"_s, tree.root()});
    EXPECT_TRUE(run.out.startsWith("a\\tb\\\\c.kar\t")) << run.out.constData();
}

TEST(Cli, ExitStatusTellsHowTheScanEnded) {
    TempTree tree;
    tree.writeFile("good.kar", KarBuilder().trackName("T").bytes());
    tree.makeFolder("sub");
    ASSERT_EQ(::symlink("/proc/self/mem", tree.path("sub/bad.kar").constData()), 0);
    const CliRun failed = runCliProcess({u"scan"_s, tree.root()});
    EXPECT_EQ(failed.exitCode, 1);
    EXPECT_TRUE(failed.err.contains("sub/bad.kar")) << failed.err.constData();
    EXPECT_TRUE(failed.err.contains("# end=read-error rows=1 listed=1"));
    EXPECT_EQ(failed.out.count('\n'), 1);

    TempTree many;
    for (int i = 0; i < 17119; ++i) {
        many.makeFolder("d" + QByteArray::number(i));
    }
    const CliRun tooMany = runCliProcess({u"scan"_s, many.root()});
    EXPECT_EQ(tooMany.exitCode, 3);
    EXPECT_TRUE(QString::fromUtf8(tooMany.err).contains(u"Выберите одну из вложенных папок"_s));
    EXPECT_TRUE(tooMany.err.contains("# end=too-many-folders rows=0 listed=17120"));
}

TEST(Cli, WrongCallsExitWithTwo) {
    TempTree tree;
    const QStringList calls[] = {
        {},
        {u"dance"_s},
        {u"scan"_s},
        {u"scan"_s, tree.root(), tree.root()},
        {u"scan"_s, u"--from"_s, u"side"_s, tree.root()},
        {u"scan"_s, tree.root() + u"/missing"_s},
        {u"read"_s},
        {u"read"_s, u"--plenty"_s, u"x.kar"_s},
    };
    for (const QStringList& args : calls) {
        const CliRun run = runCliProcess(args);
        EXPECT_EQ(run.exitCode, 2) << args.join(u' ').toStdString();
        EXPECT_FALSE(run.err.isEmpty());
    }
}

// The manual page is made from --help and --version: the version line must have help2man's
// shape, and the help must name every option the parser takes and every exit status.
TEST(Cli, HelpAndVersionFeedTheManualPage) {
    const CliRun version = runCliProcess({u"--version"_s});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out, "corvanteller-cli (Corvanteller) " + QByteArray(build::version) + '\n');
    EXPECT_EQ(runCliProcess({u"scan"_s, u"--version"_s}).exitCode, 2);

    const CliRun help = runCliProcess({u"--help"_s});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.startsWith("Usage: corvanteller-cli scan"));
    for (const char* word : {"--from start", "--from main", "--plenty", "  --  ", "--help",
                             "--version", "Exit status:\n  0 ", "\n  1 ", "\n  2 ", "\n  3 ",
                             "complete", "guard", "too-many-folders", "read-error", "row-limit",
                             "queue-limit", "import [--from", "WORKBOOK [--to FILE]", "--sort"}) {
        EXPECT_TRUE(help.out.contains(word)) << word;
    }
}

TEST(Cli, ReadWritesThePathAsGivenAndTheTexts) {
    TempTree tree;
    tree.writeFile("one.kar", KarBuilder().trackName("One").text("Artist").bytes());
    const QString path = tree.root() + u"/one.kar"_s;
    const CliRun run = runCliProcess({u"read"_s, path, tree.root() + u"/missing.kar"_s});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, (path + u"\tOne\tArtist\t\t\n"_s).toUtf8());
    EXPECT_TRUE(run.err.contains("missing.kar"));
}

TEST(Cli, ReadOpensOnlyRegularFiles) {
    TempTree tree;
    tree.writeFile("one.kar", KarBuilder().trackName("One").bytes());
    ASSERT_EQ(::mkfifo(tree.path("pipe.kar").constData(), 0644), 0);
    ASSERT_EQ(::symlink("/dev/zero", tree.path("zero.kar").constData()), 0);
    const QString one = tree.root() + u"/one.kar"_s;
    // Opening the FIFO would wait for a writer for good, reading /dev/zero would never end.
    const CliRun run =
        runCliProcess({u"read"_s, tree.root() + u"/pipe.kar"_s, tree.root() + u"/zero.kar"_s, one});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, (one + u"\tOne\t\t\t\n"_s).toUtf8());
    const QString err = QString::fromUtf8(run.err);
    EXPECT_TRUE(err.contains(tree.root() + u"/pipe.kar\": not a regular file"_s)) << run.err.data();
    EXPECT_TRUE(err.contains(tree.root() + u"/zero.kar\": not a regular file"_s)) << run.err.data();
}

QByteArray readBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A folder of two songs, one of them in a Russian subfolder.
struct ExportFolder {
    ExportFolder() {
        tree.makeFolder("music");
        tree.writeFile("music/one.kar", KarBuilder().trackName("One").text("Artist").bytes());
        tree.makeFolder("music/Русское");
        tree.writeFile("music/Русское/two.kar",
                       KarBuilder().trackName(test::cp1251(u"Два"_s)).bytes());
    }
    QString music() const { return tree.root() + u"/music"_s; }
    QString target(const QString& name) const { return tree.root() + u"/"_s + name; }
    TempTree tree;
};

TEST(CliExport, AListFileIsWhatSaveListWrites) {
    const ExportFolder folder;
    const CliRun run = runCliProcess(
        {u"export"_s, u"--defaults"_s, folder.music(), u"--to"_s, folder.target(u"songs.sgl"_s)});
    EXPECT_EQ(run.exitCode, 0) << run.err.constData();
    EXPECT_EQ(run.err, QByteArray("# end=complete rows=2 listed=2 unreadable=0\n"));
    EXPECT_TRUE(run.out.isEmpty());

    RowStore rows;
    scanFolder(ScanRequest::forFolder(folder.music(), RunSet::StartWindow, false), rows);
    SongTableModel table;
    table.rebuildFrom(rows);
    const QString expected = folder.target(u"expected.sgl"_s);
    writeListFile(expected, table);
    EXPECT_EQ(readBytes(folder.target(u"songs.sgl"_s)), readBytes(expected));
}

TEST(CliExport, AWorkbookFollowsTheSettingsFileOrTheFirstOptions) {
    const ExportFolder folder;
    const QString book = folder.target(u"songs.xlsx"_s);
    const CliRun run =
        runCliProcess({u"export"_s, u"--defaults"_s, folder.music(), u"--to"_s, book});
    EXPECT_EQ(run.exitCode, 0) << run.err.constData();
    std::unique_ptr<Worksheet> sheet = readFirstWorksheet(book);
    EXPECT_EQ(sheet->value(1, 1).text(), u"#"_s);
    EXPECT_EQ(sheet->value(2, 2).text(), u"one.kar"_s);
    EXPECT_EQ(sheet->value(3, 2).text(), u"two.kar"_s);
    EXPECT_EQ(sheet->value(3, 4).text(), u"Два"_s);
    EXPECT_EQ(sheet->value(5, 2).text(), u"Additional information:"_s);
    EXPECT_EQ(sheet->value(6, 3).text(), u"Made in Earth"_s);

    // The settings file of the program: no number column, no footer.
    TempTree config;
    config.makeFolder("Corvanteller");
    Options options;
    options.excel.numberOfRow = false;
    options.excel.addDateTime = false;
    options.excel.chooseList2 = false;
    SystemRandom random;
    saveSettings(config.root() + u"/Corvanteller/prop.dat"_s, options, {}, RunTimes(),
                 SystemClock(), random);
    const CliRun configured =
        runCliProcess({u"export"_s, folder.music(), u"--to"_s, book}, config.root());
    EXPECT_EQ(configured.exitCode, 0) << configured.err.constData();
    sheet = readFirstWorksheet(book);
    EXPECT_EQ(sheet->value(1, 1).text(), u"Name of file"_s);
    EXPECT_EQ(sheet->value(2, 1).text(), u"one.kar"_s);
    EXPECT_EQ(sheet->lastUsedCell(), (CellPosition{3, 6}));
}

TEST(CliExport, TheTextAndTheDocumentHoldTheTablesLines) {
    const ExportFolder folder;
    const QString text = folder.target(u"songs.txt"_s);
    const QString document = folder.target(u"songs.docx"_s);
    for (const QString& target : {text, document}) {
        const CliRun run =
            runCliProcess({u"export"_s, u"--defaults"_s, folder.music(), u"--to"_s, target});
        EXPECT_EQ(run.exitCode, 0) << run.err.constData();
    }
    const QString songs = folder.music() + u"/"_s;
    const QString lines = u"1\t"_s + songs + u"one.kar One\tArtist\t\t\t\n2\t"_s + songs +
                          u"Русское/two.kar Два\t\t\t\t\n\n"_s;
    EXPECT_EQ(QString::fromUtf8(readBytes(text)), lines);

    const QByteArray bytes = readBytes(document);
    const ZipReader zip(bytes);
    const std::optional<std::uint64_t> entry = zip.find("word/document.xml");
    ASSERT_TRUE(entry);
    QByteArray xml;
    zip.read(*entry, [&xml](QByteArrayView piece) {
        xml += piece;
        return true;
    });
    EXPECT_TRUE(QString::fromUtf8(xml).contains(u"two.kar Два</w:t><w:tab/>"_s));
    EXPECT_EQ(xml.count("<w:p>") + xml.count("<w:p/>"), 3) << "two songs and the empty line";
}

TEST(CliExport, WrongCallsAndUnwritableTargets) {
    const ExportFolder folder;
    const QStringList wrong[] = {
        {u"export"_s, folder.music()},
        {u"export"_s, folder.music(), u"--to"_s, folder.target(u"songs.pdf"_s)},
        {u"export"_s, u"--to"_s, folder.target(u"songs.sgl"_s)},
        {u"export"_s, folder.music() + u"/missing"_s, u"--to"_s, folder.target(u"a.sgl"_s)},
        {u"scan"_s, u"--defaults"_s, folder.music()},
    };
    for (const QStringList& args : wrong) {
        const CliRun run = runCliProcess(args);
        EXPECT_EQ(run.exitCode, 2) << args.join(u' ').toStdString();
    }
    const CliRun unwritable = runCliProcess({u"export"_s, u"--defaults"_s, folder.music(),
                                             u"--to"_s, folder.target(u"none/songs.xlsx"_s)});
    EXPECT_EQ(unwritable.exitCode, 1);
    EXPECT_TRUE(unwritable.err.contains("none/songs.xlsx: File not found"))
        << unwritable.err.constData();
    EXPECT_TRUE(unwritable.err.contains("# end=complete rows=2 listed=2"));
    EXPECT_FALSE(QFile::exists(folder.target(u"none"_s)));
}

// An empty table replaces FILE, or, as a workbook (never made for one), FILE stays and exit is 1.
TEST(CliExport, AnEmptyTableReplacesFileOrFails) {
    TempTree tree;
    tree.makeFolder("empty");
    const std::pair<const char*, bool> targets[] = {
        {"songs.sgl", true}, {"songs.docx", true}, {"songs.xlsx", false}};
    for (const auto& [name, replaced] : targets) {
        SCOPED_TRACE(name);
        tree.writeFile(name, "older contents");
        const QString path = tree.root() + u"/"_s + QString::fromLatin1(name);
        const CliRun run = runCliProcess(
            {u"export"_s, u"--defaults"_s, tree.root() + u"/empty"_s, u"--to"_s, path});
        EXPECT_EQ(run.exitCode, replaced ? 0 : 1) << run.err.constData();
        EXPECT_EQ(readBytes(path) != "older contents", replaced);
        EXPECT_TRUE(run.err.endsWith("# end=complete rows=0 listed=1 unreadable=0\n"))
            << run.err.constData();
        EXPECT_EQ(run.err.contains("was left as it was"), !replaced);
    }
}

// Out of descriptors, a folder is not an empty folder: the scan ends at it as a read error.
TEST(Cli, AFolderThatCannotBeOpenedForWantOfDescriptorsEndsTheScan) {
    TempTree tree;
    QByteArray chain = "f1";
    tree.makeFolder(chain);
    for (int level = 2; level <= 12; ++level) {
        chain += "/f" + QByteArray::number(level);
        tree.makeFolder(chain);
    }
    tree.writeFile(chain + "/deep.kar", KarBuilder().trackName("Deep").bytes());
    QProcess process;
    process.setChildProcessModifier([] {
        const rlimit limit{12, 12};
        ::setrlimit(RLIMIT_NOFILE, &limit);
    });
    process.start(QStringLiteral(CORVANTELLER_CLI_PATH), {u"scan"_s, tree.root()});
    ASSERT_TRUE(process.waitForFinished(60000));
    const QString err = QString::fromUtf8(process.readAllStandardError());
    EXPECT_EQ(process.exitCode(), 1) << err.toStdString();
    for (const QString& part :
         QStringList{u"Cannot list the folder \""_s + tree.root() + u"/f1"_s,
                     u"Too many open files"_s, u"# end=read-error rows=0"_s}) {
        EXPECT_TRUE(err.contains(part)) << err.toStdString();
    }
}

CliRun runImport(const QStringList& args) {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"LC_ALL"_s, u"ru_RU.UTF-8"_s);
    environment.insert(u"XDG_CONFIG_HOME"_s, u"/nonexistent"_s);
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(CORVANTELLER_CLI_PATH), QStringList{u"import"_s} + args);
    EXPECT_TRUE(process.waitForFinished(60000));
    return CliRun{process.exitCode(), process.readAllStandardOutput(),
                  process.readAllStandardError()};
}

TEST(CliImport, BothFormatsGiveTheSameTable) {
    const QString workbooks = QStringLiteral(CORVANTELLER_WORKBOOKS);
    const CliRun xls = runImport({u"--from"_s, u"main"_s, workbooks + u"/songs-1.xls"_s});
    const CliRun xlsx = runImport({u"--from"_s, u"main"_s, workbooks + u"/songs-1.xlsx"_s});
    EXPECT_EQ(xls.exitCode, 0) << xls.err.toStdString();
    EXPECT_EQ(xls.out, xlsx.out);
    const QList<QByteArray> lines = xls.out.split('\n');
    ASSERT_EQ(lines.size(), 42); // the header, 40 rows and the end of the last line
    EXPECT_EQ(lines[0], "#\tName of file\tWay\tTitle\tPerformer\tWords\tMade by");
    EXPECT_TRUE(xls.out.contains("\t31.12.2023 23:05:09\t")); // in the locale's format

    TempTree tree;
    const QString list = tree.root() + u"/songs.sgl"_s;
    EXPECT_EQ(runImport({workbooks + u"/songs-2.xlsx"_s, u"--to"_s, list}).exitCode, 0);
    EXPECT_TRUE(QFile::exists(list));
}

TEST(CliImport, FailuresAndWrongCallsAreTold) {
    TempTree tree;
    tree.writeFile("songs.xls", "plain text");
    const QString notWorkbook = tree.root() + u"/songs.xls"_s;
    const CliRun failed = runImport({notWorkbook});
    EXPECT_EQ(failed.exitCode, 1);
    EXPECT_TRUE(failed.err.contains("This file is not an Excel workbook.")) << failed.err.data();
    EXPECT_TRUE(failed.out.isEmpty());
    for (const QStringList& args : {QStringList(), QStringList{notWorkbook, notWorkbook},
                                    QStringList{u"--plenty"_s, notWorkbook},
                                    QStringList{notWorkbook, u"--to"_s, u"songs.pdf"_s}}) {
        EXPECT_EQ(runImport(args).exitCode, 2) << args.join(u' ').toStdString();
    }
}

// Under the shell's limits a command fails with a message and exit 1 and leaves FILE as it was:
// never killed by SIGXFSZ (exit 153) nor aborted by std::bad_alloc (exit 134).
TEST(Cli, LimitsEndACommandWithAMessage) {
    TempTree tree;
    tree.makeFolder("songs");
    for (int i = 0; i < 40; ++i) {
        tree.writeFile("songs/" + QByteArray::number(i) + ".kar",
                       KarBuilder().trackName("Title " + QByteArray::number(i)).bytes());
    }
    // A Soft Karaoke title of 24 MiB, which takes several times that in memory.
    constexpr char head[] = "MThd\0\0\0\6\0\1\0\1\0\x60MTrk\0\0\0\x20\0\xFF\3\x0CSoft Karaoke"
                            "\0\xFF\1\5Words\0\xFF\1\0@T";
    tree.writeFile("long.kar", QByteArray(head, sizeof head - 1) + QByteArray(24 << 20, 'A') +
                                   QByteArray("\0\xFF\1\2@TB\0\xFF\1\2@TC1234567@I", 23));
    const char* const cases[][2] = {
        {"ulimit -f 2; exec \"$0\" export --defaults songs --to out.sgl", "File too large"},
        {"ulimit -f 2; exec \"$0\" export --defaults songs --to out.txt", "File too large"},
        {"ulimit -f 2; exec \"$0\" export --defaults songs --to out.docx", "File too large"},
#if !defined(__SANITIZE_ADDRESS__) // the sanitizer's shadow memory fits no such limit
        {"ulimit -v 100000; exec \"$0\" read long.kar", "Out of memory"},
#endif
    };
    for (const auto& [command, reason] : cases) {
        tree.writeFile("out.sgl", "older");
        tree.writeFile("out.txt", "older");
        tree.writeFile("out.docx", "older");
        QProcess process;
        process.setWorkingDirectory(tree.root());
        process.start(u"sh"_s, {u"-c"_s, QString::fromLatin1(command),
                                QStringLiteral(CORVANTELLER_CLI_PATH)});
        ASSERT_TRUE(process.waitForFinished(60000));
        const QByteArray err = process.readAllStandardError();
        EXPECT_TRUE(process.exitCode() == 1 && err.contains(reason)) << command << err.constData();
        EXPECT_EQ(QByteArray(readBytes(tree.root() + u"/out.sgl"_s) +
                             readBytes(tree.root() + u"/out.txt"_s) +
                             readBytes(tree.root() + u"/out.docx"_s)),
                  "olderolderolder");
    }
}

} // namespace
} // namespace corvanteller
