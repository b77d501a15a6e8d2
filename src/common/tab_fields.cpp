// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/tab_fields.h"

namespace corvanteller {
namespace {

bool needsEscape(char16_t unit) {
    return unit == u'\\' || unit == u'\t' || unit == u'\r' || unit == u'\n';
}

bool isSurrogate(char16_t unit) {
    return unit >= 0xD800 && unit <= 0xDFFF;
}

// Appends the units of a run of plain characters (no escape, no surrogate) as UTF-8, written
// into room made once for the longest encoding.
void appendPlainRun(QByteArray& out, const char16_t* units, qsizetype count) {
    const qsizetype start = out.size();
    out.resize(start + 3 * count);
    char* to = out.data() + start;
    for (qsizetype i = 0; i < count; ++i) {
        const char16_t unit = units[i];
        if (unit < 0x80) {
            *to++ = static_cast<char>(unit);
        } else if (unit < 0x800) {
            *to++ = static_cast<char>(0xC0 | (unit >> 6));
            *to++ = static_cast<char>(0x80 | (unit & 0x3F));
        } else {
            *to++ = static_cast<char>(0xE0 | (unit >> 12));
            *to++ = static_cast<char>(0x80 | ((unit >> 6) & 0x3F));
            *to++ = static_cast<char>(0x80 | (unit & 0x3F));
        }
    }
    out.resize(to - out.constData());
}

void appendEscape(QByteArray& out, char16_t unit) {
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
    default:
        out.append("\\n", 2);
    }
}

} // namespace

// Straight into the output, a run of characters at a time: a scan writes six fields for each
// of up to 45,002 rows.
void appendEscapedField(QByteArray& out, QStringView text) {
    const char16_t* units = text.utf16();
    const qsizetype size = text.size();
    qsizetype at = 0;
    while (at < size) {
        qsizetype end = at;
        while (end < size && !needsEscape(units[end]) && !isSurrogate(units[end])) {
            ++end;
        }
        appendPlainRun(out, units + at, end - at);
        at = end;
        if (at == size) {
            break;
        }
        if (needsEscape(units[at])) {
            appendEscape(out, units[at]);
            ++at;
            continue;
        }
        // Surrogates, paired or not, as the runtime encodes them.
        while (end < size && isSurrogate(units[end])) {
            ++end;
        }
        out.append(text.sliced(at, end - at).toUtf8());
        at = end;
    }
}

QByteArray escapeField(const QString& text) {
    QByteArray escaped;
    appendEscapedField(escaped, text);
    return escaped;
}

} // namespace corvanteller
