// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <optional>

namespace corvanteller {

// Windows Cyrillic (cp1251), the 8-bit encoding of every text that meets the outside:
// karaoke file bytes, the list file and the settings file. The undefined byte 0x98 maps to
// U+0098 so that every byte survives a round trip.
QString decodeCp1251(QByteArrayView bytes);

// The cp1251 bytes of text, or nothing when a character has no cp1251 byte.
std::optional<QByteArray> encodeCp1251(QStringView text);

bool fitsCp1251(QStringView text);

} // namespace corvanteller
