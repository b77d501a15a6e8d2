// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <optional>
#include <vector>

namespace corvanteller {

// A colour of text; none is the editor's own.
struct TextColour {
    int red = 0;
    int green = 0;
    int blue = 0;
    bool operator==(const TextColour&) const = default;
};

// A piece of a paragraph in one format. Line breaks inside a paragraph are U+2028, TAB is
// U+0009.
struct RichRun {
    QString text;
    QString fontFamily;
    int halfPoints = 24; // the font size in half points, at least 1
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    std::optional<TextColour> colour;

    // Everything but the text.
    bool sameFormat(const RichRun& other) const;
    bool operator==(const RichRun&) const = default;
};

enum class ParagraphAlignment { Left, Centre, Right, Justify };

struct RichParagraph {
    // Indents in twips (1/1440 inch, 1/20 point).
    int firstLineIndent = 0;
    int leftIndent = 0;
    int rightIndent = 0;
    ParagraphAlignment alignment = ParagraphAlignment::Left;
    std::vector<RichRun> runs;

    bool sameFormat(const RichParagraph& other) const;
    QString text() const;
    bool operator==(const RichParagraph&) const = default;
};

// Formatted text as the text view keeps it in a file: paragraphs of runs. A document has at
// least one paragraph.
struct RichText {
    std::vector<RichParagraph> paragraphs{RichParagraph{}};

    // Paragraphs separated by "\n".
    QString plainText() const;
    bool operator==(const RichText&) const = default;
};

} // namespace corvanteller
