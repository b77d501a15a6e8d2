// SPDX-License-Identifier: GPL-3.0-or-later
#include "office/workbook_reading.h"

#include "office/office_texts.h"

namespace corvanteller {

QString notWorkbookMessage() {
    return officeTexts::notWorkbook();
}

QString cannotReadWorkbookMessage() {
    return officeTexts::cannotReadWorkbook();
}

QString workbookTooLargeMessage() {
    return officeTexts::workbookTooLarge();
}

QString passwordProtectedMessage() {
    return officeTexts::passwordProtected();
}

QString oldFormatMessage(const QString& version) {
    return officeTexts::oldFormat(version);
}

} // namespace corvanteller
