// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/common_texts.h"

#include <QCoreApplication>

namespace corvanteller::commonTexts {

QString cannotListFolder(const QString& folder, const QString& reason) {
    return QCoreApplication::translate("Common", "Cannot list the folder \"%1\": %2")
        .arg(folder, reason);
}

QString fileNotFound() {
    return QCoreApplication::translate("Common", "File not found");
}

QString invalidFileName() {
    return QCoreApplication::translate("Common", "Invalid filename");
}

QString fileAccessDenied() {
    return QCoreApplication::translate("Common", "File access denied");
}

QString tooManyOpenFiles() {
    return QCoreApplication::translate("Common", "Too many open files");
}

QString outOfMemory() {
    return QCoreApplication::translate("Common", "Out of memory");
}

QString diskFull() {
    return QCoreApplication::translate("Common", "Disk full");
}

QString fileTooLarge() {
    return QCoreApplication::translate("Common", "File too large");
}

QString ioError(int code) {
    return QCoreApplication::translate("Common", "I/O error %1").arg(code);
}

QString notFound() {
    return QCoreApplication::translate("Common", "Not found");
}

QString continuedFromBottom() {
    return QCoreApplication::translate("Common", "Continued from the bottom");
}

QString continuedFromTop() {
    return QCoreApplication::translate("Common", "Continued from the top");
}

} // namespace corvanteller::commonTexts
