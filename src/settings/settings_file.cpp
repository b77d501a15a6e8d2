// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/settings_file.h"

#include "common/cp1251.h"
#include "common/file_io.h"
#include "common/ole_date.h"
#include "common/seams.h"
#include "settings/settings_texts.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QtEndian>

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cmath>
#include <limits>
#include <optional>

using namespace Qt::StringLiterals;

namespace corvanteller {
namespace {

static_assert(std::numeric_limits<double>::is_iec559, "times are stored as IEEE doubles");

// A text that cp1251 cannot hold is stored as UTF-8 behind this marker.
constexpr QByteArrayView utf8Marker("\xEF\xBB\xBF");

// Far more than any real settings file; a larger file is read only this far.
constexpr qint64 maximumFileSize = 64 * 1024 * 1024;

// Thrown inside decoding when a field runs past the end of the bytes.
struct EndOfBytes {};

class FieldReader {
public:
    explicit FieldReader(QByteArrayView bytes) : bytes_(bytes) {}

    QByteArrayView take(qsizetype count) {
        if (count < 0 || count > bytes_.size() - position_) {
            throw EndOfBytes{};
        }
        const QByteArrayView field = bytes_.sliced(position_, count);
        position_ += count;
        return field;
    }

    quint8 byte() { return static_cast<quint8>(take(1)[0]); }
    bool flag() { return byte() != 0; }

    qint32 int32() { return qFromLittleEndian<qint32>(take(4).data()); }

    double real64() { return std::bit_cast<double>(qFromLittleEndian<quint64>(take(8).data())); }

    // A radio group's index: past the last item selects the last; no items selects none.
    int radio(int itemCount) {
        const int index = byte();
        return itemCount == 0 ? -1 : std::min(index, itemCount - 1);
    }

    template <typename Choice> Choice choice(int itemCount) {
        return static_cast<Choice>(radio(itemCount));
    }

    // A list's index; anything that is not an entry reads as no entry chosen.
    int listIndex(std::size_t entryCount) {
        const qint32 index = int32();
        return index >= 0 && static_cast<std::size_t>(index) < entryCount ? index : -1;
    }

    QString text() {
        // A damaged length must not be trusted: it is checked against what is left first.
        const QByteArrayView field = take(int32());
        if (field.startsWith(utf8Marker)) {
            return QString::fromUtf8(field.sliced(utf8Marker.size()));
        }
        return decodeCp1251(field);
    }

private:
    QByteArrayView bytes_;
    qsizetype position_ = 0;
};

class FieldWriter {
public:
    void byte(int value) { bytes_.append(static_cast<char>(static_cast<quint8>(value))); }
    void flag(bool value) { byte(value ? 1 : 0); }

    void int32(qint32 value) {
        char field[4];
        qToLittleEndian(value, field);
        bytes_.append(field, 4);
    }

    void real64(double value) {
        char field[8];
        qToLittleEndian(std::bit_cast<quint64>(value), field);
        bytes_.append(field, 8);
    }

    void raw(const std::array<char, 10>& field) {
        bytes_.append(field.data(), static_cast<qsizetype>(field.size()));
    }

    void text(const QString& text) {
        QByteArray field;
        const std::optional<QByteArray> cp1251 = encodeCp1251(text);
        // A cp1251 text that happens to begin with the marker's bytes would read back as
        // UTF-8, so it goes in the UTF-8 form as well.
        if (cp1251 && !cp1251->startsWith(utf8Marker)) {
            field = *cp1251;
        } else {
            field = utf8Marker.toByteArray() + text.toUtf8();
        }
        int32(static_cast<qint32>(field.size()));
        bytes_.append(field);
    }

