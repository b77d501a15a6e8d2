#include "scan/read_ahead.h"

#include "scan/folder_descriptors.h"

#include <algorithm>
#include <system_error>

namespace corvanteller {

ReadAhead::ReadAhead(RunSet runSet, int helpers) : runSet_(runSet) {
    for (int i = 0; i < helpers; ++i) {
        try {
            threads_.emplace_back([this] { helperLoop(); });
        } catch (const std::system_error&) {
            break; // fewer helpers: the calling thread reads what they do not
        }
    }
}

ReadAhead::~ReadAhead() {
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
        waiting_.clear();
    }
    jobsWaiting_.notify_all();
    for (std::thread& thread : threads_) {
        thread.join();
    }
}

void ReadAhead::submit(ReadJob& job) {
    bool wake = false;
    {
        const std::lock_guard lock(mutex_);
        waiting_.push_back(&job);
        waitingCount_.store(waiting_.size(), std::memory_order_relaxed);
        wake = idleHelpers_ > 0;
    }
    // A busy helper takes the job when it is done; waking costs a system call.
    if (wake) {
        jobsWaiting_.notify_one();
    }
}

void ReadAhead::advance(ReadJob& job) {
    if (isDone(job)) {
        return;
    }
    std::unique_lock lock(mutex_);
    ReadJob* next = nullptr;
    const auto own = std::find(waiting_.begin(), waiting_.end(), &job);
    if (own != waiting_.end()) {
        next = &job;
        waiting_.erase(own);
    } else if (!waiting_.empty()) {
        next = waiting_.front();
        waiting_.pop_front();
    } else {
        ownerWaits_ = true;
        jobDone_.wait(lock, [&job] { return isDone(job); });
        ownerWaits_ = false;
        return;
    }
    waitingCount_.store(waiting_.size(), std::memory_order_relaxed);
    lock.unlock();
    read(*next);
    // Nobody waits for a job that this thread reads.
    next->done.store(true, std::memory_order_release);
}

void ReadAhead::helperLoop() {
    std::unique_lock lock(mutex_);
    while (true) {
        ++idleHelpers_;
        jobsWaiting_.wait(lock, [this] { return stopping_ || !waiting_.empty(); });
        --idleHelpers_;
        if (stopping_) {
            return;
        }
        ReadJob* job = waiting_.front();
        waiting_.pop_front();
        waitingCount_.store(waiting_.size(), std::memory_order_relaxed);
        lock.unlock();
        read(*job);
        lock.lock();
        // Set under the lock, so that a thread about to wait for it cannot miss it.
        job->done.store(true, std::memory_order_release);
        if (ownerWaits_) {
            jobDone_.notify_all();
        }
    }
}

void ReadAhead::read(ReadJob& job) const {
    try {
        job.result = readKaraokeFileAt(job.folder->fd(), job.name.constData(), runSet_);
    } catch (...) {
        job.exception = std::current_exception();
    }
    // The folder may close as soon as its last file has been read.
    job.folder.reset();
}

int defaultReadAheadHelpers() {
    const int cores = static_cast<int>(std::thread::hardware_concurrency());
    return std::clamp(cores - 1, 0, 3);
}

} // namespace corvanteller
