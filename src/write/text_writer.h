// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "kar/char_sets.h"
#include "kar/song_texts.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <vector>

namespace corvanteller {

// One changed stretch of a file: at offset of the old file, oldBytes gave way to newSize bytes.
// Enough, with the new file, to rebuild the old one.
struct ChangedRegion {
    qsizetype offset = 0;
    QByteArray oldBytes;
    qsizetype newSize = 0;
};

// The four texts of a row written into a karaoke file's bytes, or why not.
struct TextWritePlan {
    bool ok = false;
    QString refusal; // the whole message when !ok
    QByteArray newBytes;
    std::vector<ChangedRegion> regions; // in file order, not overlapping
};

// Builds the file that gives texts when the reader reads it with runSet: an ordinary file in
// its first track-name event and the text events that follow it, a Soft Karaoke file in the
// first three "@T" lines of its "Words" track. Every other byte stays as it was, in its order.
// The new bytes are proved before the plan is ok: the reader gives texts, and they parse with
// the same events apart from the changed texts. shownPath is for the messages.
TextWritePlan planTextWrite(QByteArrayView oldBytes, const SongTexts& texts, RunSet runSet,
                            const QString& shownPath);

// The old file from the new one and the regions that changed.
QByteArray rebuildOldBytes(QByteArrayView newBytes, const std::vector<ChangedRegion>& regions);

// "The texts of <path> are not stored where they are read."
QString notStoredWhereReadMessage(const QString& path);
// "The maker of a Soft Karaoke file is its format name and is not changed."
QString softKaraokeMakerMessage();
// "The texts cannot be written into <path>: <reason>."
QString textsRefusedMessage(const QString& path, const QString& reason);

} // namespace corvanteller
