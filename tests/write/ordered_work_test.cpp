// SPDX-License-Identifier: GPL-3.0-or-later
#include "write/ordered_work.h"

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <thread>

namespace corvanteller {
namespace {

std::function<OrderedWork<int>::Worker()> squares() {
    return [] {
        return [](std::size_t i) {
            if (i == 7) {
                throw std::runtime_error("seven");
            }
            return int(i * i);
        };
    };
}

TEST(OrderedWork, HandsResultsOverInOrderWithAnyNumberOfHelpers) {
    for (const int helpers : {0, 1, 3}) {
        SCOPED_TRACE(helpers);
        OrderedWork<int> work(20, helpers, 4, squares());
        for (std::size_t i = 0; i < 20; ++i) {
            if (i == 7) {
                EXPECT_THROW(work.takeNext(), std::runtime_error); // thrown where it is taken
            } else {
                EXPECT_EQ(work.takeNext(), int(i * i));
            }
        }
        EXPECT_TRUE(work.stop().empty());
    }
}

TEST(OrderedWork, GivesBackTheResultsNotTakenAndNeverRunsFarAhead) {
    std::atomic<std::size_t> highest{0};
    OrderedWork<int> work(100, 2, 5, [&] {
        return [&](std::size_t i) {
            highest = std::max<std::size_t>(highest, i);
            return int(i);
        };
    });
    EXPECT_EQ(work.takeNext(), 0);
    EXPECT_EQ(work.takeNext(), 1);
    while (highest < 6) {
        std::this_thread::yield();
    }
    const std::vector<int> left = work.stop();
    EXPECT_LE(highest, 6U); // the last taken is 1: at most 5 beyond it
    EXPECT_FALSE(left.empty());
    EXPECT_EQ(left.front(), 2);
}

} // namespace
} // namespace corvanteller
