// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/screen_fit.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace corvanteller {

void centreOnScreen(QWidget& window) {
    if (const QScreen* screen = window.screen()) {
        window.move(screen->availableGeometry().center() - window.rect().center());
    }
}

void keepOnScreen(QWidget& window) {
    const QScreen* screen = QGuiApplication::screenAt(window.frameGeometry().center());
    screen = screen != nullptr ? screen : QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        return;
    }
    const QRect room = screen->availableGeometry();
    const QRect frame = window.frameGeometry();
    const QSize margins = frame.size() - window.size();
    window.resize(window.size().boundedTo(room.size() - margins));
    const QSize fitted = window.frameGeometry().size();
    window.move(std::clamp(frame.x(), room.left(),
                           std::max(room.left(), room.right() + 1 - fitted.width())),
                std::clamp(frame.y(), room.top(),
                           std::max(room.top(), room.bottom() + 1 - fitted.height())));
}

} // namespace corvanteller
