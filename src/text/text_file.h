#pragma once

#include "text/rich_text.h"

#include <QByteArrayView>
#include <QString>

namespace corvanteller {

// The largest file the text view shows.
inline constexpr qint64 maxShownFileBytes = 64LL * 1024 * 1024;

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

// Reads and decodes a file for the text view. Throws IoError, or UserError for a file larger
// than maxShownFileBytes.
TextFileContent readTextFile(const QString& path);

// Writes the text as Rich Text Format; an existing file is replaced only once the new one is
// complete. Throws IoError.
void writeRtfFile(const QString& path, const RichText& text);

QString fileTooLargeText();

} // namespace corvanteller
