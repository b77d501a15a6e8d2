#include "app/program_dialog.h"

#include "app/app_context.h"
#include "app/error_guard.h"

namespace corvanteller {

ProgramDialog::ProgramDialog(AppContext& context, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                          Qt::MSWindowsFixedSizeDialogHint),
      context_(context) {
    setModal(false);
}

void ProgramDialog::showFor(QWidget* opener) {
    if (opener != nullptr) {
        move(opener->geometry().center() - rect().center());
    }
    show();
    raise();
    activateWindow();
    if (context_.noteFormActivation(this)) {
        guarded(this, context_.ui, [this] { FormActivate(); });
    }
}

bool ProgramDialog::event(QEvent* event) {
    if (context_.isFormActivation(this, event)) {
        guarded(this, context_.ui, [this] { FormActivate(); });
    }
    return QDialog::event(event);
}

void ProgramDialog::hideEvent(QHideEvent* event) {
    context_.noteFormHidden(this);
    QDialog::hideEvent(event);
}

} // namespace corvanteller
