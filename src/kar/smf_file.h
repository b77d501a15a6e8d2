// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <optional>
#include <vector>

namespace corvanteller {

// One event of a track as the file holds it. Offsets count from the file's first byte.
struct SmfEvent {
    qsizetype start = 0;      // the delta time's first byte
    qsizetype end = 0;        // one past the event's last byte
    qsizetype statusAt = -1;  // the status byte; -1 under running status
    unsigned char status = 0; // the status in force: 0x80..0xEF, 0xF0, 0xF7 or 0xFF
    int metaType = -1;        // for a meta event
    qsizetype dataStart = 0;  // meta and sysex: the data after the length
    qsizetype dataSize = 0;

    bool isMeta() const { return status == 0xFF; }
    // Text, copyright, track name, instrument, lyric, marker, cue point and the other text types.
    bool isTextMeta() const { return isMeta() && metaType >= 0x01 && metaType <= 0x0F; }
};

struct SmfChunk {
    QByteArray type;         // four bytes
    qsizetype start = 0;     // the chunk's type
    qsizetype dataStart = 0; // after the length
    qsizetype dataSize = 0;
    std::vector<SmfEvent> events; // for an "MTrk" chunk
};

struct SmfFile {
    std::vector<SmfChunk> chunks; // the "MThd" chunk first
};

// Parses a Standard MIDI File whole: the "MThd" chunk, then chunks to the last byte, every
// "MTrk" chunk event by event (running status, sysex, meta events, variable-length quantities).
// Nothing when a length runs past its chunk or the file, an event is cut, a data byte comes
// with no status in force, a status byte is not one a file may hold, or bytes are left over.
std::optional<SmfFile> parseSmf(QByteArrayView bytes);

// The variable-length quantity of value (at most 0x0FFFFFFF).
QByteArray encodeVlq(quint32 value);

// "The file <path> is not a MIDI file that can be changed safely."
QString notChangeableMidiMessage(const QString& path);

} // namespace corvanteller
