// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <optional>
#include <vector>

namespace corvanteller {

// One event of a track as the file holds it, in sixteen bytes: a track of notes has an event
// every three or four bytes. Offsets count from the file's first byte.
struct SmfEvent {
    quint32 start = 0;         // the delta time's first byte
    quint32 end = 0;           // one past the event's last byte
    quint32 dataStart = 0;     // meta and sysex: the data after the length
    unsigned char status = 0;  // the status in force: 0x80..0xEF, 0xF0, 0xF7 or 0xFF
    signed char metaType = -1; // for a meta event
    unsigned char statusSkip =
        0; // from start to the status byte; runningStatus under running status

    static constexpr unsigned char runningStatus = 0xFF;

    // The status byte; -1 under running status.
    qsizetype statusAt() const {
        return statusSkip == runningStatus ? -1 : qsizetype(start) + statusSkip;
    }
    qsizetype dataSize() const { return qsizetype(end) - qsizetype(dataStart); }
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
// with no status in force, a status byte is not one a file may hold, or bytes are left over;
// nothing for a file of 4 GiB or more, whose offsets the events do not hold.
std::optional<SmfFile> parseSmf(QByteArrayView bytes);

// The same into file, whose memory is used again: a track's events are otherwise fresh memory
// that the system maps anew for every file. False where parseSmf gives nothing; file's chunks
// are then of no use.
bool parseSmfInto(QByteArrayView bytes, SmfFile& file);

// A change of a file's bytes: oldSize bytes at offset gave way to newSize bytes, which stand at
// newOffset in the new file.
struct SmfSplice {
    qsizetype offset = 0;
    qsizetype oldSize = 0;
    qsizetype newOffset = 0;
    qsizetype newSize = 0;
};

enum class SpliceProof {
    Quick, // parse again only where the splices are, where that proves as much
    Whole, // parse the new bytes whole
};

// Whether newBytes, the bytes of old with splices (in file order, not overlapping) made, parse
// whole, and give the parts of old that no splice touched, byte for byte and in their order:
// each chunk's type, the data of every chunk other than a track, every event of a track that
// no splice touched. The quick proof parses the events at the splices; where the bytes after
// them stand on an event border of old under the same running status, they parse as they did
// and are compared as bytes. Where it cannot tell, the new bytes are parsed whole.
bool parsesAsSpliced(QByteArrayView oldBytes, const SmfFile& old, QByteArrayView newBytes,
                     const std::vector<SmfSplice>& splices, SpliceProof proof = SpliceProof::Quick);

// The variable-length quantity of value (at most 0x0FFFFFFF).
QByteArray encodeVlq(quint32 value);

// "The file <path> is not a MIDI file that can be changed safely."
QString notChangeableMidiMessage(const QString& path);

} // namespace corvanteller
