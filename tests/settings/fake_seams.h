#pragma once

#include "common/seams.h"

#include <QDateTime>

#include <deque>
#include <gtest/gtest.h>

namespace corvanteller::test {

// A clock that shows whatever the test sets.
class FixedClock final : public Clock {
public:
    explicit FixedClock(QDateTime now) : now_(std::move(now)) {}
    QDateTime now() const override { return now_; }
    void set(const QDateTime& now) { now_ = now; }

private:
    QDateTime now_;
};

// Hands out the scripted draws in order, checking each bound; 0 once the script is used up.
class ScriptedRandom final : public RandomSource {
public:
    struct Draw {
        int bound;
        int value;
    };
    ScriptedRandom() = default;
    ScriptedRandom(std::initializer_list<Draw> draws) : draws_(draws) {}

    int bounded(int bound) override {
        if (draws_.empty()) {
            return 0;
        }
        const Draw draw = draws_.front();
        draws_.pop_front();
        EXPECT_EQ(bound, draw.bound);
        return draw.value;
    }
    bool usedUp() const { return draws_.empty(); }

private:
    std::deque<Draw> draws_;
};

} // namespace corvanteller::test
