// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/ui_texts.h"

#include <QCoreApplication>

namespace corvanteller::uiTexts {

QString messageTitle() {
    return QCoreApplication::translate("Ui", "Corvanteller");
}

QString unknownError() {
    return QCoreApplication::translate("Ui", "Unknown error");
}

QString findNext() {
    return QCoreApplication::translate("Ui", "Next");
}

QString findPrevious() {
    return QCoreApplication::translate("Ui", "Previous");
}

QString closeFindBar() {
    return QCoreApplication::translate("Ui", "Close");
}

QString chooseFolderTitle() {
    return QCoreApplication::translate("Ui", "Choose a folder");
}

QString folderUp() {
    return QCoreApplication::translate("Ui", "Up");
}

QString notJpeg() {
    return QCoreApplication::translate("Ui", "Not a JPEG picture");
}

QString noMoreMessages() {
    return QCoreApplication::translate("Ui", "No more messages");
}

QString noDefaultPrinter() {
    return QCoreApplication::translate("Ui", "There is no default printer currently selected");
}

QString printJobNotStarted() {
    return QCoreApplication::translate("Ui", "The print job could not be started.");
}

} // namespace corvanteller::uiTexts
