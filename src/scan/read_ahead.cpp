// SPDX-License-Identifier: GPL-3.0-or-later
#include "scan/read_ahead.h"

#include "common/file_names.h"
#include "scan/folder_descriptors.h"

#include <algorithm>
#include <chrono>
#include <sched.h>
#include <sys/stat.h>
#include <system_error>

namespace corvanteller {
namespace {

// How long the thread that wants a file's result waits for the helper that reads it before
// it reads the file itself as well. Reading a karaoke file takes far less.
constexpr std::chrono::milliseconds patience{1};

// Files read from memory in a row after which the disk helpers rest.
constexpr int inMemoryRunForMemory = 32;

} // namespace

bool isRecordedVersion(int folderFd, const char* name, const ScanCache::Record& record,
                       KarReadResult& result) {
    struct stat status {};
    if (::fstatat(folderFd, name, &status, 0) != 0 || !S_ISREG(status.st_mode)) {
        return false;
    }
    const FileVersion version = FileVersion::of(status);
    if (version != record.version) {
        return false;
    }
    result.version = version;
    return true;
}

ReadAhead::ReadAhead(RunSet runSet, int helpers, const std::atomic<bool>* stop, int diskHelpers)
    : runSet_(runSet), stop_(stop), diskHelpers_(diskHelpers) {
    for (int i = 0; i < helpers; ++i) {
        try {
            threads_.emplace_back([this] { helperLoop(); });
        } catch (const std::system_error&) {
            break; // fewer helpers: the calling thread reads what they do not
        }
    }
    helpers_ = static_cast<int>(threads_.size());
}

ReadAhead::~ReadAhead() {
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
        waiting_.clear();
    }
    jobsWaiting_.notify_all();
    diskJobsWaiting_.notify_all();
    for (std::thread& thread : threads_) {
        thread.join();
    }
}

void ReadAhead::startDiskHelpers() {
    diskHelpersStarted_ = true;
    for (; startedDiskHelpers_ < diskHelpers_; ++startedDiskHelpers_) {
        try {
            threads_.emplace_back([this] { diskHelperLoop(); });
        } catch (const std::system_error&) {
            break;
        }
    }
}

void ReadAhead::submit(std::shared_ptr<ReadJob> job) {
    const bool forDisk = waitingForDisk_.load(std::memory_order_relaxed);
    if (forDisk && !diskHelpersStarted_) {
        startDiskHelpers();
    }
    bool wake = false;
    bool wakeForDisk = false;
    {
        const std::lock_guard lock(mutex_);
        waiting_.push_back(std::move(job));
        waitingCount_.store(waiting_.size(), std::memory_order_relaxed);
        wake = idleHelpers_ > 0;
        wakeForDisk = forDisk && idleDiskHelpers_ > 0;
    }
    // A busy helper takes the job when it is done; waking costs a system call.
    if (wake) {
        jobsWaiting_.notify_one();
    }
    if (wakeForDisk) {
        diskJobsWaiting_.notify_one();
    }
}

void ReadAhead::advance(const std::shared_ptr<ReadJob>& job) {
    if (isDone(*job)) {
        return;
    }
    std::unique_lock lock(mutex_);
    std::shared_ptr<ReadJob> next;
    const auto own = std::find(waiting_.begin(), waiting_.end(), job);
    if (own != waiting_.end()) {
        next = std::move(*own);
        waiting_.erase(own);
    } else if (!waiting_.empty()) {
        next = std::move(waiting_.front());
        waiting_.pop_front();
    } else {
        ownerWaits_.store(true);
        const bool done = jobDone_.wait_for(
            lock, patience, [&job] { return job->done.load(std::memory_order_seq_cst); });
        ownerWaits_.store(false);
        if (done) {
            return;
        }
        // The helper that reads it has most likely lost its core to other work: waiting for
        // it would make the scan slower than reading alone. The first result counts.
        next = job;
    }
    waitingCount_.store(waiting_.size(), std::memory_order_relaxed);
    lock.unlock();
    publish(*next, readFile(*next));
}

