// SPDX-License-Identifier: GPL-3.0-or-later
#include "kar/smf_file.h"

#include "kar/kar_texts.h"

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

bool parseTrack(QByteArrayView bytes, SmfChunk& chunk) {
    const qsizetype limit = chunk.dataStart + chunk.dataSize;
    qsizetype at = chunk.dataStart;
    // Note events take three or four bytes: one allocation for most tracks.
    chunk.events.reserve(static_cast<std::size_t>(chunk.dataSize / 3 + 1));
    unsigned char running = 0;
    while (at < limit) {
        SmfEvent event;
        event.start = at;
        if (!readVlq(bytes, at, limit) || at >= limit) {
            return false;
        }
        auto first = static_cast<unsigned char>(bytes[at]);
        if (first >= 0x80) {
            event.statusAt = at++;
            event.status = first;
        } else if (running != 0) {
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
            at += count;
        } else if (status == 0xF0 || status == 0xF7 || status == 0xFF) {
            if (status == 0xFF) {
                if (at >= limit) {
                    return false;
                }
                event.metaType = static_cast<unsigned char>(bytes[at++]);
                if (event.metaType >= 0x80) {
                    return false;
                }
            } else {
                running = 0; // a sysex ends running status
            }
            const std::optional<quint32> length = readVlq(bytes, at, limit);
            if (!length || limit - at < qsizetype(*length)) {
                return false;
            }
            event.dataStart = at;
            event.dataSize = qsizetype(*length);
            at += event.dataSize;
        } else {
            return false; // system common and real-time bytes have no place in a file
        }
        event.end = at;
        chunk.events.push_back(event);
    }
    return true;
}

} // namespace

std::optional<SmfFile> parseSmf(QByteArrayView bytes) {
    SmfFile file;
    qsizetype at = 0;
    while (at < bytes.size()) {
        if (bytes.size() - at < 8) {
            return std::nullopt;
        }
        SmfChunk chunk;
        chunk.start = at;
        chunk.type = bytes.sliced(at, 4).toByteArray();
        const quint32 length = bigEndian32(bytes, at + 4);
        chunk.dataStart = at + 8;
        if (quint64(bytes.size() - chunk.dataStart) < length) {
            return std::nullopt;
        }
        chunk.dataSize = qsizetype(length);
        const bool header = file.chunks.empty();
        if (header != (chunk.type == "MThd") || (header && length < 6)) {
            return std::nullopt;
        }
        if (chunk.type == "MTrk" && !parseTrack(bytes, chunk)) {
            return std::nullopt;
        }
        at = chunk.dataStart + chunk.dataSize;
        file.chunks.push_back(std::move(chunk));
    }
    if (file.chunks.empty()) {
        return std::nullopt;
    }
    return file;
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
