// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/rtf_writer.h"

#include "common/cp1251.h"

#include <QHash>

#include <array>
#include <cstdint>

namespace corvanteller {

namespace {

constexpr char hexDigits[] = "0123456789abcdef";

// The cp1251 byte of every UTF-16 unit that has one, 0 for none (only U+0000 has byte 0).
const std::array<std::uint8_t, 65536>& cp1251Bytes() {
    static const std::array<std::uint8_t, 65536> table = [] {
        std::array<std::uint8_t, 65536> bytes{};
        for (int byte = 1; byte < 256; ++byte) {
            const char raw = static_cast<char>(byte);
            const QString decoded = decodeCp1251(QByteArrayView(&raw, 1));
            bytes[decoded.front().unicode()] = static_cast<std::uint8_t>(byte);
        }
        return bytes;
    }();
    return table;
}

class RtfWriter {
public:
    explicit RtfWriter(const RichText& text) : text_(text) {}

    QByteArray write();

private:
    void collectTables();
    void writeFontTable();
    void writeColourTable();
    void writeParagraphFormat(const RichParagraph& paragraph);
    void writeRunFormat(const RichRun& run);
    void writeText(QStringView text, bool inFontName = false);
    void writeByte(std::uint8_t byte);
    void writeNumber(const char* word, long long value);

    const RichText& text_;
    QByteArray out_;
    QHash<QString, int> fonts_;
    QStringList fontOrder_;
    QList<TextColour> colours_;
    const RichParagraph* lastParagraphFormat_ = nullptr;
    const RichRun* lastRunFormat_ = nullptr;
};

QByteArray RtfWriter::write() {
    collectTables();
    out_.reserve(static_cast<qsizetype>(text_.paragraphs.size()) * 48 + 256);
    out_ += "{\\rtf1\\ansi\\ansicpg1251\\deff0\\uc1\r\n";
    writeFontTable();
    writeColourTable();
    bool first = true;
    for (const RichParagraph& paragraph : text_.paragraphs) {
        if (!first) {
            out_ += "\\par\r\n";
        }
        first = false;
        if (lastParagraphFormat_ == nullptr || !paragraph.sameFormat(*lastParagraphFormat_)) {
            writeParagraphFormat(paragraph);
            lastParagraphFormat_ = &paragraph;
        }
        for (const RichRun& run : paragraph.runs) {
            if (lastRunFormat_ == nullptr || !run.sameFormat(*lastRunFormat_)) {
                writeRunFormat(run);
                lastRunFormat_ = &run;
            }
            writeText(run.text);
        }
    }
    out_ += "}\r\n";
    return std::move(out_);
}

void RtfWriter::collectTables() {
    for (const RichParagraph& paragraph : text_.paragraphs) {
        for (const RichRun& run : paragraph.runs) {
            if (!fonts_.contains(run.fontFamily)) {
                fonts_.insert(run.fontFamily, static_cast<int>(fontOrder_.size()));
                fontOrder_.append(run.fontFamily);
            }
            if (run.colour && !colours_.contains(*run.colour)) {
                colours_.append(*run.colour);
            }
        }
    }
}

void RtfWriter::writeFontTable() {
    out_ += "{\\fonttbl";
    for (qsizetype i = 0; i < fontOrder_.size(); ++i) {
        out_ += "{";
        writeNumber("f", i);
        out_ += "\\fnil\\fcharset204 ";
        writeText(fontOrder_[i], true);
        out_ += ";}";
    }
    out_ += "}\r\n";
}

void RtfWriter::writeColourTable() {
    if (colours_.isEmpty()) {
        return;
    }
    // Entry 0 is empty: the editor's own colour.
    out_ += "{\\colortbl ;";
    for (const TextColour& colour : colours_) {
        writeNumber("red", colour.red);
        writeNumber("green", colour.green);
        writeNumber("blue", colour.blue);
        out_ += ';';
    }
    out_ += "}\r\n";
}

void RtfWriter::writeParagraphFormat(const RichParagraph& paragraph) {
    out_ += "\\pard";
    if (paragraph.firstLineIndent != 0) {
        writeNumber("fi", paragraph.firstLineIndent);
    }
    if (paragraph.leftIndent != 0) {
        writeNumber("li", paragraph.leftIndent);
    }
    if (paragraph.rightIndent != 0) {
        writeNumber("ri", paragraph.rightIndent);
    }
    switch (paragraph.alignment) {
    case ParagraphAlignment::Left:
        break;
    case ParagraphAlignment::Centre:
        out_ += "\\qc";
        break;
    case ParagraphAlignment::Right:
        out_ += "\\qr";
        break;
    case ParagraphAlignment::Justify:
        out_ += "\\qj";
        break;
    }
    out_ += ' ';
}

void RtfWriter::writeRunFormat(const RichRun& run) {
    out_ += "\\plain";
    writeNumber("f", fonts_.value(run.fontFamily));
    writeNumber("fs", run.halfPoints);
    if (run.bold) {
        out_ += "\\b";
    }
    if (run.italic) {
        out_ += "\\i";
    }
    if (run.underline) {
        out_ += "\\ul";
    }
    if (run.strikeOut) {
        out_ += "\\strike";
    }
    if (run.colour) {
        writeNumber("cf", colours_.indexOf(*run.colour) + 1);
    }
    out_ += ' ';
}

void RtfWriter::writeText(QStringView text, bool inFontName) {
    const std::array<std::uint8_t, 65536>& bytes = cp1251Bytes();
    for (const QChar ch : text) {
        const char16_t unit = ch.unicode();
        switch (unit) {
        case u'\\':
            out_ += "\\\\";
            continue;
        case u'{':
            out_ += "\\{";
            continue;
        case u'}':
            out_ += "\\}";
            continue;
        default:
            break;
        }
        // A font table knows no \tab or \line: they are characters there.
        if (unit == u'\t' && !inFontName) {
            out_ += "\\tab ";
            continue;
        }
        if (unit == QChar::LineSeparator && !inFontName) {
            out_ += "\\line ";
            continue;
        }
        if (unit == u';' && inFontName) {
            // A plain ";" ends a font name.
            writeByte(static_cast<std::uint8_t>(unit));
        } else if (unit >= 0x20 && unit < 0x80) {
            out_ += static_cast<char>(unit);
        } else if (unit == 0 || bytes[unit] != 0) {
            writeByte(bytes[unit]);
        } else {
            writeNumber("u", static_cast<std::int16_t>(unit));
            out_ += '?';
        }
    }
}

void RtfWriter::writeByte(std::uint8_t byte) {
    out_ += "\\'";
    out_ += hexDigits[byte >> 4];
    out_ += hexDigits[byte & 0x0F];
}

void RtfWriter::writeNumber(const char* word, long long value) {
    out_ += '\\';
    out_ += word;
    out_ += QByteArray::number(value);
}

} // namespace

QByteArray writeRtf(const RichText& text) {
    return RtfWriter(text).write();
}

} // namespace corvanteller
