// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "settings/options.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QDateTime>
#include <QString>

#include <array>

namespace corvanteller {

class Clock;
class RandomSource;

// The program's own times: kept by the start window, shown in part by the About window.
struct RunTimes {
    // This run's start, whole seconds; after a save, that save's close time.
    QDateTime startTime;
    // The previous run's close, as loaded (a save returns its own close time here).
    QDateTime lastCloseTime = defaultCloseTime();
    // All runs so far, in days.
    double accumulatedRunDays = 0.0;

    // The OLE date 0, 30 December 1899 00:00, what a run without a settings file shows.
    static QDateTime defaultCloseTime();
};

enum class LoadOutcome {
    Loaded,     // every field read
    NoFile,     // no settings file yet (first run): defaults stay, nothing to report
    Refused,    // first byte not 250: nothing changed
    Truncated,  // the file ended inside a field: the fields before it were read
    Unreadable, // the file cannot be opened or read: the runtime's text ("File access denied")
};

struct LoadResult {
    LoadOutcome outcome = LoadOutcome::Loaded;
    // What the error report shows; empty when there is nothing to show.
    QString message;
};

inline constexpr unsigned char settingsSignature = 250;
// Size of a settings file whose three texts are empty.
inline constexpr int settingsMinimumSize = 135;

// "prop.dat" in the per-user configuration folder (QStandardPaths::AppConfigLocation).
QString settingsFilePath();

// The column widths a save writes: the table's current widths while the mode is "User settings"
// and the main window is visible, the saved widths otherwise.
ColumnWidthList widthsToSave(ColumnWidthMode mode, bool mainWindowVisible,
                             const ColumnWidthList& tableWidths,
                             const ColumnWidthList& savedWidths);

// Reads the settings file into options and runTimes. runTimes.startTime becomes the clock's
// now, cut to whole seconds, whatever the file holds. Fields are set as they are read, so a
// short file leaves the fields after the break as they were. Never throws; a message to show
// comes back in the result.
LoadResult loadSettings(const QString& path, Options& options, RunTimes& runTimes,
                        const Clock& clock);
LoadResult loadSettings(Options& options, RunTimes& runTimes, const Clock& clock);

// Writes the whole settings file, replacing the old one only once the new one is complete.
// The close time is the clock's now cut to whole seconds; the run since runTimes.startTime is
// added to the accumulated run time. Returns the times written, with the close time as the
// new start time, so that a second save in the same run does not count the run twice.
// Throws UserError with the system's reason when the file cannot be written.
RunTimes saveSettings(const QString& path, const Options& options,
                      const ColumnWidthList& columnWidths, const RunTimes& runTimes,
                      const Clock& clock, RandomSource& random);
RunTimes saveSettings(const Options& options, const ColumnWidthList& columnWidths,
                      const RunTimes& runTimes, const Clock& clock, RandomSource& random);

// The file's bytes without the file: encodeSettings draws the three filler values from random
// (a number 0 to 99, then two whole numbers 1 to 1,000,000); decodeSettings reads as
// loadSettings does after the file was opened, leaving runTimes.startTime alone.
QByteArray encodeSettings(const Options& options, const ColumnWidthList& columnWidths,
                          const QDateTime& closeTime, double accumulatedRunDays,
                          RandomSource& random);
LoadResult decodeSettings(QByteArrayView bytes, Options& options, RunTimes& runTimes);

// A whole number as the 10 bytes of an x87 80-bit extended real, little-endian: 64-bit
// mantissa with its integer bit, then 15-bit exponent and sign.
std::array<char, 10> x87ExtendedBytes(quint32 wholeNumber);

} // namespace corvanteller
