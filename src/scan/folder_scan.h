// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "kar/char_sets.h"
#include "kar/song_texts.h"

#include <QByteArray>
#include <QString>

#include <atomic>
#include <functional>
#include <mutex>
#include <vector>

namespace corvanteller {

class RowStore;
class ScanCache;

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
    Stopped,        // the user stopped it (ScanControl::requestStop)
};

// How far a scan has come, as the thread that watches it sees it.
struct ScanProgress {
    int progressSteps = 0; // steps of 250 non-folder entries taken into account
    int filesSeen = 0;     // non-folder entries listed so far
    QString folder;        // the folder whose rows are being taken, as the user sees it
};

// What a scan running on a thread of its own shares with the thread that watches it: a stop
// request and its progress. Every member may be called from any thread.
class ScanControl {
public:
    // The scan ends before the next thing it would take into account, as if it had ended at
    // the folder whose rows it is taking: the rows taken before stay. A file being read stops
    // between two of its reads; a folder being listed is finished first.
    void requestStop() { stop_.store(true, std::memory_order_relaxed); }
    bool stopRequested() const { return stop_.load(std::memory_order_relaxed); }
    // What the karaoke reader looks at between its reads.
    const std::atomic<bool>& stopFlag() const { return stop_; }

    ScanProgress progress() const {
        ScanProgress progress;
        progress.progressSteps = progressSteps_.load(std::memory_order_relaxed);
        progress.filesSeen = filesSeen_.load(std::memory_order_relaxed);
        const std::lock_guard lock(mutex_);
        progress.folder = folder_;
        return progress;
    }

    // Called by the scan on its own thread as it begins taking a folder's rows; a test may
    // hold the scan there.
    std::function<void(const QString& folder)> folderReached;

    // The scan's side.
    void addProgressStep() { progressSteps_.fetch_add(1, std::memory_order_relaxed); }
    void setFilesSeen(int files) { filesSeen_.store(files, std::memory_order_relaxed); }
    void setFolder(const QString& folder) {
        const std::lock_guard lock(mutex_);
        folder_ = folder;
    }

private:
    std::atomic<bool> stop_{false};
    std::atomic<int> progressSteps_{0};
    std::atomic<int> filesSeen_{0};
    mutable std::mutex mutex_;
    QString folder_;
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
    // A scan that the user may stop and whose progress another thread shows; none for a scan
    // that runs to its end where it was called.
    ScanControl* control = nullptr;
    // The texts of earlier scans: a file whose identity is as it was then gives its row
    // without being opened, and every file read is remembered (the caller saves the cache).
    // None: every file is read.
    ScanCache* cache = nullptr;

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
    // RowLimit, QueueLimit and Stopped: the stored-folder text of the folder being listed.
    QString stoppedInFolder;
    // Folders that could not be listed, whole or in part, and were taken as empty; the first
    // of them as the user sees it and the runtime's text for the reason.
    int unreadableFolders = 0;
    QString unreadableFolder;
    QString unreadableReason;

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

// A scan's row as the next row of a row store (row count + 1).
void appendScannedRow(RowStore& rows, const QString& name, const QString& storedFolder,
                      const SongTexts& texts);

// A row of a scan kept apart from every row store, for a scan on a thread of its own.
struct ScannedRow {
    QString name;
    QString storedFolder;
    SongTexts texts;
};

// The same scan into rows of its own.
ScanOutcome scanFolder(const ScanRequest& request, std::vector<ScannedRow>& rows);

// Rows 1 to rows.size() of the row store become the scanned rows, as a scan straight into the
// row store would have written them.
void storeScannedRows(RowStore& store, const std::vector<ScannedRow>& rows);

} // namespace corvanteller
