// SPDX-License-Identifier: GPL-3.0-or-later
#include "office/docx_writer.h"

#include "office/zip_archive.h"

#include <utility>

namespace corvanteller {

using namespace Qt::StringLiterals;

namespace {

constexpr QByteArrayView contentTypes =
    R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
    "\r\n"
    R"(<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">)"
    R"(<Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/>)"
    R"(<Default Extension="xml" ContentType="application/xml"/>)"
    R"(<Override PartName="/word/document.xml" ContentType="application/vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml"/>)"
    R"(</Types>)";

constexpr QByteArrayView packageRelationships =
    R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
    "\r\n"
    R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)"
    R"(<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument" Target="word/document.xml"/>)"
    R"(</Relationships>)";

constexpr QByteArrayView documentStart =
    R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
    "\r\n"
    R"(<w:document xmlns:w="http://schemas.openxmlformats.org/wordprocessingml/2006/main"><w:body>)";

constexpr QByteArrayView documentEnd = "<w:sectPr/></w:body></w:document>";

bool xmlCharacter(char16_t unit) {
    return unit == 0x9 || (unit >= 0x20 && unit <= 0xD7FF) || (unit >= 0xE000 && unit <= 0xFFFD);
}

// Writes the body in one pass, straight into UTF-8: a paragraph per line, a run per paragraph,
// its texts between tabs, a tab element for each TAB.
class BodyWriter {
public:
    explicit BodyWriter(qsizetype textSize) {
        xml_.reserve(textSize * 4 + 1024);
        xml_ += documentStart;
    }

    void character(char16_t unit) {
        openText();
        switch (unit) {
        case u'&':
            xml_ += "&amp;";
            break;
        case u'<':
            xml_ += "&lt;";
            break;
        case u'>':
            xml_ += "&gt;";
            break;
        default:
            append(unit);
        }
    }
    void surrogatePair(char16_t high, char16_t low) {
        openText();
        const char32_t code =
            0x10000 + ((char32_t(high) - 0xD800) << 10) + (char32_t(low) - 0xDC00);
        xml_ += static_cast<char>(0xF0 | (code >> 18));
        xml_ += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        xml_ += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        xml_ += static_cast<char>(0x80 | (code & 0x3F));
    }
    void tab() {
        openRun();
        closeText();
        xml_ += "<w:tab/>";
    }
    void endParagraph() {
        if (!inRun_) {
            xml_ += "<w:p/>";
            return;
        }
        closeText();
        xml_ += "</w:r></w:p>";
        inRun_ = false;
    }

    QByteArray finish() {
        xml_ += documentEnd;
        return std::move(xml_);
    }

private:
    void append(char16_t unit) {
        if (unit < 0x80) {
            xml_ += static_cast<char>(unit);
        } else if (unit < 0x800) {
            xml_ += static_cast<char>(0xC0 | (unit >> 6));
            xml_ += static_cast<char>(0x80 | (unit & 0x3F));
        } else {
            xml_ += static_cast<char>(0xE0 | (unit >> 12));
            xml_ += static_cast<char>(0x80 | ((unit >> 6) & 0x3F));
            xml_ += static_cast<char>(0x80 | (unit & 0x3F));
        }
    }
    void openRun() {
        if (!inRun_) {
            xml_ += "<w:p><w:r>";
            inRun_ = true;
        }
    }
    void openText() {
        openRun();
        if (!inText_) {
            xml_ += R"(<w:t xml:space="preserve">)";
            inText_ = true;
        }
    }
    void closeText() {
        if (inText_) {
            xml_ += "</w:t>";
            inText_ = false;
        }
    }

    QByteArray xml_;
    bool inRun_ = false;
    bool inText_ = false;
};

QByteArray documentXml(const QString& text) {
    BodyWriter body(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar unit = text[i];
        if (unit == u'\r' || unit == u'\n') {
            body.endParagraph();
            if (unit == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') {
                ++i;
            }
        } else if (unit == u'\t') {
            body.tab();
        } else if (unit.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            body.surrogatePair(unit.unicode(), text[i + 1].unicode());
            ++i;
        } else if (!unit.isSurrogate() && xmlCharacter(unit.unicode())) {
            body.character(unit.unicode());
        }
    }
    body.endParagraph();
    return body.finish();
}

} // namespace

QByteArray docxBytes(const QString& text) {
    const QByteArray document = documentXml(text);
    return zipArchive({{"[Content_Types].xml", contentTypes.toByteArray()},
                       {"_rels/.rels", packageRelationships.toByteArray()},
                       {"word/document.xml", document}});
}

} // namespace corvanteller
