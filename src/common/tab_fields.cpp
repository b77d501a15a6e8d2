// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/tab_fields.h"

namespace corvanteller {

// Straight into the output: a scan writes six fields for each of up to 45,002 rows.
void appendEscapedField(QByteArray& out, QStringView text) {
    qsizetype at = 0;
    while (at < text.size()) {
        const char16_t unit = text[at].unicode();
        if (unit >= 0x80) {
            qsizetype end = at + 1;
            while (end < text.size() && text[end].unicode() >= 0x80) {
                ++end;
            }
            out.append(text.sliced(at, end - at).toUtf8());
            at = end;
            continue;
        }
        switch (unit) {
        case u'\\':
            out.append("\\\\", 2);
            break;
        case u'\t':
            out.append("\\t", 2);
            break;
        case u'\r':
            out.append("\\r", 2);
            break;
        case u'\n':
            out.append("\\n", 2);
            break;
        default:
            out.append(static_cast<char>(unit));
        }
        ++at;
    }
}

QByteArray escapeField(const QString& text) {
    QByteArray escaped;
    appendEscapedField(escaped, text);
    return escaped;
}

} // namespace corvanteller