    QByteArray take() { return std::move(bytes_); }

private:
    QByteArray bytes_;
};

// The edit text of a list follows a chosen entry; with no entry chosen it stays as it was.
template <std::size_t N>
void followEntry(QString& text, int index, const std::array<QStringView, N>& entries) {
    if (index >= 0) {
        text = entries[static_cast<std::size_t>(index)].toString();
    }
}

void readFields(FieldReader& in, Options& options, RunTimes& runTimes) {
    ExcelOptions& excel = options.excel;
    RenamingOptions& renaming = options.renaming;
    TextFormatOptions& textFormat = options.textFormat;

    options.scanning.plentyOfFiles = in.flag();
    textFormat.addDateAndTime = in.flag();
    textFormat.addNext = in.flag();
    excel.numberOfRow = in.flag();
    excel.colourHeadingsText = in.flag();
    excel.wideColumns = in.flag();
    excel.columnNames = in.flag();
    excel.italic = in.flag();
    excel.colourAllText = in.flag();
    excel.colourHeadingsBorders = in.flag();
    excel.colourAllBorders = in.flag();
    excel.addDateTime = in.flag();
    excel.chooseList1 = in.flag();
    excel.chooseList2 = in.flag();
    excel.addString = in.flag();
    options.general.errorMessages = in.flag();
    for (bool& mark : renaming.nameParts) {
        mark = in.flag();
    }
    // Three buttons of one group: a set one selects itself, so the last set one wins; with
    // none set the choice stays as it was rather than leaving the group empty.
    for (const DateTimeChoice choice :
         {DateTimeChoice::Date, DateTimeChoice::Time, DateTimeChoice::DateAndTime}) {
        if (in.flag()) {
            renaming.dateChoice = choice;
        }
    }
    options.general.hints = in.flag();
    excel.colourHeadingsFill = in.flag();
    excel.colourAllFill = in.flag();
    in.byte(); // always 1
    renaming.hiddenGroup = in.radio(0);
    renaming.whatFiles = in.choice<WhatFiles>(2);
    renaming.wordListIndex = in.listIndex(renameWordListEntries.size());
    renaming.separatorIndex = in.listIndex(renameSeparators.size());
    options.storedChoice = in.radio(2);
    textFormat.addNextIndex = in.listIndex(closingStringEntries.size());
    followEntry(textFormat.addNextText, textFormat.addNextIndex, closingStringEntries);
    excel.list1Index = in.listIndex(excelList1Entries.size());
    followEntry(excel.list1Text, excel.list1Index, excelList1Entries);
    excel.list2Index = in.listIndex(excelList2Entries.size());
    followEntry(excel.list2Text, excel.list2Index, excelList2Entries);
    options.general.columnWidthMode = in.choice<ColumnWidthMode>(3);
    excel.bordersDrawn = in.choice<BordersDrawn>(3);
    excel.whatAdded = in.choice<DateTimeChoice>(3);
    in.take(1 + 10 + 10); // fillers
    for (int& width : options.savedColumnWidths) {
        width = in.int32();
    }
    renaming.yourString = in.text();
    excel.stringToAdd = in.text();
    options.lastFolder = in.text();
    // A damaged time keeps the value it replaces instead of becoming nonsense for good.
    const QDateTime lastClose = fromOleDate(in.real64());
    if (lastClose.isValid()) {
        runTimes.lastCloseTime = lastClose;
    }
    const double accumulated = in.real64();
    if (std::isfinite(accumulated)) {
        runTimes.accumulatedRunDays = accumulated;
    }
}

} // namespace

QDateTime RunTimes::defaultCloseTime() {
    return fromOleDate(0.0);
}

QString settingsFilePath() {
    return QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation) + u"/prop.dat"_s;
}

ColumnWidthList widthsToSave(ColumnWidthMode mode, bool mainWindowVisible,
                             const ColumnWidthList& tableWidths,
                             const ColumnWidthList& savedWidths) {
    return mode == ColumnWidthMode::User && mainWindowVisible ? tableWidths : savedWidths;
}

std::array<char, 10> x87ExtendedBytes(quint32 wholeNumber) {
    std::array<char, 10> bytes{};
    if (wholeNumber == 0) {
        return bytes;
    }
    const int exponent = 31 - std::countl_zero(wholeNumber);
    const quint64 mantissa = quint64{wholeNumber} << (63 - exponent);
    const auto biased = static_cast<quint16>(16383 + exponent);
    qToLittleEndian(mantissa, bytes.data());
    qToLittleEndian(biased, bytes.data() + 8);
    return bytes;
}

