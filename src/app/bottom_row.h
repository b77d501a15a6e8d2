// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "scan/window_scan.h"

#include <QWidget>

class QCheckBox;
class QLabel;
class QProgressBar;
class QPushButton;

namespace corvanteller {

// The main window's bottom row: "Check all", the scan's progress bar with Stop, the last
// folder, the wait label, the status line and the row count at the right.
class BottomRow final : public QWidget {
    Q_OBJECT

public:
    static constexpr int rowHeight = 44;
    static constexpr int progressMaximum = 100;
    static constexpr int statusRightMargin = 10;

    explicit BottomRow(QWidget* parent = nullptr);

    // What the window's scan shows while it runs.
    ScanWindowParts scanParts(QWidget* window) const;

    void setAllChecked(bool checked);
    void showStatus(const QString& text);
    void showLastFolder(const QString& folder);
    // Painted at once: shown before the window goes on with work that blocks it.
    void showWait(const QString& text);
    void showCount(const QString& text);
    void finishScanProgress();

    // The hourglass over the busy widget and "Wait..." beside the status line, or neither.
    void showBusy(QWidget& busyWidget, bool busy);

Q_SIGNALS:
    void checkAllToggled(bool checked);
    void checkAllClicked();
    void stopClicked();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void alignRightSide();

    QCheckBox* checkAllBox = nullptr; // "Check all"
    QProgressBar* scanProgressBar = nullptr;
    QLabel* statusLabel = nullptr;         // the status line
    QLabel* lastFolderLabel = nullptr;     // the last folder, shown when "Check all" is clicked
    QLabel* scanErrorLabel = nullptr;      // the scan's error label, never visible
    QLabel* waitLabel = nullptr;           // the wait label, left of the status line
    QLabel* scanProgressLabel = nullptr;   // under the progress bar during a scan
    QPushButton* stopScanButton = nullptr; // "Stop", beside the progress bar during a scan
    QLabel* countLabel = nullptr;          // "20,416 rows, 12 checked"
};

} // namespace corvanteller
