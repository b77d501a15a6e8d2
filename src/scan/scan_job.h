// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "scan/folder_scan.h"

#include <QObject>

#include <atomic>
#include <exception>
#include <functional>
#include <memory>
#include <vector>

class QThread;

namespace corvanteller {

// Runs on the scan's thread as the scan begins taking the rows of a folder; tests hold a scan
// there.
using ScanFolderSeam = std::function<void(const QString& storedFolder)>;

// A scan on a thread of its own into rows of its own. It tells how far it has come through the
// queued signal progressed and its end through finished; an interruption request ends it at
// the folder whose rows it is taking, as the scan's stop does (ScanControl::requestStop).
class ScanJob : public QObject {
    Q_OBJECT

public:
    // The request's own control, if any, is replaced by the job's.
    ScanJob(const ScanRequest& request, ScanFolderSeam folderSeam, QObject* parent = nullptr);
    // A scan still running is interrupted and waited for.
    ~ScanJob() override;
    ScanJob(const ScanJob&) = delete;
    ScanJob& operator=(const ScanJob&) = delete;

    void start();
    // From any thread, the scan's own included.
    void requestInterruption();
    bool isInterruptionRequested() const;
    // Until the scan's thread has ended.
    void wait();
    bool isFinished() const;

    // The scan's latest progress; the next progressed signal is sent once the scan has come
    // further than this.
    ScanProgress progress() const;
    // Once finished: the end of the scan, and its rows into rows. Rethrows what the scan threw.
    ScanOutcome takeResult(std::vector<ScannedRow>& rows);

Q_SIGNALS:
    // From the scan's thread, so queued to the job's receivers: a progress step or a folder
    // begun. At most one waits at a time; progress() tells how far the scan has come.
    void progressed();
    // From the scan's thread once the scan has ended.
    void finished();

private:
    void run();
    void announceProgress();

    ScanRequest request_;
    ScanFolderSeam folderSeam_;
    ScanControl control_;
    std::unique_ptr<QThread> thread_;
    mutable std::atomic<bool> progressWaiting_{false};
    std::vector<ScannedRow> rows_;
    ScanOutcome outcome_;
    std::exception_ptr failure_;
};

} // namespace corvanteller
