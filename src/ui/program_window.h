// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/error_guard.h"
#include "ui/form_activations.h"
#include "ui/window_services.h"

#include <QAction>
#include <QEvent>
#include <QMenu>
#include <QWidget>

namespace corvanteller {

// What every window of the program shares, over the Qt window class it is (QMainWindow,
// QDialog): it is one of the windows whose activations the program follows, its activation and
// deactivation run with errors reported, it shows itself centred on the window that opens it,
// and its menu commands run with errors reported.
template <typename QtWindow> class ProgramWindow : public QtWindow {
public:
    explicit ProgramWindow(const WindowServices& services, QWidget* parent = nullptr,
                           Qt::WindowFlags flags = {})
        : QtWindow(parent, flags), services_(services) {
        services_.activations.addForm(this);
    }
    ~ProgramWindow() override { services_.activations.removeForm(this); }
    ProgramWindow(const ProgramWindow&) = delete;
    ProgramWindow& operator=(const ProgramWindow&) = delete;

    // Shows the window in front, centred on the window that opened it, and runs its activation.
    void showFor(QWidget* opener) {
        if (opener != nullptr && (!this->isVisible() || !keepsPlaceWhenShown())) {
            this->move(opener->geometry().center() - this->rect().center());
        }
        showAsActive(*this, services_.activations, services_.ui, [this] { onActivated(); });
    }

    virtual void onActivated() = 0;
    virtual void onDeactivated() {}

protected:
    // Whether activations and deactivations run now: a window may wait for work of its own.
    virtual bool takesActivations() const { return true; }
    // Whether showFor leaves a window that is already shown where it is.
    virtual bool keepsPlaceWhenShown() const { return false; }

    bool event(QEvent* event) override {
        if (services_.activations.isActivation(this, event)) {
            if (takesActivations()) {
                guarded(this, services_.ui, [this] { onActivated(); });
            }
        } else if (services_.activations.isDeactivation(this, event)) {
            if (takesActivations()) {
                guarded(this, services_.ui, [this] { onDeactivated(); });
            }
        }
        return QtWindow::event(event);
    }

    // Runs before each menu command: the main window writes an open cell edit into the table.
    virtual void beforeCommand() {}

    // A menu entry, named for tests and tools, whose command runs with errors reported.
    template <typename Command>
    QAction* addCommand(QMenu* menu, const char* name, const QString& caption, Command command) {
        QAction* action = menu->addAction(caption);
        action->setObjectName(QString::fromLatin1(name));
        QObject::connect(action, &QAction::triggered, this,
                         guard(this, services_.ui, [this, command] {
                             beforeCommand();
                             command();
                         }));
        return action;
    }
    template <typename Window>
    QAction* addCommand(QMenu* menu, const char* name, const QString& caption,
                        void (Window::*handler)()) {
        auto* window = static_cast<Window*>(this);
        return addCommand(menu, name, caption, [window, handler] { (window->*handler)(); });
    }

    WindowServices services_;
};

} // namespace corvanteller
