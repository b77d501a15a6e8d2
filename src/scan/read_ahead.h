// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "kar/char_sets.h"
#include "kar/kar_reader.h"
#include "scan/scan_cache.h"

#include <QByteArray>

#include <array>
#include <atomic>
#include <condition_variable>
#include <deque>
#include <dirent.h>
#include <exception>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace corvanteller {

class FolderHandle;

// One karaoke file to read: an entry of an open folder. Two threads may read it at once, and
// each holds it until it is done with it, also when the other has given the result first.
struct ReadJob {
    std::shared_ptr<FolderHandle> folder;
    // The entry's name, held in the job: a rescan makes one job for every file.
    std::array<char, sizeof(dirent::d_name)> name{};
    QString nameText; // the name as the row shows it, decoded by the thread that reads the file
    // The scan cache's record that stands for the file, when the file is of its version: the
    // job is then done before it is ever submitted.
    const ScanCache::Record* record = nullptr;
    // Once done; when cached, its texts stay empty: the record's stand for them, and the row
    // takes them from there without the copies and releases of a hand-over.
    KarReadResult result;
    std::exception_ptr exception;     // what the reading threw, to be thrown where the row is taken
    std::atomic<bool> claimed{false}; // a reading is giving its result: any other is dropped
    std::atomic<bool> done{false};
    bool cached = false; // the record stands for the file, set before done

    const SongTexts& texts() const { return cached ? record->texts : result.texts; }
};

// Whether the file that opening the entry would open (through a link, its target) is a regular
// file of the record's version; then the result holds that version.
bool isRecordedVersion(int folderFd, const char* name, const ScanCache::Record& record,
                       KarReadResult& result);

// Reads karaoke files on helper threads ahead of the thread that wants their results in
// order. That thread reads too: a job that no helper has taken yet is read where it is wanted,
// so that with no helper at all every file is read in order on the calling thread.
//
// Files whose reading waits for the disk leave the cores idle: while the latest reading
// waited, up to diskHelpers more threads read as well, so that the disk has more to do at
// once. They are started on the first such reading and otherwise sleep.
class ReadAhead {
public:
    // A raised stop flag ends the files being read between their reads.
    ReadAhead(RunSet runSet, int helpers, const std::atomic<bool>* stop = nullptr,
              int diskHelpers = 0);
    ~ReadAhead();
    ReadAhead(const ReadAhead&) = delete;
    ReadAhead& operator=(const ReadAhead&) = delete;

    int helpers() const { return helpers_; }
    // The helpers that read now: the disk helpers too while the latest reading waited.
    int readingHelpers() const {
        return helpers_ +
               (waitingForDisk_.load(std::memory_order_relaxed) ? startedDiskHelpers_ : 0);
    }

    void submit(std::shared_ptr<ReadJob> job);
    // Jobs submitted that no thread has taken yet.
    std::size_t waiting() const { return waitingCount_.load(std::memory_order_relaxed); }
    static bool isDone(const ReadJob& job) { return job.done.load(std::memory_order_acquire); }
    // Brings the job nearer to done: reads it here when no helper has taken it, otherwise
    // reads one other waiting job here, or waits for the helper that reads it, and when that
    // takes too long reads it here as well. One job at a time, so that the caller can hand
    // out more work in between.
    void advance(const std::shared_ptr<ReadJob>& job);

private:
    struct Reading {
        QString nameText;
        KarReadResult result;
        std::exception_ptr exception;
    };

    void helperLoop();
    void diskHelperLoop();
    void startDiskHelpers();
    // Tells the disk helpers whether the latest reading waited for the disk.
    void noteReading(const Reading& reading);
    // The next job for a helper; null when the helpers are to end.
    std::shared_ptr<ReadJob> takeJob();
    Reading readFile(const ReadJob& job);
    // Without the lock: the job's result, unless another thread has given it already; wakes
    // the thread that wants the results if it waits.
    void publish(ReadJob& job, Reading&& reading);

    RunSet runSet_;
    const std::atomic<bool>* stop_;
    mutable std::mutex mutex_;
    std::condition_variable jobsWaiting_;
    std::condition_variable jobDone_;
    std::condition_variable diskJobsWaiting_;
    std::deque<std::shared_ptr<ReadJob>> waiting_;
    std::atomic<std::size_t> waitingCount_{0}; // waiting_'s size, to be looked at without a lock
    bool stopping_ = false;
    int idleHelpers_ = 0;
    // The thread that wants the results waits for one. Set under the lock, and with the done
    // flags in one order of all threads: a result given while it is being set is seen by one
    // of the two threads.
    std::atomic<bool> ownerWaits_{false};
    std::vector<std::thread> threads_;
    int helpers_ = 0;
    const int diskHelpers_; // may be started; started only on the first reading that waits
    bool diskHelpersStarted_ = false;
    int startedDiskHelpers_ = 0;
    int idleDiskHelpers_ = 0;
    std::atomic<bool> waitingForDisk_{false};
    std::atomic<int> inMemoryRun_{0}; // readings from memory since the latest from the disk
};

// Helpers for a scan: one fewer than the cores that the process may run on, at most three; the
// files of a scan come from one disk, and more readers than that gain nothing.
int defaultReadAheadHelpers();
// Helpers that read only while files come from the disk: with those of the cores, fifteen
// threads read besides the scan's own, which keeps a disk of today busy.
int defaultDiskHelpers(int helpers);

} // namespace corvanteller
