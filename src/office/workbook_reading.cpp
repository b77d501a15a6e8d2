#include "office/workbook_reading.h"

namespace corvanteller {

QString notWorkbookMessage() {
    return QStringLiteral("This file is not an Excel workbook.");
}

QString cannotReadWorkbookMessage() {
    return QStringLiteral("The file cannot be read as an Excel workbook.");
}

QString workbookTooLargeMessage() {
    return QStringLiteral("The file is too large to be read.");
}

QString passwordProtectedMessage() {
    return QStringLiteral("The workbook is protected by a password and cannot be read.");
}

} // namespace corvanteller
