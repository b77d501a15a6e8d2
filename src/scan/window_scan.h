#pragma once

#include "kar/char_sets.h"
#include "scan/folder_scan.h"

#include <functional>
#include <optional>

class QLabel;
class QProgressBar;
class QWidget;

namespace corvanteller {

struct Options;
class RowStore;
class UiServices;

// What a window's scan shows while it runs.
struct ScanWindowParts {
    QWidget* window;
    QProgressBar* progressBar; // steps of 10 that start again from 0 past the end
    QLabel* errorLabel;        // "Ошибка!!!!" after a read failure
};

// The folder dialog and the scan of either window: nothing when the dialog was cancelled or
// the folder does not exist. beforeScan runs once the folder is chosen. The scan runs on the
// GUI thread; only the progress bar is redrawn.
std::optional<ScanOutcome> chooseFolderAndScan(UiServices& ui, Options& options,
                                               const ScanWindowParts& parts, RowStore& rows,
                                               RunSet runSet,
                                               const std::function<void()>& beforeScan = {});

// The same scan for a folder chosen without the dialog (named on the command line).
std::optional<ScanOutcome> scanFolderForWindow(const QString& folder, Options& options,
                                               const ScanWindowParts& parts, RowStore& rows,
                                               RunSet runSet,
                                               const std::function<void()>& beforeScan = {});

// The progress bar at the end of a scan: at its end position, hidden.
void finishScanProgress(QProgressBar* progressBar);

// Tells the user, once the table is shown, why a scan ended before every folder was listed:
// too many folders, a file that could not be read, or the table's limits. Nothing for a
// complete scan or one that the guard ended.
void reportScanEnd(UiServices& ui, QWidget* parent, const ScanOutcome& outcome);

} // namespace corvanteller
