// SPDX-License-Identifier: GPL-3.0-or-later
#include "rename/rename_primitive.h"

#include "support/temp_tree.h"

#include <QDir>
#include <QFile>
#include <QSet>

#include <cerrno>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

namespace corvanteller {
namespace {

using test::TempTree;

// The system's calls with faults a test chooses: a refused no-replace flag, refused hard links,
// a failing step, or a folder that ignores letter case as FAT or SMB shares do.
class ScriptedCalls final : public FileSystemCalls {
public:
    explicit ScriptedCalls(const TempTree& tree) : tree_(tree) {}

    int refuseNoReplace = 0;
    int refuseLink = 0;
    QByteArray failUnlinkOf; // fails with EACCES
    bool ignoreCase = false;
    // Moves (of any kind) whose new name is one of these fail with EIO.
    QSet<QByteArray> failMovesTo;
    QByteArrayList log;

    int renameNoReplace(int folder, const QByteArray& from, const QByteArray& to) override {
        log << "renameNoReplace " + to;
        if (refuseNoReplace != 0) {
            return refuseNoReplace;
        }
        if (ignoreCase && !existing(to).isEmpty()) {
            return EEXIST;
        }
        if (failMovesTo.contains(to)) {
            return EIO;
        }
        return real().renameNoReplace(folder, existing(from), to);
    }
    int link(int folder, const QByteArray& from, const QByteArray& to) override {
        log << "link " + to;
        if (refuseLink != 0) {
            return refuseLink;
        }
        if (ignoreCase && !existing(to).isEmpty()) {
            return EEXIST;
        }
        return real().link(folder, existing(from), to);
    }
    int unlink(int folder, const QByteArray& name) override {
        log << "unlink " + name;
        return name == failUnlinkOf ? EACCES : real().unlink(folder, existing(name));
    }
    int rename(int folder, const QByteArray& from, const QByteArray& to) override {
        log << "rename " + to;
        if (failMovesTo.contains(to)) {
            return EIO;
        }
        return real().rename(folder, existing(from), to);
    }
    int status(int folder, const QByteArray& name, EntryStatus& status) override {
        const QByteArray found = existing(name);
        return real().status(folder, found.isEmpty() ? name : found, status);
    }

private:
    static FileSystemCalls& real() { return systemFileSystem(); }

    // The entry that a case-insensitive folder would find for the name.
    QByteArray existing(const QByteArray& name) const {
        const QStringList entries =
            QDir(tree_.root()).entryList(QDir::Files | QDir::Hidden | QDir::System);
        for (const QString& entry : entries) {
            const QByteArray bytes = QFile::encodeName(entry);
            if (bytes == name ||
                (ignoreCase && entry.compare(QString::fromUtf8(name), Qt::CaseInsensitive) == 0)) {
                return bytes;
            }
        }
        return ignoreCase ? QByteArray() : name;
    }

    const TempTree& tree_;
};

class RenamePrimitive : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = ::open(tree.rootBytes().constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        ASSERT_GE(folder_, 0);
        tree.writeFile("song.kar", "song");
        tree.writeFile("taken.kar", "taken");
    }
    void TearDown() override { ::close(folder_); }

