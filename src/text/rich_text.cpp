// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/rich_text.h"

namespace corvanteller {

bool RichRun::sameFormat(const RichRun& other) const {
    return fontFamily == other.fontFamily && halfPoints == other.halfPoints && bold == other.bold &&
           italic == other.italic && underline == other.underline && strikeOut == other.strikeOut &&
           colour == other.colour;
}

bool RichParagraph::sameFormat(const RichParagraph& other) const {
    return firstLineIndent == other.firstLineIndent && leftIndent == other.leftIndent &&
           rightIndent == other.rightIndent && alignment == other.alignment;
}

QString RichParagraph::text() const {
    QString text;
    for (const RichRun& run : runs) {
        text += run.text;
    }
    return text;
}

QString RichText::plainText() const {
    QString text;
    for (std::size_t i = 0; i < paragraphs.size(); ++i) {
        if (i > 0) {
            text += u'\n';
        }
        text += paragraphs[i].text();
    }
    return text;
}

} // namespace corvanteller
