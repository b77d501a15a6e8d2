#include "settings/settings_file.h"

#include "common/cp1251.h"
#include "common/error.h"
#include "common/ole_date.h"
#include "fake_seams.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>

#include <bit>
#include <cstring>
#include <functional>
#include <gtest/gtest.h>
#include <limits>
#include <vector>

#if defined(Q_OS_UNIX)
#include <csignal>
#include <sys/resource.h>
#endif

namespace corvanteller {
namespace {

using test::FixedClock;
using test::ScriptedRandom;
using namespace Qt::StringLiterals;

QDateTime local(int y, int mo, int d, int h = 0, int mi = 0, int s = 0, int ms = 0) {
    return QDateTime(QDate(y, mo, d), QTime(h, mi, s, ms), Qt::LocalTime);
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

QByteArray encode(const Options& options, double accumulated = 0.25) {
    ScriptedRandom random;
    return encodeSettings(options, options.savedColumnWidths, closeTime, accumulated, random);
}

// One field of the fixed part of the file: where it lies, and a change away from the design
// value that must show only there.
struct Field {
    const char* name;
    int offset;
    int size;
    std::function<void(Options&)> change;
};

std::vector<Field> fixedFields() {
    std::vector<Field> fields = {
        {"plenty of files", 1, 1, [](Options& o) { o.scanning.plentyOfFiles = true; }},
        {"add date and time", 2, 1, [](Options& o) { o.textFormat.addDateAndTime = true; }},
        {"add next", 3, 1, [](Options& o) { o.textFormat.addNext = true; }},
        {"number of row", 4, 1, [](Options& o) { o.excel.numberOfRow = false; }},
        {"colour headings text", 5, 1, [](Options& o) { o.excel.colourHeadingsText = false; }},
        {"wide columns", 6, 1, [](Options& o) { o.excel.wideColumns = false; }},
        {"column names", 7, 1, [](Options& o) { o.excel.columnNames = false; }},
        {"italic", 8, 1, [](Options& o) { o.excel.italic = false; }},
        {"colour all text", 9, 1, [](Options& o) { o.excel.colourAllText = false; }},
        {"colour headings borders", 10, 1,
         [](Options& o) { o.excel.colourHeadingsBorders = false; }},
        {"colour all borders", 11, 1, [](Options& o) { o.excel.colourAllBorders = false; }},
        {"add date/time", 12, 1, [](Options& o) { o.excel.addDateTime = false; }},
        {"choose list 1", 13, 1, [](Options& o) { o.excel.chooseList1 = true; }},
        {"choose list 2", 14, 1, [](Options& o) { o.excel.chooseList2 = false; }},
        {"add string", 15, 1, [](Options& o) { o.excel.addString = true; }},
        {"error messages", 16, 1, [](Options& o) { o.general.errorMessages = false; }},
        {"date choice", 25, 3, [](Options& o) { o.renaming.dateChoice = 0; }},
        {"hints", 28, 1, [](Options& o) { o.general.hints = false; }},
        {"colour headings fill", 29, 1, [](Options& o) { o.excel.colourHeadingsFill = false; }},
        {"colour all fill", 30, 1, [](Options& o) { o.excel.colourAllFill = false; }},
        {"what files", 33, 1, [](Options& o) { o.renaming.whatFiles = 1; }},
        {"word list", 34, 4, [](Options& o) { o.renaming.wordListIndex = 16; }},
        {"separator", 38, 4, [](Options& o) { o.renaming.separatorIndex = 5; }},
        {"stored choice", 42, 1, [](Options& o) { o.storedChoice = 1; }},
        {"add next list", 43, 4,
         [](Options& o) {
             o.textFormat.addNextIndex = 5;
             o.textFormat.addNextText = u"Made in USSR"_s;
         }},
        {"list 1", 47, 4,
         [](Options& o) {
             o.excel.list1Index = 28;
             o.excel.list1Text = u"The Best of The Best"_s;
         }},
        {"list 2", 51, 4,
         [](Options& o) {
             o.excel.list2Index = 0;
             o.excel.list2Text = u"Cool!!!"_s;
         }},
        {"column width mode", 55, 1, [](Options& o) { o.general.columnWidthMode = 1; }},
        {"borders drawn", 56, 1, [](Options& o) { o.excel.bordersDrawn = 1; }},
        {"what added", 57, 1, [](Options& o) { o.excel.whatAdded = 2; }},
    };
    for (int i = 0; i < 8; ++i) {
        fields.push_back({"name part", 17 + i, 1, [i](Options& o) {
                              o.renaming.nameParts[static_cast<std::size_t>(i)] = true;
                          }});
    }
    static constexpr std::array<int, 7> widths = {11, -2, 333, 4444, 55555, 666666, 7};
    for (int i = 0; i < 7; ++i) {
        fields.push_back({"width", 79 + 4 * i, 4, [i](Options& o) {
                              o.savedColumnWidths[static_cast<std::size_t>(i)] =
                                  widths[static_cast<std::size_t>(i)];
                          }});
    }
    return fields;
}

// Every field changed, texts included, one of them beyond cp1251.
const QString yourString = u"Напишите здесь чего-нибудь"_s;
const QString stringToAdd = u"Всем ПрИвЕтИк!"_s;
const QString lastFolder = u"/home/用户/Ελληνικά/"_s;

Options everythingChanged() {
    Options options;
    for (const Field& field : fixedFields()) {
        field.change(options);
    }
    options.renaming.yourString = yourString;
    options.excel.stringToAdd = stringToAdd;
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
    expected += bytesOf({42});                  // 58 filler
    expected += bytesOf({0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x3F});    // 59: 1.0
    expected += bytesOf({0, 0, 0, 0, 0, 0, 0x24, 0xF4, 0x12, 0x40}); // 69: 1,000,000.0
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
    ScriptedRandom random{{100, 42}, {1'000'000, 0}, {1'000'000, 999'999}};
    RunTimes runs;
    runs.startTime = closeTime.addSecs(-3600);
    runs.accumulatedRunDays = 0.5;
    const RunTimes written =
        saveSettings(path, options, options.savedColumnWidths, runs, clock, random);
    EXPECT_TRUE(random.usedUp());

    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll().toHex(' '), expected.toHex(' '));
    EXPECT_EQ(written.lastCloseTime, closeTime);
    EXPECT_EQ(written.startTime, closeTime);
    EXPECT_DOUBLE_EQ(written.accumulatedRunDays, 13 * 3600 / 86400.0);
}

TEST(SettingsFile, EachFieldLiesAtItsOffset) {
    const QByteArray design = encode(Options{});
    ASSERT_EQ(design.size(), 107 + 4 + 23 + 4 + 7 + 4 + 0 + 16);
    for (const Field& field : fixedFields()) {
        SCOPED_TRACE(field.name + std::to_string(field.offset));
        Options changed;
        field.change(changed);
        const QByteArray bytes = encode(changed);
        ASSERT_EQ(bytes.size(), design.size());
        int differing = 0;
        for (int i = 0; i < design.size(); ++i) {
            if (bytes[i] != design[i]) {
                ++differing;
                EXPECT_GE(i, field.offset);
                EXPECT_LT(i, field.offset + field.size);
            }
        }
        EXPECT_GT(differing, 0);
    }
}

TEST(SettingsFile, TextsAreLengthPrefixedCp1251OrMarkedUtf8) {
    Options options;
    options.renaming.yourString = u"Привет"_s;
    options.excel.stringToAdd = u"п»ї начало"_s; // cp1251 bytes EF BB BF at its start
    options.lastFolder = lastFolder;
    const QByteArray bytes = encode(options);

    const QByteArray privet = *encodeCp1251(u"Привет");
    const QByteArray marked = "\xEF\xBB\xBF" + u"п»ї начало"_s.toUtf8();
    const QByteArray folder = "\xEF\xBB\xBF" + lastFolder.toUtf8();
    const QByteArray texts = le32(6) + privet + le32(static_cast<qint32>(marked.size())) + marked +
                             le32(static_cast<qint32>(folder.size())) + folder;
    EXPECT_EQ(bytes.mid(107, texts.size()).toHex(' '), texts.toHex(' '));

    Options read;
    RunTimes runs;
    ASSERT_EQ(decodeSettings(bytes, read, runs).outcome, LoadOutcome::Loaded);
    EXPECT_EQ(read.renaming.yourString, u"Привет"_s);
    EXPECT_EQ(read.excel.stringToAdd, u"п»ї начало"_s);
    EXPECT_EQ(read.lastFolder, lastFolder);
}

TEST(SettingsFile, WrittenThenReadBackGivesEveryField) {
    QTemporaryDir dir;
    const QString path = dir.filePath(u"prop.dat"_s);
    const Options options = everythingChanged();
    FixedClock clock(closeTime);
    ScriptedRandom random;
    RunTimes runs;
    runs.startTime = closeTime.addSecs(-90);
    runs.accumulatedRunDays = 3.0;
    saveSettings(path, options, options.savedColumnWidths, runs, clock, random);

    Options read;
    RunTimes readRuns;
    FixedClock later(closeTime.addDays(1));
    const LoadResult result = loadSettings(path, read, readRuns, later);
    EXPECT_EQ(result.outcome, LoadOutcome::Loaded);
    EXPECT_TRUE(result.message.isEmpty());
    EXPECT_EQ(read, options);
    EXPECT_EQ(readRuns.startTime, closeTime.addDays(1));
    EXPECT_EQ(readRuns.lastCloseTime, closeTime);
    EXPECT_DOUBLE_EQ(readRuns.accumulatedRunDays, 3.0 + 90 / 86400.0);
}

TEST(SettingsFile, ASignatureOtherThan250ChangesNothing) {
    QByteArray bytes = encode(everythingChanged());
    bytes[0] = static_cast<char>(251);
    QTemporaryDir dir;
    const QString path = dir.filePath(u"prop.dat"_s);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    file.close();

    Options read;
    RunTimes runs;
    FixedClock clock(closeTime.addMSecs(999));
    const LoadResult result = loadSettings(path, read, runs, clock);
    EXPECT_EQ(result.outcome, LoadOutcome::Refused);
    EXPECT_EQ(result.message, u"Error while loading settings"_s);
    EXPECT_EQ(read, Options{});
    EXPECT_EQ(runs.lastCloseTime, RunTimes::defaultCloseTime());
    EXPECT_EQ(runs.accumulatedRunDays, 0.0);
    EXPECT_EQ(runs.startTime, closeTime);
}

TEST(SettingsFile, AShortFileKeepsTheFieldsBeforeTheBreak) {
    const Options full = everythingChanged();
    const QByteArray bytes = encode(full, 7.5);

    // The texts and times follow the fixed part; their places depend on the texts' lengths.
    std::vector<Field> fields = fixedFields();
    const int text1 = 107;
    const int text2 = text1 + 4 + 26;
    const int text3 = text2 + 4 + 14;
    const int closeField = text3 + 4 + 3 + static_cast<int>(lastFolder.toUtf8().size());
    const int accumulatedField = closeField + 8;
    ASSERT_EQ(bytes.size(), accumulatedField + 8);
    fields.push_back(
        {"your string", text1, 4 + 26, [](Options& o) { o.renaming.yourString = yourString; }});
    fields.push_back(
        {"string to add", text2, 4 + 14, [](Options& o) { o.excel.stringToAdd = stringToAdd; }});
    fields.push_back(
        {"last folder", text3, closeField - text3, [](Options& o) { o.lastFolder = lastFolder; }});

    // Cuts inside the three date choice bytes are left out: they are one group of buttons.
    const int cuts[] = {0,
                        1,
                        2,
                        4,
                        17,
                        21,
                        25,
                        28,
                        31,
                        33,
                        36,
                        42,
                        45,
                        55,
                        58,
                        60,
                        70,
                        79,
                        81,
                        106,
                        107,
                        109,
                        111,
                        125,
                        135,
                        140,
                        closeField,
                        closeField + 4,
                        accumulatedField,
                        accumulatedField + 7};
    for (const int cut : cuts) {
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
                  cut >= accumulatedField ? closeTime : RunTimes::defaultCloseTime());
        EXPECT_EQ(runs.accumulatedRunDays, 0.0);
    }
}

TEST(SettingsFile, ADamagedTextLengthStopsReadingThere) {
    const Options full = everythingChanged();
    const QByteArray fixedPart = encode(full).left(107);
    const QByteArray rest = *encodeCp1251(u"abc") + le32(0) + le32(0) + le64(1) + le64(1);
    const qint32 lengths[] = {-1, -2'147'483'647 - 1, 2'147'483'647,
                              static_cast<qint32>(rest.size()) + 1};
    for (const qint32 length : lengths) {
        SCOPED_TRACE(length);
        Options read;
        RunTimes runs;
        const LoadResult result =
            decodeSettings(QByteArray(fixedPart + le32(length) + rest), read, runs);
        EXPECT_EQ(result.outcome, LoadOutcome::Truncated);
        EXPECT_EQ(result.message, u"Read beyond end of file"_s);
        Options expected = full;
        expected.renaming.yourString = Options{}.renaming.yourString;
        expected.excel.stringToAdd = Options{}.excel.stringToAdd;
        expected.lastFolder.clear();
        EXPECT_EQ(read, expected);
    }
}

TEST(SettingsFile, ChoicesOutsideTheirItemsAreBroughtIn) {
    struct Case {
        const char* name;
        int offset;
        QByteArray value;
        std::function<void(Options&)> expect;
    };
    const Case cases[] = {
        {"width mode past the last item", 55, bytesOf({3}),
         [](Options& o) { o.general.columnWidthMode = 2; }},
        {"width mode 255", 55, bytesOf({255}), [](Options& o) { o.general.columnWidthMode = 2; }},
        {"width mode 0", 55, bytesOf({0}), [](Options& o) { o.general.columnWidthMode = 0; }},
        {"borders drawn", 56, bytesOf({9}), [](Options& o) { o.excel.bordersDrawn = 2; }},
        {"what added", 57, bytesOf({200}), [](Options& o) { o.excel.whatAdded = 2; }},
        {"what files", 33, bytesOf({5}), [](Options& o) { o.renaming.whatFiles = 1; }},
        {"stored choice", 42, bytesOf({9}), [](Options& o) { o.storedChoice = 1; }},
        {"the hidden group has no items", 32, bytesOf({2}),
         [](Options& o) { o.renaming.hiddenGroup = -1; }},
        {"any non-zero byte is true", 1, bytesOf({0x80}),
         [](Options& o) { o.scanning.plentyOfFiles = true; }},
        {"two date buttons set: the later wins", 25, bytesOf({1, 1, 0}),
         [](Options& o) { o.renaming.dateChoice = 1; }},
        {"no date button set keeps the choice", 25, bytesOf({0, 0, 0}),
         [](Options& o) { o.renaming.dateChoice = 2; }},
        {"a list entry brings its text", 47, le32(16),
         [](Options& o) {
             o.excel.list1Index = 16;
             o.excel.list1Text = u"Gift"_s;
         }},
        {"a list index past the entries is none", 34, le32(29),
         [](Options& o) { o.renaming.wordListIndex = -1; }},
        {"a negative list index is none", 38, le32(-7),
         [](Options& o) { o.renaming.separatorIndex = -1; }},
        {"the last separator", 38, le32(7), [](Options& o) { o.renaming.separatorIndex = 7; }},
        {"a closing string past the entries keeps its text", 43, le32(8),
         [](Options& o) { o.textFormat.addNextIndex = -1; }},
    };
    const QByteArray design = encode(Options{});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
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

TEST(SettingsFile, TheHiddenGroupIsWrittenAsSetAndReadAsNone) {
    Options options;
    EXPECT_EQ(static_cast<quint8>(encode(options)[32]), 255);
    options.renaming.hiddenGroup = 2;
    EXPECT_EQ(encode(options)[32], 2);
}

TEST(SettingsFile, DamagedTimesKeepTheirFormerValues) {
    QByteArray bytes = encode(Options{});
    const qsizetype times = bytes.size() - 16;
    bytes.replace(times, 16,
                  QByteArray(le64(std::numeric_limits<double>::quiet_NaN()) +
                             le64(std::numeric_limits<double>::infinity())));
    Options read;
    RunTimes runs;
    EXPECT_EQ(decodeSettings(bytes, read, runs).outcome, LoadOutcome::Loaded);
    EXPECT_EQ(runs.lastCloseTime, RunTimes::defaultCloseTime());
    EXPECT_EQ(runs.accumulatedRunDays, 0.0);
}

TEST(SettingsFile, RunTimeAccumulatesOverRuns) {
    QTemporaryDir dir;
    const QString path = dir.filePath(u"prop.dat"_s);
    const Options options;
    ScriptedRandom random;

    // First run: no file yet, which is no error; an hour long.
    FixedClock clock(local(2025, 1, 10, 9, 0, 0, 600));
    Options first;
    RunTimes firstRuns;
    const LoadResult none = loadSettings(path, first, firstRuns, clock);
    EXPECT_EQ(none.outcome, LoadOutcome::NoFile);
    EXPECT_TRUE(none.message.isEmpty());
    EXPECT_EQ(first, Options{});
    EXPECT_EQ(firstRuns.startTime, local(2025, 1, 10, 9));
    clock.set(local(2025, 1, 10, 10, 0, 0, 400));
    saveSettings(path, first, first.savedColumnWidths, firstRuns, clock, random);

    // Second run the next day, half an hour long.
    clock.set(local(2025, 1, 11, 20, 15, 0));
    Options second;
    RunTimes secondRuns;
    EXPECT_EQ(loadSettings(path, second, secondRuns, clock).outcome, LoadOutcome::Loaded);
    EXPECT_EQ(secondRuns.lastCloseTime, local(2025, 1, 10, 10));
    EXPECT_DOUBLE_EQ(secondRuns.accumulatedRunDays, 3600 / 86400.0);
    // Saved twice in this run (both windows closing): the run is counted once.
    clock.set(local(2025, 1, 11, 20, 40, 0));
    secondRuns = saveSettings(path, second, second.savedColumnWidths, secondRuns, clock, random);
    clock.set(local(2025, 1, 11, 20, 45, 0));
    saveSettings(path, second, second.savedColumnWidths, secondRuns, clock, random);

    Options third;
    RunTimes thirdRuns;
    EXPECT_EQ(loadSettings(path, third, thirdRuns, clock).outcome, LoadOutcome::Loaded);
    EXPECT_EQ(thirdRuns.lastCloseTime, local(2025, 1, 11, 20, 45));
    EXPECT_DOUBLE_EQ(thirdRuns.accumulatedRunDays, 5400 / 86400.0);
}

TEST(SettingsFile, AFolderInPlaceOfTheFileIsReportedAndChangesNothing) {
    QTemporaryDir dir;
    Options read;
    RunTimes runs;
    FixedClock clock(closeTime);
    const LoadResult result = loadSettings(dir.path(), read, runs, clock);
    EXPECT_EQ(result.outcome, LoadOutcome::Unreadable);
    EXPECT_FALSE(result.message.isEmpty());
    EXPECT_EQ(read, Options{});
    EXPECT_EQ(runs.startTime, closeTime);
}

TEST(SettingsFile, AFailedSaveThrowsTheReason) {
    QTemporaryDir dir;
    QFile blocker(dir.filePath(u"plain-file"_s));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    FixedClock clock(closeTime);
    ScriptedRandom random;
    const Options options;
    try {
        saveSettings(dir.filePath(u"plain-file/prop.dat"_s), options, options.savedColumnWidths,
                     RunTimes{}, clock, random);
        FAIL() << "no error";
    } catch (const UserError& error) {
        EXPECT_FALSE(error.text().isEmpty());
    }
}

#if defined(Q_OS_UNIX)
TEST(SettingsFile, AFailedSaveLeavesTheOldFileWhole) {
    QTemporaryDir dir;
    const QString path = dir.filePath(u"prop.dat"_s);
    const Options old = everythingChanged();
    FixedClock clock(closeTime);
    ScriptedRandom random;
    saveSettings(path, old, old.savedColumnWidths, RunTimes{}, clock, random);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray before = file.readAll();
    file.close();

    // Writes beyond 100 bytes fail from here on, as on a full disk.
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 100;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    bool thrown = false;
    try {
        saveSettings(path, Options{}, Options{}.savedColumnWidths, RunTimes{}, clock, random);
    } catch (const UserError& error) {
        thrown = !error.text().isEmpty();
    }
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_TRUE(thrown);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), before);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{u"prop.dat"_s});
}
#endif

TEST(SettingsFile, TheDefaultPlaceIsTheUsersConfigurationFolder) {
    QTemporaryDir dir;
    const QByteArray oldConfig = qgetenv("XDG_CONFIG_HOME");
    const bool hadConfig = qEnvironmentVariableIsSet("XDG_CONFIG_HOME");
    const QString oldName = QCoreApplication::applicationName();
    const QString oldOrganisation = QCoreApplication::organizationName();
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir.path()));
    QCoreApplication::setApplicationName(u"Corvanteller"_s);
    QCoreApplication::setOrganizationName(QString());

    const QString expectedPath = dir.path() + u"/Corvanteller/prop.dat"_s;
    EXPECT_EQ(settingsFilePath(), expectedPath);
    const Options options = everythingChanged();
    FixedClock clock(closeTime);
    ScriptedRandom random;
    saveSettings(options, options.savedColumnWidths, RunTimes{}, clock, random);
    EXPECT_TRUE(QFile::exists(expectedPath));
    Options read;
    RunTimes runs;
    EXPECT_EQ(loadSettings(read, runs, clock).outcome, LoadOutcome::Loaded);
    EXPECT_EQ(read, options);

    QCoreApplication::setApplicationName(oldName);
    QCoreApplication::setOrganizationName(oldOrganisation);
    if (hadConfig) {
        qputenv("XDG_CONFIG_HOME", oldConfig);
    } else {
        qunsetenv("XDG_CONFIG_HOME");
    }
}

