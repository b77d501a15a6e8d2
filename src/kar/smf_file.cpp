// SPDX-License-Identifier: GPL-3.0-or-later
#include "kar/smf_file.h"

#include "kar/kar_texts.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace corvanteller {

namespace {

constexpr quint32 largestVlq = 0x0FFFFFFF;

// Reads a variable-length quantity of at most four bytes before limit.
std::optional<quint32> readVlq(QByteArrayView bytes, qsizetype& at, qsizetype limit) {
    quint32 value = 0;
    for (int count = 0; count < 4; ++count) {
        if (at >= limit) {
            return std::nullopt;
        }
        const auto byte = static_cast<unsigned char>(bytes[at++]);
        value = (value << 7) | (byte & 0x7FU);
        if ((byte & 0x80U) == 0) {
            return value;
        }
    }
    return std::nullopt;
}

quint32 bigEndian32(QByteArrayView bytes, qsizetype at) {
    quint32 value = 0;
    for (qsizetype i = 0; i < 4; ++i) {
        value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
    }
    return value;
}

int channelDataBytes(unsigned char status) {
    const unsigned char kind = status & 0xF0U;
    return kind == 0xC0 || kind == 0xD0 ? 1 : 2;
}

// Parses the event at `at`, which moves past it; running is the status in force before the
// event and after it.
bool parseEvent(QByteArrayView bytes, qsizetype& at, qsizetype limit, unsigned char& running,
                SmfEvent& event) {
    event.start = static_cast<quint32>(at);
    if (!readVlq(bytes, at, limit) || at >= limit) {
        return false;
    }
    const auto first = static_cast<unsigned char>(bytes[at]);
    if (first >= 0x80) {
        event.statusSkip = static_cast<unsigned char>(at - event.start);
        event.status = first;
        ++at;
    } else if (running != 0) {
        event.statusSkip = SmfEvent::runningStatus;
        event.status = running;
    } else {
        return false;
    }
    const unsigned char status = event.status;
    if (status < 0xF0) {
        running = status;
        const int count = channelDataBytes(status);
        if (limit - at < count) {
            return false;
        }
        for (int i = 0; i < count; ++i) {
            if (static_cast<unsigned char>(bytes[at + i]) >= 0x80) {
                return false;
            }
        }
        event.dataStart = static_cast<quint32>(at);
        at += count;
    } else if (status == 0xF0 || status == 0xF7 || status == 0xFF) {
        if (status == 0xFF) {
            if (at >= limit || static_cast<unsigned char>(bytes[at]) >= 0x80) {
                return false;
            }
            event.metaType = static_cast<signed char>(bytes[at++]);
        } else {
            running = 0; // a sysex ends running status
        }
        const std::optional<quint32> length = readVlq(bytes, at, limit);
        if (!length || limit - at < qsizetype(*length)) {
            return false;
        }
        event.dataStart = static_cast<quint32>(at);
        at += qsizetype(*length);
    } else {
        return false; // system common and real-time bytes have no place in a file
    }
    event.end = static_cast<quint32>(at);
    return true;
}

// A note or controller event with a one-byte delta time, the most of a track, parsed with
// fewer checks: false when the event at `at` is another one, or runs near the limit.
bool parseShortChannelEvent(const unsigned char* bytes, qsizetype& at, qsizetype limit,
                            unsigned char& running, SmfEvent& event) {
    if (limit - at < 4 || bytes[at] >= 0x80) {
        return false;
    }
    const unsigned char first = bytes[at + 1];
    const bool ownStatus = first >= 0x80;
    const unsigned char status = ownStatus ? first : running;
    if (status < 0x80 || status >= 0xF0) {
        return false;
    }
    const qsizetype data = at + 1 + (ownStatus ? 1 : 0);
    const int count = channelDataBytes(status);
    if (bytes[data] >= 0x80 || (count == 2 && (data + 1 >= limit || bytes[data + 1] >= 0x80))) {
        return false;
    }
    event.start = static_cast<quint32>(at);
    event.status = status;
    event.statusSkip = ownStatus ? 1 : SmfEvent::runningStatus;
    event.dataStart = static_cast<quint32>(data);
    at = data + count;
    event.end = static_cast<quint32>(at);
    running = status;
    return true;
}

bool parseTrack(QByteArrayView bytes, SmfChunk& chunk) {
    const qsizetype limit = chunk.dataStart + chunk.dataSize;
    qsizetype at = chunk.dataStart;
    const auto* unsignedBytes = reinterpret_cast<const unsigned char*>(bytes.data());
    // Note events take three or four bytes: one allocation for most tracks.
    chunk.events.clear();
    chunk.events.reserve(static_cast<std::size_t>(chunk.dataSize / 3 + 1));
    unsigned char running = 0;
    while (at < limit) {
        SmfEvent& event = chunk.events.emplace_back();
        if (!parseShortChannelEvent(unsignedBytes, at, limit, running, event) &&
            !parseEvent(bytes, at, limit, running, event)) {
            return false;
        }
    }
    return true;
}

} // namespace

