// SPDX-License-Identifier: GPL-3.0-or-later
// Reading a karaoke file from disk, piece by piece, against the rule over the whole file in
// memory.
#include "kar/kar_reader.h"

#include "support/kar_builder.h"
#include "support/page_cache.h"
#include "support/temp_tree.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <random>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace corvanteller {
namespace {

using test::KarBuilder;
using test::TempTree;
using namespace Qt::StringLiterals;

// Karaoke files shaped to reach every corner of the Soft Karaoke pass: tags late, missing or
// repeated, texts longer than what one read keeps, tags across every kind of border.
class TailFileMaker {
public:
    explicit TailFileMaker(unsigned seed) : random_(seed) {}

    QByteArray make() {
        static const char* const names[] = {"Soft Karaoke", "Soft karaoke", "Soft Kara",
                                            "Soft kara",    "untitled",     "Plain title"};
        KarBuilder builder;
        builder.trackName(names[below(6)]);
        if (percent(50)) {
            builder.text(tagText()).text(tagText());
        }
        // The end of the track ends the last run.
        QByteArray file = builder.raw(QByteArray("\x00\xFF\x2F\x00", 4)).bytes();
        switch (below(6)) {
        case 0: // the tags straight after the first track
            file += tags(3, true);
            file += filler(below(20000));
            break;
        case 1: // the tags late, after the first piece that a file is read in
            file += filler(130000 + below(100000));
            file += tags(3, true);
            break;
        case 2: // no "@I" after the "@T" lines: the whole file is read
            file += tags(3, false);
            file += filler(below(3) == 0 ? 150000 : below(20000));
            break;
        case 3: // "@T" lines missing
            file += tags(below(3), percent(50));
            file += filler(below(20000));
            break;
        case 4: // no "Words" at all
            file += filler(below(40000));
            break;
        default: // anything in any order
            for (int part = below(14); part > 0; --part) {
                file += randomPart();
            }
            break;
        }
        return file;
    }

private:
    int below(int count) { return static_cast<int>(random_() % static_cast<unsigned>(count)); }
    bool percent(int chance) { return below(100) < chance; }

    // Bytes with many of the bytes that the pass looks at, so that partial tags abound.
    QByteArray filler(int size) {
        static const char alphabet[] = "@@@TIWordsWord@T@I  aZ9<>[\xD4\xFF\x03\x00\x01\x40\x90";
        QByteArray bytes(size, Qt::Uninitialized);
        for (char& byte : bytes) {
            byte = percent(70) ? static_cast<char>(below(128))
                               : alphabet[below(static_cast<int>(sizeof alphabet) - 1)];
        }
        return bytes;
    }

    // Tag-set characters, now and then with a byte outside the set; some longer than one
    // read keeps.
    QByteArray tagText() {
        const int size = below(10) == 0 ? 500 + below(1200) : below(24);
        QByteArray text(size, Qt::Uninitialized);
        for (char& byte : text) {
            byte = percent(3) ? '[' : static_cast<char>('a' + below(26));
        }
        return text;
    }

    // A "Words" track with count "@T" lines, then lyrics and, when closed, an "@I" line.
    QByteArray tags(int count, bool closed) {
        KarBuilder track;
        track.raw(filler(below(40)));
        track.trackName("Words");
        for (int i = 0; i < count; ++i) {
            track.raw(filler(below(4) == 0 ? below(9000) : below(8)));
            track.text("@T" + tagText());
        }
        track.raw(filler(below(300)));
        if (closed) {
            track.text("@I" + tagText());
        }
        return track.bytes().mid(14);
    }

    QByteArray randomPart() {
        switch (below(7)) {
        case 0:
            return "Words";
        case 1:
            return "@T" + tagText();
        case 2:
            return "@I" + tagText();
        case 3:
            return filler(below(10) == 0 ? 20000 + below(150000) : below(3000));
        case 4:
            return below(2) == 0 ? "@" : "Word";
        default:
            return filler(below(12));
        }
    }

