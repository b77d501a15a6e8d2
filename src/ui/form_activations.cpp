// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/form_activations.h"

#include "ui/error_guard.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>

namespace corvanteller {

bool FormActivations::isActivation(const QWidget* form, const QEvent* event) {
    return event->type() == QEvent::WindowActivate && form->isVisible() && noteActivation(form);
}

bool FormActivations::isDeactivation(const QWidget* form, const QEvent* event) const {
    if (event->type() != QEvent::WindowDeactivate) {
        return false;
    }
    // Qt has already made the new window the active one when the old one hears of it.
    const QWidget* now = QApplication::activeWindow();
    return now != nullptr && now != form && forms_.contains(now);
}

ShownOffScreen::ShownOffScreen(QWidget& window) : window_(window), offScreen_(window.isHidden()) {
    if (offScreen_) {
        window_.setAttribute(Qt::WA_DontShowOnScreen, true);
    }
}

ShownOffScreen::~ShownOffScreen() {
    if (offScreen_) {
        window_.hide();
        window_.setAttribute(Qt::WA_DontShowOnScreen, false);
    }
}

void showAsActive(QWidget& form, FormActivations& activations, UiServices& ui,
                  const std::function<void()>& activate) {
    form.show();
    form.raise();
    form.activateWindow();
    if (activations.noteActivation(&form)) {
        guarded(&form, ui, activate);
    }
}

} // namespace corvanteller
