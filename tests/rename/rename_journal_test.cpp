#include "rename/rename_journal.h"

#include "common/file_io.h"
#include "support/temp_tree.h"

#include <QFile>

#include <gtest/gtest.h>

namespace corvanteller {
namespace {

using test::TempTree;
using namespace Qt::StringLiterals;

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
        EXPECT_TRUE(first.lastRunToUndo().empty());
        first.recordRename("/m/a.kar", "/m/b.kar");
        first.recordRename("/m/c.kar", "/m/d\n.kar");
    }
    {
        RenameJournal second(path);
        EXPECT_EQ(second.run(), 2);
        second.recordRename("/m/x.kar", "/m/y.kar");
    }
    RenameJournal undo(path);
    EXPECT_EQ(undo.run(), 3);
    std::vector<JournalRename> last = undo.lastRunToUndo();
    ASSERT_EQ(last.size(), 1u);
    EXPECT_EQ(last[0].newPath, "/m/y.kar");
    undo.recordUndo(last[0].run);

    last = undo.lastRunToUndo();
    ASSERT_EQ(last.size(), 2u);
    EXPECT_EQ(last[0].oldPath, "/m/c.kar"); // newest first
    EXPECT_EQ(last[0].newPath, "/m/d\n.kar");
    EXPECT_EQ(last[1].oldPath, "/m/a.kar");
    undo.recordUndo(last[0].run);
    EXPECT_TRUE(undo.lastRunToUndo().empty());
}

TEST(RenameJournal, ALineCutShortByACrashStaysApart) {
    TempTree tree;
    tree.writeFile("journal.txt", "4\t/m/a.kar\t/m/b.kar\n5\t/m/c.k");
    const QString path = QFile::decodeName(tree.path("journal.txt"));
    RenameJournal journal(path);
    EXPECT_EQ(journal.run(), 5);
    journal.recordRename("/m/e.kar", "/m/f.kar");
    const std::vector<JournalRename> last = journal.lastRunToUndo();
    ASSERT_EQ(last.size(), 1u);
    EXPECT_EQ(last[0].oldPath, "/m/e.kar");
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
