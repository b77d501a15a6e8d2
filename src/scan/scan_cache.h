// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "kar/char_sets.h"
#include "kar/file_version.h"
#include "kar/song_texts.h"

#include <QString>

#include <chrono>
#include <cstdint>
#include <deque>
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

    // "scan-cache.bin" in the per-user cache folder (QStandardPaths::CacheLocation).
    static QString defaultPath();
    const QString& path() const { return path_; }

    // Reads the file, once: a missing or damaged file leaves the cache empty.
    void loadOnce();
    // Writes the file when a scan has changed the records; false when it could not be
    // written (the cache then stays as it is in memory).
    bool save();

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
    void endScan();

    std::size_t size() const { return records_.size(); }

private:
    // The records by device, inode and run set: open addressing in one array, so that a
    // look-up costs a cache miss or two, however many records there are.
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
        std::size_t slotOf(RunSet runSet, std::uint64_t device, std::uint64_t inode) const;

        std::vector<std::uint32_t> slots_; // a record's place + 1; 0 for an empty slot
        std::size_t mask_ = 0;
    };

    void clear();
    bool parse(const QByteArray& bytes);
    bool parseRecords(std::uint32_t count, const char* payload, std::size_t payloadBytes);
    QByteArray serialise() const;

    QString path_;
    std::chrono::nanoseconds settleTime_;
    bool loaded_ = false;
    bool changed_ = false;
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
