// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>

#include <functional>

class QMenu;
class QWidget;

namespace corvanteller {

class AppContext;

// File > "Recent lists" of the start and the main window: filled from the desktop settings each
// time it opens; an entry whose file is gone is taken off with a message, others are opened.
QMenu* addRecentListsMenu(QMenu* file, QWidget* window, AppContext& context,
                          std::function<void(const QString&)> open);

// A list opened or saved goes first in the recent lists, which are saved at once.
void noteRecentList(AppContext& context, const QString& path);

} // namespace corvanteller
