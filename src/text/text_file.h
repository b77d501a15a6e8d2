#pragma once

#include "text/rich_text.h"

#include <QByteArrayView>
#include <QString>

namespace corvanteller {

// What the text view opens. The editor lays a paragraph out whole, at a cost that grows faster
// than its length, and spends time on every paragraph: beyond these a file took the window
// away for more than about 3 s. Characters are UTF-16 units; a paragraph's end counts as one.
inline constexpr qint64 maxShownTextLength = 16'000'000;
inline constexpr qint64 maxShownParagraphs = 200'000;
// Paragraphs longer than longParagraphLength may hold this many characters in all (one
// paragraph of that length takes about 1 s to lay out, and 200 of 50,000 characters 3 s).
inline constexpr qint64 longParagraphLength = 10'000;
inline constexpr qint64 maxLongParagraphCharacters = 500'000;
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

// Whether the text stays within the view's limits: its length, its paragraphs and the
// characters of its long paragraphs. A line break inside a paragraph does not end it.
bool fitsTextView(const TextFileContent& content);

} // namespace corvanteller
