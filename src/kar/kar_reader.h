// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "kar/char_sets.h"
#include "kar/file_version.h"
#include "kar/song_texts.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <atomic>
#include <string_view>

namespace corvanteller {

// The maker lines of an outside karaoke editor that belong in the fourth text.
inline constexpr std::string_view signatureA = "Created with KarMaker 3.10: team@karmaker.org";
inline constexpr std::string_view signatureB = "maked by kar@example.net";

inline constexpr qsizetype karBlockSize = 8192;

struct KarReadResult {
    bool ok = true;
    SongTexts texts;
    // When !ok: the system's error number; EACCES for a path that names no regular file.
    int errorCode = 0;
    bool notRegularFile = false; // a folder, FIFO, device or socket, which is never read
    bool stopped = false;        // the stop flag was raised while the file was read
    // The file's first bytes were not in memory: its reading waited for the disk.
    bool fromDisk = false;
    // When ok: the opened file as it was before its first read.
    FileVersion version;
};

// A file whose size reads as 0 and that has content all the same (a system file such as those
// of /proc, some of which never end) is read this far.
inline constexpr qint64 unsizedFileReadLimit = 64LL * 1024 * 1024;

// "Cannot read "<shownPath>": <the system's reason>" for a failed read.
QString karReadFailureText(const QString& shownPath, const KarReadResult& failed);

// Reads the file at pathBytes (its name as the file system has it). Only a regular file is
// opened: anything else fails without being opened, so that a FIFO cannot block the reader.
// A raised stop flag ends the reading between two reads of the file (a result with stopped
// set), so that a huge file does not hold up a scan that the user stops.
KarReadResult readKaraokeFile(const QByteArray& pathBytes, RunSet runSet,
                              const std::atomic<bool>* stop = nullptr);

// The same, for an entry of an open folder that its listing shows to be a regular file.
KarReadResult readKaraokeFileAt(int folderFd, const char* entryName, RunSet runSet,
                                const std::atomic<bool>* stop = nullptr);

// Where the rule finds its marker FF 03: the offset of the FF in the first block of karBlockSize
// bytes that holds the two bytes, or -1.
qsizetype firstNameMarker(QByteArrayView file);
// Whether a first text names the Soft Karaoke format ("Soft Karaoke", ..., "untitled").
bool isSoftKaraokeName(QByteArrayView text);

// The rule over a whole file held in memory, step by step as it is written.
SongTexts readKaraokeBytes(QByteArrayView file, RunSet runSet);

// The rule as files are read, with bounded memory, over bytes in memory handed out at most
// pieceSize bytes at a time: it gives what readKaraokeBytes gives for every file and piece size.
SongTexts readKaraokeBytesInPieces(QByteArrayView file, RunSet runSet, qsizetype pieceSize);

} // namespace corvanteller
