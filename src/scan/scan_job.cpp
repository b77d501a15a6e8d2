// SPDX-License-Identifier: GPL-3.0-or-later
#include "scan/scan_job.h"

#include <QThread>

namespace corvanteller {

ScanJob::ScanJob(const ScanRequest& request, ScanFolderSeam folderSeam, QObject* parent)
    : QObject(parent), request_(request), folderSeam_(std::move(folderSeam)) {
    request_.control = &control_;
    control_.folderReached = [this](const QString& folder) {
        announceProgress();
        if (folderSeam_) {
            folderSeam_(folder);
        }
    };
}

ScanJob::~ScanJob() {
    if (thread_) {
        requestInterruption();
        thread_->wait();
    }
}

void ScanJob::start() {
    thread_.reset(QThread::create([this] { run(); }));
    // Sent from the thread as it ends, after the scan's last row.
    connect(thread_.get(), &QThread::finished, this, &ScanJob::finished, Qt::DirectConnection);
    thread_->start();
}

void ScanJob::requestInterruption() {
    control_.requestStop();
}

bool ScanJob::isInterruptionRequested() const {
    return control_.stopRequested();
}

void ScanJob::wait() {
    if (thread_) {
        thread_->wait();
    }
}

bool ScanJob::isFinished() const {
    return thread_ && thread_->isFinished();
}

ScanProgress ScanJob::progress() const {
    // Cleared before the progress is read: a step after the read sends the next signal.
    progressWaiting_.exchange(false, std::memory_order_acq_rel);
    return control_.progress();
}

ScanOutcome ScanJob::takeResult(std::vector<ScannedRow>& rows) {
    if (failure_) {
        std::rethrow_exception(failure_);
    }
    rows = std::move(rows_);
    rows_.clear();
    return outcome_;
}

void ScanJob::run() {
    try {
        outcome_ = scanFolder(
            request_,
            [this](const QString& name, const QString& storedFolder, const SongTexts& texts) {
                rows_.push_back({name, storedFolder, texts});
            },
            [this] { announceProgress(); });
    } catch (...) {
        failure_ = std::current_exception();
    }
}

void ScanJob::announceProgress() {
    if (!progressWaiting_.exchange(true, std::memory_order_acq_rel)) {
        Q_EMIT progressed();
    }
}

} // namespace corvanteller
