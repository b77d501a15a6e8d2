// SPDX-License-Identifier: GPL-3.0-or-later
#include "help/splash_window.h"

#include "help/help_texts.h"
#include "ui/jpeg_image.h"

#include <QCoreApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPixmap>
#include <QScreen>

namespace corvanteller {

using namespace Qt::StringLiterals;

SplashWindow::SplashWindow(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), titlePicture(new QLabel(this)) {
    setWindowTitle(helpTexts::splashTitle());
    setFixedSize(520, 393);
    QPalette blue = palette();
    blue.setColor(QPalette::Window, QColor(21, 90, 234));
    setPalette(blue);
    setAutoFillBackground(true);

    titlePicture->setObjectName(u"titlePicture"_s);
    titlePicture->setGeometry(3, 4, 514, 386);
    titlePicture->setPixmap(QPixmap::fromImage(loadJpegResource(artwork::splash())));
    titlePicture->setToolTip(helpTexts::splashHint());
    titlePicture->installEventFilter(this);
}

void SplashWindow::showAtStartUp() {
    startUp_ = true;
    show();
    raise();
    // The other windows are created before the event loop runs: paint now, and leave clicks
    // for later, when this copy is gone.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    repaint();
}

void SplashWindow::showPrompt() {
    startUp_ = false;
    show();
    raise();
    activateWindow();
}

bool SplashWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == titlePicture && event->type() == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton &&
            titlePicture->rect().contains(mouse->position().toPoint())) {
            onTitlePictureClicked();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void SplashWindow::showEvent(QShowEvent* event) {
    if (const QScreen* display = screen()) {
        const QRect area = display->geometry();
        move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
    }
    QWidget::showEvent(event);
}

void SplashWindow::onTitlePictureClicked() {
    if (!startUp_) {
        hide();
    }
}

} // namespace corvanteller
