#pragma once

#include <QByteArray>
#include <QString>

namespace corvanteller {

// Writes a field of a TAB-separated line: backslash, TAB, CR and LF are escaped.
QByteArray escapeField(const QString& text);

} // namespace corvanteller
