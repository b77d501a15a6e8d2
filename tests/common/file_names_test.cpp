// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/file_names.h"

#include "common/cp1251.h"
#include "kar/karaoke_name.h"

#include <gtest/gtest.h>

namespace corvanteller {
namespace {

using namespace Qt::StringLiterals;

TEST(FileNames, Utf8Validity) {
    struct Case {
        QByteArray bytes;
        bool valid;
    };
    const Case cases[] = {
        {"plain.kar", true},         {u"Песня.kar"_s.toUtf8(), true},
        {"\xF0\x9F\x98\x80", true},  {"\xCF\xE5\xF1\xED\xFF", false}, // cp1251
        {"\xC0\x80", false},                                          // overlong
        {"\xED\xA0\x80", false},                                      // surrogate
        {"\xE2\x82", false},                                          // cut short
        {"\xF4\x90\x80\x80", false},                                  // above U+10FFFF
    };
    for (const Case& c : cases) {
        EXPECT_EQ(isValidUtf8(c.bytes), c.valid) << c.bytes.toHex().constData();
    }
}

TEST(FileNames, ShownAsUtf8ElseAsCp1251) {
    EXPECT_EQ(decodeFileName(u"Песня.kar"_s.toUtf8()), u"Песня.kar"_s);
    EXPECT_EQ(decodeFileName(encodeCp1251(u"Песня.kar"_s).value()), u"Песня.kar"_s);
    // ASCII names, and names whose only other byte comes last, after the plain ones.
    EXPECT_EQ(decodeFileName("Artist - Title (1999).kar"), u"Artist - Title (1999).kar"_s);
    EXPECT_EQ(decodeFileName("Artist - Title.kar\xFF"), u"Artist - Title.kar\u044F"_s);
    EXPECT_EQ(decodeFileName("Artist - Title.kar\xC3\xA9"), u"Artist - Title.kar\u00E9"_s);
}

TEST(FileNames, KaraokeFilesByTheBytesOfTheirNames) {
    const struct {
        QByteArrayView name;
        bool karaoke;
    } cases[] = {
        {"song.kar", true},  {"SONG.KAR", true},  {"karaoke.mid", true},
        {"ka", false},       {"song.Kar", false}, {"song.kAR", false},
        {"song.mid", false}, {"", false},         {QByteArrayView("k\0ar", 4), false},
        {"xxkaxkar", true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(isKaraokeFileName(c.name), c.karaoke) << c.name.toByteArray().toHex().constData();
    }
}

TEST(FileNames, CandidatesCoverBothEncodings) {
    EXPECT_EQ(fileNameCandidates(u"plain.kar"_s), QList<QByteArray>{"plain.kar"});
    const QList<QByteArray> russian = fileNameCandidates(u"Песня.kar"_s);
    ASSERT_EQ(russian.size(), 2);
    EXPECT_EQ(russian[0], u"Песня.kar"_s.toUtf8());
    EXPECT_EQ(russian[1], encodeCp1251(u"Песня.kar"_s).value());
    EXPECT_EQ(fileNameCandidates(u"中文"_s).size(), 1);
}

} // namespace
} // namespace corvanteller
