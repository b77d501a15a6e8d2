// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/kar_builder.h"

#include "common/cp1251.h"

#include <gtest/gtest.h>

namespace corvanteller::test {

QByteArray cp1251(const QString& text) {
    const std::optional<QByteArray> bytes = encodeCp1251(text);
    EXPECT_TRUE(bytes.has_value()) << "text does not fit cp1251";
    return bytes.value_or(QByteArray());
}

KarBuilder::KarBuilder() {
    bytes_ = QByteArray("MThd\x00\x00\x00\x06\x00\x01\x00\x02\x01\xE0", 14);
}

KarBuilder& KarBuilder::meta(unsigned char type, const QByteArray& text) {
    bytes_.append('\x00').append('\xFF').append(static_cast<char>(type));
    bytes_.append(static_cast<char>(text.size() & 0x7F));
    bytes_.append(text);
    return *this;
}

KarBuilder& KarBuilder::raw(const QByteArray& bytes) {
    bytes_.append(bytes);
    return *this;
}

KarBuilder& KarBuilder::wordsTrack(const QList<QByteArray>& lines) {
    // The end of the previous track, then the new track's head.
    raw(QByteArray("\x00\xFF\x2F\x00", 4));
    raw(QByteArray("MTrk\x00\x00\x01\x00", 8));
    trackName("Words");
    for (const QByteArray& line : lines) {
        text(line);
    }
    return *this;
}

QByteArray smfFile(const QList<QByteArray>& tracks) {
    QByteArray file("MThd\x00\x00\x00\x06\x00\x01", 10);
    file.append(static_cast<char>(tracks.size() >> 8)).append(static_cast<char>(tracks.size()));
    file.append("\x01\xE0", 2);
    for (const QByteArray& events : tracks) {
        const QByteArray data = events + QByteArray("\x00\xFF\x2F\x00", 4);
        file.append("MTrk");
        for (int shift = 24; shift >= 0; shift -= 8) {
            file.append(static_cast<char>((data.size() >> shift) & 0xFF));
        }
        file.append(data);
    }
    return file;
}

QByteArray metaEvent(unsigned char type, const QByteArray& data, unsigned char delta) {
    return QByteArray(1, static_cast<char>(delta)) + '\xFF' + static_cast<char>(type) +
           static_cast<char>(data.size()) + data;
}

} // namespace corvanteller::test
