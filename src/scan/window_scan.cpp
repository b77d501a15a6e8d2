#include "scan/window_scan.h"

#include "scan/scan_messages.h"
#include "settings/options.h"
#include "ui/ui_services.h"

#include <QDir>
#include <QLabel>
#include <QProgressBar>

namespace corvanteller {

namespace {

void advanceProgress(QProgressBar* progressBar) {
    const int next = progressBar->value() + 10;
    progressBar->setValue(next > progressBar->maximum() ? 0 : next);
    progressBar->repaint();
}

} // namespace

std::optional<ScanOutcome> chooseFolderAndScan(UiServices& ui, Options& options,
                                               const ScanWindowParts& parts, RowStore& rows,
                                               RunSet runSet,
                                               const std::function<void()>& beforeScan) {
    const QString folder = ui.chooseFolder(parts.window, options.lastFolder);
    return scanFolderForWindow(folder, options, parts, rows, runSet, beforeScan);
}

std::optional<ScanOutcome> scanFolderForWindow(const QString& folder, Options& options,
                                               const ScanWindowParts& parts, RowStore& rows,
                                               RunSet runSet,
                                               const std::function<void()>& beforeScan) {
    parts.progressBar->setValue(0);
    const bool plenty = options.scanning.plentyOfFiles;
    if (folder.isEmpty() || !QDir(folder).exists()) {
        return std::nullopt;
    }
    options.lastFolder = folder;
    if (beforeScan) {
        beforeScan();
    }
    parts.progressBar->show();
    const ScanOutcome outcome = scanFolder(ScanRequest::forFolder(folder, runSet, plenty), rows,
                                           [&parts] { advanceProgress(parts.progressBar); });
    if (outcome.end == ScanEnd::ReadError) {
        parts.errorLabel->setText(scanErrorLabelText());
    }
    return outcome;
}

void finishScanProgress(QProgressBar* progressBar) {
    progressBar->setValue(progressBar->maximum());
    progressBar->hide();
}

void reportScanEnd(UiServices& ui, QWidget* parent, const ScanOutcome& outcome) {
    const QString message = scanEndMessage(outcome);
    if (!message.isEmpty()) {
        ui.showMessage(parent, message);
    }
}

} // namespace corvanteller
