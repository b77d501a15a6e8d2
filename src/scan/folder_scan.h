#pragma once

#include "kar/char_sets.h"
#include "kar/song_texts.h"

#include <QByteArray>
#include <QString>

#include <functional>

namespace corvanteller {

class RowStore;

inline constexpr int normalGuardLimit = 4021;
inline constexpr int plentyGuardLimit = 55010;
inline constexpr int listedFolderLimit = 17119;
inline constexpr int folderQueueLimit = 45002;
inline constexpr int entriesPerProgressStep = 250;

inline int guardLimitFor(bool plentyOfFiles) {
    return plentyOfFiles ? plentyGuardLimit : normalGuardLimit;
}

enum class ScanEnd {
    Complete,       // every folder below the chosen one was listed
    Guard,          // too many entries below ".." folders since the last karaoke file
    TooManyFolders, // more than 17,119 folders listed: the error flag of the scan
    ReadError,      // a karaoke file could not be opened or read, or a folder could not be
                    // opened for want of descriptors or memory
    RowLimit,       // a karaoke file would have needed row 45,003
    QueueLimit,     // a folder would have been queued while 45,002 paths wait
};

struct ScanRequest {
    QByteArray folderBytes; // the chosen folder as the file system names it
    QString folderText;     // the same folder as the user sees it
    RunSet runSet = RunSet::StartWindow;
    int guardLimit = normalGuardLimit;
    // Threads that read karaoke files ahead of the rows, beside the calling thread; -1 for
    // the machine's other cores. The rows, the progress steps and the end are the same with
    // any number.
    int readAheadHelpers = -1;
    // Opens a folder below the chosen one (openat when empty); tests make it fail.
    std::function<int(int parentFd, const char* name, int flags)> openFolderAt = {};

    // A folder chosen in a dialog (text) is named on disk by its local 8-bit encoding.
    static ScanRequest forFolder(const QString& folder, RunSet runSet, bool plentyOfFiles);
    // A folder given as bytes (a command line argument) is shown as its decoded name.
    static ScanRequest forFolderBytes(const QByteArray& folder, RunSet runSet, bool plentyOfFiles);
};

struct ScanOutcome {
    ScanEnd end = ScanEnd::Complete;
    int listedFolders = 0;
    QString errorText; // the failed file or folder and the system's reason, for ReadError
    // ReadError: the failed file or folder as the user sees it, the system's error number and
    // the runtime's text for it (ioErrorText).
    QString errorPath;
    int errorCode = 0;
    QString errorReason;
    // RowLimit and QueueLimit: the stored-folder text of the folder being listed.
    QString stoppedInFolder;

    bool tooManyFolders() const { return end == ScanEnd::TooManyFolders; }
};

// Takes the next row of a scan: the file's name, its stored folder (its folder and "/") and
// its texts.
using ScanRowSink =
    std::function<void(const QString& name, const QString& storedFolder, const SongTexts& texts)>;

// The breadth-first walk: lists the chosen folder, then every folder below it level by level,
// hands every karaoke file's row to addRow in that order (at most RowStore::maxRows rows), and
// calls progressStep once every 250 non-folder entries.
ScanOutcome scanFolder(const ScanRequest& request, const ScanRowSink& addRow,
                       const std::function<void()>& progressStep = {});

// The same into the rows of a row store, whose row count starts at 0.
ScanOutcome scanFolder(const ScanRequest& request, RowStore& rows,
                       const std::function<void()>& progressStep = {});

} // namespace corvanteller
