// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <algorithm>
#include <condition_variable>
#include <cstddef>
#include <exception>
#include <functional>
#include <mutex>
#include <optional>
#include <system_error>
#include <thread>
#include <vector>

namespace corvanteller {

// Works out the results of items 0 to count - 1 on helper threads, at most `ahead` items beyond
// the one taken last, and hands them over in their order. Each helper has a worker of its own
// (made on that thread by makeWorker), for the state that it keeps from item to item. With no
// helper thread every item is worked out where it is taken.
template <typename Result> class OrderedWork {
public:
    using Worker = std::function<Result(std::size_t)>;

    OrderedWork(std::size_t count, int helpers, std::size_t ahead,
                std::function<Worker()> makeWorker)
        : slots_(count), ahead_(std::max<std::size_t>(ahead, 1)),
          makeWorker_(std::move(makeWorker)) {
        for (int i = 0; i < helpers; ++i) {
            try {
                threads_.emplace_back([this] { helperLoop(); });
            } catch (const std::system_error&) {
                break; // fewer helpers: the taking thread works out what they do not
            }
        }
    }
    ~OrderedWork() { stop(); }
    OrderedWork(const OrderedWork&) = delete;
    OrderedWork& operator=(const OrderedWork&) = delete;

    // The result of the item after the one taken last, once it is there; what the worker threw
    // is thrown here.
    Result takeNext() {
        std::unique_lock lock(mutex_);
        const std::size_t index = taken_++;
        if (next_ <= index) {
            // No helper has begun it: worked out here, so that the run never waits for none.
            next_ = index + 1;
            lock.unlock();
            slots_[index] = work(ownWorker(), index);
            lock.lock();
        }
        done_.wait(lock, [&] { return slots_[index].ready; });
        room_.notify_all();
        Slot slot = std::move(slots_[index]);
        if (slot.exception) {
            std::rethrow_exception(slot.exception);
        }
        return std::move(*slot.result);
    }

    // Ends the helpers once the items they work on are done. Returns the results worked out and
    // not taken, for what they leave behind to be cleared away.
    std::vector<Result> stop() {
        {
            const std::lock_guard lock(mutex_);
            stopping_ = true;
        }
        room_.notify_all();
        for (std::thread& thread : threads_) {
            thread.join();
        }
        threads_.clear();
        std::vector<Result> left;
        for (std::size_t i = taken_; i < slots_.size(); ++i) {
            if (slots_[i].ready && slots_[i].result) {
                left.push_back(std::move(*slots_[i].result));
            }
            slots_[i] = {};
        }
        taken_ = slots_.size();
        return left;
    }

    int helpers() const { return static_cast<int>(threads_.size()); }

private:
    struct Slot {
        std::optional<Result> result;
        std::exception_ptr exception;
        bool ready = false;
    };

    static Slot work(Worker& worker, std::size_t index) {
        Slot slot;
        try {
            slot.result = worker(index);
        } catch (...) {
            slot.exception = std::current_exception();
        }
        slot.ready = true;
        return slot;
    }

    Worker& ownWorker() {
        if (!own_) {
            own_ = makeWorker_();
        }
        return *own_;
    }

    void helperLoop() {
        Worker worker = makeWorker_();
        std::unique_lock lock(mutex_);
        while (true) {
            room_.wait(lock, [this] {
                return stopping_ || (next_ < slots_.size() && next_ < taken_ + ahead_);
            });
            if (stopping_) {
                return;
            }
            const std::size_t index = next_++;
            lock.unlock();
            Slot slot = work(worker, index);
            lock.lock();
            slots_[index] = std::move(slot);
            done_.notify_all();
        }
    }

    std::vector<Slot> slots_;
    std::size_t ahead_;
    std::function<Worker()> makeWorker_;
    std::optional<Worker> own_;
    std::mutex mutex_;
    std::condition_variable room_; // an item may be begun, or the helpers stop
    std::condition_variable done_; // an item is worked out
    std::size_t next_ = 0;         // the first item no thread has begun
    std::size_t taken_ = 0;        // the items handed over
    bool stopping_ = false;
    std::vector<std::thread> threads_;
};

} // namespace corvanteller
