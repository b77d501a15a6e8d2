// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <functional>
#include <utility>

namespace corvanteller {

// What the user answered to a failure message of a run.
enum class MessageReply { Continue, NoMoreMessages };

// The failure messages of a run over many files, shown one at a time while "Messages about
// errors" is on and the user has not answered "No more messages".
class FailureMessages {
public:
    using Show = std::function<MessageReply(const QString&)>;

    // beforeShowing runs before each message that is shown: the user may take long to answer.
    FailureMessages(bool wanted, Show show, std::function<void()> beforeShowing = {})
        : wanted_(wanted && show), show_(std::move(show)),
          beforeShowing_(std::move(beforeShowing)) {}

    void show(const QString& text);

private:
    bool wanted_;
    Show show_;
    std::function<void()> beforeShowing_;
};

} // namespace corvanteller
