// SPDX-License-Identifier: GPL-3.0-or-later
#include "rename/rename_runs.h"

#include "common/file_names.h"
#include "common/seams.h"
#include "rename/rename_journal.h"
#include "support/pass_through_file_system.h"
#include "support/temp_tree.h"
#include "table/list_file.h"
#include "table/table_session.h"

#include <QDir>
#include <QFile>

#include <algorithm>
#include <csignal>
#include <functional>
#include <gtest/gtest.h>
#include <random>
#include <sys/stat.h>
#include <sys/wait.h>
#include <tuple>
#include <unistd.h>

namespace corvanteller {
namespace {

using test::TempTree;
using namespace Qt::StringLiterals;

class FixedClock final : public Clock {
public:
    QDateTime now() const override { return now_; }
    QDateTime now_ = QDateTime(QDate(2026, 12, 7), QTime(10, 0, 0));
};

// A table whose rows stand for real files of a temporary folder, as after a scan from the
// start window, with the messages of a run recorded.
class RenameRuns : public ::testing::Test {
protected:
    void SetUp() override { tree.makeFolder("music"); }

    QString folder(const QByteArray& relative = "music") const {
        return QFile::decodeName(tree.path(relative)) + u'/';
    }
    // A file whose content is its name, and a row standing for it.
    void addSong(const QByteArray& name, const QString& column3 = {},
                 const QByteArray& relative = "music") {
        tree.writeFile(relative + '/' + name, name);
        addRow(folder(relative), decodeFileName(name), column3);
    }
    void addRow(const QString& folderText, const QString& name, const QString& column3 = {}) {
        RowStore& store = table.startStore();
        const int row = store.rowCount() + 1;
        store.setRowCount(row);
        store.setText(1, row, name);
        store.setText(2, row, folderText);
        store.setText(3, row, column3);
        store.setFile(row, {folderText, name});
    }
    // The main window's activation.
    void show() { table.rebuildOnActivation(); }
    void type(int row, const QString& name) { table.model().setCell(row, 1, name); }

    RenameServices services(FileSystemCalls& fileSystem = systemFileSystem()) {
        return {fileSystem,
                journalPath,
                errorMessages,
                [this](const QString& text) {
                    shown << text;
                    if (whileShowing) {
                        whileShowing();
                    }
                    return shown.size() == noMoreAfter ? MessageReply::NoMoreMessages
                                                       : MessageReply::Continue;
                },
                [this](const QString& question) {
                    questions << question;
                    return true;
                },
                &clock};
    }
    RenameRunResult fromColumn() {
        RenameServices run = services();
        return renameFromNameColumn(table, run);
    }
    RenameRunResult complex(const RenamingOptions& options) {
        RenameServices run = services();
        return runComplexRename(table, options, clock, run);
    }
    RenameRunResult undo() {
        RenameServices run = services();
        return undoLastRenaming(table, run);
    }

