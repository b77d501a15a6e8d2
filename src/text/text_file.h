#pragma once

#include "text/rich_text.h"

#include <QByteArrayView>
#include <QString>

namespace corvanteller {

// The longest text the text view shows, in characters (UTF-16 units; a paragraph's end counts
// as one).
inline constexpr qint64 maxShownTextLength = 64LL * 1024 * 1024;
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

// Reads and decodes a file for the text view. Throws IoError, or UserError for a file whose
// text is longer than maxShownTextLength or which is larger than maxReadTextFileBytes.
TextFileContent readTextFile(const QString& path);

// Writes the text as Rich Text Format; an existing file is replaced only once the new one is
// complete. Throws IoError.
void writeRtfFile(const QString& path, const RichText& text);

QString fileTooLargeText();

// The length of the text a file holds, as maxShownTextLength counts it.
qint64 shownTextLength(const TextFileContent& content);

} // namespace corvanteller
