// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/cp1251.h"

#include <array>

namespace corvanteller {
namespace {

// Code points of the bytes 0x80 to 0xBF; 0xC0 to 0xFF are U+0410 to U+044F in order.
constexpr std::array<char16_t, 64> upperHalf = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, 0x20AC, 0x2030, 0x0409,
    0x2039, 0x040A, 0x040C, 0x040B, 0x040F, 0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x0098, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, 0x00A0,
    0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7, 0x0401, 0x00A9, 0x0404, 0x00AB,
    0x00AC, 0x00AD, 0x00AE, 0x0407, 0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6,
    0x00B7, 0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457};

char16_t codePointOf(unsigned char byte) {
    if (byte < 0x80) {
        return byte;
    }
    if (byte < 0xC0) {
        return upperHalf[byte - 0x80];
    }
    return static_cast<char16_t>(0x0410 + (byte - 0xC0));
}

std::optional<char> byteOf(char16_t unit) {
    if (unit < 0x80) {
        return static_cast<char>(unit);
    }
    if (unit >= 0x0410 && unit <= 0x044F) {
        return static_cast<char>(0xC0 + (unit - 0x0410));
    }
    for (std::size_t i = 0; i < upperHalf.size(); ++i) {
        if (upperHalf[i] == unit) {
            return static_cast<char>(0x80 + i);
        }
    }
    return std::nullopt;
}

} // namespace

QString decodeCp1251(QByteArrayView bytes) {
    QString text(bytes.size(), Qt::Uninitialized);
    QChar* out = text.data();
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        out[i] = QChar(codePointOf(static_cast<unsigned char>(bytes[i])));
    }
    return text;
}

std::optional<QByteArray> encodeCp1251(QStringView text) {
    QByteArray bytes(text.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const std::optional<char> byte = byteOf(text[i].unicode());
        if (!byte) {
            return std::nullopt;
        }
        bytes[i] = *byte;
    }
    return bytes;
}

bool fitsCp1251(QStringView text) {
    for (QChar ch : text) {
        if (!byteOf(ch.unicode())) {
            return false;
        }
    }
    return true;
}

} // namespace corvanteller
