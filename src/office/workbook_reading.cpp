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

QString oldFormatMessage(const QString& version) {
    return QStringLiteral("This workbook is in the Excel %1 format, which cannot be read; save it "
                          "as .xlsx or .xls (97-2003) first.")
        .arg(version);
}

} // namespace corvanteller
