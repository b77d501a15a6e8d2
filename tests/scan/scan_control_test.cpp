// SPDX-License-Identifier: GPL-3.0-or-later
// A scan job, as the windows run it: stopped at a folder, watched, and otherwise the same rows
// and end as a scan without one.
#include "scan/folder_scan.h"
#include "scan/scan_job.h"

#include "kar/row_store.h"
#include "support/kar_builder.h"
#include "support/temp_tree.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QThread>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace corvanteller {
namespace {

using test::KarBuilder;
using test::TempTree;
using namespace Qt::StringLiterals;

QByteArray karWithTitle(const QByteArray& title) {
    return KarBuilder().trackName(title).bytes();
}

QStringList rowsOf(const RowStore& rows) {
    QStringList texts;
    for (int row = 1; row <= rows.rowCount(); ++row) {
        QStringList columns;
        for (int column = 1; column <= RowStore::columnCount; ++column) {
            columns << rows.text(column, row);
        }
        texts << columns.join(u'|');
    }
    return texts;
}

// A chain of folders, one level each, so that the order of the rows does not depend on the
// order of a listing: the chosen folder, "b", "b/c", "b/c/d" with 300 other files, and
// "b/c/d/..x" that counts for the guard.
void fillTree(const TempTree& tree) {
    for (const char* folder : {"b", "b/c", "b/c/d", "b/c/d/..x"}) {
        tree.makeFolder(folder);
    }
    for (int i = 0; i < 300; ++i) {
        tree.writeFile("b/c/d/note" + QByteArray::number(i), QByteArray());
    }
    for (const auto& [path, title] : {std::pair{"one.kar", "One"},
                                      {"b/two.kar", "Two <x>"},
                                      {"b/c/three.kar", "Three"},
                                      {"b/c/d/four.kar", "Four"},
                                      {"b/c/d/..x/six.kar", "Six"}}) {
        tree.writeFile(path, karWithTitle(title));
    }
}

struct Controlled {
    RowStore rows;
    ScanOutcome outcome;
    QStringList reached;
    ScanProgress progress;
};

// Scans by a job on a thread of its own into rows of its own, as a window does; the job is
// interrupted once the scan reaches the folder stopAt.
std::unique_ptr<Controlled> scanControlled(const TempTree& tree, RunSet runSet, int helpers,
                                           const QString& stopAt = {}) {
    auto result = std::make_unique<Controlled>();
    ScanRequest request = ScanRequest::forFolder(tree.root(), runSet, false);
    request.readAheadHelpers = helpers;
    ScanJob* running = nullptr;
    ScanJob job(request, [&](const QString& folder) {
        result->reached << folder;
        if (folder == stopAt) {
            running->requestInterruption();
        }
    });
    running = &job;
    job.start();
    job.wait();
    std::vector<ScannedRow> scanned;
    result->outcome = job.takeResult(scanned);
    storeScannedRows(result->rows, scanned);
    result->progress = job.progress();
    return result;
}

// Never stopped, a scan with a control gives the rows and end of a scan without one; stopped on
// reaching the n-th folder of the chain, it keeps the rows of the n folders before it.
TEST(ScanControl, AStopKeepsTheRowsBeforeItsFolderAndNoStopChangesNothing) {
    const QStringList chain = {u"/"_s, u"/b/"_s, u"/b/c/"_s, u"/b/c/d/"_s, u"/b/c/d/..x/"_s};
    TempTree tree;
    fillTree(tree);
    for (const RunSet runSet : {RunSet::StartWindow, RunSet::MainWindow}) {
        for (const int helpers : {0, 2}) {
            SCOPED_TRACE(helpers);
            ScanRequest request = ScanRequest::forFolder(tree.root(), runSet, false);
            request.readAheadHelpers = helpers;
            RowStore plain;
            int progressSteps = 0;
            const ScanOutcome plainOutcome = scanFolder(request, plain, [&] { ++progressSteps; });
            const auto whole = scanControlled(tree, runSet, helpers);
            EXPECT_EQ(rowsOf(whole->rows), rowsOf(plain));
            EXPECT_EQ(whole->outcome.end, plainOutcome.end);
            EXPECT_EQ(whole->outcome.listedFolders, plainOutcome.listedFolders);
            EXPECT_EQ(whole->progress.progressSteps, progressSteps);
            EXPECT_EQ(whole->progress.filesSeen, 305); // every non-folder entry
            EXPECT_EQ(whole->reached.size(), 5);       // every folder
            EXPECT_EQ(whole->progress.folder, whole->reached.back());
            for (int listed = 0; listed < chain.size(); ++listed) {
                const QString stopAt = tree.root() + chain[listed];
                SCOPED_TRACE(stopAt.toStdString());
                const auto scan = scanControlled(tree, runSet, helpers, stopAt);
                EXPECT_EQ(scan->outcome.end, ScanEnd::Stopped);
                EXPECT_EQ(scan->outcome.stoppedInFolder, stopAt);
                EXPECT_EQ(scan->outcome.listedFolders, listed);
                EXPECT_EQ(rowsOf(scan->rows), rowsOf(plain).first(listed));
            }
        }
    }
}

// The job's progress reaches the thread that watches it while the scan waits at a folder: the
// signal that waits carries no state of its own, so the latest folder is never lost behind it.
TEST(ScanControl, AJobTellsItsLatestFolderToItsThreadWhileTheScanWaitsThere) {
    TempTree tree;
    fillTree(tree);
    char name[] = "core_tests";
    char* argv[] = {name, nullptr};
    int argc = 1;
    const QCoreApplication app(argc, argv);
    const QString held = tree.root() + u"/b/c/"_s;
    std::atomic<bool> seen = false;
    bool heldTooLong = false;
    ScanJob* running = nullptr;
    ScanJob job(ScanRequest::forFolder(tree.root(), RunSet::StartWindow, false),
                [&](const QString& folder) {
                    if (folder != held) {
                        return;
                    }
                    for (int waited = 0; !seen && waited < 10000; ++waited) {
                        std::this_thread::sleep_for(std::chrono::milliseconds(1));
                    }
                    heldTooLong = !seen;
                    running->requestInterruption();
                });
    running = &job;
    QEventLoop loop;
    QList<QThread*> receivedOn;
    QObject::connect(&job, &ScanJob::progressed, &loop, [&] {
        receivedOn << QThread::currentThread();
        seen = seen || job.progress().folder == held;
    });
    QObject::connect(&job, &ScanJob::finished, &loop, &QEventLoop::quit);
    job.start();
    loop.exec();
    job.wait();
    std::vector<ScannedRow> rows;
    const ScanOutcome outcome = job.takeResult(rows);
    EXPECT_FALSE(heldTooLong);
    EXPECT_EQ(outcome.end, ScanEnd::Stopped);
    EXPECT_EQ(outcome.stoppedInFolder, held);
    EXPECT_EQ(rows.size(), 2U); // one.kar and b/two.kar
    EXPECT_FALSE(receivedOn.isEmpty());
    EXPECT_EQ(receivedOn.count(app.thread()), receivedOn.size());
}

TEST(ScanControl, StoredRowsLeaveTheSlotsBeyondThemAsAScanDoes) {
    RowStore store;
    for (int row = 1; row <= 3; ++row) {
        store.setText(SongColumn::Title, row, u"old "_s + QString::number(row));
    }
    store.setRowCount(3);
    storeScannedRows(store, {{u"a.kar"_s, u"/m/"_s, {u"A"_s, u"B"_s, u"C"_s, u"D"_s}}});
    EXPECT_EQ(store.file(1), (RowFile{u"/m/"_s, u"a.kar"_s}));
    EXPECT_EQ(store.text(SongColumn::Title, 2), u"old 2"_s);
}

} // namespace
} // namespace corvanteller
