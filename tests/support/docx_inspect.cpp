// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/docx_inspect.h"

#include "office/zip_archive.h"

#include <QXmlStreamReader>

namespace corvanteller::test {

using namespace Qt::StringLiterals;

std::optional<QStringList> docxParagraphs(const QByteArray& file) {
    const ZipReader zip(file);
    const std::optional<std::uint64_t> entry = zip.find("word/document.xml");
    if (!zip.find("[Content_Types].xml") || !zip.find("_rels/.rels") || !entry) {
        return std::nullopt;
    }
    QByteArray document;
    zip.read(*entry, [&document](QByteArrayView piece) {
        document += piece;
        return true;
    });
    QStringList paragraphs;
    QXmlStreamReader xml(document);
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement) {
            continue;
        }
        if (xml.name() == u"p"_s) {
            paragraphs.append(QString());
        } else if (paragraphs.isEmpty()) {
            continue;
        } else if (xml.name() == u"tab"_s) {
            paragraphs.last() += u'\t';
        } else if (xml.name() == u"t"_s) {
            paragraphs.last() += xml.readElementText();
        }
    }
    if (xml.hasError()) {
        return std::nullopt;
    }
    return paragraphs;
}

} // namespace corvanteller::test
