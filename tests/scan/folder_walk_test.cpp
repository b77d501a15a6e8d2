// SPDX-License-Identifier: GPL-3.0-or-later
// The folder walk on trees that strain it: paths beyond what the system takes at once, wide
// levels, and helpers that read ahead.
#include "scan/folder_scan.h"

#include "common/file_io.h"
#include "kar/row_store.h"
#include "support/kar_builder.h"
#include "support/page_cache.h"
#include "support/temp_tree.h"

#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <random>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace corvanteller {
namespace {

using test::KarBuilder;
using test::TempTree;
using namespace Qt::StringLiterals;

QByteArray karWithTitle(const QByteArray& title) {
    return KarBuilder().trackName(title).bytes();
}

void writeFileAt(int folderFd, const char* name, const QByteArray& content) {
    const int fd = ::openat(folderFd, name, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    ASSERT_GE(fd, 0) << name;
    EXPECT_EQ(::write(fd, content.constData(), static_cast<std::size_t>(content.size())),
              content.size());
    ::close(fd);
}

// Removes a folder whose tree may be too deep for paths.
void removeTreeAt(int parentFd, const char* name) {
    const int fd = ::openat(parentFd, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (DIR* dir = fd >= 0 ? ::fdopendir(fd) : nullptr) {
        while (const dirent* entry = ::readdir(dir)) {
            if (std::strcmp(entry->d_name, ".") == 0 || std::strcmp(entry->d_name, "..") == 0) {
                continue;
            }
            if (entry->d_type == DT_DIR) {
                removeTreeAt(::dirfd(dir), entry->d_name);
            } else {
                ::unlinkat(::dirfd(dir), entry->d_name, 0);
            }
        }
        ::closedir(dir);
    }
    ::unlinkat(parentFd, name, AT_REMOVEDIR);
}

void dropTreeFromMemory(const QByteArray& folder) {
    DIR* dir = ::opendir(folder.constData());
    while (const dirent* entry = dir != nullptr ? ::readdir(dir) : nullptr) {
        const QByteArray path = folder + '/' + entry->d_name;
        if (entry->d_type == DT_DIR && entry->d_name[0] != '.') {
            dropTreeFromMemory(path);
        } else if (entry->d_type == DT_REG) {
            test::dropFromMemory(path);
        }
    }
    if (dir != nullptr) {
        ::closedir(dir);
    }
}

struct Recorded {
    QStringList rows; // the six columns of each row, joined
    QList<int> rowsAtProgressSteps;
    ScanOutcome outcome;
};

Recorded scanAndRecord(ScanRequest request, int helpers) {
    request.readAheadHelpers = helpers;
    Recorded recorded;
    RowStore rows;
    recorded.outcome =
        scanFolder(request, rows, [&] { recorded.rowsAtProgressSteps << rows.rowCount(); });
    for (int row = 1; row <= rows.rowCount(); ++row) {
        QStringList columns;
        for (int column = 1; column <= RowStore::columnCount; ++column) {
            columns << rows.text(column, row);
        }
        recorded.rows << columns.join(u'|');
    }
    return recorded;
}

TEST(FolderWalk, FoldersBeyondTheLongestPathAreListed) {
    TempTree tree;
    const QByteArray name(200, 'd');
    constexpr int levels = 25; // 25 names of 200 bytes: more than 4,096 bytes of path
    tree.writeFile("top.kar", karWithTitle("Top"));
    tree.makeFolder("side");
    tree.writeFile("side/side.kar", karWithTitle("Side"));
    int fd = ::open(tree.rootBytes().constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    ASSERT_GE(fd, 0);
    for (int level = 1; level <= levels; ++level) {
        ASSERT_EQ(::mkdirat(fd, name.constData(), 0755), 0);
        const int next = ::openat(fd, name.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        ::close(fd);
        fd = next;
        ASSERT_GE(fd, 0);
        if (level == 12 || level == levels) {
            writeFileAt(fd, "deep.kar", karWithTitle("Level " + QByteArray::number(level)));
        }
    }
    ::close(fd);

    const auto folderText = [&](int level) {
        QString text = tree.root();
        for (int i = 0; i < level; ++i) {
            text += u'/' + QString::fromLatin1(name);
        }
        return text;
    };
    for (const int helpers : {0, 2}) {
        SCOPED_TRACE(helpers);
        const Recorded whole =
            scanAndRecord(ScanRequest::forFolder(tree.root(), RunSet::StartWindow, false), helpers);
        EXPECT_EQ(whole.outcome.end, ScanEnd::Complete);
        EXPECT_EQ(whole.outcome.listedFolders, 2 + levels);
        ASSERT_EQ(whole.rows.size(), 4);
        EXPECT_TRUE(whole.rows[0].startsWith(u"top.kar|"_s));
        EXPECT_TRUE(whole.rows[1].startsWith(u"side.kar|"_s));
        EXPECT_EQ(whole.rows[2], u"deep.kar|"_s + folderText(12) + u"/|Level 12|||"_s);
        EXPECT_EQ(whole.rows[3], u"deep.kar|"_s + folderText(levels) + u"/|Level 25|||"_s);

        // A chosen folder whose own path is that long.
        const QString chosen = folderText(22);
        const Recorded part =
            scanAndRecord(ScanRequest::forFolder(chosen, RunSet::StartWindow, false), helpers);
        EXPECT_EQ(part.outcome.listedFolders, levels - 22 + 1);
        EXPECT_EQ(part.rows, QStringList{u"deep.kar|"_s + folderText(levels) + u"/|Level 25|||"_s});
    }
    const int rootFd = ::open(tree.rootBytes().constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    removeTreeAt(rootFd, name.constData());
    ::close(rootFd);
}

int openDescriptors() {
    int count = 0;
    if (DIR* dir = ::opendir("/proc/self/fd")) {
        while (::readdir(dir) != nullptr) {
            ++count;
        }
        ::closedir(dir);
    }
    return count;
}

TEST(FolderWalk, AWideTreeNeedsFewDescriptors) {
    TempTree tree;
    constexpr int width = 300;
    for (int i = 0; i < width; ++i) {
        const QByteArray folder = "wide" + QByteArray::number(i);
        tree.makeFolder(folder);
        tree.makeFolder(folder + "/sub");
        tree.writeFile(folder + "/sub/song.kar", karWithTitle(folder));
    }
    const ScanRequest request = ScanRequest::forFolder(tree.root(), RunSet::StartWindow, false);
    // Were every folder with sub-folders still to list kept open, the child would run out of
    // descriptors and list nothing below them.
    const pid_t child = ::fork();
    if (child == 0) {
        const rlimit limit{static_cast<rlim_t>(openDescriptors() + 48),
                           static_cast<rlim_t>(openDescriptors() + 48)};
        ::setrlimit(RLIMIT_NOFILE, &limit);
        RowStore rows;
        const ScanOutcome outcome = scanFolder(request, rows);
        ::_exit(outcome.end == ScanEnd::Complete && rows.rowCount() == width ? 0 : 1);
    }
    ASSERT_GT(child, 0);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

// A tree of many folders and files of every kind the walk tells apart.
void fillMixedTree(const TempTree& tree, std::mt19937& random, const QByteArray& folder,
                   int depth) {
    const auto below = [&](int count) { return static_cast<int>(random() % count); };
    for (int i = 20 + below(60); i > 0; --i) {
        const QByteArray name = folder + "f" + QByteArray::number(below(100000));
        switch (below(6)) {
        case 0:
            tree.writeFile(name + ".txt", "plain");
            break;
        case 1:
            tree.writeFile(folder + "..x" + QByteArray::number(i) + ".kar", karWithTitle("Hidden"));
            break;
        case 2:
            tree.writeFile(name + ".KAR",
                           KarBuilder()
                               .trackName("Soft Karaoke")
                               .wordsTrack({"@T" + name.right(12), "@TSinger", "@TMaker", "@I"})
                               .bytes());
            break;
        default:
            tree.writeFile(name + ".kar", karWithTitle(name.right(20)));
            break;
        }
    }
    if (depth == 3) {
        return;
    }
    for (int i = 1 + below(4); i > 0; --i) {
        // Deep down, folders whose entries all count for the guard.
        const QByteArray child =
            folder + (i == 1 && depth == 2 ? "..d" : "d") + QByteArray::number(i);
        tree.makeFolder(child);
        fillMixedTree(tree, random, child + "/", depth + 1);
    }
}

TEST(FolderWalk, ReadingAheadChangesNothing) {
    TempTree tree;
    std::mt19937 random(77);
    fillMixedTree(tree, random, "", 0);
    tree.makeFolder("zz");
    tree.makeFolder("zz/bad");
    // A file that takes long to read, read to its end, so that the thread that wants its row
    // tires of waiting for the helper that reads it.
    const QByteArray head = KarBuilder()
                                .trackName("Soft Karaoke")
                                .wordsTrack({"@TLong read", "@TSinger", "@TMaker"})
                                .bytes();
    const QByteArray last("\x00\xFF\x01\x04@Iend", 8);
    constexpr off_t bigSize = off_t{48} << 20;
    const int big = ::open(tree.path("zz/big.kar").constData(), O_WRONLY | O_CREAT, 0644);
    ASSERT_GE(big, 0);
    ASSERT_EQ(::pwrite(big, head.constData(), static_cast<std::size_t>(head.size()), 0),
              head.size());
    ASSERT_EQ(::pwrite(big, last.constData(), static_cast<std::size_t>(last.size()),
                       bigSize - last.size()),
              last.size());
    ::close(big);
    ASSERT_EQ(::symlink("/proc/self/mem", tree.path("zz/bad/unreadable.kar").constData()), 0);

    struct Case {
        const char* name;
        int guardLimit;
        bool withBadFile;
        ScanEnd end;
    };
    for (const Case c : {Case{"complete", normalGuardLimit, false, ScanEnd::Complete},
                         Case{"read error", normalGuardLimit, true, ScanEnd::ReadError},
                         Case{"guard", 60, false, ScanEnd::Guard}}) {
        SCOPED_TRACE(c.name);
        if (!c.withBadFile) {
            ::unlink(tree.path("zz/bad/unreadable.kar").constData());
        } else {
            const int linked =
                ::symlink("/proc/self/mem", tree.path("zz/bad/unreadable.kar").constData());
            EXPECT_TRUE(linked == 0 || errno == EEXIST);
        }
        ScanRequest request = ScanRequest::forFolder(tree.root(), RunSet::MainWindow, false);
        request.guardLimit = c.guardLimit;
        const Recorded alone = scanAndRecord(request, 0);
        EXPECT_EQ(alone.outcome.end, c.end);
        EXPECT_GT(alone.rows.size(), 100);
        EXPECT_GT(alone.rowsAtProgressSteps.size(), 1);
        // -1: the scan's own helpers, and with the files dropped from memory, those that read
        // while files come from the disk.
        for (const int helpers : {1, 3, -1}) {
            SCOPED_TRACE(helpers);
            if (helpers < 0) {
                dropTreeFromMemory(tree.rootBytes());
            }
            const Recorded ahead = scanAndRecord(request, helpers);
            EXPECT_EQ(ahead.rows, alone.rows);
            EXPECT_EQ(ahead.rowsAtProgressSteps, alone.rowsAtProgressSteps);
            EXPECT_EQ(ahead.outcome.end, alone.outcome.end);
            EXPECT_EQ(ahead.outcome.listedFolders, alone.outcome.listedFolders);
            EXPECT_EQ(ahead.outcome.errorPath, alone.outcome.errorPath);
        }
    }
}

// A folder not opened for want of descriptors or memory ends the scan as a read error naming
// it; any other reason lists it as empty, as always.
TEST(FolderWalk, AFolderOutOfResourcesEndsTheScanAnUnreadableOneIsEmpty) {
    TempTree tree;
    tree.writeFile("top.kar", karWithTitle("Top"));
    tree.makeFolder("sub");
    tree.writeFile("sub/sub.kar", karWithTitle("Sub"));
    tree.makeFolder("sub/deeper");
    // ELOOP: a link that has taken the folder's place.
    for (const int error : {EMFILE, ENFILE, ENOMEM, EACCES, ENOENT, ELOOP}) {
        const bool readError = error == EMFILE || error == ENFILE || error == ENOMEM;
        for (const int helpers : {0, 2}) {
            SCOPED_TRACE(std::string(std::strerror(error)) + " helpers " + std::to_string(helpers));
            ScanRequest request = ScanRequest::forFolder(tree.root(), RunSet::StartWindow, false);
            request.openFolderAt = [error](int parentFd, const char* name, int flags) {
                if (std::strcmp(name, "sub") == 0) {
                    errno = error;
                    return -1;
                }
                return ::openat(parentFd, name, flags);
            };
            const Recorded scan = scanAndRecord(request, helpers);
            EXPECT_EQ(scan.outcome.end, readError ? ScanEnd::ReadError : ScanEnd::Complete);
            ASSERT_EQ(scan.rows.size(), 1);
            EXPECT_TRUE(scan.rows[0].startsWith(u"top.kar|"_s));
            // The failed folder counts as not listed; "deeper" is never found.
            EXPECT_EQ(scan.outcome.listedFolders, readError ? 1 : 2);
            // Empty, but told: a mode-300 folder (EACCES), one renamed during the scan (ENOENT).
            EXPECT_EQ(scan.outcome.unreadableFolders, readError ? 0 : 1);
            EXPECT_EQ(scan.outcome.unreadableFolder,
                      readError ? QString() : tree.root() + u"/sub"_s);
            EXPECT_EQ(scan.outcome.unreadableReason, readError ? QString() : ioErrorText(error));
            if (readError) {
                EXPECT_EQ(scan.outcome.errorPath, tree.root() + u"/sub"_s);
                EXPECT_EQ(scan.outcome.errorCode, error);
                EXPECT_TRUE(scan.outcome.errorText.startsWith(u"Cannot list the folder \""_s +
                                                              tree.root() + u"/sub\": "_s));
            }
        }
    }
}

} // namespace
} // namespace corvanteller
