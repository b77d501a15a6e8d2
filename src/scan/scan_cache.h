// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "kar/char_sets.h"
#include "kar/file_version.h"
#include "kar/song_texts.h"

#include <QString>

#include <chrono>
#include <cstdint>
#include <deque>
#include <future>
#include <vector>

namespace corvanteller {

// The texts that scans have read, by the file's version and the run set, so that a rescan
// gives an unchanged file its texts without opening it. The file on disk is written whole
// under a new name and renamed over the old one, and carries a checksum: a damaged, truncated
// or unreadable cache is an empty one, never an error.
//
// During a scan, recordFor() and find() may be called from any thread while the scan's own
// thread calls remember(); endScan() and everything else belong to that thread alone.
class ScanCache {
public:
    // The files whose records are kept: those of the latest scans.
    static constexpr std::size_t maxFiles = 200000;

    struct Record {
        RunSet runSet = RunSet::StartWindow;
        FileVersion version;
        SongTexts texts;
    };

    // A file changed less than settleTime before a scan began is not remembered: a second
    // change within the file system's clock tick would leave its version as it was.
    explicit ScanCache(QString path = defaultPath(),
                       std::chrono::nanoseconds settleTime = std::chrono::seconds(2));
    // A cache given up or moved waits for its save first: the save reads its records.
    ~ScanCache();
    ScanCache(ScanCache&& other) noexcept;
    ScanCache& operator=(ScanCache&& other) noexcept;

    // "scan-cache.bin" in the per-user cache folder (QStandardPaths::CacheLocation).
    static QString defaultPath();
    const QString& path() const { return path_; }

    // Reads the file, once: a missing or damaged file leaves the cache empty.
    void loadOnce();
    // Writes the file when a scan has changed the records; false when it could not be
    // written (the cache then stays as it is in memory).
    bool save();
    // The same on a thread of its own, so that the rows of a scan need not wait for it: the
    // next change of the records, a save or the end of the cache waits for it first.
    void saveInBackground();

    // The record that may stand for the file with that inode, before its version is known;
    // null when there is none.
    const Record* recordFor(RunSet runSet, std::uint64_t device, std::uint64_t inode) const;
    // The texts of the file with this version, or null.
    const SongTexts* find(RunSet runSet, const FileVersion& version) const;

    void beginScan();
    // A file whose row a scan took, in the order of the rows; known: the record of this cache
    // whose texts it took (recordFor's, its version checked), which is kept without a copy.
    void remember(RunSet runSet, const FileVersion& version, const SongTexts& texts,
                  const Record* known = nullptr);
    // The files of the scan become the latest ones; the oldest beyond maxFiles are dropped.
    // The records change only with the next load, scan or save, which may run on a thread of
    // its own: the scan's rows need not wait for them.
    void endScan();

    std::size_t size() const { return records_.size(); }

private:
    // The records by device, inode and run set: open addressing in one array, so that a
    // look-up costs a cache miss or two, however many records there are. Each slot holds bits
    // of its key's hash beside the record's place: a probe that passes another key's slot
    // mostly needs no look at that record.
    class Index {
    public:
        static constexpr std::size_t none = static_cast<std::size_t>(-1);

        void reset(std::size_t records);
        // The record of that key among records, or none.
        std::size_t find(const std::vector<Record>& records, RunSet runSet, std::uint64_t device,
                         std::uint64_t inode) const;
        // Adds records[at] unless a record of its key is there; returns whether it added it.
        bool insert(const std::vector<Record>& records, std::size_t at);

    private:
        static constexpr std::uint64_t tagMask = 0xFFFFFFFF00000000ULL;
        static std::uint64_t hashOf(RunSet runSet, std::uint64_t device, std::uint64_t inode);
        // Bits of the hash that the slot's place does not use, as the slot holds them.
        static std::uint64_t tagOf(std::uint64_t hash) { return (hash << 16) & tagMask; }
        static std::size_t placeOf(std::uint64_t entry) { return (entry & ~tagMask) - 1; }
        static bool isKeyOf(const Record& record, RunSet runSet, std::uint64_t device,
                            std::uint64_t inode);

        // A record's place + 1 in the low half, the key's tag in the high half; 0 when empty.
        std::vector<std::uint64_t> slots_;
        std::size_t mask_ = 0;
        int shift_ = 64;
    };

    // Waits for a save in the background (a failed one leaves the records to be written
    // again), then makes the latest scan's files the records.
    void settle();
    void finishSaving();
    void mergeScan();
    bool write() const;
    void clear();
    bool parse(const QByteArray& bytes);
    bool parseRecords(std::uint32_t count, const char* payload, std::size_t payloadBytes);
    QByteArray serialise() const;

    QString path_;
    std::chrono::nanoseconds settleTime_;
    bool loaded_ = false;
    bool changed_ = false;
    bool mergeWanted_ = false; // a scan has ended whose files are not yet the records
    std::future<bool> saving_;
    std::int64_t scanStartNs_ = 0;
    std::vector<Record> records_; // the latest first
    Index index_;
    // This scan's files, in the order of its rows: the place of a record in records_ when its
    // texts came from it, otherwise freshMark and the place of a record in fresh_. A rescan
    // that reads nothing copies no record.
    static constexpr std::uint32_t freshMark = 0x80000000U;
    std::vector<std::uint32_t> scanned_;
    std::deque<Record> fresh_; // grows without moving its records
};

} // namespace corvanteller
