// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/program_dialog.h"

#include "ui/error_guard.h"
#include "ui/form_activations.h"

#include <QApplication>
#include <QTimer>

namespace corvanteller {

ProgramDialog::ProgramDialog(const WindowServices& services, QWidget* parent)
    : ProgramWindow(services, parent,
                    Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                        Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint) {
    setModal(false);
}

void ProgramDialog::changeEvent(QEvent* event) {
    if (event->type() == QEvent::WindowStateChange && isMinimized()) {
        // The window that the dialog belongs to may be on its way down too: look once the
        // window system has told everything.
        QTimer::singleShot(0, this, [this] { refuseMinimising(); });
    }
    QDialog::changeEvent(event);
}

void ProgramDialog::refuseMinimising() {
    if (!isMinimized() || !isVisible()) {
        return;
    }
    for (const QWidget* window : QApplication::topLevelWidgets()) {
        if (window != this && window->isVisible() && window->isMinimized() &&
            qobject_cast<const QDialog*>(window) == nullptr) {
            return; // minimised with the window it belongs to
        }
    }
    setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();
}

void ProgramDialog::hideEvent(QHideEvent* event) {
    services_.activations.noteHidden(this);
    QDialog::hideEvent(event);
}

} // namespace corvanteller
