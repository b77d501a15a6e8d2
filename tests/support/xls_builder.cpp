// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/xls_builder.h"

#include <QCryptographicHash>
#include <QHash>

#include <algorithm>
#include <array>
#include <cstring>

namespace corvanteller::test {
namespace {

constexpr int sectorSize = 4096;
constexpr quint32 freeSector = 0xFFFFFFFF;
constexpr quint32 endOfChain = 0xFFFFFFFE;
constexpr quint32 fatSector = 0xFFFFFFFD;
constexpr quint32 noStream = 0xFFFFFFFF;
constexpr int maxRecordData = 8224;

void put16(QByteArray& bytes, quint16 value) {
    bytes.append(static_cast<char>(value & 0xFF));
    bytes.append(static_cast<char>(value >> 8));
}

void put32(QByteArray& bytes, quint32 value) {
    put16(bytes, static_cast<quint16>(value & 0xFFFF));
    put16(bytes, static_cast<quint16>(value >> 16));
}

void set32(QByteArray& bytes, qsizetype at, quint32 value) {
    for (int i = 0; i < 4; ++i) {
        bytes[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
    }
}

void record(QByteArray& stream, quint16 type, const QByteArray& data) {
    put16(stream, type);
    put16(stream, static_cast<quint16>(data.size()));
    stream += data;
}

QByteArray bof(quint16 kind) {
    QByteArray data;
    put16(data, 0x0600); // BIFF8
    put16(data, kind);
    put16(data, 0x0DBB);
    put16(data, 0x07CC);
    put32(data, 0);
    put32(data, 0x06);
    return data;
}

// A string of the shared string table: character count, then UTF-16LE characters.
QByteArray sharedString(const QString& text) {
    QByteArray data;
    put16(data, static_cast<quint16>(text.size()));
    data.append('\x01');
    for (QChar unit : text) {
        put16(data, unit.unicode());
    }
    return data;
}

// The SST record and its CONTINUE records, split between strings.
void sharedStringTable(QByteArray& stream, const QStringList& strings, int uses) {
    QByteArray data;
    put32(data, static_cast<quint32>(uses));
    put32(data, static_cast<quint32>(strings.size()));
    quint16 type = 0x00FC;
    for (const QString& text : strings) {
        const QByteArray item = sharedString(text);
        if (data.size() + item.size() > maxRecordData) {
            record(stream, type, data);
            data.clear();
            type = 0x003C;
        }
        data += item;
    }
    record(stream, type, data);
}

// RC4, written out here so that the test does not lean on the reader's library.
QByteArray rc4(const QByteArray& key, qsizetype length) {
    std::array<quint8, 256> state{};
    for (int i = 0; i < 256; ++i) {
        state[i] = static_cast<quint8>(i);
    }
    for (int i = 0, j = 0; i < 256; ++i) {
        j = (j + state[i] + static_cast<quint8>(key[i % key.size()])) & 0xFF;
        std::swap(state[i], state[j]);
    }
    QByteArray stream(length, '\0');
    for (qsizetype n = 0, i = 0, j = 0; n < length; ++n) {
        i = (i + 1) & 0xFF;
        j = (j + state[i]) & 0xFF;
        std::swap(state[i], state[j]);
        stream[n] = static_cast<char>(state[(state[i] + state[j]) & 0xFF]);
    }
    return stream;
}

QByteArray xorBytes(QByteArray bytes, const QByteArray& keyStream) {
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        bytes[i] = static_cast<char>(bytes[i] ^ keyStream[i]);
    }
    return bytes;
}

// The key of a 1024-byte block of the stream.
struct BlockKeys {
    XlsBuilder::Encryption encryption;
    QByteArray base; // the 40-bit intermediate key, or the password's SHA-1 with the salt
    QByteArray key(quint32 block) const {
        QByteArray input = base;
        put32(input, block);
        if (encryption == XlsBuilder::Encryption::Rc4) {
            return QCryptographicHash::hash(input, QCryptographicHash::Md5);
        }
        return QCryptographicHash::hash(input, QCryptographicHash::Sha1).left(16);
    }
};

QByteArray utf16(const QString& text) {
    QByteArray bytes;
    for (const QChar unit : text) {
        put16(bytes, unit.unicode());
    }
    return bytes;
}

// The FILEPASS record's data and the keys it stands for.
QByteArray filePass(XlsBuilder::Encryption encryption, const QString& password, BlockKeys& keys) {
    const QByteArray salt = QByteArray::fromHex("0123456789abcdeffedcba9876543210");
    const QByteArray verifier = "sixteen-byte-vfy";
    keys.encryption = encryption;
    QByteArray data;
    put16(data, 1); // RC4
    if (encryption == XlsBuilder::Encryption::Rc4) {
        const QByteArray h0 = QCryptographicHash::hash(utf16(password), QCryptographicHash::Md5);
        keys.base = QCryptographicHash::hash(QByteArray(h0.left(5) + salt).repeated(16),
                                             QCryptographicHash::Md5)
                        .left(5);
        const QByteArray plain =
            verifier + QCryptographicHash::hash(verifier, QCryptographicHash::Md5);
        put16(data, 1);
        put16(data, 1);
        return data + salt + xorBytes(plain, rc4(keys.key(0), plain.size()));
    }
    keys.base =
        QCryptographicHash::hash(QByteArray(salt + utf16(password)), QCryptographicHash::Sha1);
    QByteArray header;
    put32(header, 0x04); // flags: CryptoAPI
    put32(header, 0);
    put32(header, 0x6801); // RC4
    put32(header, 0x8004); // SHA-1
    put32(header, 128);
    put32(header, 1); // provider type
    put32(header, 0);
    put32(header, 0);
    header += utf16(QStringLiteral("Microsoft Enhanced Cryptographic Provider v1.0")) +
              QByteArray(2, '\0');
    const QByteArray plain =
        verifier + QCryptographicHash::hash(verifier, QCryptographicHash::Sha1);
    const QByteArray sealed = xorBytes(plain, rc4(keys.key(0), plain.size()));
    put16(data, 4);
    put16(data, 2);
    put32(data, 0x04);
    put32(data, static_cast<quint32>(header.size()));
    data += header;
    put32(data, 16);
    data += salt + sealed.left(16);
    put32(data, 20);
    return data + sealed.mid(16);
}

// Encrypts every record after FILEPASS but its header, the BOF records and the sheet offsets
// of BOUNDSHEET; the key stream counts the stream's bytes from its start.
QByteArray encryptedStream(QByteArray stream, const BlockKeys& keys) {
    QHash<qsizetype, QByteArray> blocks;
    qsizetype at = 0;
    bool afterFilePass = false;
    while (at + 4 <= stream.size()) {
        const quint16 type = static_cast<quint8>(stream[at]) | static_cast<quint8>(stream[at + 1])
                                                                   << 8;
        const qsizetype length =
            static_cast<quint8>(stream[at + 2]) | static_cast<quint8>(stream[at + 3]) << 8;
        if (afterFilePass && type != 0x0809) {
            for (qsizetype i = at + 4 + (type == 0x0085 ? 4 : 0); i < at + 4 + length; ++i) {
                QByteArray& block = blocks[i / 1024];
                if (block.isEmpty()) {
                    block = rc4(keys.key(static_cast<quint32>(i / 1024)), 1024);
                }
                stream[i] = static_cast<char>(stream[i] ^ block[i % 1024]);
            }
        }
        afterFilePass = afterFilePass || type == 0x002F;
        at += 4 + length;
    }
    return stream;
}

} // namespace

XlsBuilder& XlsBuilder::encrypted(Encryption encryption, const QString& password) {
    encryption_ = encryption;
    encryptionPassword_ = password;
    return *this;
}

XlsBuilder& XlsBuilder::withChartSheetFirst() {
    chartFirst_ = true;
    return *this;
}

XlsBuilder& XlsBuilder::text(int row, int column, const QString& text) {
    cells_.push_back({row, column, text});
    return *this;
}

XlsBuilder& XlsBuilder::number(int row, int column, double number) {
    cells_.push_back({row, column, number});
    return *this;
}

XlsBuilder& XlsBuilder::dimensions(int rows, int columns) {
    rows_ = rows;
    columns_ = columns;
    return *this;
}

XlsBuilder& XlsBuilder::withPassword() {
    password_ = true;
    return *this;
}

XlsBuilder& XlsBuilder::withEmptySharedString() {
    emptyString_ = true;
    return *this;
}

QByteArray XlsBuilder::workbookStream() const {
    QStringList strings;
    QHash<QString, int> stringIndex;
    int uses = 0;
    int lastRow = 0;
    int lastColumn = 0;
    for (const Cell& cell : cells_) {
        lastRow = std::max(lastRow, cell.row);
        lastColumn = std::max(lastColumn, cell.column);
        if (const QString* text = std::get_if<QString>(&cell.value)) {
            ++uses;
            if (!stringIndex.contains(*text)) {
                stringIndex.insert(*text, static_cast<int>(strings.size()));
                strings.append(*text);
            }
        }
    }
    if (emptyString_) {
        strings.append(QString());
    }

    QByteArray globals;
    record(globals, 0x0809, bof(0x0005));
    if (password_) {
        QByteArray filePass;
        put16(filePass, 0x0000); // XOR obfuscation
        put16(filePass, 0x1234);
        put16(filePass, 0x5678);
        record(globals, 0x002F, filePass);
    }
    BlockKeys keys;
    if (encryption_) {
        record(globals, 0x002F, filePass(*encryption_, encryptionPassword_, keys));
    }
    QByteArray codePage;
    put16(codePage, 1200);
    record(globals, 0x0042, codePage);
    QByteArray dateMode;
    put16(dateMode, 0);
    record(globals, 0x0022, dateMode);
    sharedStringTable(globals, strings, uses);

    QByteArray sheet;
    record(sheet, 0x0809, bof(0x0010));
    QByteArray dimension;
    put32(dimension, 0);
    put32(dimension, static_cast<quint32>(rows_ >= 0 ? rows_ : lastRow));
    put16(dimension, 0);
    put16(dimension, static_cast<quint16>(columns_ >= 0 ? columns_ : lastColumn));
    put16(dimension, 0);
    record(sheet, 0x0200, dimension);
    for (const Cell& cell : cells_) {
        QByteArray data;
        put16(data, static_cast<quint16>(cell.row - 1));
        put16(data, static_cast<quint16>(cell.column - 1));
        put16(data, 0); // the default cell format
        if (const QString* text = std::get_if<QString>(&cell.value)) {
            put32(data, static_cast<quint32>(stringIndex.value(*text)));
            record(sheet, 0x00FD, data);
        } else {
            const double number = std::get<double>(cell.value);
            quint64 bits = 0;
            std::memcpy(&bits, &number, sizeof bits);
            put32(data, static_cast<quint32>(bits & 0xFFFFFFFF));
            put32(data, static_cast<quint32>(bits >> 32));
            record(sheet, 0x0203, data);
        }
    }
    record(sheet, 0x000A, QByteArray());

    // The sheet's name record points at the sheet's BOF; the globals end there.
    const QByteArray name = "Sheet1";
    const qsizetype sheetRecordSize = 4 + 8 + name.size();
    QByteArray chart;
    if (chartFirst_) {
        record(chart, 0x0809, bof(0x0020));
        record(chart, 0x000A, QByteArray());
    }
    const qsizetype globalsEnd =
        globals.size() + sheetRecordSize * (chartFirst_ ? 2 : 1) + 4 + chart.size();
    // A stream of a sector or less would belong in the compound file's mini stream, which
    // FreeXL reads badly: padding records of the globals keep it longer.
    QByteArray padding;
    qsizetype missing = sectorSize + 1 - (globalsEnd + sheet.size());
    while (missing > 0) {
        const qsizetype size = std::clamp<qsizetype>(missing - 4, 0, 2000);
        record(padding, 0x005C, QByteArray(size, ' ')); // WRITEACCESS, ignored by readers
        missing -= size + 4;
    }
    auto boundSheet = [&](qsizetype start, char type) {
        QByteArray data;
        put32(data, static_cast<quint32>(start + padding.size()));
        data.append('\0'); // visible
        data.append(type);
        data.append(static_cast<char>(name.size()));
        data.append('\0'); // 8-bit characters
        record(globals, 0x0085, data + name);
    };
    globals += padding;
    if (chartFirst_) {
        boundSheet(globalsEnd - chart.size(), 2);
    }
    boundSheet(globalsEnd, 0);
    record(globals, 0x000A, QByteArray());
    const QByteArray stream = globals + chart + sheet;
    return encryption_ ? encryptedStream(stream, keys) : stream;
}

QByteArray XlsBuilder::bytes() const {
    return compoundFile(QStringLiteral("Workbook"), workbookStream());
}

QByteArray XlsBuilder::compoundFile(const QString& streamName, const QByteArray& stream) {
    const quint32 streamSectors =
        static_cast<quint32>((stream.size() + sectorSize - 1) / sectorSize);
    quint32 fatSectors = 1;
    while (fatSectors * (sectorSize / 4) < fatSectors + 1 + streamSectors) {
        ++fatSectors;
    }
    const quint32 directorySector = fatSectors;
    const quint32 firstStreamSector = fatSectors + 1;

    QByteArray header(sectorSize, '\0');
    const char signature[] = "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1";
    std::memcpy(header.data(), signature, 8);
    header[24] = 0x3E;
    header[26] = 0x04; // version 4: 4096-byte sectors
    header[28] = '\xFE';
    header[29] = '\xFF';
    header[30] = 0x0C;
    header[32] = 0x06;
    set32(header, 40, 1);
    set32(header, 44, fatSectors);
    set32(header, 48, directorySector);
    set32(header, 56, sectorSize);
    set32(header, 60, endOfChain);
    set32(header, 68, endOfChain);
    for (int i = 0; i < 109; ++i) {
        set32(header, 76 + 4 * i,
              i < static_cast<int>(fatSectors) ? static_cast<quint32>(i) : freeSector);
    }

    QByteArray fat;
    for (quint32 i = 0; i < fatSectors; ++i) {
        put32(fat, fatSector);
    }
    put32(fat, endOfChain);
    for (quint32 i = 0; i < streamSectors; ++i) {
        put32(fat, i + 1 < streamSectors ? firstStreamSector + i + 1 : endOfChain);
    }
    while (fat.size() < static_cast<qsizetype>(fatSectors) * sectorSize) {
        put32(fat, freeSector);
    }

    QByteArray directory(sectorSize, '\0');
    auto entry = [&directory](int index, const QString& entryName, char type, quint32 child,
                              quint32 start, quint32 size) {
        const qsizetype at = index * 128;
        for (qsizetype i = 0; i < entryName.size(); ++i) {
            directory[at + 2 * i] = static_cast<char>(entryName[i].unicode() & 0xFF);
            directory[at + 2 * i + 1] = static_cast<char>(entryName[i].unicode() >> 8);
        }
        const quint16 nameBytes = static_cast<quint16>((entryName.size() + 1) * 2);
        directory[at + 64] = static_cast<char>(nameBytes & 0xFF);
        directory[at + 65] = static_cast<char>(nameBytes >> 8);
        directory[at + 66] = type;
        directory[at + 67] = 1; // black
        set32(directory, at + 68, noStream);
        set32(directory, at + 72, noStream);
        set32(directory, at + 76, child);
        set32(directory, at + 116, start);
        set32(directory, at + 120, size);
    };
    entry(0, QStringLiteral("Root Entry"), 5, 1, endOfChain, 0);
    entry(1, streamName, 2, noStream, firstStreamSector, static_cast<quint32>(stream.size()));
    for (int index = 2; index < sectorSize / 128; ++index) {
        set32(directory, index * 128 + 68, noStream);
        set32(directory, index * 128 + 72, noStream);
        set32(directory, index * 128 + 76, noStream);
    }

    QByteArray body = stream;
    body.append(
        QByteArray(static_cast<qsizetype>(streamSectors) * sectorSize - stream.size(), '\0'));
    return header + fat + directory + body;
}

} // namespace corvanteller::test
