// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/rtf_reader.h"
#include "text/rtf_writer.h"

#include "text/rtf_samples.h"

#include <gtest/gtest.h>

namespace corvanteller {
namespace {

using namespace Qt::StringLiterals;

const RichRun& runOf(const RichText& text, std::size_t paragraph, std::size_t run) {
    return text.paragraphs.at(paragraph).runs.at(run);
}

TEST(Rtf, WrittenTextReadsBackTheSame) {
    const RichText text = test::formattedRichText();
    const QByteArray rtf = writeRtf(text);
    EXPECT_TRUE(rtf.startsWith("{\\rtf1\\ansi\\ansicpg1251\\deff0\\uc1"));
    EXPECT_TRUE(rtf.contains("\\fcharset204"));
    EXPECT_TRUE(rtf.contains("\\pard\\fi220"));
    EXPECT_TRUE(rtf.contains("\\'cf\\'e5\\'f1\\'ed\\'ff")); // "Песня"
    EXPECT_TRUE(rtf.contains("\\u20013?"));                 // 中, outside cp1251
    EXPECT_TRUE(rtf.contains("\\u-10179?\\u-8704?"));       // 😀 as two UTF-16 units
    EXPECT_TRUE(rtf.contains("\\{braces\\} \\\\ back"));
    EXPECT_TRUE(rtf.contains("\\line "));
    EXPECT_TRUE(rtf.contains("\\tab "));
    EXPECT_TRUE(rtf.endsWith("}\r\n"));
    EXPECT_EQ(readRtf(rtf), text);
}

TEST(Rtf, ReadsHandWrittenSamples) {
    for (const test::RtfSample& sample : test::handWrittenRtfSamples()) {
        const RichText text = readRtf(sample.bytes);
        EXPECT_EQ(text.plainText(), sample.text) << sample.name;
        // What was read writes and reads back the same.
        EXPECT_EQ(readRtf(writeRtf(text)), text) << sample.name;
    }
}

TEST(Rtf, ReadsFormatsOfTheSamples) {
    std::map<std::string, RichText> read;
    for (const test::RtfSample& sample : test::handWrittenRtfSamples()) {
        read[sample.name] = readRtf(sample.bytes);
    }

    const RichText& nested = read["nested-groups"];
    ASSERT_EQ(nested.paragraphs.at(0).runs.size(), 4u);
    EXPECT_TRUE(runOf(nested, 0, 0).bold && !runOf(nested, 0, 0).italic);
    EXPECT_TRUE(runOf(nested, 0, 1).bold && runOf(nested, 0, 1).italic);
    EXPECT_EQ(runOf(nested, 0, 2).text, u" bold"_s);
    EXPECT_FALSE(runOf(nested, 0, 3).bold);

    // Beyond 1,024 levels the groups share one state: "y" is back at the outer state.
    const RichText& deep = read["deep-groups"];
    EXPECT_TRUE(runOf(deep, 0, 0).bold);
    EXPECT_FALSE(runOf(deep, 0, 1).bold);

    const RichText& big = read["twelve-digit-parameter"];
    EXPECT_EQ(runOf(big, 0, 0).halfPoints, 3276);
    EXPECT_EQ(big.paragraphs.at(0).firstLineIndent, std::numeric_limits<int>::min());

    const RichText& unclosed = read["unclosed-groups"];
    EXPECT_TRUE(runOf(unclosed, 0, 2).bold && runOf(unclosed, 0, 2).italic);

    const RichText& tables = read["tables-and-colours"];
    ASSERT_EQ(tables.paragraphs.size(), 4u);
    const RichParagraph& hello = tables.paragraphs[0];
    EXPECT_EQ(hello.alignment, ParagraphAlignment::Centre);
    EXPECT_EQ(hello.firstLineIndent, 220);
    EXPECT_EQ(hello.runs.at(0).fontFamily, u"Arial"_s);
    EXPECT_EQ(hello.runs.at(0).halfPoints, 24);
    EXPECT_EQ(hello.runs.at(0).colour, std::nullopt);
    const RichParagraph& russian = tables.paragraphs[1];
    EXPECT_EQ(russian.alignment, ParagraphAlignment::Right);
    EXPECT_EQ(russian.firstLineIndent, 0);
    EXPECT_EQ(russian.leftIndent, 720);
    EXPECT_EQ(russian.rightIndent, 360);
    EXPECT_EQ(russian.runs.at(0).fontFamily, u"Times New Roman"_s);
    EXPECT_EQ(russian.runs.at(0).colour, (TextColour{255, 0, 0}));
    // The last paragraph keeps the properties in force where the text ends.
    EXPECT_EQ(tables.paragraphs[3].alignment, ParagraphAlignment::Justify);
}

} // namespace
} // namespace corvanteller
