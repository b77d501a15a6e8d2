// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/menu_keys.h"

#include <QAction>
#include <QKeySequence>
#include <QMenuBar>
#include <QProxyStyle>
#include <QShortcut>

namespace corvanteller {

namespace {

// Some styles leave Alt alone to the desktop; the menu bar then never marks its first title.
class AltNavigationStyle final : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override {
        if (hint == SH_MenuBar_AltKeyNavigation) {
            return 1;
        }
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

} // namespace

void reachMenusByKeyboard(QMenuBar& menuBar) {
    auto* style = new AltNavigationStyle;
    style->setParent(&menuBar); // the menu bar forgets a style that is gone
    menuBar.setStyle(style);
    auto* f10 = new QShortcut(QKeySequence(Qt::Key_F10), menuBar.window());
    QObject::connect(f10, &QShortcut::activated, &menuBar, [&menuBar] {
        for (QAction* title : menuBar.actions()) {
            if (title->isVisible() && title->isEnabled() && !title->isSeparator()) {
                menuBar.setActiveAction(title);
                return;
            }
        }
    });
}

} // namespace corvanteller
