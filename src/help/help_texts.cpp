// SPDX-License-Identifier: GPL-3.0-or-later
#include "help/help_texts.h"

#include <QCoreApplication>

namespace corvanteller::helpTexts {

QString aboutTitle() {
    return QCoreApplication::translate("Help", "About");
}

QString helpTitle() {
    return QCoreApplication::translate("Help", "Help");
}

QString chooseTopic() {
    return QCoreApplication::translate("Help", "Choose theme:");
}

QString specifyChoice() {
    return QCoreApplication::translate("Help", "Specify the choice:");
}

QString answer() {
    return QCoreApplication::translate("Help", "Answer:");
}

QString ok() {
    return QCoreApplication::translate("Help", "OK");
}

QString splashTitle() {
    return QCoreApplication::translate("Help", "Prompt");
}

QString splashHint() {
    return QCoreApplication::translate("Help", "Click to close that window");
}

} // namespace corvanteller::helpTexts