TEST(SettingsFile, WidthsToSave) {
    const std::array<int, 7> table = {1, 2, 3, 4, 5, 6, 7};
    const std::array<int, 7> saved = {60, 60, 75, 60, 60, 60, 60};
    for (int mode = 0; mode <= 2; ++mode) {
        for (const bool visible : {false, true}) {
            const bool fromTable = mode == columnWidthUser && visible;
            EXPECT_EQ(widthsToSave(mode, visible, table, saved), fromTable ? table : saved)
                << mode << visible;
        }
    }
}

TEST(SettingsFile, ExtendedRealsOfWholeNumbers) {
    EXPECT_EQ(QByteArray(x87ExtendedBytes(3).data(), 10).toHex(' '),
              QByteArray("00 00 00 00 00 00 00 c0 00 40"));
    EXPECT_EQ(QByteArray(x87ExtendedBytes(0).data(), 10), QByteArray(10, '\0'));
    // Where long double is the x87 format, the compiler's own bytes must agree.
    if constexpr (std::numeric_limits<long double>::digits == 64 &&
                  std::numeric_limits<long double>::max_exponent == 16384) {
        for (const quint32 n : {1u, 2u, 7u, 99u, 12345u, 524288u, 999999u, 1000000u}) {
            const long double value = n;
            char bytes[10];
            std::memcpy(bytes, &value, 10);
            EXPECT_EQ(QByteArray(x87ExtendedBytes(n).data(), 10), QByteArray(bytes, 10)) << n;
        }
    }
}

} // namespace
} // namespace corvanteller
