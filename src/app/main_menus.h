// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "text/text_view_modes.h"

#include <QString>

#include <functional>

class QAction;
class QMenu;
class QMenuBar;
class QWidget;

namespace corvanteller {

class AppContext;
class FileCommands;
class OfficeCommands;
class TableCommands;

// What the main window's menus and its table's pop-up menu call.
struct MainMenuCommands {
    AppContext& context;
    TableCommands& table;
    FileCommands& files;
    OfficeCommands& office;
    // The window's own commands.
    std::function<void()> newScanning;
    std::function<void()> openList;
    std::function<void(const QString&)> openRecentList;
    std::function<void()> saveList;
    std::function<void()> saveListAs;
    std::function<void()> importExcel;
    std::function<void(TextViewMode)> showTextView;
    std::function<void()> complexRenaming;
    std::function<void()> previewTextWriting;
    std::function<void()> exit;
};

// The entries whose state follows the table.
struct MainMenuEntries {
    QAction* undo = nullptr;
    QAction* redo = nullptr;
    QMenu* popup = nullptr;
};

// Adds a menu entry, named for tests and tools, whose command runs as the window's commands run.
using AddMenuCommand =
    std::function<QAction*(QMenu*, const char* name, const QString&, std::function<void()>)>;

// The main window's menu bar and its table's pop-up menu, with their captions, mnemonics and
// shortcuts.
MainMenuEntries buildMainMenus(QMenuBar& bar, QWidget& window, const AddMenuCommand& add,
                               const MainMenuCommands& commands);

} // namespace corvanteller
