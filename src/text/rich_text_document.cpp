// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/rich_text_document.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>
#include <cmath>

namespace corvanteller {

namespace {

constexpr int twipsPerInch = 1440;
// Word's widest page, 22 inches: wider indents only push the text out of sight.
constexpr int maxIndentTwips = 22 * twipsPerInch;
constexpr int maxHalfPoints = 3276;

ParagraphAlignment alignmentOf(Qt::Alignment alignment) {
    const Qt::Alignment horizontal = alignment & Qt::AlignHorizontal_Mask;
    if (horizontal & Qt::AlignJustify) {
        return ParagraphAlignment::Justify;
    }
    if (horizontal & Qt::AlignHCenter) {
        return ParagraphAlignment::Centre;
    }
    if (horizontal & (Qt::AlignRight | Qt::AlignTrailing)) {
        return ParagraphAlignment::Right;
    }
    return ParagraphAlignment::Left;
}

Qt::Alignment qtAlignment(ParagraphAlignment alignment) {
    switch (alignment) {
    case ParagraphAlignment::Left:
        break;
    case ParagraphAlignment::Centre:
        return Qt::AlignHCenter;
    case ParagraphAlignment::Right:
        return Qt::AlignRight;
    case ParagraphAlignment::Justify:
        return Qt::AlignJustify;
    }
    return Qt::AlignLeft;
}

int halfPointsOf(qreal points) {
    return std::clamp(static_cast<int>(std::lround(points * 2)), 1, maxHalfPoints);
}

RichRun runFormat(const QTextCharFormat& format, const QFont& defaultFont, qreal dpi) {
    RichRun run;
    const QStringList families = format.fontFamilies().toStringList();
    run.fontFamily = !families.isEmpty() ? families.front() : defaultFont.family();
    qreal points = format.hasProperty(QTextFormat::FontPointSize) ? format.fontPointSize()
                                                                  : defaultFont.pointSizeF();
    if (points <= 0 && defaultFont.pixelSize() > 0) {
        points = defaultFont.pixelSize() * 72.0 / dpi;
    }
    run.halfPoints = halfPointsOf(points > 0 ? points : 12);
    const int weight =
        format.hasProperty(QTextFormat::FontWeight) ? format.fontWeight() : defaultFont.weight();
    run.bold = weight >= QFont::DemiBold;
    run.italic =
        format.hasProperty(QTextFormat::FontItalic) ? format.fontItalic() : defaultFont.italic();
    run.underline = format.fontUnderline();
    run.strikeOut = format.fontStrikeOut();
    const QBrush foreground = format.foreground();
    if (foreground.style() != Qt::NoBrush) {
        const QColor colour = foreground.color().toRgb();
        run.colour = TextColour{colour.red(), colour.green(), colour.blue()};
    }
    return run;
}

QTextCharFormat qtCharFormat(const RichRun& run) {
    QTextCharFormat format;
    if (!run.fontFamily.isEmpty()) {
        format.setFontFamilies(QStringList{run.fontFamily});
    }
    format.setFontPointSize(run.halfPoints / 2.0);
    format.setFontWeight(run.bold ? QFont::Bold : QFont::Normal);
    format.setFontItalic(run.italic);
    format.setFontUnderline(run.underline);
    format.setFontStrikeOut(run.strikeOut);
    if (run.colour) {
        format.setForeground(QColor(run.colour->red, run.colour->green, run.colour->blue));
    }
    return format;
}

QTextBlockFormat qtBlockFormat(const RichParagraph& paragraph, qreal dpi) {
    const auto pixels = [dpi](int twips) {
        return twipsToPixels(std::clamp(twips, -maxIndentTwips, maxIndentTwips), dpi);
    };
    QTextBlockFormat format;
    format.setTextIndent(pixels(paragraph.firstLineIndent));
    format.setLeftMargin(pixels(paragraph.leftIndent));
    format.setRightMargin(pixels(paragraph.rightIndent));
    format.setAlignment(qtAlignment(paragraph.alignment));
    return format;
}

// A run's text inside one paragraph: a paragraph break that the text may hold becomes a line
// break.
QString runText(const QString& text) {
    QString safe = editorSafeText(text);
    for (QChar& ch : safe) {
        if (ch == u'\n' || ch == u'\r' || ch == QChar::ParagraphSeparator) {
            ch = QChar::LineSeparator;
        }
    }
    return safe;
}

} // namespace

qreal twipsToPixels(int twips, qreal dpi) {
    return twips * dpi / twipsPerInch;
}

int pixelsToTwips(qreal pixels, qreal dpi) {
    return static_cast<int>(std::lround(pixels * twipsPerInch / dpi));
}

QString editorSafeText(QString text) {
    for (QChar& ch : text) {
        const char16_t unit = ch.unicode();
        if (unit == 0xFDD0 || unit == 0xFDD1 || unit == QChar::ObjectReplacementCharacter) {
            ch = QChar::ReplacementCharacter;
        }
    }
    return text;
}

RichText richTextFromDocument(const QTextDocument& document, qreal dpi) {
    const QFont defaultFont = document.defaultFont();
    RichText text{std::vector<RichParagraph>{}};
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        const QTextBlockFormat blockFormat = block.blockFormat();
        RichParagraph paragraph;
        paragraph.firstLineIndent = pixelsToTwips(blockFormat.textIndent(), dpi);
        paragraph.leftIndent = pixelsToTwips(blockFormat.leftMargin(), dpi);
        paragraph.rightIndent = pixelsToTwips(blockFormat.rightMargin(), dpi);
        paragraph.alignment = alignmentOf(blockFormat.alignment());
        for (auto fragment = block.begin(); !fragment.atEnd(); ++fragment) {
            QString fragmentText = fragment.fragment().text();
            // Images and other objects never enter the editor; their places are dropped.
            fragmentText.remove(QChar::ObjectReplacementCharacter);
            if (fragmentText.isEmpty()) {
                continue;
            }
            RichRun run = runFormat(fragment.fragment().charFormat(), defaultFont, dpi);
            if (!paragraph.runs.empty() && paragraph.runs.back().sameFormat(run)) {
                paragraph.runs.back().text += fragmentText;
            } else {
                run.text = std::move(fragmentText);
                paragraph.runs.push_back(std::move(run));
            }
        }
        text.paragraphs.push_back(std::move(paragraph));
    }
    if (text.paragraphs.empty()) {
        text.paragraphs.emplace_back();
    }
    return text;
}

