// SPDX-License-Identifier: GPL-3.0-or-later
#include "scan/window_scan.h"

#include "kar/row_store.h"
#include "scan/scan_cache.h"
#include "scan/scan_messages.h"
#include "settings/desktop_settings.h"
#include "settings/options.h"
#include "ui/ui_services.h"

#include <QApplication>
#include <QEventLoop>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QSet>
#include <QTimer>

#include <sys/stat.h>

#include <atomic>
#include <exception>
#include <thread>

namespace corvanteller {

namespace {

using namespace Qt::StringLiterals;

// How often the window shows the scan's progress.
constexpr int progressIntervalMs = 50;

int scansRunning = 0;

void advanceProgress(QProgressBar* progressBar) {
    const int next = progressBar->value() + 10;
    progressBar->setValue(next > progressBar->maximum() ? 0 : next);
}

bool isUserInput(QEvent::Type type) {
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TabletPress:
    case QEvent::TabletRelease:
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
        return true;
    default:
        return false;
    }
}

} // namespace

WindowScan::WindowScan(const ScanWindowParts& parts, const ScanFolderSeam& folderSeam,
                       WindowScanCache cache)
    : QObject(parts.window), parts_(parts), folderSeam_(folderSeam), cache_(cache) {}

WindowScan::~WindowScan() = default;

bool WindowScan::anyRunning() {
    return scansRunning > 0;
}

void WindowScan::stop() {
    if (control_ != nullptr) {
        control_->requestStop();
    }
}

void WindowScan::stopForClose() {
    if (control_ != nullptr) {
        closeWanted_ = true;
        control_->requestStop();
    }
}

std::optional<ScanOutcome>
WindowScan::chooseFolderAndScan(UiServices& ui, Options& options, RowStore& rows, RunSet runSet,
                                const std::function<void()>& beforeScan) {
    const QByteArray folder = ui.chooseFolder(parts_.window, options.lastFolder);
    return scanFolderBytes(folder, options, rows, runSet, beforeScan);
}

std::optional<ScanOutcome> WindowScan::scanFolder(const QString& folder, Options& options,
                                                  RowStore& rows, RunSet runSet,
                                                  const std::function<void()>& beforeScan) {
    return scanFolderBytes(QFile::encodeName(folder), options, rows, runSet, beforeScan);
}

std::optional<ScanOutcome> WindowScan::scanFolderBytes(const QByteArray& folder, Options& options,
                                                       RowStore& rows, RunSet runSet,
                                                       const std::function<void()>& beforeScan) {
    closeWanted_ = false;
    parts_.progressBar->setValue(0);
    const bool plenty = options.scanning.plentyOfFiles;
    struct stat status {};
    if (folder.isEmpty() || ::stat(folder.constData(), &status) != 0 || !S_ISDIR(status.st_mode) ||
        anyRunning()) {
        return std::nullopt;
    }
    const ScanRequest request = ScanRequest::forFolderBytes(folder, runSet, plenty);
    options.lastFolder = request.folderText;
    if (beforeScan) {
        beforeScan();
    }
    parts_.progressBar->show();
    const ScanOutcome outcome = runOnThread(request, rows);
    if (outcome.end == ScanEnd::ReadError) {
        parts_.errorLabel->setText(scanErrorLabelText());
    }
    return outcome;
}