bool parseSmfInto(QByteArrayView bytes, SmfFile& file) {
    if (quint64(bytes.size()) > std::numeric_limits<quint32>::max()) {
        return false;
    }
    std::size_t count = 0;
    qsizetype at = 0;
    while (at < bytes.size()) {
        if (bytes.size() - at < 8) {
            return false;
        }
        if (count == file.chunks.size()) {
            file.chunks.emplace_back();
        }
        SmfChunk& chunk = file.chunks[count++];
        chunk.start = at;
        chunk.type = bytes.sliced(at, 4).toByteArray();
        const quint32 length = bigEndian32(bytes, at + 4);
        chunk.dataStart = at + 8;
        if (quint64(bytes.size() - chunk.dataStart) < length) {
            return false;
        }
        chunk.dataSize = qsizetype(length);
        const bool header = count == 1;
        if (header != (chunk.type == "MThd") || (header && length < 6)) {
            return false;
        }
        chunk.events.clear();
        if (chunk.type == "MTrk" && !parseTrack(bytes, chunk)) {
            return false;
        }
        at = chunk.dataStart + chunk.dataSize;
    }
    file.chunks.resize(count);
    return count > 0;
}

std::optional<SmfFile> parseSmf(QByteArrayView bytes) {
    SmfFile file;
    if (!parseSmfInto(bytes, file)) {
        return std::nullopt;
    }
    return file;
}

namespace {

bool overlaps(qsizetype start, qsizetype end, qsizetype otherStart, qsizetype otherEnd) {
    return start < otherEnd && otherStart < end;
}

// Whether stretches of a file touch a splice, on the old side or the new. The stretches come
// in file order, so one pass over the splices does.
class SpliceTouch {
public:
    SpliceTouch(const std::vector<SmfSplice>& splices, bool newSide)
        : splices_(splices), newSide_(newSide) {}

    bool touches(qsizetype start, qsizetype end) {
        for (; next_ < splices_.size(); ++next_) {
            const SmfSplice& splice = splices_[next_];
            const qsizetype from = newSide_ ? splice.newOffset : splice.offset;
            const qsizetype size = newSide_ ? splice.newSize : splice.oldSize;
            if (size > 0 && from + size > start) {
                return overlaps(start, end, from, from + size);
            }
        }
        return false;
    }

private:
    const std::vector<SmfSplice>& splices_;
    bool newSide_;
    std::size_t next_ = 0;
};

// The parts of a file that no splice touched, one after the other: each chunk's type, then
// every event of a track that no splice touched, or any other chunk whole.
class UntouchedParts {
public:
    UntouchedParts(QByteArrayView bytes, const SmfFile& file, const std::vector<SmfSplice>& splices,
                   bool newSide)
        : bytes_(bytes), file_(file), touch_(splices, newSide) {}

