// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/ui_services.h"

#include <functional>
#include <type_traits>
#include <utility>

class QWidget;

namespace corvanteller {

// Shows the exception being handled through the application's general error report: a
// UserError's own text, any other std::exception's what(). Call only inside a catch block.
void reportCurrentException(QWidget* parent, UiServices& ui);

// The application's general error report around a menu or button handler: whatever the
// handler throws ends the command and is shown in a message box, and the program goes on.
// No exception may cross Qt's event loop. Returns false when the handler failed.
template <class F> bool guarded(QWidget* parent, UiServices& ui, F&& handler) {
    try {
        std::invoke(std::forward<F>(handler));
        return true;
    } catch (...) {
        reportCurrentException(parent, ui);
        return false;
    }
}

// The same guard as a slot for connect(): the signal's arguments are passed on when the
// handler takes them, e.g. connect(startButton, &QPushButton::clicked, this,
// guard(this, ui, [this] { startScanning(); })).
template <class F> auto guard(QWidget* parent, UiServices& ui, F handler) {
    return [parent, &ui, handler = std::move(handler)](auto&&... args) mutable {
        guarded(parent, ui, [&] {
            if constexpr (std::is_invocable_v<F&, decltype(args)...>) {
                std::invoke(handler, std::forward<decltype(args)>(args)...);
            } else {
                std::invoke(handler);
            }
        });
    };
}

} // namespace corvanteller
