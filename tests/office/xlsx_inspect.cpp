// SPDX-License-Identifier: GPL-3.0-or-later
#include "xlsx_inspect.h"

#include "office/zip_archive.h"

#include <QXmlStreamReader>

namespace corvanteller::test {

using namespace Qt::StringLiterals;

namespace {

QByteArray part(const ZipReader& zip, const QByteArray& name) {
    QByteArray content;
    const std::optional<std::uint64_t> entry = zip.find(name);
    if (entry) {
        zip.read(*entry, [&content](QByteArrayView piece) {
            content += piece;
            return true;
        });
    }
    return content;
}

} // namespace

XlsxInspector::XlsxInspector(const QByteArray& file) {
    const ZipReader zip(file);
    const QByteArray sheet = part(zip, "xl/worksheets/sheet1.xml");
    const QByteArray styles = part(zip, "xl/styles.xml");
    const QByteArray workbook = part(zip, "xl/workbook.xml");
    if (sheet.isEmpty() || styles.isEmpty() || workbook.isEmpty()) {
        return;
    }
    for (QXmlStreamReader xml(workbook); !xml.atEnd();) {
        if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == u"sheet"_s &&
            sheetName_.isEmpty()) {
            sheetName_ = xml.attributes().value(u"name"_s).toString();
        }
    }
    for (QXmlStreamReader xml(sheet); !xml.atEnd();) {
        if (xml.readNext() != QXmlStreamReader::StartElement) {
            continue;
        }
        const auto attributes = xml.attributes();
        if (xml.name() == u"c"_s) {
            cellStyles_.insert(attributes.value(u"r"_s).toString(),
                               attributes.value(u"s"_s).toInt());
        } else if (xml.name() == u"autoFilter"_s) {
            autoFilter_ = attributes.value(u"ref"_s).toString();
        } else if (xml.name() == u"pane"_s && attributes.value(u"state"_s) == u"frozen"_s) {
            frozenRows_ = attributes.value(u"ySplit"_s).toInt();
        } else if (xml.name() == u"col"_s) {
            columns_.append({attributes.value(u"min"_s).toInt(), attributes.value(u"max"_s).toInt(),
                             attributes.value(u"width"_s).toDouble()});
        }
    }
    enum class In { None, Fonts, Fills, Borders, CellXfs } in = In::None;
    QString edge;
    for (QXmlStreamReader xml(styles); !xml.atEnd();) {
        const auto token = xml.readNext();
        const QString name = xml.name().toString();
        if (token == QXmlStreamReader::EndElement) {
            if (name == u"fonts"_s || name == u"fills"_s || name == u"borders"_s ||
                name == u"cellXfs"_s) {
                in = In::None;
            }
            continue;
        }
        if (token != QXmlStreamReader::StartElement) {
            continue;
        }
        const auto attributes = xml.attributes();
        if (name == u"fonts"_s) {
            in = In::Fonts;
        } else if (name == u"fills"_s) {
            in = In::Fills;
        } else if (name == u"borders"_s) {
            in = In::Borders;
        } else if (name == u"cellXfs"_s) {
            in = In::CellXfs;
        } else if (in == In::Fonts && name == u"font"_s) {
            fonts_.append(Font());
        } else if (in == In::Fonts && name == u"b"_s) {
            fonts_.last().bold = true;
        } else if (in == In::Fonts && name == u"i"_s) {
            fonts_.last().italic = true;
        } else if (in == In::Fonts && name == u"color"_s) {
            fonts_.last().colour = attributes.value(u"rgb"_s).toString();
        } else if (in == In::Fills && name == u"fill"_s) {
            fills_.append(QString());
        } else if (in == In::Fills && name == u"fgColor"_s) {
            fills_.last() = attributes.value(u"rgb"_s).toString();
        } else if (in == In::Borders && name == u"border"_s) {
            borders_.append(QStringList());
        } else if (in == In::Borders && (name == u"left"_s || name == u"right"_s ||
                                         name == u"top"_s || name == u"bottom"_s)) {
            edge = name + u' ' + attributes.value(u"style"_s).toString();
            if (attributes.hasAttribute(u"style"_s)) {
                borders_.last().append(edge);
            }
        } else if (in == In::Borders && name == u"color"_s && !borders_.last().isEmpty() &&
                   borders_.last().last() == edge) {
            borders_.last().last() += u' ' + attributes.value(u"rgb"_s).toString();
        } else if (in == In::CellXfs && name == u"xf"_s) {
            xfs_.append({attributes.value(u"fontId"_s).toInt(),
                         attributes.value(u"fillId"_s).toInt(),
                         attributes.value(u"borderId"_s).toInt(), QString()});
        } else if (in == In::CellXfs && name == u"alignment"_s) {
            xfs_.last().horizontal = attributes.value(u"horizontal"_s).toString();
        }
    }
    ok_ = true;
}

XlsxCellStyle XlsxInspector::style(const QString& address) const {
    XlsxCellStyle style;
    const int index = cellStyles_.value(address, 0);
    if (index < 0 || index >= xfs_.size()) {
        return style;
    }
    const Xf& xf = xfs_[index];
    style.horizontal = xf.horizontal;
    if (xf.font >= 0 && xf.font < fonts_.size()) {
        style.fontColour = fonts_[xf.font].colour;
        style.bold = fonts_[xf.font].bold;
        style.italic = fonts_[xf.font].italic;
    }
    if (xf.fill >= 0 && xf.fill < fills_.size()) {
        style.fillColour = fills_[xf.fill];
    }
    if (xf.border >= 0 && xf.border < borders_.size()) {
        style.borders = borders_[xf.border];
    }
    return style;
}

double XlsxInspector::columnWidth(int column) const {
    for (const auto& [first, last, width] : columns_) {
        if (column >= first && column <= last) {
            return width;
        }
    }
    return -1;
}

} // namespace corvanteller::test