    // The next part; false after the last.
    bool next(QByteArrayView& part) {
        for (; chunk_ < file_.chunks.size(); ++chunk_, typeGiven_ = false) {
            const SmfChunk& chunk = file_.chunks[chunk_];
            if (!typeGiven_) {
                typeGiven_ = true;
                event_ = 0;
                part = bytes_.sliced(chunk.start, 4);
                return true;
            }
            if (chunk.type != "MTrk") {
                if (event_++ == 0) {
                    part = bytes_.sliced(chunk.dataStart, chunk.dataSize);
                    return true;
                }
                continue;
            }
            while (event_ < chunk.events.size()) {
                const SmfEvent& event = chunk.events[event_++];
                if (!touch_.touches(event.start, event.end)) {
                    part = bytes_.sliced(event.start, event.end - event.start);
                    return true;
                }
            }
        }
        return false;
    }

private:
    QByteArrayView bytes_;
    const SmfFile& file_;
    SpliceTouch touch_;
    std::size_t chunk_ = 0;
    std::size_t event_ = 0;
    bool typeGiven_ = false;
};

// Whether both sides give parts of the same sizes and bytes. Parts that follow each other on
// both sides are compared as one stretch: most events are three or four bytes long.
bool sameParts(UntouchedParts oldSide, UntouchedParts newSide) {
    QByteArrayView oldPart;
    QByteArrayView newPart;
    const char* oldRun = nullptr;
    const char* newRun = nullptr;
    qsizetype runSize = 0;
    const auto sameRun = [&] {
        return runSize == 0 || std::memcmp(oldRun, newRun, static_cast<std::size_t>(runSize)) == 0;
    };
    for (;;) {
        const bool more = oldSide.next(oldPart);
        if (more != newSide.next(newPart)) {
            return false;
        }
        if (!more) {
            return sameRun();
        }
        if (oldPart.size() != newPart.size()) {
            return false;
        }
        if (oldRun + runSize == oldPart.data() && newRun + runSize == newPart.data()) {
            runSize += oldPart.size();
            continue;
        }
        if (!sameRun()) {
            return false;
        }
        oldRun = oldPart.data();
        newRun = newPart.data();
        runSize = oldPart.size();
    }
}

// Whether the splices follow each other on both sides and leave the same bytes between them.
bool splicesInOrder(const std::vector<SmfSplice>& splices, qsizetype oldSize, qsizetype newSize) {
    qsizetype oldEnd = 0;
    qsizetype newEnd = 0;
    for (const SmfSplice& splice : splices) {
        if (splice.offset < oldEnd || splice.oldSize < 0 || splice.newSize < 0 ||
            splice.newOffset - newEnd != splice.offset - oldEnd) {
            return false;
        }
        oldEnd = splice.offset + splice.oldSize;
        newEnd = splice.newOffset + splice.newSize;
    }
    return oldEnd <= oldSize && newSize - newEnd == oldSize - oldEnd;
}

// Where a place of the new file lies outside the splices: the same place of the old file and how
// far both run on before the next splice.
class SpliceMap {
public:
    explicit SpliceMap(const std::vector<SmfSplice>& splices) : splices_(splices) {}

