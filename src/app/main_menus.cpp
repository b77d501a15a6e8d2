// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/main_menus.h"

#include "app/app_context.h"
#include "app/app_texts.h"
#include "app/file_commands.h"
#include "app/office_commands.h"
#include "app/recent_lists_menu.h"
#include "app/table_commands.h"
#include "help/about_window.h"
#include "help/help_window.h"
#include "help/splash_window.h"
#include "kar/song_columns.h"
#include "settings/general_settings_dialog.h"

#include <QMenuBar>

namespace corvanteller {

using namespace Qt::StringLiterals;

namespace {

class MenuBuilder {
public:
    MenuBuilder(QWidget& window, const AddMenuCommand& add, const MainMenuCommands& commands)
        : window_(window), add_(add), commands_(commands), context_(commands.context) {}

    MainMenuEntries build(QMenuBar& bar) {
        buildFileMenu(addMenu(&bar, "fileMenu"));
        buildSettingsMenu(addMenu(&bar, "settingsMenu"));
        buildTableMenu(addMenu(&bar, "tableMenu"));
        buildHelpMenu(addMenu(&bar, "helpMenu"));
        buildPopupMenu();
        return entries_;
    }

private:
    // A menu or a menu entry with the caption its name has.
    QMenu* addMenu(QWidget* bar, const char* name) {
        auto* menu = new QMenu(appTexts::caption(name), bar);
        menu->setObjectName(QString::fromLatin1(name));
        bar->addAction(menu->menuAction());
        return menu;
    }

    QAction* add(QMenu* menu, const char* name, std::function<void()> command) {
        return add_(menu, name, appTexts::caption(name), std::move(command));
    }

    void buildFileMenu(QMenu* file) {
        const MainMenuCommands& c = commands_;
        add(file, "newScanningAction", c.newScanning)->setShortcut(QKeySequence(Qt::Key_F5));
        file->addSeparator();
        add(file, "openListAction", c.openList)->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
        const auto showTextView = c.showTextView;
        add(file, "openTextListAction", [showTextView] { showTextView(TextViewMode::OpenText); });
        addRecentListsMenu(file, &window_, context_, c.openRecentList);
        file->addSeparator();
        add(file, "saveListAction", c.saveList)->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
        add(file, "saveListAsAction", c.saveListAs)
            ->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
        add(file, "saveAsTextAction", [showTextView] { showTextView(TextViewMode::SaveText); });
        OfficeCommands& office = c.office;
        add(file, "saveAsWordAction", [&office] { office.saveAsWordDocument(); });
        add(file, "printFromWordAction", [&office] { office.printFromWord(); });
        add(file, "printToPdfAction", [&office] {
            office.printToPdf();
        })->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
        file->addSeparator();
        QMenu* exportMenu = addMenu(file, "exportMenu");
        add(exportMenu, "exportTextAction",
            [showTextView] { showTextView(TextViewMode::TableText); });
        add(exportMenu, "exportExcelAction", [&office] { office.exportToExcel(); });
        add(exportMenu, "saveWorkbookAsAction", [&office] { office.saveExportWorkbookAs(); });
        add(exportMenu, "exportWordAction", [&office] { office.exportToWord(); });
        add(file, "importExcelAction", c.importExcel);
        file->addSeparator();
        QMenu* rename = addMenu(file, "renameMenu");
        FileCommands& files = c.files;
        add(rename, "renameFromNameColumnAction", [&files] { files.renameFromNameColumn(); });
        add(rename, "complexRenamingAction", c.complexRenaming);
        add(rename, "undoRenamingAction", [&files] { files.undoLastRenaming(); });
        file->addSeparator();
        add(file, "exitAction", c.exit)->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    }

    void buildSettingsMenu(QMenu* settings) {
        settings->addAction(appTexts::caption("scanParametersAction"))
            ->setObjectName(u"scanParametersAction"_s);
        add(settings, "generalSettingsAction", [&context = context_, &window = window_] {
            context.generalSettings->showFor(&window);
        });
    }

    void buildTableMenu(QMenu* table) {
        TableCommands& t = commands_.table;
        add(table, "addRowAction", [&t] { t.addRow(); });
        add(table, "exportToTextAction",
            [showTextView = commands_.showTextView] { showTextView(TextViewMode::TableText); });
        add(table, "findAction", [&t] {
            t.openFindBar();
        })->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
        table->addSeparator();
        entries_.undo = add(table, "undoTableAction", [&t] { t.undo(); });
        entries_.undo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
        entries_.redo = add(table, "redoTableAction", [&t] { t.redo(); });
        entries_.redo->setShortcuts(
            {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
        add(table, "filterAction", [&t] {
            t.openFilterBar();
        })->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_L));
        add(table, "markDuplicatesAction", [&t] { t.markDuplicateRows(); });
        add(table, "markIdenticalFilesAction", [&t] { t.markIdenticalFiles(); });
        add(table, "removeCheckedAction", [&t] { t.removeCheckedRows(); });
        QMenu* sortMenu = addMenu(table, "sortMenu");
        for (int column = 0; column < tableColumnCount; ++column) {
            add_(sortMenu, "", appTexts::sortCaption(column),
                 [&t, column] { t.sortByColumn(column); });
        }
        QObject::connect(table, &QMenu::aboutToShow, &window_, [&t] { t.showTable(); });
        table->addSeparator();
        add(table, "writeTextsAction", commands_.previewTextWriting);
        FileCommands& files = commands_.files;
        add(table, "undoTextWritingAction", [&files] { files.undoLastTextWriting(); });
    }

    void buildHelpMenu(QMenu* help) {
        QMenu* about = addMenu(help, "aboutMenu");
        AppContext& context = context_;
        add(about, "informationAction", [&context] { context.about->showAbout(); });
        add(about, "promptAction", [&context] { context.prompt->showPrompt(); });
        add(help, "helpAction", [&context] { context.help->showHelp(); });
    }

    void buildPopupMenu() {
        QMenu* popup = new QMenu(&window_);
        popup->setObjectName(u"tableContextMenu"_s);
        add(popup, "popupNewScanningAction", commands_.newScanning);
        add(popup, "popupHelpAction", [&context = context_] { context.help->showHelp(); });
        popup->addSeparator();
        TableCommands& t = commands_.table;
        add(popup, "checkSelectedAction", [&t] { t.markSelectedRows(true); });
        add(popup, "uncheckSelectedAction", [&t] { t.markSelectedRows(false); });
        add(popup, "copyRowsAction", [&t] { t.copyRows(); });
        add(popup, "copyFullPathAction", [&t] { t.copyFullPath(); });
        add(popup, "openContainingFolderAction", [&t] { t.openContainingFolder(); });
        add(popup, "removeSelectedRowsAction", [&t] { t.removeSelectedRows(); });
        entries_.popup = popup;
    }

    QWidget& window_;
    const AddMenuCommand& add_;
    const MainMenuCommands& commands_;
    AppContext& context_;
    MainMenuEntries entries_;
};

} // namespace

MainMenuEntries buildMainMenus(QMenuBar& bar, QWidget& window, const AddMenuCommand& add,
                               const MainMenuCommands& commands) {
    return MenuBuilder(window, add, commands).build(bar);
}

} // namespace corvanteller
