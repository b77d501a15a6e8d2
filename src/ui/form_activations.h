// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QSet>

#include <functional>

class QEvent;
class QWidget;

namespace corvanteller {

class UiServices;

// Tells a window's real activation and deactivation from the focus coming and going: a window
// of the program becoming active counts as its activation only when another of the program's
// windows was active before it, and its deactivation counts only when another of the program's
// windows takes over. A message box, a file dialog or another application coming and going
// neither rebuilds the table nor copies it into the row stores.
class FormActivations {
public:
    // A window of the program (not a message box or a file dialog) that takes part.
    void addForm(const QWidget* form) { forms_.insert(form); }
    void removeForm(const QWidget* form) {
        forms_.remove(form);
        noteHidden(form);
    }
    // The window has just become the active one; true when that is an activation.
    bool noteActivation(const QWidget* form) {
        const bool activation = lastActiveForm_ != form;
        lastActiveForm_ = form;
        return activation;
    }
    // The same for an event the window receives. An activation that arrives after the window
    // was hidden again is stale and counts for nothing.
    bool isActivation(const QWidget* form, const QEvent* event);
    // The window has lost activation to another window of the program.
    bool isDeactivation(const QWidget* form, const QEvent* event) const;
    // A window that hides is no longer the active one: showing it again is an activation, and
    // so is the return to the window under it.
    void noteHidden(const QWidget* form) {
        if (lastActiveForm_ == form) {
            lastActiveForm_ = nullptr;
        }
    }

private:
    const QWidget* lastActiveForm_ = nullptr;
    QSet<const QWidget*> forms_;
};

// While it lives, a window that was hidden is shown to the program only, never on the screen: for
// a window shown just so that its activation builds something, and hidden again at once. On X11 a
// window mapped and withdrawn at once can leave the window manager and Qt disagreeing about the
// window that has the keyboard, so that no key reaches the window below it until a click.
class ShownOffScreen {
public:
    explicit ShownOffScreen(QWidget& window);
    ~ShownOffScreen();
    ShownOffScreen(const ShownOffScreen&) = delete;
    ShownOffScreen& operator=(const ShownOffScreen&) = delete;

private:
    QWidget& window_;
    bool offScreen_;
};

// Shows the form in front and makes it the active one; when that is an activation, runs it at
// once (an error reported by the error guard), so that what the activation builds is there when
// this returns.
void showAsActive(QWidget& form, FormActivations& activations, UiServices& ui,
                  const std::function<void()>& activate);

} // namespace corvanteller
