// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/program_window.h"

#include <QDialog>

namespace corvanteller {

// A dialog of the program: created once, shown without blocking the other windows, centred
// on the window that opens it, with only a close button in its title bar. It cannot be
// minimised on its own: a window manager that offers minimising anyway (Openbox draws the
// button whatever the window asks) sees it come straight back. Its activation runs every time
// another of the program's windows was active before it.
class ProgramDialog : public ProgramWindow<QDialog> {
    Q_OBJECT

public:
    explicit ProgramDialog(const WindowServices& services, QWidget* parent = nullptr);

protected:
    void changeEvent(QEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    // Undoes a minimising unless a window of the program that is not a dialog went with it.
    void refuseMinimising();
};

} // namespace corvanteller
