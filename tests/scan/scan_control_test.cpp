// A scan with a control, as the windows run it: stopped at a folder, watched, and otherwise the
// same rows and end as a scan without one.
#include "scan/folder_scan.h"

#include "kar/row_store.h"
#include "support/kar_builder.h"
#include "support/temp_tree.h"

#include <gtest/gtest.h>
#include <optional>
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
    tree.writeFile("one.kar", karWithTitle("One"));
    tree.makeFolder("b");
    tree.writeFile("b/two.kar", karWithTitle("Two <x>"));
    tree.makeFolder("b/c");
    tree.writeFile("b/c/three.kar", karWithTitle("Three"));
    tree.makeFolder("b/c/d");
    for (int i = 0; i < 300; ++i) {
        tree.writeFile("b/c/d/note" + QByteArray::number(i), QByteArray());
    }
    tree.writeFile("b/c/d/four.kar", karWithTitle("Four"));
    tree.makeFolder("b/c/d/..x");
    tree.writeFile("b/c/d/..x/six.kar", karWithTitle("Six"));
}

struct Controlled {
    RowStore rows;
    ScanOutcome outcome;
    QStringList reached;
    ScanProgress progress;
};

// Scans on a thread of its own into rows of its own, as a window does; stops once the scan
// reaches the folder named stopAt (relative to the root, "" for the root itself).
std::unique_ptr<Controlled> scanControlled(const TempTree& tree, RunSet runSet, int helpers,
                                           const std::optional<QString>& stopAt = {}) {
    auto result = std::make_unique<Controlled>();
    ScanControl control;
    control.folderReached = [&](const QString& folder) {
        result->reached << folder;
        if (stopAt &&
            folder == tree.root() + u'/' + *stopAt + (stopAt->isEmpty() ? u""_s : u"/"_s)) {
            control.requestStop();
        }
    };
    ScanRequest request = ScanRequest::forFolder(tree.root(), runSet, false);
    request.readAheadHelpers = helpers;
    request.control = &control;
    std::vector<ScannedRow> scanned;
    std::thread worker([&] { result->outcome = scanFolder(request, scanned); });
    worker.join();
    storeScannedRows(result->rows, scanned);
    result->progress = control.progress();
    return result;
}

TEST(ScanControl, ScanWithAControlGivesTheSameRowsAndEnd) {
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
            const auto controlled = scanControlled(tree, runSet, helpers);
            EXPECT_EQ(rowsOf(controlled->rows), rowsOf(plain));
            EXPECT_EQ(controlled->outcome.end, plainOutcome.end);
            EXPECT_EQ(controlled->outcome.listedFolders, plainOutcome.listedFolders);
            EXPECT_EQ(controlled->progress.progressSteps, progressSteps);
            EXPECT_EQ(controlled->progress.filesSeen, 305); // every non-folder entry
            EXPECT_EQ(controlled->reached.size(), 5);       // every folder, in order
            EXPECT_EQ(controlled->reached.front(), tree.root() + u"/"_s);
            EXPECT_EQ(controlled->progress.folder, controlled->reached.back());
        }
    }
}

TEST(ScanControl, StopEndsTheScanAtTheFolderReachedWithTheRowsBeforeIt) {
    struct Case {
        QString stopAt;
        QStringList titles; // of the rows kept
        QString folder;     // stoppedInFolder, below the root
        int listed;
    };
    const Case cases[] = {
        {QString(), {}, u"/"_s, 0},
        {u"b"_s, {u"One"_s}, u"/b/"_s, 1},
        {u"b/c"_s, {u"One"_s, u"Two <x>"_s}, u"/b/c/"_s, 2},
        {u"b/c/d"_s, {u"One"_s, u"Two <x>"_s, u"Three"_s}, u"/b/c/d/"_s, 3},
        {u"b/c/d/..x"_s, {u"One"_s, u"Two <x>"_s, u"Three"_s, u"Four"_s}, u"/b/c/d/..x/"_s, 4},
    };
    TempTree tree;
    fillTree(tree);
    for (const Case& c : cases) {
        for (const int helpers : {0, 2}) {
            SCOPED_TRACE(c.stopAt.toStdString() + " helpers " + std::to_string(helpers));
            const auto scan = scanControlled(tree, RunSet::StartWindow, helpers, c.stopAt);
            EXPECT_EQ(scan->outcome.end, ScanEnd::Stopped);
            EXPECT_EQ(scan->outcome.stoppedInFolder, tree.root() + c.folder);
            EXPECT_EQ(scan->outcome.listedFolders, c.listed);
            QStringList titles;
            for (int row = 1; row <= scan->rows.rowCount(); ++row) {
                titles << scan->rows.text(SongColumn::Title, row);
            }
            EXPECT_EQ(titles, c.titles);
        }
    }
}

TEST(ScanControl, AStopAskedBeforeTheScanEndsItAtTheChosenFolder) {
    TempTree tree;
    fillTree(tree);
    ScanControl control;
    control.requestStop();
    ScanRequest request = ScanRequest::forFolder(tree.root(), RunSet::StartWindow, false);
    request.control = &control;
    RowStore rows;
    const ScanOutcome outcome = scanFolder(request, rows);
    EXPECT_EQ(outcome.end, ScanEnd::Stopped);
    EXPECT_EQ(outcome.stoppedInFolder, tree.root() + u"/"_s);
    EXPECT_EQ(rows.rowCount(), 0);
}

TEST(ScanControl, StoredRowsLeaveTheSlotsBeyondThemAsAScanDoes) {
    RowStore store;
    for (int row = 1; row <= 3; ++row) {
        store.setText(SongColumn::Title, row, u"old "_s + QString::number(row));
    }
    store.setRowCount(3);
    storeScannedRows(store, {{u"a.kar"_s, u"/m/"_s, {u"A"_s, u"B"_s, u"C"_s, u"D"_s}}});
    EXPECT_EQ(rowsOf(store), QStringList{u"a.kar|/m/|A|B|C|D"_s});
    EXPECT_EQ(store.file(1), (RowFile{u"/m/"_s, u"a.kar"_s}));
    EXPECT_EQ(store.text(SongColumn::Title, 2), u"old 2"_s);
}

} // namespace
} // namespace corvanteller
