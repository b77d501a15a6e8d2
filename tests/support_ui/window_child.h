// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>
#include <QtGlobal>

namespace corvanteller {

// A window's widget or action by its object name, as a user's tool would find it; a name that
// is missing or of another type stops the test at once with the name.
template <typename T> T* child(const QObject& window, const char* name) {
    T* found = window.findChild<T*>(QString::fromLatin1(name));
    if (found == nullptr) {
        qFatal("no child \"%s\" of the expected type", name);
    }
    return found;
}

} // namespace corvanteller
