// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/settings_file.h"

#include "common/cp1251.h"
#include "common/error.h"
#include "common/seams.h"

#include "support/file_faults.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>

#include <bit>
#include <functional>
#include <gtest/gtest.h>
#include <limits>
#include <vector>

namespace corvanteller {
namespace {

using namespace Qt::StringLiterals;

class FixedClock final : public Clock {
public:
    explicit FixedClock(QDateTime now) : time(std::move(now)) {}
    QDateTime now() const override { return time; }
    QDateTime time;
};

// Always draws the greatest value, so that the filler bytes show the bounds asked for.
class TopRandom final : public RandomSource {
public:
    int bounded(int bound) override { return bound - 1; }
};

QDateTime local(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) {
    return QDateTime(QDate(y, mo, d), QTime(h, mi, s), Qt::LocalTime);
}

// 6 December 2026, 21:48:09 as an OLE date, worked out by hand: 1 January 2000 is day 36526,
// 26 years with 7 leap days lead to 1 January 2026 (46023), 339 more days to 6 December.
const QDateTime closeTime = local(2026, 12, 6, 21, 48, 9);
const double closeTimeDays = 46362.0 + (21 * 3600 + 48 * 60 + 9) / 86400.0;

QByteArray le32(qint32 value) {
    char bytes[4];
    qToLittleEndian(value, bytes);
    return QByteArray(bytes, 4);
}

QByteArray le64(double value) {
    char bytes[8];
    qToLittleEndian(std::bit_cast<quint64>(value), bytes);
    return QByteArray(bytes, 8);
}

QByteArray bytesOf(std::initializer_list<int> values) {
    QByteArray bytes;
    for (const int value : values) {
        bytes.append(static_cast<char>(value));
    }
    return bytes;
}

QByteArray encode(const Options& options) {
    TopRandom random;
    return encodeSettings(options, options.savedColumnWidths, closeTime, 0.25, random);
}

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A field of the fixed part: where it lies, and a change away from the design value.
struct Field {
    int offset;
    int size;
    std::function<void(Options&)> change;
};

std::vector<Field> fixedFields() {
    std::vector<Field> fields = {
        {1, 1, [](Options& o) { o.scanning.plentyOfFiles = true; }},
        {2, 1, [](Options& o) { o.textFormat.addDateAndTime = true; }},
        {3, 1, [](Options& o) { o.textFormat.addNext = true; }},
        {4, 1, [](Options& o) { o.excel.numberOfRow = false; }},
        {5, 1, [](Options& o) { o.excel.colourHeadingsText = false; }},
        {6, 1, [](Options& o) { o.excel.wideColumns = false; }},
        {7, 1, [](Options& o) { o.excel.columnNames = false; }},
        {8, 1, [](Options& o) { o.excel.italic = false; }},
        {9, 1, [](Options& o) { o.excel.colourAllText = false; }},
        {10, 1, [](Options& o) { o.excel.colourHeadingsBorders = false; }},
        {11, 1, [](Options& o) { o.excel.colourAllBorders = false; }},
        {12, 1, [](Options& o) { o.excel.addDateTime = false; }},
        {13, 1, [](Options& o) { o.excel.chooseList1 = true; }},
        {14, 1, [](Options& o) { o.excel.chooseList2 = false; }},
        {15, 1, [](Options& o) { o.excel.addString = true; }},
        {16, 1, [](Options& o) { o.general.errorMessages = false; }},
        {25, 3, [](Options& o) { o.renaming.dateChoice = DateTimeChoice::Date; }},
        {28, 1, [](Options& o) { o.general.hints = false; }},
        {29, 1, [](Options& o) { o.excel.colourHeadingsFill = false; }},
        {30, 1, [](Options& o) { o.excel.colourAllFill = false; }},
        {33, 1, [](Options& o) { o.renaming.whatFiles = WhatFiles::OnlyChecked; }},
        {34, 4, [](Options& o) { o.renaming.wordListIndex = 16; }},
        {38, 4, [](Options& o) { o.renaming.separatorIndex = 5; }},
        {42, 1, [](Options& o) { o.storedChoice = 1; }},
        // Entries whose texts are the design texts, as reading sets the text of the entry.
        {43, 4, [](Options& o) { o.textFormat.addNextIndex = 3; }},
        {47, 4, [](Options& o) { o.excel.list1Index = 3; }},
        {51, 4, [](Options& o) { o.excel.list2Index = 2; }},
        {55, 1, [](Options& o) { o.general.columnWidthMode = ColumnWidthMode::User; }},
        {56, 1, [](Options& o) { o.excel.bordersDrawn = BordersDrawn::Horizontal; }},
        {57, 1, [](Options& o) { o.excel.whatAdded = DateTimeChoice::DateAndTime; }},
    };
    for (std::size_t i = 0; i < 8; ++i) {
        fields.push_back(
            {17 + static_cast<int>(i), 1, [i](Options& o) { o.renaming.nameParts[i] = true; }});
    }
    for (std::size_t i = 0; i < 7; ++i) {
        fields.push_back({79 + 4 * static_cast<int>(i), 4, [i](Options& o) {
                              o.savedColumnWidths[i] = 1 - static_cast<int>(i) * 55555;
                          }});
    }
    return fields;
}

// Every field changed; the texts 26 and 14 cp1251 bytes long, the folder beyond cp1251.
const QString lastFolder = u"/home/用户/Ελληνικά/"_s;
const int lastFolderSize = 4 + 3 + static_cast<int>(lastFolder.toUtf8().size());

Options everythingChanged() {
    Options options;
    for (const Field& field : fixedFields()) {
        field.change(options);
    }
    options.renaming.yourString = u"Напишите здесь чего-нибудь"_s;
    options.excel.stringToAdd = u"Всем ПрИвЕтИк!"_s;
    options.lastFolder = lastFolder;
    return options;
}

TEST(SettingsFile, WritesTheDocumentedBytes) {
    Options options;
    options.renaming.yourString.clear();
    options.excel.stringToAdd.clear();
    options.savedColumnWidths = {40, 90, 140, 190, 155, 155, 200};

    QByteArray expected;
    expected += bytesOf({250});
    expected += bytesOf({0, 0, 0});                               // 1-3 scanning, text format
    expected += bytesOf({1, 1, 1, 1, 1, 1, 1, 1, 1, 0, 1, 0, 1}); // 4-16 Excel page, messages
    expected += bytesOf({0, 0, 0, 0, 0, 0, 0, 0});                // 17-24 name parts
    expected += bytesOf({0, 0, 1});                               // 25-27 "Date and time"
    expected += bytesOf({1, 1, 1});                               // 28-30 hints, fills
    expected += bytesOf({1});                                     // 31
    expected += bytesOf({255, 0});              // 32 the hidden group's none, 33 "All"
    expected += le32(-1) + le32(-1);            // 34 word list, 38 separator
    expected += bytesOf({0});                   // 42 stored choice
    expected += le32(-1) + le32(-1) + le32(-1); // 43 add next list, 47 list #1, 51 list #2
    expected += bytesOf({2, 2, 0});             // 55-57 width mode, borders, what added
    expected += bytesOf({99});                  // 58 filler, 0 to 99
    for (int i = 0; i < 2; ++i) {               // 59, 69: 1,000,000 as an x87 extended real
        expected += bytesOf({0, 0, 0, 0, 0, 0, 0x24, 0xF4, 0x12, 0x40});
    }
    for (const int width : {40, 90, 140, 190, 155, 155, 200}) {
        expected += le32(width);
    }
    expected += le32(0) + le32(0) + le32(0); // 107 three empty texts
    expected += le64(closeTimeDays);
    // Started an hour before the close, after 0.5 days of earlier runs.
    expected += le64((12 + 1) * 3600 / 86400.0);
    ASSERT_EQ(expected.size(), settingsMinimumSize);

    QTemporaryDir dir;
    const QString path = dir.filePath(u"prop.dat"_s);
    FixedClock clock(closeTime.addMSecs(730));
    TopRandom random;
    const RunTimes runs{closeTime.addSecs(-3600), {}, 0.5};
    const RunTimes written =
        saveSettings(path, options, options.savedColumnWidths, runs, clock, random);
    EXPECT_EQ(readAll(path).toHex(' '), expected.toHex(' '));
    EXPECT_EQ(written.lastCloseTime, closeTime);
    EXPECT_EQ(written.startTime, closeTime);
    EXPECT_DOUBLE_EQ(written.accumulatedRunDays, 13 * 3600 / 86400.0);
}

TEST(SettingsFile, EachFieldLiesAtItsOffset) {
    const QByteArray design = encode(Options{});
    for (const Field& field : fixedFields()) {
        SCOPED_TRACE(field.offset);
        Options changed;
        field.change(changed);
        const QByteArray bytes = encode(changed);
        ASSERT_EQ(bytes.size(), design.size());
        int differing = 0;
        for (int i = 0; i < design.size(); ++i) {
            if (bytes[i] != design[i]) {
                ++differing;
                EXPECT_TRUE(i >= field.offset && i < field.offset + field.size) << i;
            }
        }
        EXPECT_GT(differing, 0);
    }
    // The hidden group is written as it stands although reading gives none.
    Options options;
    options.renaming.hiddenGroup = 2;
    EXPECT_EQ(encode(options)[32], 2);
}

TEST(SettingsFile, ATextThatLooksMarkedIsWrittenMarked) {
    // Its cp1251 bytes begin EF BB BF, the marker of a UTF-8 text.
    Options options;
    options.excel.stringToAdd = u"п»ї начало"_s;
    const QByteArray bytes = encode(options);
    const QByteArray marked = "\xEF\xBB\xBF" + options.excel.stringToAdd.toUtf8();
    const int at = 107 + 4 + 23; // after "Write what you want!!!!"
    EXPECT_EQ(bytes.mid(at, 4 + marked.size()), le32(static_cast<qint32>(marked.size())) + marked);

    Options read;
    RunTimes runs;
    ASSERT_EQ(decodeSettings(bytes, read, runs).outcome, LoadOutcome::Loaded);
    EXPECT_EQ(read, options);
}

TEST(SettingsFile, ASignatureOtherThan250ChangesNothing) {
    QByteArray bytes = encode(everythingChanged());
    bytes[0] = static_cast<char>(251);
    QTemporaryDir dir;
    const QString path = dir.filePath(u"prop.dat"_s);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    file.close();

    Options read;
    RunTimes runs;
    const LoadResult result = loadSettings(path, read, runs, FixedClock(closeTime.addMSecs(999)));
    EXPECT_EQ(result.outcome, LoadOutcome::Refused);
    EXPECT_EQ(result.message, u"Error while loading settings"_s);
    EXPECT_EQ(read, Options{});
    EXPECT_EQ(runs.lastCloseTime, RunTimes::defaultCloseTime());
    EXPECT_EQ(runs.accumulatedRunDays, 0.0);
    EXPECT_EQ(runs.startTime, closeTime);
}

TEST(SettingsFile, AShortFileKeepsTheFieldsBeforeTheBreak) {
    const QByteArray bytes = encode(everythingChanged());
    const int closeField = 107 + 4 + 26 + 4 + 14 + lastFolderSize;
    ASSERT_EQ(bytes.size(), closeField + 16);
    std::vector<Field> fields = fixedFields();
    fields.push_back(
        {107, 30, [](Options& o) { o.renaming.yourString = u"Напишите здесь чего-нибудь"_s; }});
    fields.push_back({137, 18, [](Options& o) { o.excel.stringToAdd = u"Всем ПрИвЕтИк!"_s; }});
    fields.push_back({155, lastFolderSize, [](Options& o) { o.lastFolder = lastFolder; }});

    // Cuts at the start, between fields, inside a list index, a width, a text and the times.
    for (const int cut : {0, 17, 36, 81, 107, 125, closeField, closeField + 8}) {
        SCOPED_TRACE(cut);
        Options expected;
        for (const Field& field : fields) {
            if (field.offset + field.size <= cut) {
                field.change(expected);
            }
        }
        Options read;
        RunTimes runs;
        const LoadResult result = decodeSettings(bytes.left(cut), read, runs);
        EXPECT_EQ(result.outcome, LoadOutcome::Truncated);
        EXPECT_EQ(result.message, u"Read beyond end of file"_s);
        EXPECT_EQ(read, expected);
        EXPECT_EQ(runs.lastCloseTime,
                  cut >= closeField + 8 ? closeTime : RunTimes::defaultCloseTime());
        EXPECT_EQ(runs.accumulatedRunDays, 0.0);
    }
}

TEST(SettingsFile, DamagedLengthsAndTimesAreNotTrusted) {
    const Options full = everythingChanged();
    const QByteArray fixedPart = encode(full).left(107);
    const QByteArray rest = *encodeCp1251(u"abc") + le32(0) + le32(0) + le64(1) + le64(1);
    Options expected = full;
    expected.renaming.yourString = Options{}.renaming.yourString;
    expected.excel.stringToAdd = Options{}.excel.stringToAdd;
    expected.lastFolder.clear();
    for (const qint32 length :
         {-1, std::numeric_limits<qint32>::min(), std::numeric_limits<qint32>::max(),
          static_cast<qint32>(rest.size()) + 1}) {
        SCOPED_TRACE(length);
        Options read;
        RunTimes runs;
        const QByteArray bytes = fixedPart + le32(length) + rest;
        EXPECT_EQ(decodeSettings(bytes, read, runs).outcome, LoadOutcome::Truncated);
        EXPECT_EQ(read, expected);
    }

    // Times that are no times keep the values they would replace.
    QByteArray bytes = encode(Options{});
    bytes.chop(16);
    bytes += le64(std::numeric_limits<double>::quiet_NaN()) +
             le64(std::numeric_limits<double>::infinity());
    Options read;
    RunTimes runs;
    EXPECT_EQ(decodeSettings(bytes, read, runs).outcome, LoadOutcome::Loaded);
    EXPECT_EQ(runs.lastCloseTime, RunTimes::defaultCloseTime());
    EXPECT_EQ(runs.accumulatedRunDays, 0.0);
}

TEST(SettingsFile, ChoicesOutsideTheirItemsAreBroughtIn) {
    struct Case {
        int offset;
        QByteArray value;
        std::function<void(Options&)> expect;
    };
    const Case cases[] = {
        // Radio groups: past the last item is the last item; no items is none.
        {55, bytesOf({255}),
         [](Options& o) { o.general.columnWidthMode = ColumnWidthMode::WidestLine; }},
        {42, bytesOf({9}), [](Options& o) { o.storedChoice = 1; }},
        {32, bytesOf({2}), [](Options& o) { o.renaming.hiddenGroup = -1; }},
        {1, bytesOf({0x80}), [](Options& o) { o.scanning.plentyOfFiles = true; }},
        // Two date buttons set: the later wins; none set keeps the choice.
        {25, bytesOf({1, 1, 0}), [](Options& o) { o.renaming.dateChoice = DateTimeChoice::Time; }},
        {25, bytesOf({0, 0, 0}),
         [](Options& o) { o.renaming.dateChoice = DateTimeChoice::DateAndTime; }},
        // Lists: an entry brings its text; anything else is none and keeps the text.
        {47, le32(16),
         [](Options& o) {
             o.excel.list1Index = 16;
             o.excel.list1Text = u"Gift"_s;
         }},
        {34, le32(29), [](Options& o) { o.renaming.wordListIndex = -1; }},
        {38, le32(-7), [](Options& o) { o.renaming.separatorIndex = -1; }},
    };
    const QByteArray design = encode(Options{});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.offset);
        QByteArray bytes = design;
        bytes.replace(c.offset, c.value.size(), c.value);
        Options read;
        RunTimes runs;
        ASSERT_EQ(decodeSettings(bytes, read, runs).outcome, LoadOutcome::Loaded);
        Options expected;
        c.expect(expected);
        EXPECT_EQ(read, expected);
    }
}

