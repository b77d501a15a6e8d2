// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

namespace corvanteller {

// A Word document (.docx) of the text: [Content_Types].xml, _rels/.rels and word/document.xml
// with one paragraph per line (LF, CR LF or CR ends one), TAB as a tab, "&", "<" and ">" escaped;
// characters that XML 1.0 cannot hold are dropped. Throws UserError when the archive cannot be
// built.
QByteArray docxBytes(const QString& text);

} // namespace corvanteller