void insertRichText(QTextCursor& cursor, const RichText& text, qreal dpi) {
    // Paragraphs of one format whose runs continue in one character format go in as one
    // text: a table's thousands of lines take one insertion, not one each.
    QString pending;
    QTextCharFormat pendingFormat;
    const RichRun* pendingRun = nullptr;
    const RichParagraph* previous = nullptr;
    const auto flush = [&] {
        if (!pending.isEmpty()) {
            cursor.insertText(pending, pendingFormat);
            pending.clear();
        }
    };
    for (const RichParagraph& paragraph : text.paragraphs) {
        if (previous == nullptr || !paragraph.sameFormat(*previous)) {
            flush();
            const QTextBlockFormat blockFormat = qtBlockFormat(paragraph, dpi);
            if (previous == nullptr) {
                cursor.setBlockFormat(blockFormat);
            } else {
                cursor.insertBlock(blockFormat);
            }
        } else {
            pending += u'\n';
        }
        previous = &paragraph;
        for (const RichRun& run : paragraph.runs) {
            if (pendingRun == nullptr || !run.sameFormat(*pendingRun)) {
                flush();
                pendingFormat = qtCharFormat(run);
                pendingRun = &run;
            }
            pending += runText(run.text);
        }
    }
    flush();
}

} // namespace corvanteller