void ReadAhead::helperLoop() {
    while (const std::shared_ptr<ReadJob> job = takeJob()) {
        publish(*job, readFile(*job));
    }
}

void ReadAhead::diskHelperLoop() {
    while (true) {
        std::shared_ptr<ReadJob> job;
        {
            std::unique_lock lock(mutex_);
            ++idleDiskHelpers_;
            diskJobsWaiting_.wait(lock, [this] {
                return stopping_ ||
                       (!waiting_.empty() && waitingForDisk_.load(std::memory_order_relaxed));
            });
            --idleDiskHelpers_;
            if (stopping_) {
                return;
            }
            job = std::move(waiting_.front());
            waiting_.pop_front();
            waitingCount_.store(waiting_.size(), std::memory_order_relaxed);
        }
        publish(*job, readFile(*job));
    }
}

void ReadAhead::noteReading(const Reading& reading) {
    if (!reading.result.fromDisk) {
        // Files come from memory again once a run of them did: a single file that another
        // program has just read says little.
        if (waitingForDisk_.load(std::memory_order_relaxed) &&
            inMemoryRun_.fetch_add(1, std::memory_order_relaxed) + 1 >= inMemoryRunForMemory) {
            const std::lock_guard lock(mutex_);
            waitingForDisk_.store(false, std::memory_order_relaxed);
        }
        return;
    }
    if (inMemoryRun_.load(std::memory_order_relaxed) != 0) {
        inMemoryRun_.store(0, std::memory_order_relaxed);
    }
    if (waitingForDisk_.load(std::memory_order_relaxed)) {
        return;
    }
    {
        // Under the lock, so that a disk helper about to sleep sees the change or is woken.
        const std::lock_guard lock(mutex_);
        waitingForDisk_.store(true, std::memory_order_relaxed);
    }
    diskJobsWaiting_.notify_all();
}

std::shared_ptr<ReadJob> ReadAhead::takeJob() {
    std::unique_lock lock(mutex_);
    ++idleHelpers_;
    jobsWaiting_.wait(lock, [this] { return stopping_ || !waiting_.empty(); });
    --idleHelpers_;
    if (stopping_) {
        return nullptr;
    }
    std::shared_ptr<ReadJob> job = std::move(waiting_.front());
    waiting_.pop_front();
    waitingCount_.store(waiting_.size(), std::memory_order_relaxed);
    return job;
}

ReadAhead::Reading ReadAhead::readFile(const ReadJob& job) {
    Reading reading;
    reading.nameText = decodeFileName(job.name.data());
    try {
        reading.result = readKaraokeFileAt(job.folder->fd(), job.name.data(), runSet_, stop_);
    } catch (...) {
        reading.exception = std::current_exception();
    }
    if (diskHelpers_ > 0) {
        noteReading(reading);
    }
    return reading;
}

void ReadAhead::publish(ReadJob& job, Reading&& reading) {
    if (job.claimed.exchange(true, std::memory_order_acq_rel)) {
        return; // read twice; the other reading came first
    }
    job.nameText = std::move(reading.nameText);
    job.result = std::move(reading.result);
    job.exception = std::move(reading.exception);
    job.done.store(true, std::memory_order_seq_cst);
    if (ownerWaits_.load(std::memory_order_seq_cst)) {
        // Taken, so that the owner is either asleep in its wait or has not yet looked at the
        // flag that it will find set.
        const std::lock_guard lock(mutex_);
        jobDone_.notify_all();
    }
}

int defaultReadAheadHelpers() {
    // The cores this process may run on: a program started on one core (taskset, a container's
    // quota) gains nothing from a helper but its hand-overs.
    cpu_set_t allowed;
    CPU_ZERO(&allowed);
    const int cores = ::sched_getaffinity(0, sizeof allowed, &allowed) == 0
                          ? CPU_COUNT(&allowed)
                          : static_cast<int>(std::thread::hardware_concurrency());
    return std::clamp(cores - 1, 0, 3);
}

int defaultDiskHelpers(int helpers) {
    constexpr int readersForTheDisk = 15;
    return std::max(readersForTheDisk - helpers, 0);
}

} // namespace corvanteller
