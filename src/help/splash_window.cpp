#include "help/splash_window.h"

#include "ui/jpeg_image.h"

#include <QCoreApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPixmap>
#include <QScreen>

namespace corvanteller {

using namespace Qt::StringLiterals;

TSplashForm::TSplashForm(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), Image1(new QLabel(this)) {
    setWindowTitle(u"Prompt"_s);
    setFixedSize(520, 393);
    QPalette blue = palette();
    blue.setColor(QPalette::Window, QColor(21, 90, 234));
    setPalette(blue);
    setAutoFillBackground(true);

    Image1->setObjectName(u"Image1"_s);
    Image1->setGeometry(3, 4, 514, 386);
    Image1->setPixmap(QPixmap::fromImage(loadJpegResource(artwork::splash())));
    Image1->setToolTip(u"Click to close that window"_s);
    Image1->installEventFilter(this);
}

void TSplashForm::showAtStartUp() {
    startUp_ = true;
    show();
    raise();
    // The other windows are created before the event loop runs: paint now, and leave clicks
    // for later, when this copy is gone.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    repaint();
}

void TSplashForm::showPrompt() {
    startUp_ = false;
    show();
    raise();
    activateWindow();
}

bool TSplashForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Image1 && event->type() == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton &&
            Image1->rect().contains(mouse->position().toPoint())) {
            Image1Click();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TSplashForm::showEvent(QShowEvent* event) {
    if (const QScreen* display = screen()) {
        const QRect area = display->geometry();
        move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
    }
    QWidget::showEvent(event);
}

void TSplashForm::Image1Click() {
    if (!startUp_) {
        hide();
    }
}

} // namespace corvanteller
