// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/error_guard.h"

#include "common/error.h"
#include "ui/ui_texts.h"

#include <exception>

namespace corvanteller {

using namespace Qt::StringLiterals;

void reportCurrentException(QWidget* parent, UiServices& ui) {
    QString text;
    try {
        throw;
    } catch (const UserError& error) {
        text = error.text();
    } catch (const std::exception& error) {
        text = QString::fromLocal8Bit(error.what());
    } catch (...) {
        text = uiTexts::unknownError();
    }
    ui.reportError(parent, text);
}

} // namespace corvanteller
