// SPDX-License-Identifier: GPL-3.0-or-later
#include "rename/failure_messages.h"

namespace corvanteller {

void FailureMessages::show(const QString& text) {
    if (!wanted_) {
        return;
    }
    if (beforeShowing_) {
        beforeShowing_();
    }
    wanted_ = show_(text) != MessageReply::NoMoreMessages;
}

} // namespace corvanteller
