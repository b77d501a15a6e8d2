// SPDX-License-Identifier: GPL-3.0-or-later
#include "kar/kar_reader.h"
#include "rename/rename_primitive.h"
#include "support/kar_builder.h"
#include "support/pass_through_file_system.h"
#include "support/temp_tree.h"
#include "write/text_write_journal.h"
#include "write/text_write_run.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace corvanteller {
namespace {

using namespace Qt::StringLiterals;
using test::metaEvent;
using test::smfFile;

QByteArray fileBytes(const QByteArray& path) {
    QFile file(QFile::decodeName(path));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray songFile(const QByteArray& title) {
    return smfFile({metaEvent(0x03, title) + metaEvent(0x01, "Performer") +
                        metaEvent(0x01, "Authors") + metaEvent(0x01, "Maker line"),
                    QByteArray("\x00\x90\x3C\x40\x60\x80\x3C\x00", 8)});
}

SongTexts textsFor(int i) {
    return {u"Corrected %1"_s.arg(i), u"Performer"_s, u"Authors"_s, u"Maker line"_s};
}

// Dies at the n-th replacement, after its journal line: the renaming journal's seam.
class KillingFileSystem final : public test::PassThroughFileSystem {
public:
    explicit KillingFileSystem(int killAt) : killAt_(killAt) {}
    int rename(int folder, const QByteArray& from, const QByteArray& to) override {
        dieAtTheChosenReplacement();
        return PassThroughFileSystem::rename(folder, from, to);
    }
    int exchange(int folder, const QByteArray& first, const QByteArray& second) override {
        dieAtTheChosenReplacement();
        return PassThroughFileSystem::exchange(folder, first, second);
    }

private:
    void dieAtTheChosenReplacement() {
        if (++renames_ == killAt_) {
            ::kill(::getpid(), SIGKILL);
        }
    }

    int killAt_;
    int renames_ = 0;
};

// A file system that cannot swap two entries: every replacement is a rename.
class NoExchangeFileSystem final : public test::PassThroughFileSystem {
public:
    int exchange(int, const QByteArray&, const QByteArray&) override { return EINVAL; }
};

struct stat statusOf(const QByteArray& path) {
    struct stat info {};
    ::stat(path.constData(), &info);
    return info;
}

// When a file was created; zero where the file system does not tell.
statx_timestamp birthOf(const QByteArray& path) {
    struct statx info {};
    if (::statx(AT_FDCWD, path.constData(), 0, STATX_BTIME, &info) != 0 ||
        (info.stx_mask & STATX_BTIME) == 0) {
        return {};
    }
    return info.stx_btime;
}

bool bornBefore(statx_timestamp file, statx_timestamp moment) {
    return file.tv_sec < moment.tv_sec ||
           (file.tv_sec == moment.tv_sec && file.tv_nsec < moment.tv_nsec);
}

class TextWriteRuns : public ::testing::Test {
protected:
    void SetUp() override {
        for (int i = 0; i < 4; ++i) {
            const QByteArray name = "song" + QByteArray::number(i) + ".kar";
            tree.writeFile(name, songFile("Title " + QByteArray::number(i)));
            paths.push_back(tree.path(name));
            originals.push_back(fileBytes(paths.back()));
        }
    }
    std::vector<TextWriteRequest> requests() const {
        std::vector<TextWriteRequest> rows;
        for (std::size_t i = 0; i < paths.size(); ++i) {
            rows.push_back({int(i) + 1, paths[i], textsFor(int(i))});
        }
        return rows;
    }
    TextWriteRunResult write(const std::vector<TextWriteRequest>& rows, FileSystemCalls& calls) {
        TextWriteServices services{calls, journalPath};
        return writeTextsIntoFiles(rows, RunSet::StartWindow, services);
    }
    TextWriteRunResult undo() {
        TextWriteServices services{systemFileSystem(), journalPath};
        return undoLastTextWriting(services);
    }
    void expectOriginals() const {
        for (std::size_t i = 0; i < paths.size(); ++i) {
            EXPECT_EQ(fileBytes(paths[i]), originals[i]) << i;
        }
        // No new file is left behind.
        EXPECT_EQ(
            QDir(tree.root()).entryList(QDir::Files | QDir::Hidden).filter(u".corvanteller"_s),
            QStringList());
    }

    test::TempTree tree;
    test::TempTree settings;
    QString journalPath = settings.root() + u"/write-journal.txt"_s;
    std::vector<QByteArray> paths;
    std::vector<QByteArray> originals;
};

TEST_F(TextWriteRuns, WritesThroughALinkedFolderIntoTheRealFiles) {
    // The rows name the files through a linked folder; the second one through a link as well.
    test::TempTree other;
    ASSERT_EQ(::symlink(tree.root().toLocal8Bit().constData(), other.path("linked").constData()),
              0);
    ASSERT_EQ(::symlink("song1.kar", tree.path("link.kar").constData()), 0);
    std::vector<TextWriteRequest> rows = requests();
    for (TextWriteRequest& row : rows) {
        row.path = other.path("linked/") + row.path.mid(row.path.lastIndexOf('/') + 1);
    }
    rows[1].path = other.path("linked/link.kar");

    const TextWriteRunResult result = write(rows, systemFileSystem());
    EXPECT_EQ(result.written, 4);
    for (std::size_t i = 0; i < paths.size(); ++i) {
        EXPECT_EQ(readKaraokeFile(paths[i], RunSet::StartWindow).texts, textsFor(int(i))) << i;
    }
    struct stat info {};
    ASSERT_EQ(::lstat(tree.path("link.kar").constData(), &info), 0);
    EXPECT_TRUE(S_ISLNK(info.st_mode));
    EXPECT_EQ(undo().written, 4);
    expectOriginals();
}

TEST_F(TextWriteRuns, WritesRefusesAndUndoesByteForByte) {
    ::chmod(paths[0].constData(), 0640);
    // A link's target is replaced and the link kept; a file with a second name is refused.
    ASSERT_EQ(::symlink(paths[1].constData(), tree.path("link.kar").constData()), 0);
    ASSERT_EQ(::link(paths[3].constData(), tree.path("other-name.kar").constData()), 0);
    tree.writeFile("notes.mid", originals[2]);
    std::vector<TextWriteRequest> rows = requests();
    rows[1].path = tree.path("link.kar");
    rows[2].texts.second = u"ab"_s;
    rows.push_back({5, tree.path("notes.mid"), textsFor(5)});
    tree.writeFile("same.kar", originals[0]);
    rows.push_back({6, tree.path("same.kar"), readKaraokeBytes(originals[0], RunSet::StartWindow)});

    const TextWriteRunResult result = write(rows, systemFileSystem());
    EXPECT_EQ(result.countMessage(), u"2 file(s) was(were) written, 3 refused."_s);
    const TextWriteOutcome expected[] = {TextWriteOutcome::Written, TextWriteOutcome::Written,
                                         TextWriteOutcome::Refused, TextWriteOutcome::Refused,
                                         TextWriteOutcome::Refused, TextWriteOutcome::Unchanged};
    ASSERT_EQ(result.rows.size(), std::size(expected));
    for (std::size_t i = 0; i < result.rows.size(); ++i) {
        EXPECT_EQ(result.rows[i].outcome, expected[i]) << i;
    }
    EXPECT_TRUE(result.rows[2].message.contains(u"a text of 1 or 2 characters reads as empty"_s));
    EXPECT_TRUE(
        result.rows[3].message.contains(u"has other names, which would keep the old texts"_s));
    EXPECT_TRUE(result.rows[4].message.contains(u"\"kar\""_s));
    EXPECT_EQ(readKaraokeFile(paths[0], RunSet::StartWindow).texts, textsFor(0));
    EXPECT_EQ(readKaraokeFile(paths[1], RunSet::StartWindow).texts, textsFor(1));
    EXPECT_EQ(fileBytes(paths[2]), originals[2]);
    EXPECT_EQ(fileBytes(paths[3]), originals[3]);
    struct stat info {};
    ASSERT_EQ(::lstat(tree.path("link.kar").constData(), &info), 0);
    EXPECT_TRUE(S_ISLNK(info.st_mode));
    ASSERT_EQ(::stat(paths[0].constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640U);

    const TextWriteRunResult undone = undo();
    EXPECT_EQ(undone.written, 2);
    ::unlink(tree.path("other-name.kar").constData());
    expectOriginals();
    EXPECT_EQ(undo().notice, nothingToUndoWriteMessage());
}

TEST_F(TextWriteRuns, UndoLeavesAFileChangedSinceTheWriting) {
    ASSERT_EQ(write(requests(), systemFileSystem()).written, 4);
    tree.writeFile("song2.kar", "changed by hand");
    const TextWriteRunResult undone = undo();
    EXPECT_EQ(undone.written, 3);
    EXPECT_EQ(undone.refused, 1);
    EXPECT_EQ(fileBytes(paths[2]), "changed by hand");
    EXPECT_TRUE(undone.rows[1].message.contains(u"changed since the writing"_s));
    EXPECT_EQ(fileBytes(paths[0]), originals[0]);
}

TEST_F(TextWriteRuns, ADryRunWritesNothing) {
    TextWriteServices services{systemFileSystem(), journalPath};
    services.dryRun = true;
    const TextWriteRunResult result =
        writeTextsIntoFiles(requests(), RunSet::StartWindow, services);
    EXPECT_EQ(result.written, 4);
    EXPECT_EQ(result.rows[0].outcome, TextWriteOutcome::WouldWrite);
    expectOriginals();
    EXPECT_FALSE(QFile::exists(journalPath));
}

TEST_F(TextWriteRuns, ARunOfSeveralBatchesWritesAndUndoesEveryFile) {
    // More files than one batch replaces, in folders of their own.
    std::vector<TextWriteRequest> rows;
    std::vector<QByteArray> written;
    for (int i = 0; i < 600; ++i) {
        const QByteArray folder = "f" + QByteArray::number(i / 100);
        const QByteArray name = folder + "/s" + QByteArray::number(i) + ".kar";
        if (i % 100 == 0) {
            tree.makeFolder(folder);
        }
        tree.writeFile(name, songFile("Title"));
        rows.push_back({i + 1, tree.path(name), textsFor(i)});
        written.push_back(fileBytes(tree.path(name)));
    }
    TextWriteServices services{systemFileSystem(), journalPath};
    services.flushes = false;
    EXPECT_EQ(writeTextsIntoFiles(rows, RunSet::StartWindow, services).written, 600);
    EXPECT_EQ(readKaraokeFile(rows[599].path, RunSet::StartWindow).texts, textsFor(599));
    EXPECT_EQ(undoLastTextWriting(services).written, 600);
    for (std::size_t i = 0; i < rows.size(); i += 59) {
        EXPECT_EQ(fileBytes(rows[i].path), written[i]) << i;
    }
}

TEST_F(TextWriteRuns, OldFilesHoldNewOnesAgainWithTheirOwnModes) {
    // Enough files that the old ones swapped out of the first batches hold later new ones.
    NoExchangeFileSystem noExchange;
    for (FileSystemCalls* calls :
         {&systemFileSystem(), static_cast<FileSystemCalls*>(&noExchange)}) {
        SCOPED_TRACE(calls == &noExchange ? "renames only" : "swaps");
        std::vector<TextWriteRequest> rows;
        std::vector<QByteArray> written;
        for (int i = 0; i < 1000; ++i) {
            const QByteArray name = "m" + QByteArray::number(i) + ".kar";
            tree.writeFile(name, songFile("Title " + QByteArray::number(i)));
            ::chmod(tree.path(name).constData(), i % 2 == 0 ? 0644 : 0600);
            rows.push_back({i + 1, tree.path(name), textsFor(i)});
            written.push_back(fileBytes(tree.path(name)));
        }
        TextWriteServices services{*calls, journalPath};
        services.flushes = false;
        // Programs still reading old files keep reading their old bytes.
        std::vector<int> readers;
        for (std::size_t i = 0; i < rows.size(); i += 10) {
            readers.push_back(::open(rows[i].path.constData(), O_RDONLY | O_CLOEXEC));
        }
        // Files born before the marker are old ones.
        ::usleep(20000);
        const QByteArray marker = calls == &noExchange ? "marker-renames" : "marker-swaps";
        tree.writeFile(marker, {});
        const statx_timestamp runStart = birthOf(tree.path(marker));
        EXPECT_EQ(writeTextsIntoFiles(rows, RunSet::StartWindow, services).written, 1000);
        int heldAgain = 0;
        for (std::size_t i = 0; i < rows.size(); ++i) {
            const struct stat info = statusOf(rows[i].path);
            EXPECT_EQ(info.st_mode & 07777, i % 2 == 0 ? 0644U : 0600U) << i;
            heldAgain += bornBefore(birthOf(rows[i].path), runStart) ? 1 : 0;
        }
        if (runStart.tv_sec != 0) { // the file system tells when a file was created
            EXPECT_EQ(heldAgain > 0, calls == &systemFileSystem());
        }
        for (std::size_t k = 0; k < readers.size(); ++k) {
            QByteArray stillRead(written[k * 10].size() + 1, '\0');
            stillRead.resize(::pread(readers[k], stillRead.data(), stillRead.size(), 0));
            ::close(readers[k]);
            EXPECT_EQ(stillRead, written[k * 10]) << k * 10;
        }
        EXPECT_EQ(readKaraokeFile(rows[999].path, RunSet::StartWindow).texts, textsFor(999));
        EXPECT_EQ(undoLastTextWriting(services).written, 1000);
        for (std::size_t i = 0; i < rows.size(); ++i) {
            EXPECT_EQ(fileBytes(rows[i].path), written[i]) << i;
            EXPECT_EQ(statusOf(rows[i].path).st_mode & 07777, i % 2 == 0 ? 0644U : 0600U) << i;
        }
        EXPECT_EQ(
            QDir(tree.root()).entryList(QDir::Files | QDir::Hidden).filter(u".corvanteller"_s),
            QStringList());
    }
}

TEST_F(TextWriteRuns, AKilledRunLosesNothing) {
    for (const int killAt : {1, 3}) {
        SCOPED_TRACE(killAt);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            KillingFileSystem dying(killAt);
            write(requests(), dying);
            ::_exit(0);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
        for (int i = 0; i < killAt - 1; ++i) {
            EXPECT_EQ(readKaraokeFile(paths[std::size_t(i)], RunSet::StartWindow).texts,
                      textsFor(i));
        }
        EXPECT_EQ(undo().written, killAt - 1);
        expectOriginals();
    }
}

} // namespace
} // namespace corvanteller
