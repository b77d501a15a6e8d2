// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateTime>

namespace corvanteller {

// The local clock, replaceable so that tests fix the time.
class Clock {
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;
};

// A source of whole random numbers, replaceable so that tests fix the draws.
class RandomSource {
public:
    virtual ~RandomSource() = default;
    // A number from 0 to bound - 1.
    virtual int bounded(int bound) = 0;
};

class SystemClock final : public Clock {
public:
    QDateTime now() const override;
};

class SystemRandom final : public RandomSource {
public:
    int bounded(int bound) override;
};

} // namespace corvanteller
