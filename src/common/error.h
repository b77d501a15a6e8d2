// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <stdexcept>

namespace corvanteller {

// A failure whose text is meant for the user; the error guard around every window handler
// shows it in a message box and the program goes on.
class UserError : public std::runtime_error {
public:
    explicit UserError(const QString& text) : std::runtime_error(text.toStdString()), text_(text) {}

    const QString& text() const { return text_; }

private:
    QString text_;
};

} // namespace corvanteller