TEST(SettingsFile, WrittenThenReadBackGivesEveryFieldAndTheRunTimesSoFar) {
    QTemporaryDir dir;
    const QString path = dir.filePath(u"prop.dat"_s);
    const Options options = everythingChanged();
    TopRandom random;

    // First run: no file yet, which is no error; an hour long.
    FixedClock clock(local(2025, 1, 10, 9).addMSecs(600));
    Options read;
    RunTimes runs;
    const LoadResult none = loadSettings(path, read, runs, clock);
    EXPECT_EQ(none.outcome, LoadOutcome::NoFile);
    EXPECT_TRUE(none.message.isEmpty());
    EXPECT_EQ(runs.startTime, local(2025, 1, 10, 9));
    clock.time = local(2025, 1, 10, 10).addMSecs(400);
    saveSettings(path, options, options.savedColumnWidths, runs, clock, random);

    // Second run the next day, half an hour long, saved twice (both windows closing): the
    // run is counted once.
    clock.time = local(2025, 1, 11, 20, 15);
    const LoadResult loaded = loadSettings(path, read, runs, clock);
    EXPECT_EQ(loaded.outcome, LoadOutcome::Loaded);
    EXPECT_TRUE(loaded.message.isEmpty());
    EXPECT_EQ(read, options);
    EXPECT_EQ(runs.startTime, local(2025, 1, 11, 20, 15));
    EXPECT_EQ(runs.lastCloseTime, local(2025, 1, 10, 10));
    EXPECT_DOUBLE_EQ(runs.accumulatedRunDays, 3600 / 86400.0);
    clock.time = local(2025, 1, 11, 20, 40);
    runs = saveSettings(path, options, options.savedColumnWidths, runs, clock, random);
    clock.time = local(2025, 1, 11, 20, 45);
    saveSettings(path, options, options.savedColumnWidths, runs, clock, random);

    EXPECT_EQ(loadSettings(path, read, runs, clock).outcome, LoadOutcome::Loaded);
    EXPECT_EQ(runs.lastCloseTime, local(2025, 1, 11, 20, 45));
    EXPECT_DOUBLE_EQ(runs.accumulatedRunDays, 5400 / 86400.0);
}

