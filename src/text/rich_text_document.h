// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "text/rich_text.h"

class QFont;
class QTextCursor;
class QTextDocument;

namespace corvanteller {

// The editor's document as the RTF writer takes it. Fonts, sizes and styles that the text
// leaves unset are those of the document's default font; indents in pixels at dpi become
// twips.
RichText richTextFromDocument(const QTextDocument& document, qreal dpi);

// Inserts the text at the cursor: the cursor's paragraph takes the first paragraph's format,
// every further paragraph begins a new one. Indents in twips become pixels at dpi.
void insertRichText(QTextCursor& cursor, const RichText& text, qreal dpi);

// Text as the editor can hold it: characters that the document keeps for its own structure
// (frame marks, object places) become U+FFFD.
QString editorSafeText(QString text);

qreal twipsToPixels(int twips, qreal dpi);
int pixelsToTwips(qreal pixels, qreal dpi);

} // namespace corvanteller
