// SPDX-License-Identifier: GPL-3.0-or-later
#include "scan/window_scan.h"

#include "kar/row_store.h"
#include "scan/scan_cache.h"
#include "scan/scan_messages.h"
#include "settings/desktop_settings.h"
#include "settings/options.h"
#include "ui/ui_services.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QSet>
#include <QTimer>

#include <sys/stat.h>

#include <algorithm>
#include <utility>

namespace corvanteller {

namespace {

using namespace Qt::StringLiterals;

// The least time between two showings of the scan's progress.
constexpr qint64 progressIntervalMs = 40;

void advanceProgress(QProgressBar* progressBar) {
    const int next = progressBar->value() + 10;
    progressBar->setValue(next > progressBar->maximum() ? 0 : next);
}

// Widgets disabled for a while and enabled again as they were. A menu disabled with its
// parent gives its entry in the menu above it the same state, and enabled again it enables
// that entry even where the entry was disabled on its own: the entries are put back too.
class DisabledWidgets {
public:
    DisabledWidgets() = default;
    DisabledWidgets(const DisabledWidgets&) = delete;
    DisabledWidgets& operator=(const DisabledWidgets&) = delete;
    ~DisabledWidgets() {
        for (const QPointer<QWidget>& widget : std::as_const(widgets_)) {
            if (widget) {
                widget->setEnabled(true);
            }
        }
        for (const auto& [entry, enabled] : std::as_const(menuEntries_)) {
            if (entry) {
                entry->setEnabled(enabled);
            }
        }
        for (const auto& [window, focus] : std::as_const(focus_)) {
            if (window && focus && focus->isEnabled() && focus->isVisibleTo(window)) {
                focus->setFocus();
            }
        }
    }

    // The menus' entries are all taken before any is disabled with its parent.
    void disable(const QList<QWidget*>& widgets) {
        for (const QWidget* widget : widgets) {
            for (const QMenu* menu : widget->findChildren<QMenu*>()) {
                menuEntries_.emplaceBack(menu->menuAction(), menu->menuAction()->isEnabled());
            }
        }
        for (QWidget* widget : widgets) {
            if (widget->isEnabled()) {
                widget->setEnabled(false);
                widgets_.append(widget);
            }
        }
    }
    // The window's keyboard widget, given back the keyboard at the end.
    void keepFocus(QWidget* window) { focus_.emplaceBack(window, window->focusWidget()); }

private:
    QList<QPointer<QWidget>> widgets_;
    QList<std::pair<QPointer<QAction>, bool>> menuEntries_;
    QList<std::pair<QPointer<QWidget>, QPointer<QWidget>>> focus_;
};

// The program's windows that a user works in; not its menus and tool tips.
bool isWorkWindow(const QWidget* widget) {
    const Qt::WindowType type = widget->windowType();
    return type == Qt::Window || type == Qt::Dialog || type == Qt::Sheet || type == Qt::Tool;
}

// The program while a window's scan runs, put back as it was whatever happens: of the scan's
// window only its progress and its Stop button take input, of the other windows none.
class ScanInputBlock {
public:
    ScanInputBlock(const ScanWindowParts& parts, QObject* escapeFilter)
        : parts_(parts), escapeFilter_(escapeFilter) {
        labelText_ = parts.progressLabel->text();
        labelShown_ = !parts.progressLabel->isHidden();
        QList<QWidget*> blocked = around(parts);
        const QList<QWidget*> windows = QApplication::topLevelWidgets();
        for (QWidget* window : windows) {
            if (isWorkWindow(window)) {
                disabled_.keepFocus(window);
                if (window != parts.window) {
                    blocked.append(window);
                }
            }
        }
        disabled_.disable(blocked);
        parts.progressLabel->show();
        parts.stopButton->show();
        parts.stopButton->setFocus();
        parts.window->installEventFilter(escapeFilter);
    }
    ~ScanInputBlock() {
        parts_.window->removeEventFilter(escapeFilter_);
        parts_.stopButton->hide();
        parts_.progressLabel->setText(labelText_);
        parts_.progressLabel->setVisible(labelShown_);
    }
    ScanInputBlock(const ScanInputBlock&) = delete;
    ScanInputBlock& operator=(const ScanInputBlock&) = delete;

private:
    // Everything of the scan's window beside the progress and the Stop button, and beside the
    // widgets that hold them: the menu bar, the table, the buttons.
    static QList<QWidget*> around(const ScanWindowParts& parts) {
        QList<QWidget*> widgets;
        QList<const QWidget*> kept = {parts.progressBar, parts.progressLabel, parts.stopButton};
        for (QWidget* holder = parts.progressBar->parentWidget(); holder != nullptr;
             holder = holder->parentWidget()) {
            const QList<QWidget*> children =
                holder->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
            for (QWidget* widget : children) {
                if (!widget->isWindow() && !kept.contains(widget)) {
                    widgets.append(widget);
                }
            }
            if (holder == parts.window) {
                break;
            }
            kept = {holder};
        }
        return widgets;
    }

