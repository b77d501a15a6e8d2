// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/bottom_row.h"

#include "app/app_texts.h"

#include <QCheckBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

#include <algorithm>

namespace corvanteller {

using namespace Qt::StringLiterals;

namespace {

template <typename Widget> Widget* namedChild(Widget* widget, const QString& name) {
    widget->setObjectName(name);
    return widget;
}

} // namespace

BottomRow::BottomRow(QWidget* parent) : QWidget(parent) {
    setObjectName(u"bottomRow"_s);
    checkAllBox = namedChild(new QCheckBox(appTexts::checkAll(), this), u"checkAllBox"_s);
    checkAllBox->setToolTip(appTexts::checkAllHint());
    connect(checkAllBox, &QCheckBox::toggled, this, &BottomRow::checkAllToggled);
    connect(checkAllBox, &QCheckBox::clicked, this, &BottomRow::checkAllClicked);

    scanProgressBar = namedChild(new QProgressBar(this), u"scanProgressBar"_s);
    scanProgressBar->setRange(0, progressMaximum);
    scanProgressBar->setTextVisible(false);
    scanProgressBar->hide();

    statusLabel = namedChild(new QLabel(this), u"statusLabel"_s);
    lastFolderLabel = namedChild(new QLabel(this), u"lastFolderLabel"_s);
    countLabel = namedChild(new QLabel(this), u"countLabel"_s);
    scanErrorLabel = namedChild(new QLabel(this), u"scanErrorLabel"_s);
    scanErrorLabel->hide();
    waitLabel = namedChild(new QLabel(this), u"waitLabel"_s);

    stopScanButton = namedChild(new QPushButton(appTexts::stop(), this), u"stopScanButton"_s);
    stopScanButton->hide();
    connect(stopScanButton, &QPushButton::clicked, this, &BottomRow::stopClicked);
    // Over the last folder's label, which a long folder would otherwise run into.
    scanProgressLabel = namedChild(new QLabel(this), u"scanProgressLabel"_s);
    scanProgressLabel->setAutoFillBackground(true);
    scanProgressLabel->hide();
}

ScanWindowParts BottomRow::scanParts(QWidget* window) const {
    return {window, scanProgressBar, scanErrorLabel, scanProgressLabel, stopScanButton};
}

void BottomRow::setAllChecked(bool checked) {
    checkAllBox->setChecked(checked);
}

void BottomRow::showStatus(const QString& text) {
    statusLabel->setText(text);
    statusLabel->adjustSize();
    alignRightSide();
}

void BottomRow::showLastFolder(const QString& folder) {
    lastFolderLabel->setText(folder);
    alignRightSide();
}

void BottomRow::showWait(const QString& text) {
    waitLabel->setText(text);
    waitLabel->adjustSize();
    alignRightSide();
    waitLabel->repaint();
}

void BottomRow::showCount(const QString& text) {
    countLabel->setText(text);
    countLabel->adjustSize();
    alignRightSide();
}

void BottomRow::finishScanProgress() {
    corvanteller::finishScanProgress(scanProgressBar);
}

void BottomRow::showBusy(QWidget& busyWidget, bool busy) {
    if (busy) {
        busyWidget.setCursor(Qt::WaitCursor);
    } else {
        busyWidget.unsetCursor();
    }
    showWait(busy ? appTexts::wait() : QString());
}

void BottomRow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    const int top = 4;
    checkAllBox->move(8, top);
    checkAllBox->adjustSize();
    scanProgressBar->setGeometry(checkAllBox->x() + checkAllBox->width() + 12, top + 4, 250, 10);
    stopScanButton->setGeometry(scanProgressBar->geometry().right() + 9, top, 60, 20);
    scanProgressLabel->setGeometry(scanProgressBar->x(), top + 18, scanProgressBar->width(), 16);
    lastFolderLabel->move(8, top + 20);
    alignRightSide();
}

void BottomRow::alignRightSide() {
    statusLabel->move(width() - statusLabel->width() - statusRightMargin,
                      height() - statusLabel->height() - 4);
    waitLabel->move(statusLabel->x() - waitLabel->width() - 12, statusLabel->y());
    countLabel->move(width() - countLabel->width() - statusRightMargin, 6);
    // A long last folder is cut before the status line rather than drawn over it.
    const int folderRoom = std::max(0, statusLabel->x() - lastFolderLabel->x() - 12);
    lastFolderLabel->resize(std::min(lastFolderLabel->sizeHint().width(), folderRoom),
                            lastFolderLabel->sizeHint().height());
}

} // namespace corvanteller
