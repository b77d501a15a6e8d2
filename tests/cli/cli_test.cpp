#include "cli/cli.h"

#include "common/build_info.h"
#include "support/kar_builder.h"
#include "support/temp_tree.h"

#include <QProcess>

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace corvanteller {
namespace {

using test::KarBuilder;
using test::TempTree;
using namespace Qt::StringLiterals;

struct CliRun {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

CliRun runCliProcess(const QStringList& args) {
    QProcess process;
    process.start(QStringLiteral(CORVANTELLER_CLI_PATH), args);
    EXPECT_TRUE(process.waitForFinished(60000));
    return CliRun{process.exitCode(), process.readAllStandardOutput(),
                  process.readAllStandardError()};
}

TEST(CliFields, EscapesBackslashTabAndLineBreaks) {
    EXPECT_EQ(escapeField(u"a\\b\tc\rd\ne"_s), QByteArray("a\\\\b\\tc\\rd\\ne"));
    EXPECT_EQ(escapeField(u"Песня"_s), u"Песня"_s.toUtf8());
}

TEST(Cli, ScanWritesOneLinePerRowAndASummary) {
    TempTree tree;
    tree.writeFile("song.kar", KarBuilder().trackName("Title <x>").text("Artist").bytes());
    tree.writeFile("readme.txt", "not karaoke");
    const QString folderField = tree.root() + u"/"_s;

    const CliRun start = runCliProcess({u"scan"_s, tree.root()});
    EXPECT_EQ(start.exitCode, 0);
    EXPECT_EQ(start.out, (u"song.kar\t"_s + folderField + u"\tTitle <x>\tArtist\t\t\n"_s).toUtf8());
    EXPECT_EQ(start.err, QByteArray("# end=complete rows=1 listed=1\n"));

    const CliRun main = runCliProcess({u"scan"_s, u"--from"_s, u"main"_s, tree.root()});
    EXPECT_EQ(main.out, (u"song.kar\t"_s + folderField + u"\tTitle \t\t\t\n"_s).toUtf8());
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
    for (const char* word :
         {"--from start", "--from main", "--plenty", "  --  ", "--help", "--version",
          "Exit status:\n  0 ", "\n  1 ", "\n  2 ", "\n  3 ", "complete", "guard",
          "too-many-folders", "read-error", "row-limit", "queue-limit"}) {
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

} // namespace
} // namespace corvanteller
