// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/text_file.h"

#include "common/cp1251.h"
#include "common/file_io.h"
#include "text/rtf_reader.h"
#include "text/rtf_writer.h"
#include "text/text_texts.h"

#include <QStringDecoder>

#include <algorithm>

namespace corvanteller {

using namespace Qt::StringLiterals;

namespace {

// CR LF and a lone CR become LF.
QString unifyLineEnds(QString text) {
    if (!text.contains(u'\r')) {
        return text;
    }
    text.replace(u"\r\n"_s, u"\n"_s);
    text.replace(u'\r', u'\n');
    return text;
}

QString decodePlainText(QByteArrayView bytes) {
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
        const auto encoding =
            bytes.startsWith("\xFF\xFE") ? QStringConverter::Utf16LE : QStringConverter::Utf16BE;
        QStringDecoder decoder(encoding);
        return decoder.decode(bytes.sliced(2));
    }
    QStringDecoder utf8(QStringConverter::Utf8);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError()) {
        if (text.startsWith(QChar::ByteOrderMark)) {
            text.remove(0, 1);
        }
        return text;
    }
    return decodeCp1251(bytes);
}

} // namespace

TextFileContent decodeTextFile(QByteArrayView bytes) {
    TextFileContent content;
    if (looksLikeRtf(bytes)) {
        content.rich = true;
        content.richText = readRtf(bytes.sliced(bytes.indexOf('{')));
    } else {
        content.plainText = unifyLineEnds(decodePlainText(bytes));
    }
    return content;
}

TextFileContent readTextFile(const QString& path) {
    TextFileContent content;
    {
        // A plain text takes at least a byte for every character that is no UTF-16 pair, and
        // at least two for a pair; Rich Text Format may take more.
        constexpr qint64 maxPlainFileBytes = 3 * maxShownTextLength;
        FileReader file(path);
        QByteArray bytes = file.read(maxPlainFileBytes + 1);
        if (looksLikeRtf(bytes)) {
            file.readInto(bytes, maxReadTextFileBytes + 1 - bytes.size());
        }
        if (bytes.size() > (looksLikeRtf(bytes) ? maxReadTextFileBytes : maxPlainFileBytes)) {
            throw UserError(fileTooLargeText());
        }
        content = decodeTextFile(bytes);
    }
    if (!fitsTextView(content)) {
        throw UserError(fileTooLargeText());
    }
    return content;
}

bool fitsTextView(const TextFileContent& content) {
    if (shownTextLength(content) > maxShownTextLength) {
        return false;
    }
    qint64 paragraphs = 0;
    qint64 longest = 0;
    qint64 longCharacters = 0;
    const auto paragraph = [&](qint64 length) {
        ++paragraphs;
        longest = std::max(longest, length);
        if (length > longParagraphLength) {
            longCharacters += length;
        }
    };
    if (content.rich) {
        for (const RichParagraph& rich : content.richText.paragraphs) {
            qint64 length = 0;
            for (const RichRun& run : rich.runs) {
                length += run.text.size();
            }
            paragraph(length);
        }
    } else {
        for (qsizetype from = 0;;) {
            const qsizetype end = content.plainText.indexOf(u'\n', from);
            paragraph((end < 0 ? content.plainText.size() : end) - from);
            if (end < 0) {
                break;
            }
            from = end + 1;
        }
    }
    return paragraphs <= maxShownParagraphs && longest <= maxParagraphLength &&
           longCharacters <= maxLongParagraphCharacters;
}

qint64 shownTextLength(const TextFileContent& content) {
    if (!content.rich) {
        return content.plainText.size();
    }
    qint64 length = 0;
    for (const RichParagraph& paragraph : content.richText.paragraphs) {
        length += 1;
        for (const RichRun& run : paragraph.runs) {
            length += run.text.size();
        }
    }
    return std::max<qint64>(length - 1, 0);
}

void writeRtfFile(const QString& path, const RichText& text) {
    writeFileAtomically(path, writeRtf(text));
}

QString fileTooLargeText() {
    return textTexts::fileTooLarge();
}

} // namespace corvanteller
