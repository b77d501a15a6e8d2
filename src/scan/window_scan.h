// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "kar/char_sets.h"
#include "scan/folder_scan.h"
#include "scan/scan_job.h"

#include <QObject>

#include <functional>
#include <optional>

class QLabel;
class QProgressBar;
class QPushButton;
class QWidget;

namespace corvanteller {

struct DesktopSettings;
struct Options;
class RowStore;
class ScanCache;
class UiServices;

// What a window's scan shows while it runs.
struct ScanWindowParts {
    QWidget* window;
    QProgressBar* progressBar; // steps of 10 that start again from 0 past the end
    QLabel* errorLabel;        // "Ошибка!!!!" after a read failure
    QLabel* progressLabel;     // under the bar: the files seen and the folder being listed
    QPushButton* stopButton;   // beside the bar, shown while the scan runs
};

// The texts of earlier scans and the setting that lets a window's scan use them, looked at as
// each scan starts; the cache is saved after each scan that used it.
struct WindowScanCache {
    ScanCache* cache = nullptr;
    const DesktopSettings* settings = nullptr;
};

// A window's scan. The folder is walked by a scan job on a thread of its own into rows of its
// own while the window keeps repainting and shows how far the scan has come; meanwhile the
// window's other controls and the program's other windows are disabled, and only the Stop
// button and Escape, which stop the scan, take the mouse or the keyboard. The rows go into the
// window's row store once the scan has ended, so nothing on the window's thread ever meets a
// half-written store.
class WindowScan : public QObject {
    Q_OBJECT

public:
    // folderSeam is read when each scan starts.
    WindowScan(const ScanWindowParts& parts, const ScanFolderSeam& folderSeam,
               WindowScanCache cache = {});
    ~WindowScan() override;
    WindowScan(const WindowScan&) = delete;
    WindowScan& operator=(const WindowScan&) = delete;

    // True while a scan of any window runs: the windows' activation handlers wait for its end.
    static bool anyRunning();
    bool running() const { return job_ != nullptr; }

    // The Stop button and Escape: the scan ends at the folder whose rows it is taking.
    void stop();
    // The window's close box during the scan: the scan stops, and the window is to close once
    // the scan has ended (closeWanted).
    void stopForClose();
    // Whether the last scan was stopped by the window's close; the next scan clears it.
    bool closeWanted() const { return closeWanted_; }

    // The folder dialog and the scan: nothing when the dialog was cancelled or the folder does
    // not exist. beforeScan runs once the folder is chosen.
    std::optional<ScanOutcome> chooseFolderAndScan(UiServices& ui, Options& options, RowStore& rows,
                                                   RunSet runSet,
                                                   const std::function<void()>& beforeScan = {});
    // The same scan for a folder chosen without the dialog (named on the command line).
    std::optional<ScanOutcome> scanFolder(const QString& folder, Options& options, RowStore& rows,
                                          RunSet runSet,
                                          const std::function<void()>& beforeScan = {});
    // The same for a folder as the file system names it, whose name need not be UTF-8.
    std::optional<ScanOutcome> scanFolderBytes(const QByteArray& folder, Options& options,
                                               RowStore& rows, RunSet runSet,
                                               const std::function<void()>& beforeScan = {});

protected:
    // Escape on the scan's window while it runs.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    ScanOutcome runJob(const ScanRequest& request, RowStore& rows);
    void showProgress();

    ScanWindowParts parts_;
    const ScanFolderSeam& folderSeam_;
    WindowScanCache cache_;
    ScanJob* job_ = nullptr; // while a scan runs
    int progressStepsShown_ = 0;
    bool closeWanted_ = false;
};

// The progress bar at the end of a scan: at its end position, hidden.
void finishScanProgress(QProgressBar* progressBar);

// Tells the user, once the table is shown, why a scan ended before every folder was listed:
// too many folders, a file that could not be read, the table's limits or the Stop button.
// Nothing for a complete scan or one that the guard ended.
void reportScanEnd(UiServices& ui, QWidget* parent, const ScanOutcome& outcome);

} // namespace corvanteller
