#pragma once

#include "kar/char_sets.h"
#include "kar/song_texts.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <string_view>

namespace corvanteller {

// The maker lines of an outside karaoke editor that belong in the fourth text.
inline constexpr std::string_view signatureA = "Created with KarMaker 3.10: team@karmaker.org";
inline constexpr std::string_view signatureB = "maked by kar@example.net";

inline constexpr qsizetype karBlockSize = 8192;

struct KarReadResult {
    bool ok = true;
    SongTexts texts;
    QString error; // names the file and the system's reason when !ok
};

// Reads the file at pathBytes (its name as the file system has it). shownPath names the file
// in the error text.
KarReadResult readKaraokeFile(const QByteArray& pathBytes, const QString& shownPath, RunSet runSet);

// The same, for an entry of an open folder.
KarReadResult readKaraokeFileAt(int folderFd, const char* entryName, const QString& shownPath,
                                RunSet runSet);

// The same rule over bytes held in memory.
SongTexts readKaraokeBytes(QByteArrayView file, RunSet runSet);

} // namespace corvanteller
