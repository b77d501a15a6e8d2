// SPDX-License-Identifier: GPL-3.0-or-later
#include "kar/kar_reader.h"
#include "kar/smf_file.h"
#include "kar_tree_generator.h"
#include "support/kar_builder.h"
#include "write/text_writer.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <tuple>

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
    EXPECT_EQ(parsed->chunks[2].events[2].statusAt(), -1);
    for (const quint32 value : {0U, 0x7FU, 0x80U, 0x3FFFU, 0x4000U, 0x0FFFFFFFU}) {
        const QByteArray vlq = encodeVlq(value) + '\xFF' + '\x2F' + '\0';
        EXPECT_TRUE(parseSmf(QByteArray(head + track(vlq))).has_value()) << value;
    }
}

TEST(SmfFile, ParsesIntoTheMemoryOfTheFileBeforeAsIntoNew) {
    const QByteArray broken = ordinaryFile().chopped(1);
    const QByteArray files[] = {softKaraokeFile("Soft Karaoke", {"@TTitle of the song", "@IInfo"}),
                                ordinaryFile(), broken, smfFile({notes}),
                                smfFile({metaEvent(0x03, "Only") + tempo + notes, tempo, notes})};
    SmfFile reused;
    for (const QByteArray& file : files) {
        const std::optional<SmfFile> fresh = parseSmf(file);
        ASSERT_EQ(parseSmfInto(file, reused), fresh.has_value());
        if (!fresh) {
            continue;
        }
        ASSERT_EQ(reused.chunks.size(), fresh->chunks.size());
        for (std::size_t c = 0; c < fresh->chunks.size(); ++c) {
            const SmfChunk& got = reused.chunks[c];
            const SmfChunk& want = fresh->chunks[c];
            EXPECT_EQ(std::tie(got.type, got.start, got.dataStart, got.dataSize),
                      std::tie(want.type, want.start, want.dataStart, want.dataSize));
            ASSERT_EQ(got.events.size(), want.events.size());
            for (std::size_t e = 0; e < want.events.size(); ++e) {
                const SmfEvent& a = got.events[e];
                const SmfEvent& b = want.events[e];
                EXPECT_EQ(
                    std::tie(a.start, a.end, a.dataStart, a.status, a.metaType, a.statusSkip),
                    std::tie(b.start, b.end, b.dataStart, b.status, b.metaType, b.statusSkip));
            }
        }
    }
}

// oldSize bytes at offset give way to bytes.
struct Change {
    qsizetype offset = 0;
    qsizetype oldSize = 0;
    QByteArray bytes;
};

struct Spliced {
    QByteArray bytes;
    std::vector<SmfSplice> splices;
};

Spliced spliced(const QByteArray& old, const std::vector<Change>& changes) {
    Spliced result;
    qsizetype at = 0;
    for (const Change& change : changes) {
        result.bytes += old.mid(at, change.offset - at);
        result.splices.push_back(
            {change.offset, change.oldSize, result.bytes.size(), change.bytes.size()});
        result.bytes += change.bytes;
        at = change.offset + change.oldSize;
    }
    result.bytes += old.mid(at);
    return result;
}

// The length of the track whose chunk begins at chunk, grown by growth.
Change trackLength(const QByteArray& old, qsizetype chunk, int growth) {
    const QByteArray field = old.mid(chunk + 4, 4);
    const int length = (uchar(field[2]) << 8 | uchar(field[3])) + growth;
    return {chunk + 4, 4, QByteArray("\x00\x00", 2) + char(length >> 8) + char(length & 0xFF)};
}

TEST(SmfFile, ProvesSplicedBytesQuicklyAsWhenParsedWhole) {
    const QByteArray old =
        smfFile({metaEvent(0x03, "Title") + tempo, metaEvent(0x03, "Piano") + notes});
    const std::optional<SmfFile> parsed = parseSmf(old);
    ASSERT_TRUE(parsed.has_value());
    const qsizetype nameLength = old.indexOf("Title") - 1;
    const qsizetype tempoAt = old.indexOf(tempo);
    const qsizetype second = old.lastIndexOf("MTrk");
    const qsizetype running = old.indexOf(notes) + 4; // the note under running status
    const QByteArray lyric = metaEvent(0x05, "la");
    const QByteArray sysex("\x00\xF0\x01\xF7", 4);
    const QByteArray singer = metaEvent(0x01, "Singer");
    const struct {
        const char* what;
        std::vector<Change> changes;
        bool holds;
        qsizetype flipped = -1; // a byte of the new file changed outside every splice
    } cases[] = {
        {"a longer name", {trackLength(old, 14, 4), {nameLength, 6, "\x09New Title"_ba}}, true},
        {"a text after the name",
         {trackLength(old, 14, int(singer.size())), {tempoAt, 0, singer}},
         true},
        {"an event removed", {trackLength(old, 14, -7), {tempoAt, 7, {}}}, true},
        {"a note's velocity", {{running + 2, 1, "\x41"_ba}}, true},
        {"a meta event before running status",
         {trackLength(old, second, int(lyric.size())), {running, 0, lyric}},
         true},
        {"a sysex before running status",
         {trackLength(old, second, int(sysex.size())), {running, 0, sysex}},
         false},
        {"the track length left", {{nameLength, 6, "\x09New Title"_ba}}, false},
        {"a length that takes in the next event", {{nameLength, 1, "\x07"_ba}}, false},
        {"a data byte made a status byte", {{running + 1, 1, "\x90"_ba}}, false},
        {"a byte outside the splices", {trackLength(old, 14, 0)}, false, running + 2},
    };
    for (const auto& each : cases) {
        Spliced changed = spliced(old, each.changes);
        if (each.flipped >= 0) {
            changed.bytes[each.flipped] = char(changed.bytes[each.flipped] ^ 1);
        }
        for (const SpliceProof proof : {SpliceProof::Quick, SpliceProof::Whole}) {
            EXPECT_EQ(parsesAsSpliced(old, *parsed, changed.bytes, changed.splices, proof),
                      each.holds)
                << each.what << (proof == SpliceProof::Quick ? " (quick)" : " (whole)");
        }
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
