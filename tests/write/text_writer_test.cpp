// SPDX-License-Identifier: GPL-3.0-or-later
#include "kar/kar_reader.h"
#include "kar/smf_file.h"
#include "kar_tree_generator.h"
#include "support/kar_builder.h"
#include "write/text_writer.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace corvanteller {
namespace {

using namespace Qt::StringLiterals;
using test::metaEvent;
using test::smfFile;

const QByteArray notes("\x00\x90\x3C\x40\x60\x3C\x00\x00\x80\x3C\x00", 11); // running status
const QByteArray tempo("\x00\xFF\x51\x03\x07\xA1\x20", 7);

QByteArray ordinaryFile() {
    return smfFile({metaEvent(0x03, "Old Title") + metaEvent(0x01, "Old Performer") +
                        metaEvent(0x01, "Old Authors") + metaEvent(0x02, "Old maker line") + tempo,
                    metaEvent(0x03, "Piano") + notes});
}

QByteArray softKaraokeFile(const QByteArray& name, const QList<QByteArray>& words) {
    QByteArray lines = metaEvent(0x03, "Words");
    for (const QByteArray& line : words) {
        lines += metaEvent(0x01, line);
    }
    return smfFile({metaEvent(0x03, name) + tempo, lines, metaEvent(0x03, "Piano") + notes});
}

// What every written file must keep: it reads as the texts, parses, and gives the old file
// back from its regions.
void expectWritten(const QByteArray& old, const TextWritePlan& plan, const SongTexts& texts,
                   RunSet runSet) {
    ASSERT_TRUE(plan.ok) << plan.refusal.toStdString();
    EXPECT_EQ(readKaraokeBytes(plan.newBytes, runSet), texts);
    EXPECT_TRUE(parseSmf(plan.newBytes).has_value());
    EXPECT_EQ(rebuildOldBytes(plan.newBytes, plan.regions), old);
}

TEST(SmfFile, RefusesEveryFileThatDoesNotParseToItsEnd) {
    const QByteArray good = ordinaryFile();
    ASSERT_TRUE(parseSmf(good).has_value());
    const QByteArray head("MThd\x00\x00\x00\x06\x00\x01\x00\x01\x01\xE0", 14);
    const auto track = [](const QByteArray& events, int claimed = -1) -> QByteArray {
        const int size = claimed < 0 ? int(events.size()) : claimed;
        return QByteArray("MTrk\x00\x00", 6) + char(size >> 8) + char(size & 0xFF) + events;
    };
    const struct {
        const char* what;
        QByteArray bytes;
    } broken[] = {
        {"empty", {}},
        {"no header chunk first", track("\x00\xFF\x2F\x00"_ba)},
        {"chunk length past the end", head + track(QByteArray("\x00\xFF\x2F\x00", 4), 9)},
        {"event cut", head + track(QByteArray("\x00\x90\x3C", 3))},
        {"running status without status", head + track(QByteArray("\x00\x3C\x40", 3))},
        {"running status after a sysex",
         head + track(QByteArray("\x00\xF0\x01\xF7\x00\x3C\x40", 7))},
        {"system common byte", head + track(QByteArray("\x00\xF2\x00\x00", 4))},
        {"meta length past its chunk", head + track(QByteArray("\x00\xFF\x01\x05"
                                                               "ab",
                                                               6))},
        {"five-byte delta time", head + track(QByteArray("\x81\x81\x81\x81\x01\xFF\x2F\x00", 8))},
        {"bytes left over", good + "MTr"},
        {"status byte as data", head + track(QByteArray("\x00\x90\x3C\x90", 4))},
    };
    for (const auto& file : broken) {
        EXPECT_FALSE(parseSmf(file.bytes).has_value()) << file.what;
    }
    const std::optional<SmfFile> parsed = parseSmf(good);
    ASSERT_EQ(parsed->chunks.size(), 3U);
    EXPECT_EQ(parsed->chunks[2].events.size(), 5U); // name, three notes, end of track
    EXPECT_EQ(parsed->chunks[2].events[2].statusAt, -1);
    for (const quint32 value : {0U, 0x7FU, 0x80U, 0x3FFFU, 0x4000U, 0x0FFFFFFFU}) {
        const QByteArray vlq = encodeVlq(value) + '\xFF' + '\x2F' + '\0';
        EXPECT_TRUE(parseSmf(QByteArray(head + track(vlq))).has_value()) << value;
    }
}

TEST(TextWriter, WritesAnOrdinaryFileAndRefusesByTheRule) {
    // "Words" anywhere lets a Soft Karaoke name decide the reading.
    const QByteArray withWords = smfFile({metaEvent(0x03, "Old Title"), metaEvent(0x05, "Words")});
    const QByteArray nameOnly = smfFile({metaEvent(0x03, "Old Title") + tempo, notes});
    const QByteArray inSysex = smfFile(
        {QByteArray("\x00\xF0\x03\xFF\x03\x41\x00\xF7\x00", 9) + metaEvent(0x03, "Old Title"),
         notes});
    const struct {
        const char* what;
        QByteArray file;
        SongTexts texts;
        RunSet runSet = RunSet::StartWindow;
        QString refusal; // empty: written
    } cases[] = {
        {"all four replaced",
         ordinaryFile(),
         {u"New Title"_s, u"Singer"_s, u"Composer"_s, u"Made"_s},
         RunSet::StartWindow,
         {}},
        {"longer and Russian",
         ordinaryFile(),
         {u"Песня о тревожной молодости"_s, u"Лев Лещенко"_s, u"Пахмутова"_s, u"Сделано"_s},
         RunSet::StartWindow,
         {}},
        {"texts inserted after the name",
         nameOnly,
         {u"Title"_s, u"Singer"_s, u"Composer"_s, u"Maker"_s},
         RunSet::StartWindow,
         {}},
        {"trailing texts emptied",
         ordinaryFile(),
         {u"Title"_s, u"Singer"_s, {}, {}},
         RunSet::StartWindow,
         {}},
        {"a middle text emptied",
         ordinaryFile(),
         {u"Title"_s, {}, u"Composer"_s, u"Maker"_s},
         RunSet::StartWindow,
         {}},
        {"one text inserted", nameOnly, {u"Title"_s, u"Singer"_s, {}, {}}, RunSet::StartWindow, {}},
        {"< kept on the start window",
         ordinaryFile(),
         {u"<Title>"_s, u"Singer"_s, {}, {}},
         RunSet::StartWindow,
         {}},
        {"< on the main window",
         ordinaryFile(),
         {u"<Title>"_s, u"Singer"_s, {}, {}},
         RunSet::MainWindow,
         u"'<' ends the text for the reader"_s},
        {"short text",
         ordinaryFile(),
         {u"Title"_s, u"ab"_s, {}, {}},
         RunSet::StartWindow,
         u"a text of 1 or 2 characters reads as empty"_s},
        {"bracket",
         ordinaryFile(),
         {u"Title [live]"_s, {}, {}, {}},
         RunSet::StartWindow,
         u"'[' ends the text for the reader"_s},
        {"Soft Karaoke name",
         withWords,
         {u"Soft Karaoke"_s, u"Singer"_s, {}, {}},
         RunSet::StartWindow,
         u"the first text reads as a Soft Karaoke name"_s},
        {"outside cp1251",
         ordinaryFile(),
         {u"Title \u4E2D"_s, {}, {}, {}},
         RunSet::StartWindow,
         u"holds a character that cp1251 cannot hold"_s},
        {"marker inside a sysex",
         inSysex,
         {u"Title"_s, {}, {}, {}},
         RunSet::StartWindow,
         u"The texts of f.kar are not stored where they are read."_s},
        {"not a MIDI file",
         ordinaryFile().chopped(1),
         {u"Title"_s, {}, {}, {}},
         RunSet::StartWindow,
         u"The file f.kar is not a MIDI file that can be changed safely."_s},
    };
    for (const auto& each : cases) {
        SCOPED_TRACE(each.what);
        const TextWritePlan plan = planTextWrite(each.file, each.texts, each.runSet, u"f.kar"_s);
        if (each.refusal.isEmpty()) {
            expectWritten(each.file, plan, each.texts, each.runSet);
            // The notes and the tempo stay, in their order.
            EXPECT_TRUE(plan.newBytes.contains(notes));
            EXPECT_TRUE(plan.newBytes.contains(tempo));
        } else {
            EXPECT_FALSE(plan.ok);
            EXPECT_TRUE(plan.refusal.contains(each.refusal)) << plan.refusal.toStdString();
        }
    }
}

TEST(TextWriter, WritesTheTitleLinesOfASoftKaraokeFile) {
    const QList<QByteArray> words = {"@KMIDI KARAOKE FILE", "@TOld Title",      "@TOld Singer",
                                     "@TOld Maker",         "\\Lyrics go here", "@IInfo"};
    const QByteArray tight =
        softKaraokeFile("Soft Karaoke", {"@TOne", "@TTwo", "@TThree", "@Iend"});
    const struct {
        const char* what;
        QByteArray file;
        SongTexts texts;
        QString refusal;
    } cases[] = {
        {"three titles",
         softKaraokeFile("Soft Karaoke", words),
         {u"New Title"_s, u"New Singer"_s, u"New Maker"_s, u"Soft Karaoke"_s},
         {}},
        {"an Ф stays",
         softKaraokeFile("Soft karaoke", words),
         {u"Ф Title"_s, u"Singer"_s, u"Maker"_s, u"Soft karaoke"_s},
         {}},
        {"an @I right after the third",
         tight,
         {u"Title"_s, u"Singer"_s, u"Maker"_s, u"Soft Karaoke"_s},
         {}},
        {"untitled",
         softKaraokeFile("untitled", words),
         {u"New Title"_s, u"New Singer"_s, u"New Maker"_s, u"untitled"_s},
         {}},
        {"titles inserted",
         softKaraokeFile("Soft Karaoke", {"@TOnly", "@Iend"}),
         {u"Title"_s, u"Singer"_s, u"Maker"_s, u"Soft Karaoke"_s},
         {}},
        {"maker",
         softKaraokeFile("Soft Karaoke", words),
         {u"Title"_s, u"Singer"_s, u"Maker"_s, u"Me"_s},
         u"The maker of a Soft Karaoke file is its format name and is not changed."_s},
        {"Russian",
         softKaraokeFile("Soft Karaoke", words),
         {u"Песня"_s, u"Singer"_s, u"Maker"_s, u"Soft Karaoke"_s},
         u"a Russian letter other than Ф ends a Soft Karaoke title"_s},
        {"short",
         softKaraokeFile("Soft Karaoke", words),
         {u"Abc"_s, u"Singer"_s, u"Maker"_s, u"Soft Karaoke"_s},
         u"a text of 1 to 3 characters reads as empty in a Soft Karaoke file"_s},
        {"gap",
         softKaraokeFile("Soft Karaoke", words),
         {{}, u"Singer"_s, u"Maker"_s, u"Soft Karaoke"_s},
         u"an empty text before a filled one closes up"_s},
        {"no @I",
         softKaraokeFile("Soft Karaoke", {"@TOne1", "@TTwo2", "@TThree"}),
         {u"Title"_s, u"Singer"_s, u"Maker"_s, u"Soft Karaoke"_s},
         u"no \"@I\" line follows"_s},
    };
    for (const auto& each : cases) {
        SCOPED_TRACE(each.what);
        const TextWritePlan plan =
            planTextWrite(each.file, each.texts, RunSet::StartWindow, u"f.kar"_s);
        if (each.refusal.isEmpty()) {
            expectWritten(each.file, plan, each.texts, RunSet::StartWindow);
            EXPECT_TRUE(plan.newBytes.contains("Lyrics go here") || !each.file.contains("Lyrics"));
        } else {
            EXPECT_FALSE(plan.ok);
            EXPECT_TRUE(plan.refusal.contains(each.refusal)) << plan.refusal.toStdString();
        }
    }
}

// The benchmark's generated files of both kinds, every title changed: most are written, and
// every written one reads back and gives the old file back.
TEST(TextWriter, RoundTripsGeneratedFiles) {
    bench::BenchRandom random(7);
    int written = 0;
    for (int i = 0; i < 120; ++i) {
        const bench::KarKind kind =
            i % 2 == 0 ? bench::KarKind::Ordinary : bench::KarKind::SoftKaraoke;
        const QByteArray old =
            bench::makeKaraokeFile(random, kind, 3000 + i * 97, bench::SoftKaraokeTags::Mixed);
        const RunSet runSet = i % 3 == 0 ? RunSet::MainWindow : RunSet::StartWindow;
        SongTexts texts = readKaraokeBytes(old, runSet);
        texts.first = u"Corrected title %1"_s.arg(i);
        const TextWritePlan plan = planTextWrite(old, texts, runSet, u"g.kar"_s);
        if (plan.ok) {
            ++written;
            expectWritten(old, plan, texts, runSet);
        } else {
            EXPECT_FALSE(plan.refusal.isEmpty());
        }
    }
    EXPECT_GT(written, 80);
}

// The MIDI files other programs wrote: each is written or refused with a reason.
TEST(TextWriter, WritesTheMidiFilesOfOtherPrograms) {
    const QDir folder(QStringLiteral(CORVANTELLER_MIDI_FOLDER));
    const QStringList names = folder.entryList({u"*.mid"_s}, QDir::Files);
    ASSERT_EQ(names.size(), 21);
    const SongTexts texts{u"Corrected Title"_s, u"Some Performer"_s, u"Words and Music"_s,
                          u"Made here"_s};
    int written = 0;
    for (const QString& name : names) {
        SCOPED_TRACE(name.toStdString());
        QFile file(folder.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray old = file.readAll();
        ASSERT_TRUE(parseSmf(old).has_value());
        const TextWritePlan plan = planTextWrite(old, texts, RunSet::StartWindow, name);
        if (plan.ok) {
            ++written;
            expectWritten(old, plan, texts, RunSet::StartWindow);
        } else {
            EXPECT_FALSE(plan.refusal.isEmpty());
        }
    }
    EXPECT_GE(written, 15);
}

} // namespace
} // namespace corvanteller
