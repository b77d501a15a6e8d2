// SPDX-License-Identifier: GPL-3.0-or-later
#include "rename/rename_journal.h"

#include "common/file_io.h"
#include "support/temp_tree.h"

#include <QFile>

#include <gtest/gtest.h>
#include <optional>
#include <tuple>

namespace corvanteller {
namespace {

using test::TempTree;
using namespace Qt::StringLiterals;

const QDateTime someTime(QDate(2026, 12, 8), QTime(21, 5, 0));

QByteArray readBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

TEST(RenameJournal, EveryByteComesBackAndNoFieldHoldsASeparator) {
    QByteArray all;
    for (int byte = 0; byte < 256; ++byte) {
        all.append(static_cast<char>(byte));
    }
    const QByteArray field = escapeJournalField(all);
    EXPECT_FALSE(field.contains('\t'));
    EXPECT_FALSE(field.contains('\n'));
    EXPECT_FALSE(field.contains('\r'));
    EXPECT_EQ(unescapeJournalField(field), all);
    EXPECT_EQ(escapeJournalField("/music/100% Hits\t.kar"), "/music/100%25 Hits%09.kar");
}

TEST(RenameJournal, UndoGoesBackOneRunAtATime) {
    TempTree tree;
    const QString path = renameJournalPath(tree.root() + u"/config/prop.dat"_s);
    {
        RenameJournal first(path); // creates the folder
        EXPECT_EQ(first.run(), 1);
        EXPECT_EQ(first.runToUndo(), nullptr);
        first.startRun(someTime);
        first.recordIntent("/m/a.kar", "/m/b.kar", {1, 2});
        first.recordIntent("/m/c.kar", "/m/d\n.kar", {1, 3});
    }
    {
        RenameJournal second(path);
        EXPECT_EQ(second.run(), 2);
        second.startRun(someTime.addSecs(60));
        second.recordIntent("/m/x.kar", "/m/y.kar", {1, 4});
        second.recordFailed(second.recordIntent("/m/p.kar", "/m/q.kar", {1, 5}));
    }
    RenameJournal undo(path);
    EXPECT_EQ(undo.run(), 3);
    const JournalRun* last = undo.runToUndo();
    ASSERT_NE(last, nullptr);
    EXPECT_EQ(last->started, someTime.addSecs(60));
    ASSERT_EQ(last->pending().size(), 1u); // the failed one is not undone
    EXPECT_EQ(last->pending()[0]->newPath, "/m/y.kar");
    undo.recordSettled(last->run, last->pending()[0]->sequence);

    last = undo.runToUndo();
    ASSERT_NE(last, nullptr);
    ASSERT_EQ(last->pending().size(), 2u);
    EXPECT_EQ(last->pending()[0]->oldPath, "/m/c.kar"); // newest first
    EXPECT_EQ(last->pending()[0]->newPath, "/m/d\n.kar");
    EXPECT_EQ(last->pending()[1]->file, (FileIdentity{1, 2}));
    undo.recordSettled(last->run, 1);
    undo.recordSettled(last->run, 2);
    EXPECT_EQ(undo.runToUndo(), nullptr);
    // And so it stays once read again.
    EXPECT_EQ(RenameJournal(path).runToUndo(), nullptr);
}

TEST(RenameJournal, ALineCutShortByACrashStaysApart) {
    TempTree tree;
    tree.writeFile("journal.txt", "4\t/m/a.kar\t/m/b.kar\n5\t/m/c.k");
    const QString path = QFile::decodeName(tree.path("journal.txt"));
    RenameJournal journal(path);
    EXPECT_EQ(journal.run(), 5);
    journal.startRun(someTime);
    journal.recordIntent("/m/e.kar", "/m/f.kar", {1, 2});
    ASSERT_NE(journal.runToUndo(), nullptr);
    const auto last = journal.runToUndo()->pending();
    ASSERT_EQ(last.size(), 1u);
    EXPECT_EQ(last[0]->oldPath, "/m/e.kar");
}

TEST(RenameJournal, AnOlderJournalIsReadAsBefore) {
    TempTree tree;
    const QString path = QFile::decodeName(tree.path("journal.txt"));
    writeBytes(path, "1\t/m/a.kar\t/m/b.kar\n2\t/m/c.kar\t/m/d.kar\n2\t/m/e.kar\t/m/f%0A.kar\n"
                     "3\tundo\t1\n");
    RenameJournal journal(path);
    EXPECT_EQ(journal.run(), 4);
    const JournalRun* last = journal.runToUndo();
    ASSERT_NE(last, nullptr);
    EXPECT_EQ(last->run, 2);
    ASSERT_EQ(last->pending().size(), 2u);
    EXPECT_EQ(last->pending()[0]->newPath, "/m/f\n.kar");
    journal.recordSettled(2, last->pending()[0]->sequence);
    journal.recordSettled(2, last->pending()[0]->sequence);
    EXPECT_EQ(journal.runToUndo(), nullptr); // run 1 was undone by the older program
}

// One run of two renames, its last line cut at every byte or with a wrong byte there: a line
// that is not whole is never a rename; it stays with its run as a damaged line, and the next
// line stands on its own.
TEST(RenameJournal, ALineCutAtAnyByteIsNeverARename) {
    TempTree tree;
    const QString path = QFile::decodeName(tree.path("journal.txt"));
    {
        RenameJournal journal(path);
        journal.startRun(someTime);
        journal.recordIntent("/m/a.kar", "/m/A.kar", {1, 2});
        journal.recordIntent("/m/sub/fkp-A.kar", "/m/sub/fkp-B.kar", {1, 3});
    }
    const QByteArray whole = readBytes(path);
    const qsizetype lastStart = whole.lastIndexOf('\n', whole.size() - 2) + 1;
    for (qsizetype cut = lastStart; cut < whole.size(); ++cut) {
        SCOPED_TRACE(cut - lastStart);
        QByteArray wrong = whole;
        wrong[cut] = wrong[cut] == 'x' ? 'y' : 'x';
        writeBytes(path, wrong);
        RenameJournal damagedJournal(path);
        ASSERT_NE(damagedJournal.runToUndo(), nullptr);
        EXPECT_EQ(damagedJournal.runToUndo()->pending().size(), 1u);
        EXPECT_EQ(damagedJournal.runToUndo()->damagedLines.size(), 1);

        writeBytes(path, whole.left(cut));
        RenameJournal journal(path);
        const JournalRun* run = journal.runToUndo();
        ASSERT_NE(run, nullptr);
        const bool wholeLine = cut == whole.size() - 1; // only the line break missing
        const qsizetype damaged = wholeLine || cut == lastStart ? 0 : 1;
        EXPECT_EQ(run->pending().size(), wholeLine ? 2u : 1u);
        EXPECT_EQ(run->pending().back()->newPath, "/m/A.kar");
        journal.startRun(someTime);
        journal.recordIntent("/m/x.kar", "/m/y.kar", {1, 4});
        RenameJournal reread(path);
        ASSERT_NE(reread.runToUndo(), nullptr);
        ASSERT_EQ(reread.runToUndo()->pending().size(), 1u);
        EXPECT_EQ(reread.runToUndo()->pending()[0]->newPath, "/m/y.kar");
        EXPECT_EQ(reread.runs().front().damagedLines.size(), damaged);
    }
}

// A run with files left to put back is dropped only after a yes, and undone runs go first.
TEST(RenameJournal, OnlyTheNewestRunsAreKept) {
    // Runs before a new one, the one undone among them, the answer (none: not asked) | runs
    // after the new one's first rename, oldest run kept
    const std::tuple<int, int, std::optional<bool>, std::size_t, qint64> cases[] = {
        {100, 0, {}, 101, 1}, {101, 0, false, 102, 1}, {101, 0, true, 101, 2},
        {101, 1, {}, 101, 2}, {101, 3, {}, 101, 1},    {130, 0, true, 130, 2}};
    for (const auto& [before, undone, answer, after, oldestKept] : cases) {
        SCOPED_TRACE(before * 10 + undone);
        TempTree tree;
        const QString path = QFile::decodeName(tree.path("journal.txt"));
        QByteArray older; // as an older program wrote it, one rename a run
        for (int run = 1; run <= before; ++run) {
            const QByteArray number = QByteArray::number(run);
            older += number + "\t/m/a" + number + ".kar\t/m/b.kar\n" +
                     (run == undone ? number + "\tundo\t" + number + "\n" : QByteArray());
        }
        writeBytes(path, older);
        QStringList questions;
        {
            RenameJournal journal(path);
            journal.startRun(someTime, [&](const QString& question) {
                questions << question;
                return answer.value_or(false);
            });
            journal.recordIntent("/m/x.kar", "/m/y.kar", {1, 4});
        }
        EXPECT_EQ(questions, answer ? QStringList(u"The oldest renaming still has 1 file(s) that "
                                                  u"can be put back. Drop it?"_s)
                                    : QStringList());
        const RenameJournal reread(path);
        EXPECT_EQ(reread.runs().size(), after);
        EXPECT_EQ(reread.runs().front().run, oldestKept);
        EXPECT_FALSE(QFile::exists(path + u".new"_s));
    }
}

TEST(RenameJournal, AJournalThatCannotBeOpenedSaysWhy) {
    TempTree tree;
    tree.writeFile("file", "not a folder");
    try {
        RenameJournal journal(QFile::decodeName(tree.path("file/rename-journal.txt")));
        FAIL() << "opened";
    } catch (const IoError& error) {
        EXPECT_EQ(journalUnavailableMessage(error.code()),
                  u"The renaming journal cannot be written: Invalid filename."_s);
    }
}

} // namespace
} // namespace corvanteller