TEST(SettingsFile, AFileThatCannotBeReadKeepsTheDefaultsAndTheRuntimesWords) {
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkdir(u"folder"_s));
    test::linkToFailingRead(dir.filePath(u"unreadable"_s));
    const struct {
        const char* name;
        LoadOutcome outcome;
        QString message;
    } cases[] = {
        {"missing/prop.dat", LoadOutcome::NoFile, QString()},
        {"folder", LoadOutcome::Unreadable, u"File access denied"_s},
        {"unreadable", LoadOutcome::Unreadable, u"I/O error 5"_s},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Options read;
        RunTimes runs;
        const LoadResult result = loadSettings(dir.filePath(QString::fromLatin1(c.name)), read,
                                               runs, FixedClock(closeTime.addMSecs(999)));
        EXPECT_EQ(result.outcome, c.outcome);
        EXPECT_EQ(result.message, c.message);
        EXPECT_EQ(read, Options{});
        EXPECT_EQ(runs.lastCloseTime, RunTimes::defaultCloseTime());
        EXPECT_EQ(runs.startTime, closeTime);
    }
}

TEST(SettingsFile, AHugeFileIsReadOnlyAsFarAsAnySettingsGo) {
    QTemporaryDir dir;
    const QString path = dir.filePath(u"prop.dat"_s);
    const Options options = everythingChanged();
    test::writeSparseFile(path, encode(options), 300'000'000);
    Options read;
    RunTimes runs;
    const qint64 before = test::bytesReadSoFar();
    EXPECT_EQ(loadSettings(path, read, runs, FixedClock(closeTime)).outcome, LoadOutcome::Loaded);
    EXPECT_LE(test::bytesReadSoFar() - before, 65 * 1024 * 1024);
    EXPECT_EQ(read, options);
    EXPECT_EQ(runs.lastCloseTime, closeTime);
}

TEST(SettingsFile, WidthsToSave) {
    const ColumnWidthList table = {1, 2, 3, 4, 5, 6, 7};
    const ColumnWidthList saved = {60, 60, 75, 60, 60, 60, 60};
    for (const ColumnWidthMode mode :
         {ColumnWidthMode::Fixed, ColumnWidthMode::User, ColumnWidthMode::WidestLine}) {
        for (const bool visible : {false, true}) {
            const bool fromTable = mode == ColumnWidthMode::User && visible;
            EXPECT_EQ(widthsToSave(mode, visible, table, saved), fromTable ? table : saved)
                << static_cast<int>(mode) << visible;
        }
    }
}

} // namespace
} // namespace corvanteller