    RenameOutcome rename(FileSystemCalls& calls, const QByteArray& from, const QByteArray& to) {
        return renameWithoutReplacing(calls, folder_, from, to);
    }
    QByteArrayList entries() const {
        QByteArrayList names;
        for (const QString& name :
             QDir(tree.root()).entryList(QDir::Files | QDir::Hidden, QDir::Name)) {
            names << QFile::encodeName(name);
        }
        return names;
    }
    QByteArray content(const QByteArray& name) const {
        QFile file(QFile::decodeName(tree.path(name)));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    TempTree tree;
    int folder_ = -1;
};

TEST_F(RenamePrimitive, NeverReplacesWhicheverWayTheFileSystemAllows) {
    struct Case {
        const char* name;
        int refuseNoReplace;
        int refuseLink;
        const char* lastCall; // the call that did the work
    };
    const Case cases[] = {
        {"no-replace flag", 0, 0, "renameNoReplace new.kar"},
        {"flag refused (EINVAL)", EINVAL, 0, "unlink song.kar"},
        {"flag unknown (ENOSYS)", ENOSYS, 0, "unlink song.kar"},
        {"no hard links (EPERM)", EINVAL, EPERM, "rename new.kar"},
        {"no hard links (EOPNOTSUPP)", ENOSYS, EOPNOTSUPP, "rename new.kar"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedCalls calls(tree);
        calls.refuseNoReplace = c.refuseNoReplace;
        calls.refuseLink = c.refuseLink;
        EXPECT_EQ(rename(calls, "song.kar", "taken.kar").error, EEXIST);
        EXPECT_EQ(content("song.kar"), "song");
        EXPECT_EQ(content("taken.kar"), "taken");

        calls.log.clear();
        EXPECT_TRUE(rename(calls, "song.kar", "new.kar").renamed());
        EXPECT_EQ(calls.log.constLast(), c.lastCall);
        EXPECT_EQ(entries(), QByteArrayList({"new.kar", "taken.kar"}));
        EXPECT_EQ(content("new.kar"), "song");
        ASSERT_TRUE(rename(systemFileSystem(), "new.kar", "song.kar").renamed());
    }
}

TEST_F(RenamePrimitive, ALinkWhoseOldNameCannotGoIsTakenBack) {
    ScriptedCalls calls(tree);
    calls.refuseNoReplace = EINVAL;
    calls.failUnlinkOf = "song.kar";
    EXPECT_EQ(rename(calls, "song.kar", "new.kar").error, EACCES);
    EXPECT_EQ(entries(), QByteArrayList({"song.kar", "taken.kar"}));
}

TEST_F(RenamePrimitive, CaseOnlyRenameOfTheFileItselfGoesThroughATemporaryName) {
    ScriptedCalls calls(tree);
    calls.ignoreCase = true;
    EXPECT_TRUE(rename(calls, "song.kar", "Song.KAR").renamed());
    EXPECT_EQ(entries(), QByteArrayList({"Song.KAR", "taken.kar"}));
    EXPECT_EQ(content("Song.KAR"), "song");
    EXPECT_TRUE(calls.log.constFirst().startsWith("renameNoReplace Song.KAR"));
    EXPECT_TRUE(calls.log[1].startsWith("renameNoReplace .corvanteller-rename-"));

    // A second file of that name in another case is another file: refused.
    EXPECT_EQ(rename(calls, "Song.KAR", "TAKEN.kar").error, EEXIST);
    EXPECT_EQ(entries(), QByteArrayList({"Song.KAR", "taken.kar"}));
}

TEST_F(RenamePrimitive, CaseOnlyRenameGoesBackOrSaysWhereTheFileIs) {
    ScriptedCalls calls(tree);
    calls.ignoreCase = true;
    calls.failMovesTo = {"SONG.kar"};
    const RenameOutcome back = rename(calls, "song.kar", "SONG.kar");
    EXPECT_EQ(back.error, EIO);
    EXPECT_TRUE(back.leftUnder.isEmpty());
    EXPECT_EQ(entries(), QByteArrayList({"song.kar", "taken.kar"}));

    // The way back fails too: the file stays under the temporary name, and the caller is told.
    calls.failMovesTo = {"SONG.kar", "song.kar"};
    const RenameOutcome stranded = rename(calls, "song.kar", "SONG.kar");
    EXPECT_EQ(stranded.error, EIO);
    ASSERT_FALSE(stranded.leftUnder.isEmpty());
    EXPECT_EQ(entries(), QByteArrayList({stranded.leftUnder, "taken.kar"}));
    EXPECT_EQ(content(stranded.leftUnder), "song");
}

TEST_F(RenamePrimitive, CaseOnlyNamesOfTwoHardLinksAreTwoNames) {
    ASSERT_EQ(::link(tree.path("song.kar").constData(), tree.path("other.kar").constData()), 0);
    ScriptedCalls calls(tree);
    calls.ignoreCase = true;
    EXPECT_EQ(rename(calls, "song.kar", "SONG.kar").error, EEXIST);
    EXPECT_EQ(entries(), QByteArrayList({"other.kar", "song.kar", "taken.kar"}));
}

} // namespace
} // namespace corvanteller