    std::mt19937 random_;
};

TEST(KarFileReading, PiecesAndFilesGiveWhatTheWholeFileGives) {
    TempTree tree;
    TailFileMaker maker(20240611);
    int softKaraokeFiles = 0;
    for (int i = 0; i < 400; ++i) {
        const QByteArray file = maker.make();
        const RunSet runSet = i % 2 == 0 ? RunSet::StartWindow : RunSet::MainWindow;
        const SongTexts expected = readKaraokeBytes(file, runSet);
        softKaraokeFiles +=
            expected.fourth.startsWith(u"Soft"_s) || expected.fourth == u"untitled"_s ? 1 : 0;
        for (const qsizetype pieceSize :
             {qsizetype{1}, qsizetype{5}, qsizetype{4093}, karBlockSize, qsizetype{1} << 20}) {
            if (pieceSize == 1 && file.size() > 30000) {
                continue;
            }
            ASSERT_EQ(readKaraokeBytesInPieces(file, runSet, pieceSize), expected)
                << "file " << i << ", pieces of " << pieceSize;
        }
        tree.writeFile("song.kar", file);
        // Every tenth file is read from the disk first, where the file system lets it go
        // from memory; a file in memory never says that it waited for the disk.
        const bool dropped = i % 10 == 0 && test::dropFromMemory(tree.path("song.kar"));
        const KarReadResult read = readKaraokeFile(tree.path("song.kar"), runSet);
        ASSERT_TRUE(read.ok) << read.errorCode;
        ASSERT_EQ(read.texts, expected) << "file " << i;
        const KarReadResult again = dropped ? readKaraokeFile(tree.path("song.kar"), runSet) : read;
        ASSERT_TRUE(again.ok) << again.errorCode;
        EXPECT_EQ(again.texts, expected) << "file " << i;
        EXPECT_FALSE(again.fromDisk) << "file " << i;
    }
    // Many files must reach the Soft Karaoke pass and find "Words" for the comparison to mean
    // anything.
    EXPECT_GT(softKaraokeFiles, 200);
}

TEST(KarFileReading, TagsAcrossBlockBordersReadAsFromMemory) {
    TempTree tree;
    const QByteArray words = KarBuilder()
                                 .wordsTrack({"@TTitle One", "@TArtist Two", "@TMade by Me",
                                              "@IInfo", "@TLater", "@Iend"})
                                 .bytes()
                                 .mid(14);
    // Every shift puts another tag, or "Words" itself, across the border of the first block,
    // of the growing reads after it and of the first whole piece.
    for (const qsizetype border :
         {karBlockSize, 2 * karBlockSize, 4 * karBlockSize, 8 * karBlockSize, 16 * karBlockSize,
          17 * karBlockSize, 32 * karBlockSize}) {
        for (int shift = 0; shift < 90; ++shift) {
            QByteArray file = KarBuilder().trackName("Soft Karaoke").bytes();
            file.append(QByteArray(border - file.size() - 60 + shift, '\x01')).append(words);
            tree.writeFile("soft.kar", file);
            const KarReadResult read = readKaraokeFile(tree.path("soft.kar"), RunSet::StartWindow);
            ASSERT_TRUE(read.ok);
            EXPECT_EQ(read.texts, readKaraokeBytes(file, RunSet::StartWindow)) << shift;
            EXPECT_EQ(read.texts.first, u"Title One"_s) << shift;
        }
    }
}

TEST(KarFileReading, NameEventsNearTheBordersOfReadsAsFromMemory) {
    TempTree tree;
    const QList<QByteArray> eventLists = {
        KarBuilder()
            .trackName("Hello World")
            .text("Artist")
            .text("Year")
            .meta(0x02, "(c)2001")
            .bytes(),
        KarBuilder()
            .trackName("Soft Karaoke")
            .text("Info")
            .wordsTrack({"@TTitle One", "@TArtist Two", "@TMade by Me", "@Iend"})
            .bytes()};
    // The first read ends at 4,096 bytes, the first block at 8,192.
    for (const QByteArray& events : eventLists) {
        for (const qsizetype border : {qsizetype{4096}, karBlockSize}) {
            for (qsizetype shift = -80; shift < 4; ++shift) {
                QByteArray file(border + shift, '\x01');
                file.append(events.mid(14)).append(QByteArray(9000, '\x02'));
                const SongTexts expected = readKaraokeBytes(file, RunSet::StartWindow);
                tree.writeFile("song.kar", file);
                const KarReadResult read =
                    readKaraokeFile(tree.path("song.kar"), RunSet::StartWindow);
                ASSERT_TRUE(read.ok);
                EXPECT_EQ(read.texts, expected) << border << " " << shift;
                EXPECT_EQ(readKaraokeBytesInPieces(file, RunSet::StartWindow, 7), expected)
                    << border << " " << shift;
            }
        }
    }
}

long statusKilobytes(const char* field) {
    std::FILE* status = std::fopen("/proc/self/status", "r");
    if (status == nullptr) {
        return -1;
    }
    char line[256];
    long value = -1;
    const std::size_t length = std::strlen(field);
    while (std::fgets(line, sizeof line, status) != nullptr) {
        if (std::strncmp(line, field, length) == 0) {
            value = std::atol(line + length);
        }
    }
    std::fclose(status);
    return value;
}

struct ChildRead {
    bool ok = false;
    SongTexts texts;
    long peakGrowthKilobytes = -1;
};

// Reads the file in a child process, whose peak memory is its own.
ChildRead readInChild(const QByteArray& path) {
    int channel[2];
    if (::pipe(channel) != 0) {
        return {};
    }
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(channel[0]);
        const long before = statusKilobytes("VmRSS:");
        const KarReadResult read = readKaraokeFile(path, RunSet::StartWindow);
        const long peak = statusKilobytes("VmHWM:");
        const QByteArray report =
            QByteArray::number(read.ok ? 1 : 0) + '\n' + QByteArray::number(peak - before) + '\n' +
            read.texts.first.toUtf8() + '\n' + read.texts.second.toUtf8() + '\n' +
            read.texts.third.toUtf8() + '\n' + read.texts.fourth.toUtf8();
        const bool written = ::write(channel[1], report.constData(),
                                     static_cast<std::size_t>(report.size())) == report.size();
        ::_exit(written ? 0 : 1);
    }
    ::close(channel[1]);
    QByteArray report;
    char buffer[4096];
    ssize_t size = 0;
    while ((size = ::read(channel[0], buffer, sizeof buffer)) > 0) {
        report.append(buffer, size);
    }
    ::close(channel[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    const QList<QByteArray> lines = report.split('\n');
    if (child < 0 || !WIFEXITED(status) || WEXITSTATUS(status) != 0 || lines.size() != 6) {
        return {};
    }
    return ChildRead{lines[0] == "1",
                     SongTexts{QString::fromUtf8(lines[2]), QString::fromUtf8(lines[3]),
                               QString::fromUtf8(lines[4]), QString::fromUtf8(lines[5])},
                     lines[1].toLong()};
}

TEST(KarFileReading, AHugeFileIsReadWithBoundedMemory) {
    // On tmpfs the holes of a sparse file read as zeros without taking memory or disk.
    const bool shm = ::access("/dev/shm", W_OK) == 0;
    TempTree tree;
    const QByteArray path =
        shm ? "/dev/shm/corvanteller-huge-" + QByteArray::number(::getpid()) + ".kar"
            : tree.path("huge.kar");
    // Three "@T" lines and no "@I" until the very end: every byte is read.
    const QByteArray head = KarBuilder()
                                .trackName("Soft Karaoke")
                                .wordsTrack({"@TTitle", "@TArtist", "@TMaker"})
                                .bytes();
    const QByteArray last("\x00\xFF\x01\x04@Iend", 8);
    const off_t size = off_t{3} << 30;
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ASSERT_GE(fd, 0);
    const bool written =
        ::pwrite(fd, head.constData(), static_cast<std::size_t>(head.size()), 0) == head.size() &&
        ::ftruncate(fd, size) == 0 &&
        ::pwrite(fd, last.constData(), static_cast<std::size_t>(last.size()), size - last.size()) ==
            last.size();
    ::close(fd);
    ASSERT_TRUE(written);

    const ChildRead read = readInChild(path);
    if (shm) {
        ::unlink(path.constData());
    }
    ASSERT_TRUE(read.ok);
    // The "@I" at the end settles the third text.
    EXPECT_EQ(read.texts, (SongTexts{u"Title"_s, u"Artist"_s, u"Maker"_s, u"Soft Karaoke"_s}));
    EXPECT_GE(read.peakGrowthKilobytes, 0);
    EXPECT_LT(read.peakGrowthKilobytes, 64 * 1024);
}

// A file that never ends is read only so far (its size reads as 0: this one holds 8 bytes for
// every page the process may map), and a stopped scan's reading ends at once (a sparse disk
// image of 2 TB would take many minutes).
TEST(KarFileReading, HugeFilesEndOrStop) {
    TempTree tree;
    ASSERT_EQ(::symlink("/proc/self/pagemap", tree.path("pagemap.kar").constData()), 0);
    EXPECT_TRUE(readKaraokeFile(tree.path("pagemap.kar"), RunSet::StartWindow).ok);
    const int fd = ::open(tree.path("karaoke-backup.img").constData(), O_WRONLY | O_CREAT, 0644);
    ASSERT_EQ(::ftruncate(fd, off_t{2} << 40), 0);
    ::close(fd);
    const std::atomic<bool> stop{true};
    EXPECT_TRUE(
        readKaraokeFile(tree.path("karaoke-backup.img"), RunSet::StartWindow, &stop).stopped);
}

TEST(KarFileReading, OnlyRegularFilesAreOpened) {
    TempTree tree;
    ASSERT_EQ(::mkfifo(tree.path("pipe.kar").constData(), 0644), 0);
    ASSERT_EQ(::symlink("/dev/zero", tree.path("zero.kar").constData()), 0);
    tree.makeFolder("folder.kar");
    for (const char* name : {"pipe.kar", "zero.kar", "folder.kar"}) {
        SCOPED_TRACE(name);
        const KarReadResult read = readKaraokeFile(tree.path(name), RunSet::StartWindow);
        EXPECT_FALSE(read.ok);
        EXPECT_TRUE(read.notRegularFile);
        EXPECT_TRUE(karReadFailureText(u"x.kar"_s, read).contains(u"not a regular file"_s));
    }
}

} // namespace
} // namespace corvanteller