    QByteArrayList files(const QByteArray& relative = "music") const {
        QByteArrayList names;
        for (const QString& name :
             QDir(QFile::decodeName(tree.path(relative))).entryList(QDir::Files, QDir::Name)) {
            names << name.toUtf8();
        }
        return names;
    }
    QByteArray content(const QString& name) const {
        QFile file(folder() + name);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    // An empty folder and table, for another round.
    void restart() {
        QDir(folder()).removeRecursively();
        QDir().mkpath(folder());
        QFile::remove(journalPath);
        table.startStore().setRowCount(0);
    }
    static std::vector<RowOutcome> outcomes(const RenameRunResult& result) {
        std::vector<RowOutcome> all;
        for (const RowResult& row : result.rows) {
            all.push_back(row.outcome);
        }
        return all;
    }

    TempTree tree;
    TableSession table;
    FixedClock clock;
    QString journalPath = QFile::decodeName(tree.path("config/rename-journal.txt"));
    bool errorMessages = true;
    QStringList shown;
    qsizetype noMoreAfter = -1;
    std::function<void()> whileShowing;
    QStringList questions;
};

using enum RowOutcome;

RenamingOptions parts(std::initializer_list<int> checkedPositions, int separatorIndex) {
    RenamingOptions options;
    for (const int position : checkedPositions) {
        options.nameParts[static_cast<std::size_t>(position)] = true;
    }
    options.separatorIndex = separatorIndex;
    return options;
}
constexpr int dashWithSpaces = 5;
constexpr int underscore = 6;

// --- From the name column ---------------------------------------------------------------------

TEST_F(RenameRuns, NothingTypedRenamesNothing) {
    addSong("a.kar");
    addSong("b.kar");
    show();
    table.renamedCount = 7;
    const RenameRunResult result = fromColumn();
    EXPECT_EQ(outcomes(result), (std::vector{Skipped, Skipped}));
    EXPECT_EQ(renamedStatusText(table.renamedCount), u"0 file(s) was(were) renamed"_s);
    EXPECT_TRUE(shown.isEmpty());
}

TEST_F(RenameRuns, TypedNamesAreTakenAsTheyStand) {
    addSong("song.kar");
    addSong("b.kar");
    show();
    type(1, u"Song.kar"_s); // letter case only
    type(2, u"New name"_s); // no extension is added
    const RenameRunResult result = fromColumn();
    EXPECT_EQ(outcomes(result), (std::vector{Renamed, Renamed}));
    EXPECT_EQ(table.renamedCount, 2);
    EXPECT_EQ(files(), QByteArrayList({"New name", "Song.kar"}));
    EXPECT_EQ(table.model().rowFile(2).name, u"New name"_s);
    EXPECT_EQ(table.startStore().file(2).name, u"New name"_s);
    EXPECT_FALSE(table.renamingReport);

    // Renamed once: the next run finds nothing to do, even after a refresh and a rebuild.
    table.refreshStores();
    show();
    EXPECT_EQ(outcomes(fromColumn()), (std::vector{Skipped, Skipped}));
}

TEST_F(RenameRuns, ImpossibleNamesFailBeforeTouchingTheFile) {
    const QString impossible[] = {u""_s,          u"."_s,         u".."_s,
                                  u"sub/x.kar"_s, u"../x.kar"_s,  u"a\u0000b.kar"_s,
                                  u"a\nb.kar"_s,  u"tab\t.kar"_s, u"del\u007F.kar"_s};
    tree.makeFolder("music/sub");
    for (const bool messages : {true, false}) {
        SCOPED_TRACE(messages);
        errorMessages = messages;
        shown.clear();
        if (table.model().songCount() == 0) {
            addSong("a.kar");
            show();
        }
        for (const QString& name : impossible) {
            SCOPED_TRACE(name.toStdString());
            type(1, name);
            const RenameRunResult result = fromColumn();
            ASSERT_EQ(result.rows.size(), 1u);
            EXPECT_EQ(result.rows[0].outcome, Failed);
            EXPECT_EQ(
                result.rows[0].message,
                u"Can't rename "_s + folder() +
                    u"a.kar. Imposible name of file or the file busy by another application."_s);
            EXPECT_EQ(table.model().cell(1, 1), name);
            EXPECT_EQ(files(), QByteArrayList({"a.kar"}));
            EXPECT_TRUE(files("music/sub").isEmpty());
        }
        EXPECT_EQ(shown.size(), messages ? static_cast<qsizetype>(std::size(impossible)) : 0);
    }
}

TEST_F(RenameRuns, TwoRowsGivenOneNameRenameOneAndKeepBothFiles) {
    addSong("a.kar");
    addSong("b.kar");
    show();
    type(1, u"same.kar"_s);
    type(2, u"same.kar"_s);
    EXPECT_EQ(outcomes(fromColumn()), (std::vector{Renamed, Failed}));
    EXPECT_EQ(table.renamedCount, 1);
    EXPECT_EQ(files(), QByteArrayList({"b.kar", "same.kar"}));
    EXPECT_EQ(content(u"same.kar"_s), "a.kar");
    EXPECT_EQ(content(u"b.kar"_s), "b.kar");
    EXPECT_EQ(shown.size(), 1);
}

TEST_F(RenameRuns, ATypedNameWaitsUntilItIsRenamed) {
    addSong("a.kar");
    addSong("b.kar");
    addSong("c.kar");
    show();
    type(1, u""_s);
    type(2, u"B.kar"_s);
    type(3, u"C.kar"_s);
    // The main window loses its activation and gets it back before the command.
    table.refreshStores();
    show();
    // Every message box refreshes the stores, as a switch to another window does.
    whileShowing = [this] { table.refreshStores(); };
    EXPECT_EQ(outcomes(fromColumn()), (std::vector{Failed, Renamed, Renamed}));
    EXPECT_EQ(files(), QByteArrayList({"B.kar", "C.kar", "a.kar"}));
}

TEST_F(RenameRuns, NoMoreMessagesSilencesTheRestOfTheRun) {
    for (const char* name : {"a.kar", "b.kar", "c.kar"}) {
        addSong(name);
    }
    show();
    for (int row = 1; row <= 3; ++row) {
        type(row, u"x/"_s);
    }
    noMoreAfter = 1;
    const RenameRunResult result = fromColumn();
    EXPECT_EQ(outcomes(result), (std::vector{Failed, Failed, Failed}));
    EXPECT_EQ(shown.size(), 1);
    EXPECT_FALSE(result.rows[2].message.isEmpty());
}

// --- Which file a row stands for --------------------------------------------------------------

TEST_F(RenameRuns, AnAddedRowStandsForNoFileAndMovesNoOther) {
    tree.makeFolder("one");
    tree.makeFolder("two");
    addSong("a.kar", {}, "music");
    addSong("b.kar", {}, "one");
    addSong("c.kar", {}, "two");
    show();
    ASSERT_TRUE(table.model().insertEmptyRowAt(1));
    type(1, u"new.kar"_s);
    EXPECT_EQ(outcomes(fromColumn()), (std::vector{Skipped, Skipped, Skipped, Skipped}));
    EXPECT_EQ(files("music"), QByteArrayList({"a.kar"}));
    EXPECT_EQ(files("one"), QByteArrayList({"b.kar"}));
    EXPECT_EQ(files("two"), QByteArrayList({"c.kar"}));
    EXPECT_TRUE(shown.isEmpty());
}

TEST_F(RenameRuns, AnOpenedListStandsForItsOwnFiles) {
    tree.makeFolder("other");
    tree.writeFile("other/x.kar", "x");
    tree.writeFile("other/y.kar", "y");
    const QString listPath = QFile::decodeName(tree.path("songs.sgl"));
    {
        TableSession listed;
        listed.model().resetForList(2);
        listed.model().setCell(1, 1, u"x.kar"_s);
        listed.model().setCell(1, 2, folder("other"));
        listed.model().setCell(2, 1, u"y.kar"_s);
        listed.model().setCell(2, 2, folder("other"));
        writeListFile(listPath, listed.model());
    }
    for (const bool handedOverByStartWindow : {false, true}) {
        SCOPED_TRACE(handedOverByStartWindow);
        table.startStore().setRowCount(0);
        table.startWindowHandedTable = false;
        addSong("a.kar");
        addSong("b.kar");
        show();
        // The main window's "&Open Corvanteller list..." while the origin is the start window,
        // or the start window's own list open handing the table over.
        const ListOpenResult opened =
            openListFile(listPath, table.model(), table.startStore().rowCount());
        ASSERT_EQ(opened.outcome, ListOpenResult::Outcome::Opened);
        if (handedOverByStartWindow) {
            table.startWindowHandedTable = true;
            show();
        } else {
            copyDataRowsInto(table.model(), table.mainStore());
        }
        EXPECT_EQ(outcomes(fromColumn()), (std::vector{Skipped, Skipped}));
        EXPECT_EQ(files(), QByteArrayList({"a.kar", "b.kar"}));
        EXPECT_EQ(files("other"), QByteArrayList({"x.kar", "y.kar"}));
    }
}

TEST_F(RenameRuns, RowsWithoutARegularFileAreReported) {
    tree.makeFolder("music/folder.kar");
    tree.writeFile("music/real.kar", "real");
    ASSERT_EQ(::symlink("missing.kar", tree.path("music/dangling.kar").constData()), 0);
    ASSERT_EQ(::symlink("real.kar", tree.path("music/link.kar").constData()), 0);
    const QString music = folder();
    addRow(music, u"folder.kar"_s);
    addRow(u"music/"_s, u"real.kar"_s);
    addRow(music.chopped(1), u"real.kar"_s);
    addRow(music, u"dangling.kar"_s);
    addRow(music, u"deleted.kar"_s); // deleted since the scan
    addRow(music, u"link.kar"_s);
    show();
    for (int row = 1; row <= 6; ++row) {
        type(row, u"renamed"_s + QString::number(row));
    }
    const RenameRunResult result = fromColumn();
    EXPECT_EQ(outcomes(result), (std::vector{Failed, Failed, Failed, Failed, Failed, Renamed}));
    EXPECT_EQ(table.renamedCount, 1);
    // The link itself is renamed; its target keeps its name.
    EXPECT_EQ(files(), QByteArrayList({"real.kar", "renamed6"}));
    EXPECT_TRUE(QFileInfo(music + u"renamed6"_s).isSymLink());
    ASSERT_EQ(shown.size(), 5);
    EXPECT_EQ(shown[4], u"Can't rename "_s + music + u"deleted.kar. There is no such file."_s);
}

TEST_F(RenameRuns, ACp1251NameInsideAUtf8FolderIsFound) {
    tree.makeFolder("music/\xD0\x9F\xD0\xB5\xD1\x81\xD0\xBD\xD0\xB8"); // "Песни" in UTF-8
    const QByteArray cp1251Name = "\xCF\xE5\xF1\xED\xFF.kar";          // "Песня.kar" in cp1251
    tree.writeFile("music/\xD0\x9F\xD0\xB5\xD1\x81\xD0\xBD\xD0\xB8/" + cp1251Name, "old");
    addRow(folder() + u"Песни/"_s, u"Песня.kar"_s);
    show();
    type(1, u"Новая.kar"_s);
    EXPECT_EQ(outcomes(fromColumn()), (std::vector{Renamed}));
    QFile renamed(QString::fromUtf8(tree.path("music/Песни/Новая.kar")));
    ASSERT_TRUE(renamed.open(QIODevice::ReadOnly));
    EXPECT_EQ(renamed.readAll(), "old");
}

// --- Complex renaming -------------------------------------------------------------------------

TEST_F(RenameRuns, ComplexNamesAreComposedAndGetKar) {
    addSong("Song.kar", u"Title"_s);
    show();
    RenameRunResult result = complex(parts({0}, dashWithSpaces));
    EXPECT_EQ(outcomes(result), (std::vector{Renamed}));
    EXPECT_EQ(files(), QByteArrayList({"Song.kar.kar"}));
    EXPECT_EQ(table.model().cell(1, 1), u"Song.kar.kar"_s);
    EXPECT_EQ(table.model().rowFile(1).name, u"Song.kar.kar"_s);
    EXPECT_EQ(table.startStore().text(1, 1), u"Song.kar.kar"_s);
    EXPECT_TRUE(table.renamingReport);
    EXPECT_TRUE(table.keepTableOnce);
    EXPECT_TRUE(table.unsavedChanges);

    // Column 3 and the date and time from the clock, in list order and with the date moved up.
    RenamingOptions options = parts({1, 7}, underscore);
    EXPECT_EQ(outcomes(complex(options)), (std::vector{Renamed}));
    EXPECT_EQ(files(), QByteArrayList({"Title_07.12.2026  10.00.00.kar"}));
    for (int position = 7; position > 0; --position) {
        std::swap(options.partOrder[position], options.partOrder[position - 1]);
        std::swap(options.nameParts[position], options.nameParts[position - 1]);
    }
    clock.now_ = clock.now_.addSecs(1);
    EXPECT_EQ(outcomes(complex(options)), (std::vector{Renamed}));
    EXPECT_EQ(files(), QByteArrayList({"07.12.2026  10.00.01_Title.kar"}));
}

TEST_F(RenameRuns, ComplexFailuresAreWordedByTheTablesOrigin) {
    const QString failed[] = {
        u". Error in new name of a file or file with such name, as a new name of a file, already "
        u"exists. Or the file is busy by other application "_s,
        u". Недопустимое новое имя файла или файл с таким именем, как новое имя файла, уже "
        u"существует. Или Файл занят другим приложением"_s};
    for (const TableOrigin origin : {TableOrigin::MainWindow, TableOrigin::StartWindow}) {
        const bool start = origin == TableOrigin::StartWindow;
        SCOPED_TRACE(start);
        shown.clear();
        table.startStore().setRowCount(0);
        table.keepTableOnce = false;
        table.origin = TableOrigin::StartWindow; // the rows come from the start window's store
        QDir(folder()).removeRecursively();
        QDir().mkpath(folder());
        addSong("a.kar", u"Same"_s);
        addSong("b.kar", u"Same"_s);
        addSong("c.kar", QString());
        show();
        table.origin = origin;
        const RenameRunResult result = complex(parts({1}, dashWithSpaces));
        EXPECT_EQ(outcomes(result), (std::vector{Renamed, Failed, Failed}));
        EXPECT_EQ(table.renamedCount, 1);
        EXPECT_EQ(files(), QByteArrayList({"Same.kar", "b.kar", "c.kar"}));
        EXPECT_EQ(shown,
                  QStringList({(start ? u"Не удалось переименовать "_s : u"Can't rename "_s) +
                                   folder() + u"b.kar"_s + failed[start ? 1 : 0],
                               u"Can't rename "_s + folder() +
                                   u"c.kar. New name mustn't be empty string"_s +
                                   (start ? u". :)"_s : QString())}));
    }
}

TEST_F(RenameRuns, AnEmptyStringAloneGivesNoNameForAnyFile) {
    addSong("a.kar");
    addSong("b.kar");
    show();
    RenamingOptions options = parts({5}, dashWithSpaces);
    options.yourString.clear();
    EXPECT_EQ(outcomes(complex(options)), (std::vector{Failed, Failed}));
    EXPECT_EQ(shown.size(), 2);
    EXPECT_EQ(table.renamedCount, 0);
    EXPECT_TRUE(table.keepTableOnce); // the rows were processed
    EXPECT_EQ(files(), QByteArrayList({"a.kar", "b.kar"}));
}

TEST_F(RenameRuns, OnlyCheckedWithNoneCheckedRenamesNothing) {
    addSong("a.kar", u"A"_s);
    addSong("b.kar", u"B"_s);
    show();
    RenamingOptions options = parts({1}, dashWithSpaces);
    options.whatFiles = WhatFiles::OnlyChecked;
    EXPECT_EQ(outcomes(complex(options)), (std::vector{Skipped, Skipped}));
    EXPECT_EQ(table.renamedCount, 0);
    EXPECT_FALSE(table.keepTableOnce);

    table.model().toggleCheck(2);
    EXPECT_EQ(outcomes(complex(options)), (std::vector{Skipped, Renamed}));
    EXPECT_EQ(files(), QByteArrayList({"B.kar", "a.kar"}));
}

TEST_F(RenameRuns, AFileIsRenamedOnceARun) {
    addSong("a.kar", u"B"_s);
    // A stale row that names the path the first row is about to produce.
    addRow(folder(), u"B.kar"_s, u"C"_s);
    show();
    table.origin = TableOrigin::MainWindow;
    EXPECT_EQ(outcomes(complex(parts({1}, dashWithSpaces))), (std::vector{Renamed, Failed}));
    EXPECT_EQ(files(), QByteArrayList({"B.kar"}));
    EXPECT_EQ(shown.size(), 1);
}

TEST_F(RenameRuns, PreviewShowsWhatTheRunWouldDo) {
    addSong("a.kar", u"Same"_s);
    addSong("b.kar", u"Same"_s);
    addSong("c.kar", QString());
    addSong("d.kar", u"a"_s);
    addSong("e.kar", QString(300, u'x'));
    show();
    const std::vector<PreviewRow> preview =
        previewComplexRename(table, parts({1}, dashWithSpaces), clock, systemFileSystem());
    ASSERT_EQ(preview.size(), 5u);
    EXPECT_EQ(preview[0].newName, u"Same.kar"_s);
    EXPECT_TRUE(preview[0].remarks.isEmpty());
    EXPECT_EQ(preview[1].remarks, QStringList({u"same new name as row 1"_s}));
    EXPECT_EQ(preview[2].remarks, QStringList({u"empty name"_s}));
    // Row 1 frees "a.kar" before row 4 takes it, as in the run.
    EXPECT_TRUE(preview[3].remarks.isEmpty());
    EXPECT_EQ(preview[3].outcome, Renamed);
    EXPECT_EQ(preview[3].folder, folder());
    EXPECT_EQ(preview[4].remarks, QStringList({u"cut to 255 bytes"_s}));
    EXPECT_EQ(files(), QByteArrayList({"a.kar", "b.kar", "c.kar", "d.kar", "e.kar"}));
}

// --- Journal and undo -------------------------------------------------------------------------

TEST_F(RenameRuns, UndoPutsBackOneRunAtATimeAndFollowsTheRows) {
    addSong("a.kar", u"A 100%"_s);
    addSong("\xCF\xE5\xF1\xED\xFF.kar", u"B"_s); // a cp1251 name comes back as its bytes
    show();
    type(1, u"first.kar"_s);
    type(2, u"second.kar"_s);
    ASSERT_EQ(fromColumn().renamed, 2);
    ASSERT_EQ(complex(parts({1}, dashWithSpaces)).renamed, 2);
    ASSERT_EQ(files(), QByteArrayList({"A 100%.kar", "B.kar"}));

    RenameRunResult undone = undo();
    EXPECT_EQ(undone.renamed, 2);
    EXPECT_EQ(table.renamedCount, 2);
    EXPECT_EQ(files(), QByteArrayList({"first.kar", "second.kar"}));
    EXPECT_EQ(table.model().cell(1, 1), u"first.kar"_s);
    EXPECT_EQ(table.model().rowFile(2).name, u"second.kar"_s);

    undone = undo();
    EXPECT_EQ(undone.renamed, 2);
    const QByteArray cp1251Path = tree.path("music/\xCF\xE5\xF1\xED\xFF.kar");
    EXPECT_EQ(::access(cp1251Path.constData(), F_OK), 0);
    EXPECT_EQ(table.model().cell(2, 1), u"Песня.kar"_s);

    undone = undo();
    EXPECT_FALSE(undone.started);
    EXPECT_EQ(undone.notice, u"There is no renaming to undo."_s);
    ::unlink(cp1251Path.constData()); // a name that the temporary folder's removal cannot spell
}

TEST_F(RenameRuns, UndoLeavesWhatChangedSinceAndSaysWhatItCannotPutBack) {
    addSong("a.kar");
    addSong("b.kar");
    show();
    type(1, u"x.kar"_s);
    type(2, u"y.kar"_s);
    ASSERT_EQ(fromColumn().renamed, 2);
    QFile::remove(folder() + u"x.kar"_s);        // gone since: stays to be tried again
    tree.writeFile("music/b.kar", "a newcomer"); // the old name is taken
    const RenameRunResult undone = undo();
    EXPECT_EQ(undone.renamed, 0);
    EXPECT_EQ(shown, QStringList(
                         {u"Can't put back "_s + folder() + u"y.kar as "_s + folder() + u"b.kar."_s,
                          u"Can't put back "_s + folder() +
                              u"x.kar: the file is not where the renaming left it."_s}));
    EXPECT_EQ(content(u"b.kar"_s), "a newcomer");
    EXPECT_EQ(content(u"y.kar"_s), "b.kar");
}

TEST_F(RenameRuns, NothingIsRenamedWithoutAJournal) {
    addSong("a.kar", u"A"_s);
    show();
    tree.writeFile("blocker", "a file");
    journalPath = QFile::decodeName(tree.path("blocker/rename-journal.txt"));
    type(1, u"b.kar"_s);
    for (const RenameRunResult& result : {fromColumn(), complex(parts({1}, dashWithSpaces))}) {
        EXPECT_FALSE(result.started);
        EXPECT_EQ(result.notice, u"The renaming journal cannot be written: Invalid filename."_s);
    }
    EXPECT_EQ(files(), QByteArrayList({"a.kar"}));
}

// --- Write-ahead journal, checked undo ------------------------------------------------------

// The system's calls, but the process dies at the n-th rename, after its journal line.
class KillingFileSystem : public test::PassThroughFileSystem {
public:
    explicit KillingFileSystem(int killAt) : killAt_(killAt) {}
    int renameNoReplace(int folder, const QByteArray& from, const QByteArray& to) override {
        if (++renames_ == killAt_) {
            ::kill(::getpid(), SIGKILL);
        }
        return PassThroughFileSystem::renameNoReplace(folder, from, to);
    }

private:
    int killAt_;
    int renames_ = 0;
};

qsizetype journalRenames(const QString& path) {
    QFile file(path);
    const QByteArrayList lines =
        file.open(QIODevice::ReadOnly) ? file.readAll().split('\n') : QByteArrayList();
    return std::count_if(lines.begin(), lines.end(),
                         [](const QByteArray& line) { return line.startsWith('R'); });
}

TEST_F(RenameRuns, AKilledRunLeavesEveryRenamedFileUndoable) {
    for (const int killAt : {1, 2, 3}) {
        SCOPED_TRACE(killAt);
        restart();
        for (const char* name : {"a.kar", "b.kar", "c.kar"}) {
            addSong(name);
        }
        show();
        for (int row = 1; row <= 3; ++row) {
            type(row, u"new"_s + QString::number(row) + u".kar"_s);
        }
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            KillingFileSystem dying(killAt);
            RenameServices run = services(dying);
            renameFromNameColumn(table, run);
            ::_exit(0);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
        EXPECT_EQ(journalRenames(journalPath), killAt);

        questions.clear();
        EXPECT_EQ(undo().renamed, killAt - 1);
        EXPECT_EQ(files(), QByteArrayList({"a.kar", "b.kar", "c.kar"}));
        EXPECT_TRUE(shown.isEmpty());
        // The question counts the renames that happened; with none it is not asked.
        EXPECT_EQ(questions.size(), killAt > 1 ? 1 : 0);
        EXPECT_TRUE(killAt == 1 || questions[0].contains(u": %1 file(s)"_s.arg(killAt - 1)));
        EXPECT_EQ(undo().notice, u"There is no renaming to undo."_s);
    }
}

TEST_F(RenameRuns, AFileThatCouldNotBePutBackIsTriedAgainFirst) {
    for (const char* name : {"a.kar", "b.kar", "c.kar"}) {
        addSong(name);
    }
    show();
    type(1, u"x.kar"_s);
    ASSERT_EQ(fromColumn().renamed, 1);
    type(2, u"y.kar"_s);
    type(3, u"z.kar"_s);
    clock.now_ = QDateTime(QDate(2026, 12, 8), QTime(21, 5, 30));
    ASSERT_EQ(fromColumn().renamed, 2);
    tree.writeFile("music/b.kar", "an obstacle");

    // Each undo: obstacle removed first?, the run it asks about, files left in it, files put
    // back, failure messages.
    const std::tuple<bool, QString, int, int, qsizetype> steps[] = {
        {false, u"08.12.2026 21:05"_s, 2, 1, 1},
        {false, u"08.12.2026 21:05"_s, 1, 0, 1},
        {true, u"08.12.2026 21:05"_s, 1, 1, 0},
        {false, u"07.12.2026 10:00"_s, 1, 1, 0}};
    for (const auto& [removeObstacle, run, left, putBack, messages] : steps) {
        SCOPED_TRACE(run.toStdString() + " " + std::to_string(putBack));
        if (removeObstacle) {
            QFile::remove(folder() + u"b.kar"_s);
        }
        shown.clear();
        questions.clear();
        EXPECT_EQ(undo().renamed, putBack);
        EXPECT_EQ(questions,
                  QStringList{u"Undo the renaming of "_s + run + u": "_s + QString::number(left) +
                              u" file(s) in "_s + folder() + u"...?"_s});
        EXPECT_EQ(shown.size(), messages);
    }
    EXPECT_EQ(files(), QByteArrayList({"a.kar", "b.kar", "c.kar"}));
    EXPECT_EQ(content(u"b.kar"_s), "b.kar");
    EXPECT_EQ(undo().notice, u"There is no renaming to undo."_s);
}

TEST_F(RenameRuns, UndoReportsADamagedLineOfItsRunOnce) {
    addSong("a.kar");
    addSong("fkp-A.kar");
    show();
    type(1, u"x.kar"_s);
    type(2, u"fkp-B.kar"_s);
    ASSERT_EQ(fromColumn().renamed, 2);
    QFile journal(journalPath); // a file-size limit cut the last line
    ASSERT_TRUE(journal.open(QIODevice::ReadWrite));
    ASSERT_TRUE(journal.resize(journal.readAll().indexOf("fkp-A") + 5));
    journal.close();

    const RenameRunResult undone = undo();
    EXPECT_EQ(undone.renamed, 1);
    EXPECT_TRUE(undone.notice.startsWith(u"1 line(s) of the renaming journal are damaged"_s));
    EXPECT_TRUE(undone.notice.contains(u"fkp-A"_s));
    EXPECT_EQ(files(), QByteArrayList({"a.kar", "fkp-B.kar"}));
    EXPECT_EQ(undo().notice, u"There is no renaming to undo."_s);
}

// --- What a run renames -----------------------------------------------------------------------

// Only karaoke files whose name changes are renamed, counted and journaled.
TEST_F(RenameRuns, OnlyKaraokeFilesWhoseNameChangesAreRenamed) {
    const std::tuple<QByteArray, QString, RowOutcome> cases[] = {
        {"notes.txt", u"A"_s, Failed},  {".bashrc-copy", u"B"_s, Failed},
        {"photo.jpg", u"C"_s, Failed},  {"x.Kar", u"D"_s, Failed},
        {"Song.KAR", u"E"_s, Renamed},  {"karaoke.mid", u"F"_s, Renamed},
        {"a.kar.bak", u"G"_s, Renamed}, {"Same.kar", u"Same"_s, Skipped}};
    for (const auto& [name, title, outcome] : cases) {
        addSong(name, title);
    }
    show();
    table.origin = TableOrigin::MainWindow;
    const RenameRunResult result = complex(parts({1}, dashWithSpaces));
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const auto& [name, title, outcome] = cases[i];
        SCOPED_TRACE(name.toStdString());
        EXPECT_EQ(result.rows[i].outcome, outcome);
        EXPECT_EQ(QFile::exists(folder() + QString::fromUtf8(name)), outcome != Renamed);
    }
    EXPECT_EQ(result.rows[7].remarks, QStringList{u"name unchanged"_s});
    EXPECT_EQ(shown.size(), 4);
    EXPECT_EQ(table.renamedCount, 3);
    EXPECT_EQ(journalRenames(journalPath), 3);
    type(1, u"notes2.txt"_s);
    EXPECT_EQ(outcomes(fromColumn())[0], Failed);
}

TEST_F(RenameRuns, ALinkKeepsItsRowWhenItsTargetIsRenamedFirst) {
    addSong("real.kar", u"Target"_s);
    ASSERT_EQ(::symlink("real.kar", tree.path("music/link.kar").constData()), 0);
    addRow(folder(), u"link.kar"_s, u"Link"_s);
    show();
    EXPECT_EQ(outcomes(complex(parts({1}, dashWithSpaces))), (std::vector{Renamed, Renamed}));
    EXPECT_EQ(files("music"), QByteArrayList({"Target.kar"}));
    EXPECT_TRUE(QFileInfo(folder() + u"Link.kar"_s).isSymLink());
    EXPECT_TRUE(shown.isEmpty());
}

// The preview is the run's own dry run: on random small trees it foresees every row.
TEST_F(RenameRuns, PreviewAndRunAgreeOnRandomTrees) {
    const QByteArrayList names = {"a.kar", "b.kar", "a.kar.kar", "A.kar", "b.txt", "B.kar"};
    const QStringList texts = {u"a"_s, u"b"_s, u"A"_s, QString(), u"a.kar"_s, u"B"_s};
    std::mt19937 random(2026);
    const auto pick = [&random](auto size) {
        return static_cast<int>(random() % static_cast<unsigned>(size));
    };
    for (int trial = 0; trial < 200; ++trial) {
        SCOPED_TRACE(trial);
        restart();
        for (const QByteArray& name : names) {
            if (pick(2) == 0) {
                tree.writeFile("music/" + name, name);
            }
        }
        if (pick(3) == 0) {
            EXPECT_EQ(::symlink(names[pick(names.size())].constData(),
                                tree.path("music/link.kar").constData()),
                      0);
        }
        const int rows = 1 + pick(8);
        for (int row = 0; row < rows; ++row) {
            const QString name =
                row % 4 == 3 ? u"link.kar"_s : QString::fromUtf8(names[pick(names.size())]);
            addRow(folder(), name, texts[pick(texts.size())]);
        }
        show();
        const int separator = pick(8);
        const int choice = pick(4);
        RenamingOptions options = choice == 0   ? parts({0}, separator)
                                  : choice == 1 ? parts({1}, separator)
                                  : choice == 2 ? parts({0, 1}, separator)
                                                : parts({1, 4}, separator);
        if (pick(4) == 0) {
            options.whatFiles = WhatFiles::OnlyChecked;
            table.model().toggleCheck(1);
        }
        const std::vector<PreviewRow> preview =
            previewComplexRename(table, options, clock, systemFileSystem());
        const RenameRunResult run = complex(options);
        for (const PreviewRow& row : preview) {
            SCOPED_TRACE(row.row);
            const RowResult& done = run.rows.at(static_cast<std::size_t>(row.row - 1));
            EXPECT_EQ(row.outcome, done.outcome);
            EXPECT_EQ(row.newName, done.newName);
            EXPECT_EQ(row.remarks, done.remarks);
            EXPECT_EQ(row.message, done.message);
        }
    }
}

// --- Undo of what changed since -------------------------------------------------------------

// What befell a renamed file before the undo: only a file put back is settled; the rest waits
// for the next undo, after the repair.
TEST_F(RenameRuns, UndoSettlesOnlyAFilePutBack) {
    const QByteArray music = tree.path("music");
    const QByteArray renamed = tree.path("music/x.kar");
    const auto move = [](const QByteArray& from, const QByteArray& to) {
        return [from, to] { ASSERT_EQ(::rename(from.constData(), to.constData()), 0); };
    };
    // What, change, repair, put back by the first undo, not where it was left, by the next undo
    const std::tuple<const char*, std::function<void()>, std::function<void()>, int, bool, int>
        cases[] = {{"folder away", move(music, tree.path("away")), move(tree.path("away"), music),
                    0, true, 1},
                   {"saved again", move(tree.path("copy"), renamed), [] {}, 1, false, 0}};
    for (const auto& [what, change, repair, putBack, notWhere, putBackNext] : cases) {
        SCOPED_TRACE(what);
        restart();
        tree.writeFile("copy", "a.kar");
        addSong("a.kar");
        show();
        type(1, u"x.kar"_s);
        ASSERT_EQ(fromColumn().renamed, 1);
        change();
        shown.clear();
        EXPECT_EQ(undo().renamed, putBack);
        EXPECT_EQ(shown, notWhere ? QStringList(u"Can't put back "_s + folder() +
                                                u"x.kar: the file is not where the renaming "
                                                u"left it."_s)
                                  : QStringList());
        repair();
        const RenameRunResult next = undo();
        EXPECT_EQ(next.started, notWhere);
        EXPECT_EQ(next.renamed, putBackNext);
        EXPECT_EQ(content(u"a.kar"_s), putBack + putBackNext > 0 ? "a.kar" : "");
    }
}

TEST_F(RenameRuns, CommandsThatRenameNothingKeepTheRunToUndo) {
    addSong("a.kar");
    show();
    type(1, u"x.kar"_s);
    ASSERT_EQ(fromColumn().renamed, 1);
    for (int run = 0; run <= RenameJournal::keptRuns; ++run) {
        fromColumn(); // "0 file(s)", and no run
    }
    EXPECT_EQ(undo().renamed, 1);
}

// One folder refuses writes, also to root.
class ReadOnlyFolder final : public KillingFileSystem {
public:
    explicit ReadOnlyFolder(const QByteArray& path) : KillingFileSystem(0) {
        ::stat(path.constData(), &folder_);
    }
    int checkWritable(int folder) override {
        struct stat info {};
        ::fstat(folder, &info);
        return info.st_ino == folder_.st_ino && info.st_dev == folder_.st_dev ? EACCES : 0;
    }

private:
    struct stat folder_ {};
};

TEST_F(RenameRuns, PreviewSeesAFolderThatCannotBeWritten) {
    tree.makeFolder("locked");
    addSong("a.kar", u"A"_s, "locked");
    addSong("b.kar", u"B"_s);
    show();
    // Root writes into a mode-555 folder: there the seam refuses, as access(2) does for others.
    const bool root = ::geteuid() == 0;
    ReadOnlyFolder seam(tree.path("locked"));
    ASSERT_EQ(::chmod(tree.path("locked").constData(), 0555), 0);
    const std::vector<PreviewRow> preview = previewComplexRename(
        table, parts({1}, dashWithSpaces), clock, root ? seam : systemFileSystem());
    ::chmod(tree.path("locked").constData(), 0755);
    ASSERT_EQ(preview.size(), 2u);
    EXPECT_EQ(preview[0].outcome, Failed);
    EXPECT_EQ(preview[0].remarks, QStringList(u"the folder cannot be written"_s));
    EXPECT_EQ(preview[1].outcome, Renamed);
}

TEST_F(RenameRuns, AfterUndoEveryRowShowsItsFileAsItNowIs) {
    addSong("hl.kar", u"Linked"_s);
    ASSERT_EQ(
        ::link(tree.path("music/hl.kar").constData(), tree.path("music/notes.txt").constData()), 0);
    addRow(folder(), u"notes.txt"_s, u"Notes"_s);
    addSong("real.kar", u"Target"_s);
    ASSERT_EQ(::symlink("real.kar", tree.path("music/link.kar").constData()), 0);
    addRow(folder(), u"link.kar"_s, u"Link"_s);
    show();
    const QString refused = folder() +
                            u"notes.txt is not a karaoke file (its name has no \"kar\"), "
                            u"so it was not renamed."_s;
    ASSERT_EQ(complex(parts({1}, dashWithSpaces)).renamed, 3);
    EXPECT_EQ(shown, QStringList(refused));
    ASSERT_EQ(undo().renamed, 3);
    for (const auto& [row, name] :
         {std::pair(1, u"hl.kar"_s), {2, u"notes.txt"_s}, {3, u"real.kar"_s}, {4, u"link.kar"_s}}) {
        EXPECT_EQ(table.model().rowFile(row).name, name);
    }
    type(2, u"notes2.txt"_s);
    fromColumn();
    EXPECT_EQ(shown.last(), refused);
}

// A damaged start line belongs to its own run, not to the undone one before it, and is shown
// as its bytes.
TEST_F(RenameRuns, ADamagedStartLineKeepsItsRunApart) {
    addSong("a.kar");
    addSong("b.kar");
    show();
    type(1, u"x.kar"_s);
    ASSERT_EQ(fromColumn().renamed, 1);
    ASSERT_EQ(undo().renamed, 1);
    type(2, u"y.kar"_s);
    ASSERT_EQ(fromColumn().renamed, 1);
    QFile journal(journalPath);
    ASSERT_TRUE(journal.open(QIODevice::ReadWrite));
    QByteArray bytes = journal.readAll();
    bytes[bytes.indexOf("S\t2\t") + 6] = '\xD0';
    ASSERT_TRUE(journal.seek(0) && journal.write(bytes) == bytes.size());
    journal.close();
    questions.clear();
    const RenameRunResult undone = undo();
    EXPECT_EQ(undone.renamed, 1);
    EXPECT_EQ(questions,
              QStringList(u"Undo the last renaming: 1 file(s) in "_s + folder() + u"...?"_s));
    EXPECT_TRUE(undone.notice.contains(u"S 2 20\\xD0"_s)) << undone.notice.toStdString();
    EXPECT_EQ(undo().notice, u"There is no renaming to undo."_s);
}

} // namespace
} // namespace corvanteller
