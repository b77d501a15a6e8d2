#include "help/about_window.h"

#include "help/about_texts.h"
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

TForm5::TForm5(const WindowServices& services, const RunTimes& runTimes, const QLocale& locale)
    : ProgramDialog(services), runTimes_(runTimes), locale_(locale),
      strip_(clientWidth, stripWidth) {
    setWindowTitle(u"About"_s);
    setFixedSize(clientWidth, clientHeight);
    buildControls();
    Timer1 = new QTimer(this);
    Timer1->setInterval(stripTickMs);
    connect(Timer1, &QTimer::timeout, this, [this] { Timer1Timer(); });
}

void TForm5::buildControls() {
    // The about text's lines were set for a narrow face of this size; in a wider one they
    // would wrap in the middle.
    QFont narrow(u"Arial"_s);
    narrow.setPixelSize(11);
    setFont(narrow);

    Label1 = new QLabel(about::title(), this);
    QFont titleFont(u"Arial"_s);
    titleFont.setPixelSize(23);
    titleFont.setItalic(true);
    Label1->setFont(titleFont);
    setColour(Label1, QPalette::WindowText, Qt::red);
    Label1->setAlignment(Qt::AlignCenter);
    Label1->setGeometry(0, 4, clientWidth, 30);

    Memo1 = new QPlainTextEdit(this);
    Memo1->setGeometry(8, 38, clientWidth - 16, 178);
    Memo1->setReadOnly(true);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setColour(Memo1, QPalette::Base, Qt::yellow);
    Memo1->setPlainText(about::textLines().join(u'\n'));

    Label3 = navyLabel(about::version(), this, 222);
    // The credit keeps left of the version, on a second line if the face is wide.
    Label2 = navyLabel(about::credit(), this, 222);
    Label2->setWordWrap(true);
    Label2->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label2->setGeometry(8, 222, clientWidth / 2 - Label3->width() / 2 - 16, 30);
    Label4 = navyLabel(about::place(), this, 222);
    Label4->move(clientWidth - 8 - Label4->width(), Label4->y());
    Label5 = navyLabel(about::year(), this, 240);

    Image1 = new QLabel(this);
    Image1->setScaledContents(true);
    Image1->setPixmap(QPixmap::fromImage(loadJpegResource(artwork::aboutStrip())));
    Image1->setGeometry(0, 262, stripWidth, stripHeight);
    Image1->setToolTip(about::stripHint());

    Label6 = new QLabel(about::officeNote(), this);
    setColour(Label6, QPalette::WindowText, QColor(149, 0, 74));
    Label6->adjustSize();
    Label6->move(8, 274);

    Label7 = new QLabel(this);
    Label7->move(8, 296);

    Button1 = new QPushButton(u"OK"_s, this);
    Button1->setGeometry(0, 328, 75, 25);
    connect(Button1, &QPushButton::clicked, this,
            guard(this, services_.ui, [this] { Button1Click(); }));
}

void TForm5::showAbout() {
    if (!isVisible()) {
        if (const QScreen* display = screen()) {
            move(display->availableGeometry().center() - rect().center());
        }
    }
    showFor(nullptr);
}

void TForm5::FormActivate() {
    centreHorizontally(Image1);
    centreHorizontally(Label3);
    centreHorizontally(Label5);
    centreHorizontally(Button1);
    Label7->setText(lastCloseLine(runTimes_.lastCloseTime, locale_));
    Label7->adjustSize();
    strip_.start(Image1->x());
    Timer1->start();
}

void TForm5::centreHorizontally(QWidget* control) {
    control->move(width() / 2 - control->width() / 2, control->y());
}

void TForm5::Timer1Timer() {
    Image1->move(strip_.tick(), Image1->y());
}

void TForm5::Button1Click() {
    hide();
}

void TForm5::hideEvent(QHideEvent* event) {
    // However the window goes ("OK" or the close box), the strip stops until it is shown again.
    Timer1->stop();
    ProgramDialog::hideEvent(event);
}

} // namespace corvanteller
