#include "office/docx_writer.h"

#include "office/zip_archive.h"

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

bool xmlCharacter(char32_t code) {
    return code == 0x9 || code == 0xA || code == 0xD || (code >= 0x20 && code <= 0xD7FF) ||
           (code >= 0xE000 && code <= 0xFFFD) || (code >= 0x10000 && code <= 0x10FFFF);
}

// The paragraph's runs: texts between tabs, a tab element for each TAB.
void appendParagraph(QByteArray& xml, const QString& paragraph) {
    if (paragraph.isEmpty()) {
        xml += "<w:p/>";
        return;
    }
    xml += "<w:p><w:r>";
    QString run;
    auto flushRun = [&xml, &run] {
        if (run.isEmpty()) {
            return;
        }
        xml += R"(<w:t xml:space="preserve">)";
        xml += run.toHtmlEscaped().toUtf8();
        xml += "</w:t>";
        run.clear();
    };
    for (qsizetype i = 0; i < paragraph.size(); ++i) {
        const QChar unit = paragraph[i];
        if (unit == u'\t') {
            flushRun();
            xml += "<w:tab/>";
            continue;
        }
        if (unit.isHighSurrogate() && i + 1 < paragraph.size() &&
            paragraph[i + 1].isLowSurrogate()) {
            run += unit;
            run += paragraph[++i];
            continue;
        }
        if (unit.isSurrogate() || !xmlCharacter(unit.unicode())) {
            continue;
        }
        run += unit;
    }
    flushRun();
    xml += "</w:r></w:p>";
}

} // namespace

QStringList documentParagraphs(const QString& text) {
    QStringList paragraphs;
    QString current;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar unit = text[i];
        if (unit == u'\r' || unit == u'\n') {
            paragraphs.append(current);
            current.clear();
            if (unit == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') {
                ++i;
            }
            continue;
        }
        current += unit;
    }
    paragraphs.append(current);
    return paragraphs;
}

QByteArray docxBytes(const QString& text) {
    QByteArray document;
    document.reserve(text.size() * 2 + 256);
    document += documentStart;
    for (const QString& paragraph : documentParagraphs(text)) {
        appendParagraph(document, paragraph);
    }
    document += documentEnd;
    return zipArchive({{"[Content_Types].xml", contentTypes.toByteArray()},
                       {"_rels/.rels", packageRelationships.toByteArray()},
                       {"word/document.xml", document}});
}

} // namespace corvanteller
