// SPDX-License-Identifier: GPL-3.0-or-later
#include "help/strip_motion.h"

namespace corvanteller {

int StripMotion::tick() {
    left_ += 2 - step_;
    if (left_ >= leftLimit && left_ <= rightLimit_) {
        return left_;
    }
    // The turn flag keeps a strip that has just turned right from turning back at once.
    bool turned = false;
    if (step_ == 4) {
        step_ = 0;
        turned = true;
    }
    if (step_ == 0 && !turned) {
        step_ = 4;
    }
    return left_;
}

} // namespace corvanteller
