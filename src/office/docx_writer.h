#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace corvanteller {

// A text's paragraphs: LF, CR LF or CR ends one; TAB stays inside it.
QStringList documentParagraphs(const QString& text);

// A Word document (.docx) of the text: [Content_Types].xml, _rels/.rels and word/document.xml
// with one paragraph per line, TAB as a tab, "&", "<" and ">" escaped; characters that XML 1.0
// cannot hold are dropped. Throws UserError when the archive cannot be built.
QByteArray docxBytes(const QString& text);

} // namespace corvanteller