    // The old offset of newAt, or -1 where newAt lies within a splice's new bytes. newAt only
    // grows from call to call.
    qsizetype oldOffsetOf(qsizetype newAt, qsizetype& untouchedSize) {
        while (next_ < splices_.size() &&
               splices_[next_].newOffset + splices_[next_].newSize <= newAt) {
            oldEnd_ = splices_[next_].offset + splices_[next_].oldSize;
            newEnd_ = splices_[next_].newOffset + splices_[next_].newSize;
            ++next_;
        }
        const qsizetype nextSplice = next_ < splices_.size()
                                         ? splices_[next_].newOffset
                                         : std::numeric_limits<qsizetype>::max();
        if (newAt < newEnd_ || newAt > nextSplice) {
            return -1;
        }
        untouchedSize = nextSplice - newAt;
        return oldEnd_ + (newAt - newEnd_);
    }

private:
    const std::vector<SmfSplice>& splices_;
    std::size_t next_ = 0;
    qsizetype oldEnd_ = 0;
    qsizetype newEnd_ = 0;
};

// The running status that the parser had after events[last], given the one before events[first].
unsigned char runningAfter(const std::vector<SmfEvent>& events, std::size_t first, std::size_t last,
                           unsigned char before) {
    for (std::size_t k = last + 1; k-- > first;) {
        if (events[k].status < 0xF0) {
            return events[k].status;
        }
        if (events[k].status != 0xFF) {
            return 0;
        }
    }
    return before;
}

struct QuickSides {
    QByteArrayView oldBytes;
    QByteArrayView newBytes;
    SpliceMap map;
    SpliceTouch oldTouch;
    SpliceTouch newTouch;
};

// The track of old whose data stands at [newStart, newLimit) of the new file: every event that no
// splice touched is found where it was, after the same running status and with the same bytes,
// and every event parsed between them touches a splice.
bool quickTrack(QuickSides& sides, const SmfChunk& chunk, qsizetype newStart, qsizetype newLimit) {
    const std::vector<SmfEvent>& events = chunk.events;
    const qsizetype oldLimit = chunk.dataStart + chunk.dataSize;
    std::size_t next = 0; // the next event of old not yet accounted for
    unsigned char running = 0;
    qsizetype at = newStart;
    while (at < newLimit) {
        qsizetype untouched = 0;
        const qsizetype oldAt = sides.map.oldOffsetOf(at, untouched);
        if (oldAt >= 0) {
            for (; next < events.size() && events[next].start < oldAt; ++next) {
                if (!sides.oldTouch.touches(events[next].start, events[next].end)) {
                    return false;
                }
            }
            const unsigned char before = next == 0 ? 0 : runningAfter(events, 0, next - 1, 0);
            std::size_t last = next;
            const qsizetype stop = std::min(oldLimit, oldAt + std::min(untouched, newLimit - at));
            while (last < events.size() && events[last].end <= stop) {
                ++last;
            }
            if (next < events.size() && events[next].start == oldAt && running == before &&
                last > next) {
                const auto size = static_cast<std::size_t>(events[last - 1].end - oldAt);
                if (std::memcmp(sides.newBytes.data() + at, sides.oldBytes.data() + oldAt, size) !=
                    0) {
                    return false;
                }
                running = runningAfter(events, next, last - 1, running);
                at += qsizetype(size);
                next = last;
                continue;
            }
        }
        SmfEvent event;
        const qsizetype from = at;
        if (!parseEvent(sides.newBytes, at, newLimit, running, event) ||
            !sides.newTouch.touches(from, at)) {
            return false;
        }
    }
    for (; next < events.size(); ++next) {
        if (!sides.oldTouch.touches(events[next].start, events[next].end)) {
            return false;
        }
    }
    return true;
}

bool quickProof(QByteArrayView oldBytes, const SmfFile& old, QByteArrayView newBytes,
                const std::vector<SmfSplice>& splices) {
    if (!splicesInOrder(splices, oldBytes.size(), newBytes.size()) ||
        quint64(newBytes.size()) > std::numeric_limits<quint32>::max()) {
        return false;
    }
    QuickSides sides{oldBytes, newBytes, SpliceMap(splices), SpliceTouch(splices, false),
                     SpliceTouch(splices, true)};
    qsizetype at = 0;
    for (const SmfChunk& chunk : old.chunks) {
        if (newBytes.size() - at < 8 || newBytes.sliced(at, 4) != oldBytes.sliced(chunk.start, 4)) {
            return false;
        }
        const qsizetype dataStart = at + 8;
        const quint32 length = bigEndian32(newBytes, at + 4);
        if (quint64(newBytes.size() - dataStart) < length) {
            return false;
        }
        const qsizetype dataEnd = dataStart + qsizetype(length);
        if (chunk.type == "MTrk" ? !quickTrack(sides, chunk, dataStart, dataEnd)
                                 : newBytes.sliced(dataStart, length) !=
                                       oldBytes.sliced(chunk.dataStart, chunk.dataSize)) {
            return false;
        }
        at = dataEnd;
    }
    return at == newBytes.size();
}

} // namespace

bool parsesAsSpliced(QByteArrayView oldBytes, const SmfFile& old, QByteArrayView newBytes,
                     const std::vector<SmfSplice>& splices, SpliceProof proof) {
    if (proof == SpliceProof::Quick && quickProof(oldBytes, old, newBytes, splices)) {
        return true;
    }
    const std::optional<SmfFile> reparsed = parseSmf(newBytes);
    return reparsed && sameParts(UntouchedParts(oldBytes, old, splices, false),
                                 UntouchedParts(newBytes, *reparsed, splices, true));
}

QByteArray encodeVlq(quint32 value) {
    value = std::min(value, largestVlq);
    QByteArray bytes(1, static_cast<char>(value & 0x7FU));
    while ((value >>= 7) != 0) {
        bytes.prepend(static_cast<char>((value & 0x7FU) | 0x80U));
    }
    return bytes;
}

QString notChangeableMidiMessage(const QString& path) {
    return karTexts::notChangeableMidi(path);
}

} // namespace corvanteller
