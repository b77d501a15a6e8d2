// SPDX-License-Identifier: GPL-3.0-or-later
#include "scan/scan_cache.h"

#include "kar/row_store.h"
#include "kar_tree_generator.h"
#include "scan/folder_scan.h"
#include "support/kar_builder.h"
#include "support/temp_tree.h"

#include <QFile>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <thread>

namespace corvanteller {
namespace {

using test::KarBuilder;
using test::TempTree;
using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

struct CacheFixture {
    TempTree songs;
    TempTree cacheFolder;
    QString cachePath = cacheFolder.root() + u"/cache/scan-cache.bin"_s;

    std::vector<ScannedRow> scan(RunSet runSet, bool withCache = true,
                                 int readAheadHelpers = -1) const {
        ScanCache cache(cachePath, 0ns);
        ScanRequest request = ScanRequest::forFolder(songs.root(), runSet, false);
        request.cache = withCache ? &cache : nullptr;
        request.readAheadHelpers = readAheadHelpers;
        std::vector<ScannedRow> rows;
        EXPECT_EQ(scanFolder(request, rows).end, ScanEnd::Complete);
        EXPECT_TRUE(cache.save());
        return rows;
    }

    FileVersion versionOf(const QByteArray& name) const {
        struct stat status {};
        EXPECT_EQ(::stat(songs.path(name).constData(), &status), 0);
        return FileVersion::of(status);
    }

    // A record that no reading would give, so that a row shows where its texts came from.
    void plant(const QByteArray& name, RunSet runSet) const {
        ScanCache cache(cachePath, 0ns);
        cache.loadOnce();
        cache.beginScan();
        cache.remember(runSet, versionOf(name), {u"Planted"_s, {}, {}, {}});
        cache.endScan();
        ASSERT_TRUE(cache.save());
    }

