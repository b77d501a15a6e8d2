// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

namespace corvanteller {

// A field of a TAB-separated line in UTF-8, as corvanteller-cli prints the table and "Copy
// rows" copies it: backslash, TAB, CR and LF are escaped.
void appendEscapedField(QByteArray& out, QStringView text);
QByteArray escapeField(const QString& text);

} // namespace corvanteller
