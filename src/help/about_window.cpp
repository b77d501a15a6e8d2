// SPDX-License-Identifier: GPL-3.0-or-later
#include "help/about_window.h"

#include "help/about_texts.h"
#include "help/help_texts.h"
#include "settings/settings_file.h"
#include "ui/error_guard.h"
#include "ui/jpeg_image.h"

#include <QLabel>
#include <QLocale>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

namespace corvanteller {

using namespace Qt::StringLiterals;

namespace {

constexpr int stripWidth = 79;
constexpr int stripHeight = 4;

void setColour(QWidget* widget, QPalette::ColorRole role, const QColor& colour) {
    QPalette palette = widget->palette();
    palette.setColor(role, colour);
    widget->setPalette(palette);
}

QLabel* navyLabel(const QString& text, QWidget* parent, int y) {
    auto* label = new QLabel(text, parent);
    setColour(label, QPalette::WindowText, QColor(0, 0, 128));
    label->adjustSize();
    label->move(0, y);
    return label;
}

} // namespace

AboutWindow::AboutWindow(const WindowServices& services, const RunTimes& runTimes,
                         const QLocale& locale)
    : ProgramDialog(services), runTimes_(runTimes), locale_(locale),
      strip_(clientWidth, stripWidth) {
    setWindowTitle(helpTexts::aboutTitle());
    setFixedSize(clientWidth, clientHeight);
    buildControls();
    stripTimer = new QTimer(this);
    stripTimer->setObjectName(u"stripTimer"_s);
    stripTimer->setInterval(stripTickMs);
    connect(stripTimer, &QTimer::timeout, this, [this] { moveStrip(); });
}

void AboutWindow::buildControls() {
    // The about text's lines were set for a narrow face of this size; in a wider one they
    // would wrap in the middle.
    QFont narrow(u"Arial"_s);
    narrow.setPixelSize(11);
    setFont(narrow);

    titleLabel = new QLabel(about::title(), this);
    titleLabel->setObjectName(u"titleLabel"_s);
    QFont titleFont(u"Arial"_s);
    titleFont.setPixelSize(23);
    titleFont.setItalic(true);
    titleLabel->setFont(titleFont);
    setColour(titleLabel, QPalette::WindowText, Qt::red);
    titleLabel->setAlignment(Qt::AlignCenter);
    titleLabel->setGeometry(0, 4, clientWidth, 30);

    aboutText = new QPlainTextEdit(this);
    aboutText->setObjectName(u"aboutText"_s);
    aboutText->setGeometry(8, 38, clientWidth - 16, 178);
    aboutText->setReadOnly(true);
    aboutText->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setColour(aboutText, QPalette::Base, Qt::yellow);
    aboutText->setPlainText(about::textLines().join(u'\n'));

    versionLabel = navyLabel(about::version(), this, 222);
    versionLabel->setObjectName(u"versionLabel"_s);
    // The credit keeps left of the version, on a second line if the face is wide.
    creditLabel = navyLabel(about::credit(), this, 222);
    creditLabel->setObjectName(u"creditLabel"_s);
    creditLabel->setWordWrap(true);
    creditLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    creditLabel->setGeometry(8, 222, clientWidth / 2 - versionLabel->width() / 2 - 16, 30);
    placeLabel = navyLabel(about::place(), this, 222);
    placeLabel->setObjectName(u"placeLabel"_s);
    placeLabel->move(clientWidth - 8 - placeLabel->width(), placeLabel->y());
    yearLabel = navyLabel(about::year(), this, 240);
    yearLabel->setObjectName(u"yearLabel"_s);

    movingStrip = new QLabel(this);
    movingStrip->setObjectName(u"movingStrip"_s);
    movingStrip->setScaledContents(true);
    movingStrip->setPixmap(QPixmap::fromImage(loadJpegResource(artwork::aboutStrip())));
    movingStrip->setGeometry(0, 262, stripWidth, stripHeight);
    movingStrip->setToolTip(about::stripHint());

    officeNoteLabel = new QLabel(about::officeNote(), this);
    officeNoteLabel->setObjectName(u"officeNoteLabel"_s);
    setColour(officeNoteLabel, QPalette::WindowText, QColor(149, 0, 74));
    officeNoteLabel->adjustSize();
    officeNoteLabel->move(8, 274);

    lastCloseLabel = new QLabel(this);
    lastCloseLabel->setObjectName(u"lastCloseLabel"_s);
    lastCloseLabel->move(8, 296);

    okButton = new QPushButton(helpTexts::ok(), this);
    okButton->setObjectName(u"okButton"_s);
    okButton->setGeometry(0, 328, 75, 25);
    connect(okButton, &QPushButton::clicked, this,
            guard(this, services_.ui, [this] { hideAbout(); }));
}

void AboutWindow::showAbout() {
    if (!isVisible()) {
        if (const QScreen* display = screen()) {
            move(display->availableGeometry().center() - rect().center());
        }
    }
    showFor(nullptr);
}

void AboutWindow::onActivated() {
    centreHorizontally(movingStrip);
    centreHorizontally(versionLabel);
    centreHorizontally(yearLabel);
    centreHorizontally(okButton);
    lastCloseLabel->setText(lastCloseLine(runTimes_.lastCloseTime, locale_));
    lastCloseLabel->adjustSize();
    strip_.start(movingStrip->x());
    stripTimer->start();
}

void AboutWindow::centreHorizontally(QWidget* control) {
    control->move(width() / 2 - control->width() / 2, control->y());
}

void AboutWindow::moveStrip() {
    movingStrip->move(strip_.tick(), movingStrip->y());
}

void AboutWindow::hideAbout() {
    hide();
}

void AboutWindow::hideEvent(QHideEvent* event) {
    // However the window goes ("OK" or the close box), the strip stops until it is shown again.
    stripTimer->stop();
    ProgramDialog::hideEvent(event);
}

} // namespace corvanteller
