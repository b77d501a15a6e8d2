// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include "kar/song_texts.h"

#include <ostream>
#include <string_view>

namespace corvanteller {
// Shows texts in test failure messages.
inline void PrintTo(const SongTexts& t, std::ostream* os) {
    *os << '[' << t.first.toStdString() << " | " << t.second.toStdString() << " | "
        << t.third.toStdString() << " | " << t.fourth.toStdString() << ']';
}
} // namespace corvanteller

namespace corvanteller::test {

// Bytes of the given text in cp1251 (the text must fit).
QByteArray cp1251(const QString& text);

// Builds a karaoke file the way karaoke editors write them: the 14-byte MIDI header, then
// tracks of meta events with delta time 0 and one-byte lengths.
class KarBuilder {
public:
    KarBuilder();

    // A meta event 00 FF type length text.
    KarBuilder& meta(unsigned char type, const QByteArray& text);
    KarBuilder& trackName(const QByteArray& text) { return meta(0x03, text); }
    KarBuilder& text(const QByteArray& text) { return meta(0x01, text); }
    // Raw bytes, as they stand.
    KarBuilder& raw(const QByteArray& bytes);
    // A "Words" track with the given "@T" and "@I" lines as text events.
    KarBuilder& wordsTrack(const QList<QByteArray>& lines);

    const QByteArray& bytes() const { return bytes_; }

private:
    QByteArray bytes_;
};

// A whole Standard MIDI File (format 1, 480 ticks a quarter) of tracks given as their events;
// every track gets its end-of-track event and its true length.
QByteArray smfFile(const QList<QByteArray>& tracks);
// A meta event with a one-byte delta time and a one-byte length.
QByteArray metaEvent(unsigned char type, const QByteArray& data, unsigned char delta = 0);

} // namespace corvanteller::test