QByteArray encodeSettings(const Options& options, const ColumnWidthList& columnWidths,
                          const QDateTime& closeTime, double accumulatedRunDays,
                          RandomSource& random) {
    const ExcelOptions& excel = options.excel;
    const RenamingOptions& renaming = options.renaming;
    const TextFormatOptions& textFormat = options.textFormat;

    FieldWriter out;
    out.byte(settingsSignature);
    out.flag(options.scanning.plentyOfFiles);
    out.flag(textFormat.addDateAndTime);
    out.flag(textFormat.addNext);
    out.flag(excel.numberOfRow);
    out.flag(excel.colourHeadingsText);
    out.flag(excel.wideColumns);
    out.flag(excel.columnNames);
    out.flag(excel.italic);
    out.flag(excel.colourAllText);
    out.flag(excel.colourHeadingsBorders);
    out.flag(excel.colourAllBorders);
    out.flag(excel.addDateTime);
    out.flag(excel.chooseList1);
    out.flag(excel.chooseList2);
    out.flag(excel.addString);
    out.flag(options.general.errorMessages);
    for (const bool mark : renaming.nameParts) {
        out.flag(mark);
    }
    for (const DateTimeChoice choice :
         {DateTimeChoice::Date, DateTimeChoice::Time, DateTimeChoice::DateAndTime}) {
        out.flag(renaming.dateChoice == choice);
    }
    out.flag(options.general.hints);
    out.flag(excel.colourHeadingsFill);
    out.flag(excel.colourAllFill);
    out.byte(1);
    out.byte(renaming.hiddenGroup);
    out.byte(static_cast<int>(renaming.whatFiles));
    out.int32(renaming.wordListIndex);
    out.int32(renaming.separatorIndex);
    out.byte(options.storedChoice);
    out.int32(textFormat.addNextIndex);
    out.int32(excel.list1Index);
    out.int32(excel.list2Index);
    out.byte(static_cast<int>(options.general.columnWidthMode));
    out.byte(static_cast<int>(excel.bordersDrawn));
    out.byte(static_cast<int>(excel.whatAdded));
    out.byte(random.bounded(100));
    out.raw(x87ExtendedBytes(static_cast<quint32>(1 + random.bounded(1'000'000))));
    out.raw(x87ExtendedBytes(static_cast<quint32>(1 + random.bounded(1'000'000))));
    for (const int width : columnWidths) {
        out.int32(width);
    }
    out.text(renaming.yourString);
    out.text(excel.stringToAdd);
    out.text(options.lastFolder);
    out.real64(toOleDate(closeTime));
    out.real64(truncateOleDateToSeconds(accumulatedRunDays));
    return out.take();
}

LoadResult decodeSettings(QByteArrayView bytes, Options& options, RunTimes& runTimes) {
    if (bytes.isEmpty()) {
        return {LoadOutcome::Truncated, settingsTexts::truncatedFile()};
    }
    if (static_cast<quint8>(bytes[0]) != settingsSignature) {
        return {LoadOutcome::Refused, settingsTexts::refusedFile()};
    }
    FieldReader in(bytes.sliced(1));
    try {
        readFields(in, options, runTimes);
    } catch (const EndOfBytes&) {
        return {LoadOutcome::Truncated, settingsTexts::truncatedFile()};
    }
    return {};
}

LoadResult loadSettings(const QString& path, Options& options, RunTimes& runTimes,
                        const Clock& clock) {
    runTimes.startTime = truncatedToSeconds(clock.now());
    QByteArray bytes;
    try {
        bytes = readFileBounded(path, maximumFileSize);
    } catch (const IoError& error) {
        // The first run has no file yet; that is not an error.
        if (error.code() == ENOENT) {
            return {LoadOutcome::NoFile, {}};
        }
        return {LoadOutcome::Unreadable, error.text()};
    }
    return decodeSettings(bytes, options, runTimes);
}

LoadResult loadSettings(Options& options, RunTimes& runTimes, const Clock& clock) {
    return loadSettings(settingsFilePath(), options, runTimes, clock);
}

RunTimes saveSettings(const QString& path, const Options& options,
                      const ColumnWidthList& columnWidths, const RunTimes& runTimes,
                      const Clock& clock, RandomSource& random) {
    const QDateTime closeTime = truncatedToSeconds(clock.now());
    // Elapsed seconds rather than the difference of the wall-clock dates, so that a run
    // across a daylight-saving change counts its real length.
    const qint64 runSeconds =
        runTimes.startTime.isValid() ? runTimes.startTime.secsTo(closeTime) : 0;
    const double accumulated = truncateOleDateToSeconds(runTimes.accumulatedRunDays +
                                                        static_cast<double>(runSeconds) / 86'400.0);
    const QByteArray bytes = encodeSettings(options, columnWidths, closeTime, accumulated, random);

    QDir().mkpath(QFileInfo(path).absolutePath());
    writeFileAtomically(path, bytes);
    // The run up to now is counted; a later save in the same run adds only what follows.
    return RunTimes{closeTime, closeTime, accumulated};
}

RunTimes saveSettings(const Options& options, const ColumnWidthList& columnWidths,
                      const RunTimes& runTimes, const Clock& clock, RandomSource& random) {
    return saveSettings(settingsFilePath(), options, columnWidths, runTimes, clock, random);
}

} // namespace corvanteller
