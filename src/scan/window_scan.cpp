#include "scan/window_scan.h"

#include "app/app_context.h"
#include "scan/scan_messages.h"

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

std::optional<ScanOutcome> chooseFolderAndScan(AppContext& context, const ScanWindowParts& parts,
                                               RowStore& rows, RunSet runSet,
                                               const std::function<void()>& beforeScan) {
    parts.progressBar->setValue(0);
    const bool plenty = context.options.scanning.plentyOfFiles;
    const QString folder = context.ui.chooseFolder(parts.window, context.options.lastFolder);
    if (folder.isEmpty() || !QDir(folder).exists()) {
        return std::nullopt;
    }
    context.options.lastFolder = folder;
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

} // namespace corvanteller
