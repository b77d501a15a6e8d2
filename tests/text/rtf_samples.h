// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Rich Text samples shared by the reader's tests and the fuzzer's seeds.

#include "text/rich_text.h"

#include <QByteArray>
#include <QString>

#include <ostream>
#include <vector>

namespace corvanteller {

// Readable failures in the tests.
inline void PrintTo(const RichText& text, std::ostream* out) {
    for (const RichParagraph& paragraph : text.paragraphs) {
        *out << "\n  [fi " << paragraph.firstLineIndent << " li " << paragraph.leftIndent << " ri "
             << paragraph.rightIndent << " q" << static_cast<int>(paragraph.alignment) << "]";
        for (const RichRun& run : paragraph.runs) {
            *out << " (" << run.fontFamily.toStdString() << " " << run.halfPoints
                 << (run.bold ? " b" : "") << (run.italic ? " i" : "")
                 << (run.underline ? " ul" : "") << (run.strikeOut ? " s" : "");
            if (run.colour) {
                *out << " #" << run.colour->red << "," << run.colour->green << ","
                     << run.colour->blue;
            }
            *out << ") \"" << run.text.toStdString() << "\"";
        }
    }
}

} // namespace corvanteller

namespace corvanteller::test {

struct RtfSample {
    const char* name;
    QByteArray bytes;
    QString text; // what the reader makes of it, paragraphs separated by "\n"
};

inline std::vector<RtfSample> handWrittenRtfSamples() {
    using namespace Qt::StringLiterals;
    const QByteArray deep =
        QByteArray("{\\rtf1 ") + QByteArray(5000, '{') + "\\b x" + QByteArray(5000, '}') + " y}";
    return {
        {"nested-groups", "{\\rtf1\\ansi{\\b bold {\\i both} bold}plain}",
         u"bold both boldplain"_s},
        {"unicode-fallback", "{\\rtf1\\ansi\\ansicpg1252 A\\u1052\\'3fB}", u"AМB"_s},
        {"unicode-skip-two", "{\\rtf1{\\uc2\\u1052\\'3f\\'3fz}\\u1053cd}", u"МzНd"_s},
        {"cp1251-by-document", "{\\rtf1\\ansi\\ansicpg1251 \\'e0\\'c1}", u"аБ"_s},
        {"cp1251-by-font",
         "{\\rtf1\\ansi\\ansicpg1252{\\fonttbl{\\f0\\fnil\\fcharset204 Arial;}}\\f0 "
         "\\'e0\\plain\\'e0}",
         u"аа"_s},
        {"cp1252-by-font",
         "{\\rtf1\\ansi\\ansicpg1251{\\fonttbl{\\f1\\fcharset0 Arial;}}\\f1\\'e0\\'80}", u"à€"_s},
        {"shift-jis", "{\\rtf1\\ansi\\ansicpg932 \\'82\\'a0}", u"あ"_s},
        {"unknown-words", "{\\rtf1\\ansi\\foo\\bar12 text\\baz-3 more\\zz}", u"textmore"_s},
        {"ignorable-destination", "{\\rtf1 a{\\*\\generator Riched20 10.0;}b}", u"ab"_s},
        {"binary", "{\\rtf1 a\\bin3 {}}b{\\pict\\bin4 }{\\}x}c}", u"abc"_s},
        {"binary-past-the-end", "{\\rtf1 a\\bin999 xyz", u"a"_s},
        {"extra-closing-braces", "}}{\\rtf1 a}}}b", u"a"_s},
        {"unclosed-groups", "{\\rtf1 a{\\b b{\\i c", u"abc"_s},
        {"deep-groups", deep, u"x y"_s},
        {"twelve-digit-parameter", "{\\rtf1\\fs999999999999 a\\fi-999999999999 b\\u999999999999 c}",
         u"ab\uFFFF"_s},
        {"tables-and-colours",
         "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss Arial;}{\\f1\\froman\\fcharset204 Times "
         "New Roman;}}{\\colortbl;\\red255\\green0\\blue0;}\\pard\\qc\\fi220 Hello\\par"
         "\\pard\\li720\\ri360\\qr\\f1\\cf1 \\'cf\\'f0\\'e8\\'e2\\'e5\\'f2\\par"
         "\\trowd a\\cell b\\cell\\row\\pard\\qj\\line end\\tab}",
         u"Hello\nПривет\na\tb\t\n\u2028end\t"_s},
        {"field", "{\\rtf1 see {\\field{\\*\\fldinst HYPERLINK \"x\"}{\\fldrslt link}} end}",
         u"see link end"_s},
        {"skipped-destinations",
         "{\\rtf1{\\stylesheet{\\s0 Normal;}}{\\info{\\title T}}{\\header H}{\\footerl F}"
         "{\\footnote N}a\\~b\\emdash\\{\\}\\\\}",
         u"a\u00A0b\u2014{}\\"_s},
        {"escaped-control-bytes", "{\\rtf1 a\\'14\\'09b}", u"a\u0014\tb"_s},
        {"raw-line-ends", "{\\rtf1 a\r\nb\\\r\nc\td}", u"ab\nc\td"_s},
        {"empty", "", QString()},
    };
}

// A document with every format the writer keeps.
inline RichText formattedRichText() {
    using namespace Qt::StringLiterals;
    RichText text{std::vector<RichParagraph>{}};
    RichParagraph first;
    first.firstLineIndent = 220;
    RichRun plain;
    plain.fontFamily = u"DejaVu Sans"_s;
    plain.halfPoints = 20;
    plain.text = u"1\t/songs/Песня.kar Title\t"_s;
    RichRun bold = plain;
    bold.bold = true;
    bold.text = u"bold {braces} \\ back"_s;
    RichRun styled = plain;
    styled.italic = true;
    styled.underline = true;
    styled.strikeOut = true;
    styled.halfPoints = 33;
    styled.colour = TextColour{200, 10, 30};
    styled.text = u"Ключ 中 😀 ä;\u2028second line"_s;
    first.runs = {plain, bold, styled};
    RichParagraph second;
    second.leftIndent = 720;
    second.rightIndent = -100;
    second.alignment = ParagraphAlignment::Centre;
    RichRun otherFont = plain;
    otherFont.fontFamily = u"Шрифт;\t{x}\u2028"_s;
    otherFont.colour = TextColour{0, 0, 255};
    otherFont.text = u"centred"_s;
    second.runs = {otherFont};
    RichParagraph empty;
    empty.alignment = ParagraphAlignment::Justify;
    RichParagraph last;
    last.alignment = ParagraphAlignment::Right;
    last.firstLineIndent = 220;
    last.runs = {plain};
    text.paragraphs = {first, second, empty, last};
    return text;
}

} // namespace corvanteller::test
