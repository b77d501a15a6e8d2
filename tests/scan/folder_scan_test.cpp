// SPDX-License-Identifier: GPL-3.0-or-later
#include "scan/folder_scan.h"

#include "kar/row_store.h"
#include "support/kar_builder.h"
#include "support/temp_tree.h"

#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace corvanteller {
namespace {

using test::KarBuilder;
using test::TempTree;
using namespace Qt::StringLiterals;

QByteArray karWithTitle(const QByteArray& title) {
    return KarBuilder().trackName(title).bytes();
}

struct Scan {
    RowStore rows;
    ScanOutcome outcome;
    int progressSteps = 0;
};

std::unique_ptr<Scan> runScan(const TempTree& tree, RunSet runSet = RunSet::StartWindow,
                              bool plenty = false) {
    auto scan = std::make_unique<Scan>();
    scan->outcome = scanFolder(ScanRequest::forFolder(tree.root(), runSet, plenty), scan->rows,
                               [&scan] { ++scan->progressSteps; });
    return scan;
}

QStringList column(const RowStore& rows, int col) {
    QStringList texts;
    for (int row = 1; row <= rows.rowCount(); ++row) {
        texts << rows.text(col, row);
    }
    return texts;
}

TEST(FolderScan, EmptyFolderGivesNoRows) {
    TempTree tree;
    tree.writeFile("notes.txt", "hello");
    const auto scan = runScan(tree);
    EXPECT_EQ(scan->outcome.end, ScanEnd::Complete);
    EXPECT_EQ(scan->rows.rowCount(), 0);
    EXPECT_EQ(scan->outcome.listedFolders, 1);
}

TEST(FolderScan, KaraokeFilesAreFoundByKarOrKarInCapitals) {
    TempTree tree;
    const QByteArray names[] = {"karaoke.mid", "MYKAR.txt", "Song.Kar",
                                "song.kar",    "plain.mid", "oKARo"};
    for (const QByteArray& name : names) {
        tree.writeFile(name, karWithTitle("T"));
    }
    const auto scan = runScan(tree);
    QStringList found = column(scan->rows, 1);
    found.sort();
    EXPECT_EQ(found, (QStringList{u"MYKAR.txt"_s, u"karaoke.mid"_s, u"oKARo"_s, u"song.kar"_s}));
}

TEST(FolderScan, RowsHoldNameFolderAndTexts) {
    TempTree tree;
    tree.writeFile("one.kar", KarBuilder().trackName("Title").text("Artist").text("Words").bytes());
    const auto scan = runScan(tree);
    ASSERT_EQ(scan->rows.rowCount(), 1);
    EXPECT_EQ(scan->rows.text(1, 1), u"one.kar"_s);
    EXPECT_EQ(scan->rows.text(2, 1), tree.root() + u"/"_s);
    EXPECT_EQ(scan->rows.text(3, 1), u"Title"_s);
    EXPECT_EQ(scan->rows.text(4, 1), u"Artist"_s);
    EXPECT_EQ(scan->rows.text(5, 1), u"Words"_s);
    EXPECT_EQ(scan->rows.text(6, 1), QString());
    EXPECT_EQ(scan->rows.file(1), (RowFile{tree.root() + u"/"_s, u"one.kar"_s}));
}

TEST(FolderScan, WalkIsBreadthFirst) {
    TempTree tree;
    tree.makeFolder("a");
    tree.makeFolder("a/deep");
    tree.makeFolder("b");
    tree.writeFile("a/deep/level2.kar", karWithTitle("L2"));
    tree.writeFile("a/level1a.kar", karWithTitle("L1"));
    tree.writeFile("b/level1b.kar", karWithTitle("L1"));
    tree.writeFile("zzz_level0.kar", karWithTitle("L0"));
    const auto scan = runScan(tree);
    EXPECT_EQ(column(scan->rows, 3), (QStringList{u"L0"_s, u"L1"_s, u"L1"_s, u"L2"_s}));
    EXPECT_EQ(scan->rows.text(2, 4), tree.root() + u"/a/deep/"_s);
    EXPECT_EQ(scan->outcome.listedFolders, 4);
}

TEST(FolderScan, DotDotNamesAreNotReadAndCountForTheGuard) {
    TempTree tree;
    tree.makeFolder("..old");
    tree.writeFile("..old/inside.kar", karWithTitle("X"));
    tree.writeFile("..intro.kar", karWithTitle("X"));
    tree.writeFile("normal.kar", karWithTitle("N"));
    const auto scan = runScan(tree);
    EXPECT_EQ(column(scan->rows, 1), QStringList{u"normal.kar"_s});
    EXPECT_EQ(scan->outcome.end, ScanEnd::Complete);
}

void fillDotDotFolder(const TempTree& tree, int files) {
    tree.makeFolder("..old");
    for (int i = 0; i < files; ++i) {
        tree.writeFile("..old/" + QByteArray::number(i), QByteArray());
    }
}

TEST(FolderScan, GuardEndsTheScanSilentlyAboveItsLimit) {
    struct Case {
        int files;
        bool plenty;
        ScanEnd end;
    };
    for (const Case c : {Case{4021, false, ScanEnd::Complete}, Case{4022, false, ScanEnd::Guard},
                         Case{4022, true, ScanEnd::Complete}}) {
        SCOPED_TRACE(c.files);
        TempTree tree;
        fillDotDotFolder(tree, c.files);
        tree.makeFolder("..old/later");
        const auto scan = runScan(tree, RunSet::StartWindow, c.plenty);
        EXPECT_EQ(scan->outcome.end, c.end);
        EXPECT_EQ(scan->outcome.listedFolders, c.end == ScanEnd::Guard ? 2 : 3);
    }
}

TEST(FolderScan, ProgressStepsEvery250NonFolderEntries) {
    TempTree tree;
    for (int i = 0; i < 520; ++i) {
        tree.writeFile("f" + QByteArray::number(i), QByteArray());
    }
    for (int i = 0; i < 30; ++i) {
        tree.makeFolder("d" + QByteArray::number(i));
    }
    EXPECT_EQ(runScan(tree)->progressSteps, 2);
}

TEST(FolderScan, ReadFailureEndsTheScanAndKeepsEarlierRows) {
    TempTree tree;
    tree.writeFile("good.kar", karWithTitle("Good"));
    tree.makeFolder("sub");
    // Reading one's own memory at offset 0 fails with an I/O error, even for root.
    ASSERT_EQ(::symlink("/proc/self/mem", tree.path("sub/bad.kar").constData()), 0);
    tree.makeFolder("sub/never");
    tree.writeFile("sub/never/late.kar", karWithTitle("Late"));
    const auto scan = runScan(tree);
    EXPECT_EQ(scan->outcome.end, ScanEnd::ReadError);
    EXPECT_EQ(column(scan->rows, 3), QStringList{u"Good"_s});
    EXPECT_EQ(scan->outcome.errorPath, tree.root() + u"/sub/bad.kar"_s);
    EXPECT_EQ(scan->outcome.errorCode, EIO);
    EXPECT_EQ(scan->outcome.errorReason, u"I/O error 5"_s);
    EXPECT_TRUE(scan->outcome.errorText.contains(u"sub/bad.kar"_s))
        << scan->outcome.errorText.toStdString();
}

TEST(FolderScan, SpecialEntriesAreNeverOpened) {
    TempTree tree;
    tree.writeFile("real.kar", karWithTitle("Real"));
    ASSERT_EQ(::mkfifo(tree.path("pipe.kar").constData(), 0644), 0);
    ASSERT_EQ(::symlink("nowhere.kar", tree.path("dangling.kar").constData()), 0);
    ASSERT_EQ(::symlink("real.kar", tree.path("alias.kar").constData()), 0);
    tree.makeFolder("elsewhere");
    tree.writeFile("elsewhere/inside.kar", karWithTitle("Inside"));
    ASSERT_EQ(::symlink("elsewhere", tree.path("linked.kar.folder").constData()), 0);

    // Should the scan open the FIFO, this writer lets it go on and records it.
    std::atomic<bool> done{false};
    std::atomic<bool> fifoOpened{false};
    std::thread writer([&] {
        while (!done) {
            const int fd = ::open(tree.path("pipe.kar").constData(), O_WRONLY | O_NONBLOCK);
            if (fd >= 0) {
                fifoOpened = true;
                ::close(fd);
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    });
    const auto scan = runScan(tree);
    done = true;
    writer.join();

    EXPECT_FALSE(fifoOpened);
    EXPECT_EQ(scan->outcome.end, ScanEnd::Complete);
    QStringList found = column(scan->rows, 1);
    found.sort();
    // The folder behind the link is listed once, under its own name only.
    EXPECT_EQ(found, (QStringList{u"alias.kar"_s, u"inside.kar"_s, u"real.kar"_s}));
}

TEST(FolderScan, NamesKeepTheirBytes) {
    TempTree tree;
    const QByteArray cp1251Name = test::cp1251(u"Песня.kar"_s);
    tree.writeFile(cp1251Name, karWithTitle("Old"));
    tree.writeFile(u"Новая.kar"_s.toUtf8(), karWithTitle("New"));
    const auto scan = runScan(tree);
    QStringList found = column(scan->rows, 1);
    found.sort();
    EXPECT_EQ(found, (QStringList{u"Новая.kar"_s, u"Песня.kar"_s}));
    EXPECT_EQ(scan->outcome.end, ScanEnd::Complete);
}

TEST(FolderScan, RunSetChosenByTheWindow) {
    TempTree tree;
    tree.writeFile("x.kar", karWithTitle("Song <live>"));
    EXPECT_EQ(runScan(tree, RunSet::StartWindow)->rows.text(3, 1), u"Song <live>"_s);
    EXPECT_EQ(runScan(tree, RunSet::MainWindow)->rows.text(3, 1), u"Song "_s);
}

TEST(FolderScan, ANewScanReplacesTheRows) {
    TempTree first;
    first.writeFile("a.kar", karWithTitle("A"));
    first.writeFile("b.kar", karWithTitle("B"));
    TempTree second;
    second.writeFile("c.kar", karWithTitle("C"));
    RowStore rows;
    scanFolder(ScanRequest::forFolder(first.root(), RunSet::StartWindow, false), rows);
    ASSERT_EQ(rows.rowCount(), 2);
    scanFolder(ScanRequest::forFolder(second.root(), RunSet::StartWindow, false), rows);
    EXPECT_EQ(column(rows, 3), QStringList{u"C"_s});
}

TEST(FolderScan, TooManyFoldersSetsTheErrorFlag) {
    TempTree tree;
    for (int i = 0; i < listedFolderLimit; ++i) {
        tree.makeFolder("d" + QByteArray::number(i));
    }
    tree.writeFile("d5/x.kar", karWithTitle("X"));
    const auto scan = runScan(tree);
    EXPECT_EQ(scan->outcome.end, ScanEnd::TooManyFolders);
    EXPECT_TRUE(scan->outcome.tooManyFolders());
    EXPECT_EQ(scan->outcome.listedFolders, listedFolderLimit + 1);
    EXPECT_EQ(scan->rows.rowCount(), 1);
}

TEST(FolderScan, LimitsOfTheRowStoreAndTheQueueEndTheScanWhereTheyAreReached) {
    {
        TempTree tree;
        tree.writeFile("0.kar", karWithTitle("T"));
        tree.makeFolder("inner");
        for (int i = 1; i <= RowStore::maxRows; ++i) {
            ASSERT_EQ(::link(tree.path("0.kar").constData(),
                             tree.path("inner/" + QByteArray::number(i) + ".kar").constData()),
                      0);
        }
        const auto scan = runScan(tree);
        EXPECT_EQ(scan->outcome.end, ScanEnd::RowLimit);
        EXPECT_EQ(scan->rows.rowCount(), RowStore::maxRows);
        EXPECT_EQ(scan->outcome.stoppedInFolder, tree.root() + u"/inner/"_s);
    }
    {
        TempTree tree;
        tree.writeFile("first.kar", karWithTitle("T"));
        tree.makeFolder("inner");
        for (int i = 0; i <= folderQueueLimit; ++i) {
            tree.makeFolder("inner/d" + QByteArray::number(i));
        }
        const auto scan = runScan(tree);
        EXPECT_EQ(scan->outcome.end, ScanEnd::QueueLimit);
        EXPECT_EQ(scan->outcome.listedFolders, 1);
        EXPECT_EQ(scan->outcome.stoppedInFolder, tree.root() + u"/inner/"_s);
    }
}

} // namespace
} // namespace corvanteller
