// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/file_names.h"

#include "common/cp1251.h"

#include <optional>

namespace corvanteller {
namespace {

// Length of the UTF-8 sequence starting at bytes[i], or 0 when it is malformed.
qsizetype utf8SequenceLength(QByteArrayView bytes, qsizetype i) {
    const auto byteAt = [&](qsizetype k) { return static_cast<unsigned char>(bytes[k]); };
    const unsigned char lead = byteAt(i);
    if (lead < 0x80) {
        return 1;
    }
    qsizetype length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    if (i + length > bytes.size()) {
        return 0;
    }
    const unsigned char second = byteAt(i + 1);
    if (second < low || second > high) {
        return 0;
    }
    for (qsizetype k = 2; k < length; ++k) {
        if ((byteAt(i + k) & 0xC0) != 0x80) {
            return 0;
        }
    }
    return length;
}

bool isAscii(QByteArrayView bytes) {
    unsigned char any = 0;
    for (const char byte : bytes) {
        any |= static_cast<unsigned char>(byte);
    }
    return any < 0x80;
}

} // namespace

bool isValidUtf8(QByteArrayView bytes) {
    qsizetype i = 0;
    while (i < bytes.size()) {
        const qsizetype length = utf8SequenceLength(bytes, i);
        if (length == 0) {
            return false;
        }
        i += length;
    }
    return true;
}

QString decodeFileName(QByteArrayView bytes) {
    // Most names are ASCII, the same in every encoding: a scan decodes one for every row.
    if (isAscii(bytes)) {
        return QString::fromLatin1(bytes);
    }
    if (isValidUtf8(bytes)) {
        return QString::fromUtf8(bytes);
    }
    return decodeCp1251(bytes);
}

QString decodeFilePath(QByteArrayView path) {
    QString shown;
    qsizetype start = 0;
    while (true) {
        const qsizetype slash = path.indexOf('/', start);
        shown += decodeFileName(path.sliced(start, (slash < 0 ? path.size() : slash) - start));
        if (slash < 0) {
            return shown;
        }
        shown += u'/';
        start = slash + 1;
    }
}

QList<QByteArray> fileNameCandidates(QStringView name) {
    QList<QByteArray> candidates{name.toUtf8()};
    const std::optional<QByteArray> cp1251 = encodeCp1251(name);
    if (cp1251 && *cp1251 != candidates.front() && !isValidUtf8(*cp1251)) {
        candidates.append(*cp1251);
    }
    return candidates;
}

} // namespace corvanteller
