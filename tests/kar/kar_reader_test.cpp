// SPDX-License-Identifier: GPL-3.0-or-later
#include "kar/kar_reader.h"

#include "kar/byte_search.h"

#include "support/kar_builder.h"
#include "support/temp_tree.h"

#include <gtest/gtest.h>

namespace corvanteller {
namespace {

using test::cp1251;
using test::KarBuilder;
using test::TempTree;
using namespace Qt::StringLiterals;

const QByteArray sigA(signatureA.data(), static_cast<qsizetype>(signatureA.size()));
const QByteArray sigB(signatureB.data(), static_cast<qsizetype>(signatureB.size()));

SongTexts texts(const char* a, const char* b, const char* c, const char* d) {
    return SongTexts{QString::fromUtf8(a), QString::fromUtf8(b), QString::fromUtf8(c),
                     QString::fromUtf8(d)};
}

struct ReaderCase {
    const char* name;
    QByteArray file;
    RunSet runSet;
    SongTexts expected;
};

QByteArray fourEvents(const QByteArray& a, const QByteArray& b, const QByteArray& c,
                      const QByteArray& d) {
    return KarBuilder().trackName(a).text(b).text(c).meta(0x02, d).bytes();
}

// Every hit in every place of each width of vector and of the scalar tail, after near misses and
// first bytes that are common, from every start.
TEST(ByteSearch, FindsThePairWhereverItLies) {
    const struct {
        char first;
        std::size_t gap;
        char secondA;
        char secondB;
    } pairs[] = {{'@', 1, 'T', 'I'}, {'W', 4, 's', 's'}};
    for (const auto& pair : pairs) {
        for (const std::size_t size :
             {std::size_t{5}, std::size_t{47}, std::size_t{130}, std::size_t{200}}) {
            for (std::size_t hit = 0; hit + pair.gap < size; ++hit) {
                std::string bytes(size, pair.first); // every position a near miss
                bytes[hit + pair.gap] = hit % 2 == 0 ? pair.secondA : pair.secondB;
                for (std::size_t from = 0; from < size; from += 3) {
                    const std::size_t expected = from <= hit ? hit : notFound;
                    ASSERT_EQ(findBytePair(bytes.data(), size, from, pair.first, pair.gap,
                                           pair.secondA, pair.secondB),
                              expected)
                        << "size " << size << " hit " << hit << " from " << from;
                }
            }
        }
    }
}

TEST(KarReader, NameEventPass) {
    const ReaderCase cases[] = {
        {"the four events of the usual layout",
         fourEvents("Hello World", "Artist", "Year", "(c)2001"), RunSet::StartWindow,
         texts("Hello World", "Artist", "Year", "(c)2001")},
        {"a one-character run 2 stays, short runs 4 to 8 are emptied",
         fourEvents("X", "ab", "c", "de"), RunSet::StartWindow, texts("X", "", "", "")},
        {"three characters are kept", fourEvents("T", "abc", "def", "ghi"), RunSet::MainWindow,
         texts("T", "abc", "def", "ghi")},
        {"no marker gives four empty texts",
         KarBuilder().text("Hello there").text("Nothing").bytes(), RunSet::StartWindow,
         texts("", "", "", "")},
        // "[" ends run 2; "x" is skipped; run 3 stops at "]"; run 4 is the 0xFF ("я") of
        // the next event and is filtered; run 5 takes "Artist", so runs 6 and 8 shift.
        {"a title with [ is cut and the runs shift",
         fourEvents("Hello [x]", "Artist", "Year", "Maker"), RunSet::StartWindow,
         texts("Hello ", "", "", "")},
        {"< and > stay in a start-window scan", fourEvents("Song <live>", "Artist", "", ""),
         RunSet::StartWindow, texts("Song <live>", "Artist", "", "")},
        {"< ends the title in a main-window scan", fourEvents("Song <live>", "Artist", "", ""),
         RunSet::MainWindow, texts("Song ", "", "", "")},
        {"Russian letters and Ё are kept", fourEvents(cp1251(u"Песня Ёлки"_s), "abc", "", ""),
         RunSet::MainWindow, texts("Песня Ёлки", "abc", "", "")},
        {"signature A in run 4 moves to the fourth text", fourEvents("Song", sigA, "Year", ""),
         RunSet::StartWindow, texts("Song", "", "Year", signatureA.data())},
        {"signature A with one more character in run 6 moves",
         fourEvents("Song", "Artist", sigA + "!", "Other"), RunSet::StartWindow,
         texts("Song", "Artist", "", signatureA.data())},
        {"a run 8 beginning with signature A is cut to it",
         fourEvents("Song", "Artist", "Year", sigA + " and more"), RunSet::StartWindow,
         texts("Song", "Artist", "Year", signatureA.data())},
        {"a run 8 beginning with signature B is cut to it",
         fourEvents("Song", "Artist", "Year", sigB + "xyz"), RunSet::StartWindow,
         texts("Song", "Artist", "Year", signatureB.data())},
        {"signature B in run 4 stays there", fourEvents("Song", sigB, "Year", "Mine"),
         RunSet::StartWindow, texts("Song", signatureB.data(), "Year", "Mine")},
        {"an empty file", QByteArray(), RunSet::StartWindow, texts("", "", "", "")},
        {"a marker as the last bytes", QByteArray("abc\xFF\x03", 5), RunSet::StartWindow,
         texts("", "", "", "")},
    };
    for (const ReaderCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(readKaraokeBytes(c.file, c.runSet), c.expected);
    }
}

QByteArray softKaraokeFile(const QByteArray& formatName, const QList<QByteArray>& words) {
    return KarBuilder()
        .trackName(formatName)
        .text("@KMIDI KARAOKE FILE")
        .text("@V0100")
        .wordsTrack(words)
        .bytes();
}

TEST(KarReader, SoftKaraokePass) {
    const QList<QByteArray> usual = {"@LENGL", "@TTitle One", "@TArtist Two", "@TMade by Me",
                                     "@IInfo line"};
    const ReaderCase cases[] = {
        // The third text loses the three characters that, with the event head, make the
        // seven bytes before "@I".
        {"three @T texts and an @I", softKaraokeFile("Soft Karaoke", usual), RunSet::MainWindow,
         texts("Title One", "Artist Two", "Made by", "Soft Karaoke")},
        {"every Soft Karaoke name chooses the pass", softKaraokeFile("Soft kara", usual),
         RunSet::MainWindow, texts("Title One", "Artist Two", "Made by", "Soft kara")},
        {"a differently written name does not", softKaraokeFile("soft karaoke", usual),
         RunSet::MainWindow, texts("soft karaoke", "@KMIDI KARAOKE FILE", "@V0100", "Trk")},
        {"without Words the runs stay unfiltered",
         KarBuilder().trackName("Soft Karaoke").text("ab").text("c").text("x").bytes(),
         RunSet::StartWindow, texts("Soft Karaoke", "ab", "c", "x")},
        {"untitled loses the last character of each text", softKaraokeFile("untitled", usual),
         RunSet::MainWindow, texts("Title On", "Artist Tw", "Made b", "untitled")},
        {"a Russian title is cut away and the next text moves up",
         softKaraokeFile("Soft Karaoke",
                         {"@T" + cp1251(u"Песня"_s), "@TArtist Two", "@TMade by Me", "@Iend"}),
         RunSet::MainWindow, texts("Artist Two", "Made by", "", "Soft Karaoke")},
        {"Ф is kept by the tag set",
         softKaraokeFile("Soft Karaoke",
                         {"@T" + cp1251(u"ФФФ Song"_s) + cp1251(u"и"_s) + "rest", "@TBbbb",
                          "@TCccc"
                          "1234",
                          "@Iend"}),
         RunSet::MainWindow, texts("ФФФ Song", "Bbbb", "Cccc1", "Soft Karaoke")},
        {"texts of up to three characters are emptied, then the gaps close",
         softKaraokeFile("Soft Karaoke", {"@Tabc", "@Tabcd", "@Tabcdefg", "@Iend"}),
         RunSet::MainWindow, texts("abcd", "abcd", "", "Soft Karaoke")},
        {"an empty second text: the third moves up",
         softKaraokeFile("Soft Karaoke", {"@TFirst", "@T$$$$", "@TThird text", "@Iend"}),
         RunSet::MainWindow, texts("First", "Third t", "", "Soft Karaoke")},
        {"only the third text: it moves to the first place",
         softKaraokeFile("Soft Karaoke", {"@T[no]", "@T~~", "@TThird text", "@Iend"}),
         RunSet::MainWindow, texts("Third t", "", "", "Soft Karaoke")},
        {"no @T at all gives empty texts",
         softKaraokeFile("Soft Karaoke", {"@Ionly info", "@Imore"}), RunSet::MainWindow,
         texts("", "", "", "Soft Karaoke")},
        {"no @I takes nothing for the third text",
         softKaraokeFile("Soft Karaoke", {"@TFirst", "@TSecond", "@TThird"}), RunSet::MainWindow,
         texts("First", "Second", "", "Soft Karaoke")},
        {"a file shorter than the header has no Words", QByteArray("\x00\xFF\x03\x08untitled", 12),
         RunSet::StartWindow, texts("untitled", "", "", "")},
    };
    for (const ReaderCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(readKaraokeBytes(c.file, c.runSet), c.expected);
    }
}

TEST(KarReader, MarkerIsSearchedBlockByBlock) {
    const QByteArray event = QByteArray("\xFF\x03\x04Song", 7);
    QByteArray straddling(karBlockSize - 1, 'x');
    straddling.append(event);
    EXPECT_EQ(readKaraokeBytes(straddling, RunSet::StartWindow), texts("", "", "", ""));

    QByteArray inSecondBlock(karBlockSize + 100, 'x');
    inSecondBlock.append(event);
    EXPECT_EQ(readKaraokeBytes(inSecondBlock, RunSet::StartWindow), texts("Song", "", "", ""));

    // A run ends at the end of its block even when the text goes on in the next block.
    QByteArray cutByBlockEnd(karBlockSize - 7, 'x');
    cutByBlockEnd.append(QByteArray("\x00\xFF\x03\x09", 4)).append("Long name");
    EXPECT_EQ(readKaraokeBytes(cutByBlockEnd, RunSet::StartWindow), texts("Lon", "", "", ""));

    // Only the first block with a marker counts.
    QByteArray laterMarker = KarBuilder().trackName("First").bytes();
    laterMarker.append(QByteArray(karBlockSize, '\x01')).append(event);
    EXPECT_EQ(readKaraokeBytes(laterMarker, RunSet::StartWindow), texts("First", "", "", ""));
}

TEST(KarReader, SoftKaraokeWordsMayLieFarBehindTheMarker) {
    QByteArray file = KarBuilder().trackName("Soft Karaoke").bytes();
    file.append(QByteArray(3 * karBlockSize, '\x01'));
    file.append(KarBuilder()
                    .wordsTrack({"@TFar title", "@TFar artist", "@TFar maker", "@Iend"})
                    .bytes()
                    .mid(14));
    EXPECT_EQ(readKaraokeBytes(file, RunSet::StartWindow),
              texts("Far title", "Far artist", "Far ma", "Soft Karaoke"));
}

TEST(KarReader, FailuresGiveTheSystemsReason) {
    TempTree tree;
    const KarReadResult missing = readKaraokeFile(tree.path("missing.kar"), RunSet::StartWindow);
    EXPECT_FALSE(missing.ok);
    EXPECT_EQ(missing.errorCode, ENOENT);
    const QString text = karReadFailureText(u"/x/missing.kar"_s, missing);
    EXPECT_TRUE(text.contains(u"\"/x/missing.kar\""_s)) << text.toStdString();
    EXPECT_TRUE(text.contains(u"No such file"_s)) << text.toStdString();

    // Opens, but its first block cannot be read, even by root.
    const KarReadResult unreadable = readKaraokeFile("/proc/self/mem", RunSet::StartWindow);
    EXPECT_FALSE(unreadable.ok);
    EXPECT_EQ(unreadable.errorCode, EIO);
}

} // namespace
} // namespace corvanteller
