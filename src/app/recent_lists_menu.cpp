// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/recent_lists_menu.h"

#include "app/app_context.h"
#include "table/table_texts.h"
#include "ui/error_guard.h"

#include <QFileInfo>
#include <QMenu>

namespace corvanteller {

QMenu* addRecentListsMenu(QMenu* file, QWidget* window, AppContext& context,
                          std::function<void(const QString&)> open) {
    QMenu* menu = file->addMenu(tableTexts::recentLists());
    menu->setObjectName(QStringLiteral("recentListsMenu"));
    QObject::connect(menu, &QMenu::aboutToShow, menu, [menu, window, &context, open] {
        menu->clear();
        int number = 0;
        for (const QString& path : context.desktop.recentLists) {
            QAction* entry = menu->addAction(QStringLiteral("&%1 %2").arg(++number).arg(
                QString(path).replace(QStringLiteral("&"), QStringLiteral("&&"))));
            QObject::connect(entry, &QAction::triggered, window,
                             guard(window, context.ui, [window, &context, open, path] {
                                 if (QFileInfo(path).isFile()) {
                                     open(path);
                                     return;
                                 }
                                 context.desktop.recentLists.removeAll(path);
                                 context.desktop.save(context.desktopSettingsPath);
                                 context.ui.showMessage(window, tableTexts::recentListGone(path));
                             }));
        }
        menu->setEnabled(true);
        if (number == 0) {
            menu->addAction(tableTexts::noRecentLists())->setEnabled(false);
        }
    });
    // An empty menu would not open: it gets its placeholder entry at once.
    menu->addAction(tableTexts::noRecentLists())->setEnabled(false);
    return menu;
}

void noteRecentList(AppContext& context, const QString& path) {
    context.desktop.noteRecentList(QFileInfo(path).absoluteFilePath());
    context.desktop.save(context.desktopSettingsPath);
}

} // namespace corvanteller