    void rewrite(const QByteArray& name, const QByteArray& bytes) const {
        QFile file(QFile::decodeName(songs.path(name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ASSERT_EQ(file.write(bytes), bytes.size());
    }

    void setModified(const QByteArray& name, const FileVersion& version) const {
        const timespec times[2] = {{0, UTIME_OMIT},
                                   {static_cast<time_t>(version.modifiedNs / 1'000'000'000),
                                    static_cast<long>(version.modifiedNs % 1'000'000'000)}};
        ASSERT_EQ(::utimensat(AT_FDCWD, songs.path(name).constData(), times, 0), 0);
    }

    void changeCacheFile(const std::function<void(QByteArray&)>& change) const {
        QFile file(cachePath);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        QByteArray bytes = file.readAll();
        change(bytes);
        ASSERT_TRUE(file.resize(0) && file.seek(0));
        ASSERT_EQ(file.write(bytes), bytes.size());
    }
};

const QByteArray realSong = KarBuilder().trackName("Real Title").text("Artist").bytes();
// Another song of the same size.
const QByteArray otherSong = KarBuilder().trackName("Real Other").text("Artist").bytes();

// The file system's clock moves in ticks: waits until a write would give another change time.
void waitForNextTick(const FileVersion& before) {
    const auto now = [] {
        timespec time{};
        ::clock_gettime(CLOCK_REALTIME_COARSE, &time);
        return std::int64_t{time.tv_sec} * 1'000'000'000 + time.tv_nsec;
    };
    while (now() <= before.changedNs) {
        std::this_thread::sleep_for(1ms);
    }
}

TEST(ScanCache, AFileGivesItsRecordOnlyWhileItsVersionAndRunSetMatch) {
    struct Case {
        const char* what;
        std::function<void(const CacheFixture&)> change;
        RunSet rescanRunSet;
        QString expectedTitle;
    };
    const Case cases[] = {
        {"unchanged", [](const CacheFixture&) {}, RunSet::StartWindow, u"Planted"_s},
        {"rewritten with its size and modification time: the change time differs",
         [](const CacheFixture& f) {
             const FileVersion before = f.versionOf("song.kar");
             waitForNextTick(before);
             f.rewrite("song.kar", otherSong);
             f.setModified("song.kar", before);
             ASSERT_EQ(f.versionOf("song.kar").size, before.size);
             ASSERT_EQ(f.versionOf("song.kar").modifiedNs, before.modifiedNs);
         },
         RunSet::StartWindow, u"Real Other"_s},
        {"replaced by another file of the same size and times",
         [](const CacheFixture& f) {
             const FileVersion before = f.versionOf("song.kar");
             f.songs.writeFile("new.tmp", otherSong);
             f.setModified("new.tmp", before);
             ASSERT_EQ(std::rename(f.songs.path("new.tmp").constData(),
                                   f.songs.path("song.kar").constData()),
                       0);
         },
         RunSet::StartWindow, u"Real Other"_s},
        {"scanned with the other run set", [](const CacheFixture&) {}, RunSet::MainWindow,
         u"Real Title"_s},
        {"cache damaged",
         [](const CacheFixture& f) {
             f.changeCacheFile([](QByteArray& bytes) { bytes[bytes.size() / 2] ^= 0x20; });
         },
         RunSet::StartWindow, u"Real Title"_s},
        {"cache truncated",
         [](const CacheFixture& f) { f.changeCacheFile([](QByteArray& bytes) { bytes.chop(9); }); },
         RunSet::StartWindow, u"Real Title"_s},
        {"cache not a cache",
         [](const CacheFixture& f) {
             f.changeCacheFile([](QByteArray& bytes) { bytes = "[General]\nx=1\n"; });
         },
         RunSet::StartWindow, u"Real Title"_s},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CacheFixture f;
        f.songs.writeFile("song.kar", realSong);
        f.plant("song.kar", RunSet::StartWindow);
        c.change(f);
        const std::vector<ScannedRow> rows = f.scan(c.rescanRunSet);
        ASSERT_EQ(rows.size(), 1u);
        EXPECT_EQ(rows[0].texts.first, c.expectedTitle);
        // What was read is remembered in a sound cache: the next scan gives the same.
        EXPECT_EQ(f.scan(c.rescanRunSet)[0].texts, rows[0].texts);
        ScanCache reloaded(f.cachePath);
        reloaded.loadOnce();
        EXPECT_NE(reloaded.find(c.rescanRunSet, f.versionOf("song.kar")), nullptr);
    }
}

// The checksum runs in lanes of 8 bytes and a tail: a change in any of them is damage.
TEST(ScanCache, AChangedByteAnywhereInTheRecordsDropsThem) {
    CacheFixture f;
    f.songs.writeFile("song.kar", realSong);
    f.songs.writeFile("other.kar", otherSong);
    f.scan(RunSet::StartWindow);
    QFile file(f.cachePath);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray sound = file.readAll();
    file.close();
    constexpr qsizetype head = 32;
    ASSERT_GT(sound.size(), head + 64);
    const qsizetype payload = sound.size() - head;
    // Each of the four lanes, the words after the last whole group of lanes, the last byte.
    const qsizetype afterLanes = std::min(payload - payload % 32, payload - 2);
    const qsizetype offsets[] = {0, 9, 18, 31, afterLanes, payload - 3, payload - 1};
    for (const qsizetype offset : offsets) {
        SCOPED_TRACE(offset);
        f.changeCacheFile([&](QByteArray& bytes) {
            bytes = sound;
            bytes[head + offset] = static_cast<char>(bytes[head + offset] ^ 0x01);
        });
        ScanCache damaged(f.cachePath);
        damaged.loadOnce();
        EXPECT_EQ(damaged.size(), 0u);
    }
    f.changeCacheFile([&](QByteArray& bytes) { bytes = sound; });
    ScanCache restored(f.cachePath);
    restored.loadOnce();
    EXPECT_EQ(restored.size(), 2u);
}

// The texts of a loaded cache share one block: each still ends with a 0, and changing one,
// or a copy of it, changes no other.
TEST(ScanCache, LoadedTextsAreTextsOfTheirOwn) {
    CacheFixture f;
    f.songs.writeFile("song.kar", realSong);
    f.songs.writeFile("other.kar", otherSong);
    std::vector<QString> expected;
    for (const ScannedRow& row : f.scan(RunSet::StartWindow)) {
        expected.insert(expected.end(), {row.texts.first, row.texts.second});
    }
    std::vector<QString> texts;
    {
        ScanCache cache(f.cachePath);
        cache.loadOnce();
        ASSERT_EQ(cache.size(), 2u);
        for (const ScannedRow& row : f.scan(RunSet::StartWindow, false)) {
            const SongTexts* found =
                cache.find(RunSet::StartWindow, f.versionOf(QFile::encodeName(row.name)));
            ASSERT_NE(found, nullptr);
            texts.insert(texts.end(), {found->first, found->second});
        }
    }
    ASSERT_EQ(texts, expected);
    ASSERT_FALSE(expected[1].isEmpty());
    for (const QString& text : texts) {
        EXPECT_EQ(text.utf16()[text.size()], u'\0') << text.toStdString();
    }
    // The cache is gone: these texts alone hold the block.
    texts[0].append(u"!!!!!!!!!!!!"_s);
    texts[1][0] = u'#';
    texts[2].truncate(2);
    expected[0].append(u"!!!!!!!!!!!!"_s);
    expected[1] = u'#' + expected[1].sliced(1);
    expected[2] = expected[2].left(2);
    EXPECT_EQ(texts, expected);
}

// Renamed into place, a rewritten cache is another file: its inode tells whether it was written.
TEST(ScanCache, IsWrittenOnlyWhenARescanChangedItsRecords) {
    const struct {
        const char* what;
        std::function<void(const CacheFixture&)> change;
        bool rewritten;
    } cases[] = {
        {"nothing changed", [](const CacheFixture&) {}, false},
        {"a file rewritten",
         [](const CacheFixture& f) {
             waitForNextTick(f.versionOf("song.kar"));
             f.rewrite("song.kar", otherSong);
         },
         true},
        {"a file added", [](const CacheFixture& f) { f.songs.writeFile("more.kar", otherSong); },
         true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        CacheFixture f;
        f.songs.writeFile("song.kar", realSong);
        f.songs.writeFile("other.kar", otherSong);
        f.scan(RunSet::StartWindow);
        const auto inode = [&] {
            struct stat status {};
            EXPECT_EQ(::stat(QFile::encodeName(f.cachePath).constData(), &status), 0);
            return status.st_ino;
        };
        const ino_t before = inode();
        c.change(f);
        for (const int helpers : {0, 2}) {
            SCOPED_TRACE(helpers);
            f.scan(RunSet::StartWindow, true, helpers);
        }
        EXPECT_EQ(inode() != before, c.rewritten);
    }
}

// The window keeps one cache for the program's run and saves it while it shows the rows: each
// scan starts from the records of the one before, whether or not their save has ended.
TEST(ScanCache, OneCacheSavedInTheBackgroundServesTheNextScans) {
    CacheFixture f;
    f.songs.writeFile("song.kar", realSong);
    f.songs.writeFile("other.kar", realSong);
    {
        ScanCache cache(f.cachePath, 0ns);
        ScanRequest request = ScanRequest::forFolder(f.songs.root(), RunSet::StartWindow, false);
        request.cache = &cache;
        const auto titles = [&] {
            std::vector<ScannedRow> rows;
            EXPECT_EQ(scanFolder(request, rows).end, ScanEnd::Complete);
            cache.saveInBackground();
            std::vector<QString> shown;
            for (const ScannedRow& row : rows) {
                shown.push_back(row.name + u'=' + row.texts.first);
            }
            std::sort(shown.begin(), shown.end());
            return shown;
        };
        cache.loadOnce();
        cache.beginScan();
        cache.remember(RunSet::StartWindow, f.versionOf("song.kar"), {u"Planted"_s, {}, {}, {}});
        cache.endScan();
        cache.saveInBackground();
        EXPECT_EQ(titles(), (std::vector{u"other.kar=Real Title"_s, u"song.kar=Planted"_s}));
        waitForNextTick(f.versionOf("other.kar"));
        f.rewrite("other.kar", otherSong);
        EXPECT_EQ(titles(), (std::vector{u"other.kar=Real Other"_s, u"song.kar=Planted"_s}));
    }
    // Given up, the cache has waited for its last save.
    ScanCache reloaded(f.cachePath);
    reloaded.loadOnce();
    ASSERT_EQ(reloaded.size(), 2u);
    const SongTexts* other = reloaded.find(RunSet::StartWindow, f.versionOf("other.kar"));
    ASSERT_NE(other, nullptr);
    EXPECT_EQ(other->first, u"Real Other"_s);
}

TEST(ScanCache, RescansGiveTheRowsOfAScanWithoutTheCache) {
    CacheFixture f;
    bench::KarTreeOptions options;
    options.karaokeFiles = 300;
    options.minFileBytes = 2000;
    options.maxFileBytes = 40000;
    options.softKaraokeTags = bench::SoftKaraokeTags::Mixed;
    const std::filesystem::path tree = f.songs.root().toStdString() + "/tree";
    bench::writeKarTree(tree, options);
    // Its names are bytes that are no UTF-8 now and then, which the temporary folder's own
    // removal passes over.
    const struct RemoveTree {
        ~RemoveTree() { std::filesystem::remove_all(path); }
        std::filesystem::path path;
    } removeTree{tree};
    for (const RunSet runSet : {RunSet::StartWindow, RunSet::MainWindow}) {
        const std::vector<ScannedRow> plain = f.scan(runSet, false);
        ASSERT_EQ(plain.size(), 300u);
        // The first fills the cache; then its records are looked at where the rows are
        // taken, and by helpers.
        for (const int helpers : {0, 0, 2}) {
            const std::vector<ScannedRow> cached = f.scan(runSet, true, helpers);
            ASSERT_EQ(cached.size(), plain.size());
            for (std::size_t i = 0; i < plain.size(); ++i) {
                ASSERT_EQ(cached[i].name, plain[i].name) << i;
                ASSERT_EQ(cached[i].storedFolder, plain[i].storedFolder) << i;
                ASSERT_EQ(cached[i].texts, plain[i].texts) << i;
            }
        }
    }
}

} // namespace
} // namespace corvanteller
