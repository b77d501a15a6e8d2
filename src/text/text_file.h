// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "text/rich_text.h"

#include <QByteArrayView>
#include <QString>

namespace corvanteller {

// What the text view opens. The editor lays a paragraph out whole, again at every keystroke in
// it, at a cost that grows faster than its length, and spends time on every paragraph: beyond
// these a file took the window away for seconds (measured on a real X server: 200,000 lines
// open in 0.7 s, 400,000 in 2.3 s; a paragraph of 500,000 characters opens in 0.6 s and takes
// 0.2 s a keystroke, one of 1,000,000 1.7 s a keystroke; 30 paragraphs of 100,000 characters
// open in 1 s, 100 of them in 3.5 s). Characters are UTF-16 units; a paragraph's end counts as
// one.
inline constexpr qint64 maxShownTextLength = 16'000'000;
inline constexpr qint64 maxShownParagraphs = 200'000;
inline constexpr qint64 maxParagraphLength = 500'000;
// Paragraphs longer than longParagraphLength may hold this many characters in all.
inline constexpr qint64 longParagraphLength = 50'000;
inline constexpr qint64 maxLongParagraphCharacters = 3'000'000;
// The largest Rich Text Format file read for it: the format spends several bytes on a character
// (an escaped Cyrillic letter four, a character outside cp1251 up to eight), so a file the view
// saved for a text within the limit is read whole. A plain file may take three bytes for each.
inline constexpr qint64 maxReadTextFileBytes = 8 * maxShownTextLength;

// A text file as the text view shows it: formatted text from Rich Text Format, or plain text
// whose lines are separated by "\n".
struct TextFileContent {
    bool rich = false;
    RichText richText;
    QString plainText;
};

// A file beginning "{\rtf" (after an optional UTF-8 byte-order mark) is Rich Text Format; any
// other is plain text: UTF-16 after its byte-order mark, UTF-8 when it is valid UTF-8 (a mark
// dropped), cp1251 otherwise. CR LF, LF and CR end a line.
TextFileContent decodeTextFile(QByteArrayView bytes);

// Reads and decodes a file for the text view. Throws IoError, or UserError(fileTooLargeText())
// for a file larger than maxReadTextFileBytes or whose text the view would not open
// (fitsTextView).
TextFileContent readTextFile(const QString& path);

// Writes the text as Rich Text Format; an existing file is replaced only once the new one is
// complete. Throws IoError.
void writeRtfFile(const QString& path, const RichText& text);

QString fileTooLargeText();

// The length of the text a file holds, as maxShownTextLength counts it.
qint64 shownTextLength(const TextFileContent& content);

// Whether the text stays within the view's limits: its length, its paragraphs, its longest and
// the characters of its long paragraphs. A line break inside a paragraph does not end it.
bool fitsTextView(const TextFileContent& content);

} // namespace corvanteller
