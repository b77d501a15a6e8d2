// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The texts shared by every folder (the system's reasons, the find step's messages), marked for
// translation in the context "Common".
namespace corvanteller::commonTexts {

// Why a folder's listing failed.
QString cannotListFolder(const QString& folder, const QString& reason);

// Why a file operation failed, as the program words the system's reason.
QString fileNotFound();
QString invalidFileName();
QString fileAccessDenied();
QString tooManyOpenFiles();
QString outOfMemory();
QString diskFull();
QString fileTooLarge();
QString ioError(int code);

// After a find step.
QString notFound();
QString continuedFromBottom();
QString continuedFromTop();

} // namespace corvanteller::commonTexts
