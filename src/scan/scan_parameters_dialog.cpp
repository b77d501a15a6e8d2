#include "scan/scan_parameters_dialog.h"

#include "settings/options.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QLabel>
#include <QPushButton>

namespace corvanteller {

using namespace Qt::StringLiterals;

TForm3::TForm3(const WindowServices& services, ScanningOptions& options, QWidget* parent)
    : ProgramDialog(services, parent), options_(options) {
    setWindowTitle(u"Настройки сканирования"_s);
    setFixedSize(330, 130);

    CheckBox1 = new QCheckBox(u"Processing of a plenty of files"_s, this);
    CheckBox1->setGeometry(12, 10, 306, 20);
    connect(CheckBox1, &QCheckBox::toggled, this,
            [this](bool checked) { options_.plentyOfFiles = checked; });

    Label1 =
        new QLabel(u"Check of the checkbox will increase an operating time of the program"_s, this);
    Label1->setWordWrap(true);
    Label1->setGeometry(12, 34, 306, 30);

    Label2 = new QLabel(u"More in detail about use of the given option you can read in the Help"_s,
                        this);
    Label2->setWordWrap(true);
    Label2->setStyleSheet(u"color: rgb(134, 34, 234);"_s);
    Label2->setGeometry(12, 64, 306, 30);

    Button1 = new QPushButton(u"OK"_s, this);
    Button1->setGeometry(150, 98, 80, 25);
    Button2 = new QPushButton(u"Cancel"_s, this);
    Button2->setGeometry(238, 98, 80, 25);
    connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
    connect(Button2, &QPushButton::clicked, this, [this] { Button2Click(); });
}

void TForm3::FormActivate() {
    showOptions();
    remembered_ = CheckBox1->isChecked();
}

void TForm3::showOptions() {
    CheckBox1->setChecked(options_.plentyOfFiles);
}

void TForm3::Button1Click() {
    closingByOk_ = true;
    hide();
    closingByOk_ = false;
}

void TForm3::Button2Click() {
    putBackRemembered();
    hide();
}

void TForm3::putBackRemembered() {
    CheckBox1->setChecked(remembered_);
}

void TForm3::closeEvent(QCloseEvent* event) {
    if (!closingByOk_) {
        putBackRemembered();
    }
    QDialog::closeEvent(event);
}

void TForm3::reject() {
    putBackRemembered();
    hide();
}

} // namespace corvanteller
