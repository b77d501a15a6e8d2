#pragma once

#include <QByteArrayView>
#include <QString>

namespace corvanteller {

// The runtime's text for a failed file operation with the system's error number: "File not
// found", "File access denied", "Disk full", ... otherwise "I/O error %d".
QString ioErrorText(int code);
// Throws UserError with ioErrorText(code), or of EIO when code is 0.
[[noreturn]] void throwIoError(int code);

// Writes bytes to path. An existing file is replaced only once the new one is complete, so a
// failed save never destroys the old file. Throws UserError with the runtime's text.
void writeFileAtomically(const QString& path, QByteArrayView bytes);

} // namespace corvanteller