    const ScanWindowParts& parts_;
    QObject* escapeFilter_;
    QString labelText_;
    bool labelShown_ = false;
    DisabledWidgets disabled_;
};

} // namespace

WindowScan::WindowScan(const ScanWindowParts& parts, const ScanFolderSeam& folderSeam,
                       WindowScanCache cache)
    : QObject(parts.window), parts_(parts), folderSeam_(folderSeam), cache_(cache) {}

WindowScan::~WindowScan() = default;

bool WindowScan::anyRunning() {
    // Each window's scan belongs to its window.
    const QList<QWidget*> windows = QApplication::topLevelWidgets();
    for (const QWidget* window : windows) {
        const QList<WindowScan*> scans =
            window->findChildren<WindowScan*>(Qt::FindDirectChildrenOnly);
        for (const WindowScan* scan : scans) {
            if (scan->running()) {
                return true;
            }
        }
    }
    return false;
}

void WindowScan::stop() {
    if (job_ != nullptr) {
        job_->requestInterruption();
    }
}

void WindowScan::stopForClose() {
    if (job_ != nullptr) {
        closeWanted_ = true;
        job_->requestInterruption();
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
    const ScanOutcome outcome = runJob(request, rows);
    if (outcome.end == ScanEnd::ReadError) {
        parts_.errorLabel->setText(scanErrorLabelText());
    }
    return outcome;
}

ScanOutcome WindowScan::runJob(const ScanRequest& request, RowStore& rows) {
    ScanRequest cached = request;
    if (cache_.cache != nullptr && cache_.settings != nullptr &&
        cache_.settings->rememberUnchangedTexts) {
        cached.cache = cache_.cache;
    }
    ScanJob job(cached, folderSeam_);
    QEventLoop loop;
    bool ended = false;
    // The window shows the progress at most once a frame interval: painting every step would
    // take the processor from the scan.
    QElapsedTimer sinceShown;
    sinceShown.start();
    QTimer showLater;
    showLater.setSingleShot(true);
    connect(&showLater, &QTimer::timeout, this, [this, &sinceShown] {
        showProgress();
        sinceShown.restart();
    });
    connect(
        &job, &ScanJob::progressed, &showLater,
        [&sinceShown, &showLater] {
            if (!showLater.isActive()) {
                showLater.start(static_cast<int>(
                    std::max<qint64>(0, progressIntervalMs - sinceShown.elapsed())));
            }
        },
        Qt::QueuedConnection);
    connect(
        &job, &ScanJob::finished, &loop,
        [&loop, &ended] {
            ended = true;
            loop.quit();
        },
        Qt::QueuedConnection);
    {
        const ScanInputBlock block(parts_, this);
        job_ = &job;
        progressStepsShown_ = 0;
        showProgress();
        job.start();
        loop.exec();
        if (!ended) {
            // The program is ending: its event loops have been told to leave.
            job.requestInterruption();
        }
        job.wait();
        showProgress();
        job_ = nullptr;
    }
    std::vector<ScannedRow> scanned;
    const ScanOutcome outcome = job.takeResult(scanned);
    storeScannedRows(rows, scanned);
    if (cached.cache != nullptr) {
        // Written while the window shows the rows; a cache that cannot be written costs the
        // next scan its speed, nothing more.
        cached.cache->saveInBackground();
    }
    return outcome;
}

void WindowScan::showProgress() {
    if (job_ == nullptr) {
        return;
    }
    const ScanProgress progress = job_->progress();
    for (; progressStepsShown_ < progress.progressSteps; ++progressStepsShown_) {
        advanceProgress(parts_.progressBar);
    }
    QLabel* label = parts_.progressLabel;
    const QString text = scanProgressText(progress.filesSeen, progress.folder);
    label->setText(label->fontMetrics().elidedText(text, Qt::ElideMiddle, label->width()));
}

bool WindowScan::eventFilter(QObject* watched, QEvent* event) {
    // A key the scan's window and its enabled widgets leave to the window comes here.
    if (watched == parts_.window && event->type() == QEvent::KeyPress &&
        static_cast<const QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        stop();
        return true;
    }
    return false;
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