ScanOutcome WindowScan::runOnThread(const ScanRequest& request, RowStore& rows) {
    ScanControl control;
    control.folderReached = folderSeam_;
    ScanRequest controlled = request;
    controlled.control = &control;
    if (cache_.cache != nullptr && cache_.settings != nullptr &&
        cache_.settings->rememberUnchangedTexts) {
        controlled.cache = cache_.cache;
    }

    // The window while the scan runs, put back as it was whatever happens.
    struct Running {
        Running(WindowScan& scan, ScanControl& control) : scan_(scan) {
            const ScanWindowParts& parts = scan.parts_;
            scan.control_ = &control;
            scan.progressStepsShown_ = 0;
            ++scansRunning;
            labelText_ = parts.progressLabel->text();
            labelShown_ = !parts.progressLabel->isHidden();
            // The menus only lose the mouse and the keyboard: a disabled menu bar would give
            // a disabled sub-menu its entry back when it is enabled again.
            // Every control of the window's client but the scan's own, in every group the
            // progress bar sits in.
            const QSet<const QWidget*> kept = {parts.progressBar, parts.progressLabel,
                                               parts.stopButton};
            for (QWidget* group = parts.progressBar; group->parentWidget() != parts.window;) {
                const QWidget* inner = group;
                group = group->parentWidget();
                for (QWidget* widget : group->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
                    if (widget != inner && !kept.contains(widget) && widget->isEnabled()) {
                        widget->setEnabled(false);
                        disabled_.append(widget);
                    }
                }
            }
            focus_ = QApplication::focusWidget();
            parts.progressLabel->show();
            parts.stopButton->show();
            parts.stopButton->setFocus();
            qApp->installEventFilter(&scan);
        }
        ~Running() {
            const ScanWindowParts& parts = scan_.parts_;
            qApp->removeEventFilter(&scan_);
            parts.stopButton->hide();
            parts.progressLabel->setText(labelText_);
            parts.progressLabel->setVisible(labelShown_);
            for (const QPointer<QWidget>& widget : disabled_) {
                if (widget) {
                    widget->setEnabled(true);
                }
            }
            if (focus_ && focus_->isEnabled() && focus_->isVisible()) {
                focus_->setFocus();
            }
            --scansRunning;
            scan_.control_ = nullptr;
        }
        Running(const Running&) = delete;
        Running& operator=(const Running&) = delete;

        WindowScan& scan_;
        QString labelText_;
        bool labelShown_ = false;
        QList<QPointer<QWidget>> disabled_;
        QPointer<QWidget> focus_; // the keyboard's widget before the scan
    } running(*this, control);

    // The rows are the thread's own until it has ended.
    std::vector<ScannedRow> scanned;
    ScanOutcome outcome;
    std::exception_ptr failure;
    std::atomic<bool> done{false};
    QEventLoop loop;
    showProgress();
    std::thread worker([&] {
        try {
            outcome = corvanteller::scanFolder(controlled, scanned);
        } catch (...) {
            failure = std::current_exception();
        }
        done.store(true, std::memory_order_release);
        QMetaObject::invokeMethod(
            &loop, [&loop] { loop.quit(); }, Qt::QueuedConnection);
    });
    QTimer progressTimer;
    progressTimer.setInterval(progressIntervalMs);
    connect(&progressTimer, &QTimer::timeout, this, [this] { showProgress(); });
    progressTimer.start();
    loop.exec();
    if (!done.load(std::memory_order_acquire)) {
        // The program is ending: its event loops have been told to leave.
        control.requestStop();
    }
    worker.join();
    progressTimer.stop();
    showProgress();
    if (failure) {
        std::rethrow_exception(failure);
    }
    storeScannedRows(rows, scanned);
    if (controlled.cache != nullptr) {
        // A cache that cannot be written costs the next scan its speed, nothing more.
        controlled.cache->save();
    }
    return outcome;
}

void WindowScan::showProgress() {
    if (control_ == nullptr) {
        return;
    }
    const ScanProgress progress = control_->progress();
    for (; progressStepsShown_ < progress.progressSteps; ++progressStepsShown_) {
        advanceProgress(parts_.progressBar);
    }
    QLabel* label = parts_.progressLabel;
    const QString text =
        QString::number(progress.filesSeen) + u" files seen, listing "_s + progress.folder;
    label->setText(label->fontMetrics().elidedText(text, Qt::ElideMiddle, label->width()));
}

bool WindowScan::takesInput(const QObject* receiver) const {
    for (const QObject* object = receiver; object != nullptr; object = object->parent()) {
        if (object == parts_.stopButton) {
            return true;
        }
    }
    return false;
}

bool WindowScan::eventFilter(QObject* watched, QEvent* event) {
    // Events for the program's windows as a whole go on, to reach their widgets here.
    if (!watched->isWidgetType() || !isUserInput(event->type())) {
        return false;
    }
    if (event->type() == QEvent::KeyPress &&
        static_cast<const QKeyEvent*>(event)->key() == Qt::Key_Escape &&
        static_cast<const QWidget*>(watched)->window() == parts_.window) {
        stop();
        return true;
    }
    return !takesInput(watched);
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
