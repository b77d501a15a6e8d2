// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace corvanteller {

// The About window's strip going to and fro: 2 pixels a tick, turning once its left edge has
// passed 5 or the right limit 10 pixels inside the window's right edge.
class StripMotion {
public:
    static constexpr int leftLimit = 5;
    static constexpr int rightMargin = 10;

    StripMotion(int windowWidth, int stripWidth)
        : rightLimit_(windowWidth - stripWidth - rightMargin) {}

    // From the left edge given, moving right.
    void start(int left) {
        left_ = left;
        step_ = 0;
    }
    // Moves once; returns the new left edge.
    int tick();

    int left() const { return left_; }
    bool movingRight() const { return step_ == 0; }

private:
    int rightLimit_;
    int left_ = 0;
    int step_ = 0; // 0 moving right, 4 moving left
};

} // namespace corvanteller
