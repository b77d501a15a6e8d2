#include "app/app_context.h"

#include <QEvent>
#include <QWidget>

namespace corvanteller {

bool AppContext::isFormActivation(QWidget* form, const QEvent* event) {
    return event->type() == QEvent::WindowActivate && form->isVisible() && noteFormActivation(form);
}

} // namespace corvanteller
