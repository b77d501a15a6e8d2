// SPDX-License-Identifier: GPL-3.0-or-later
#include "scan/scan_parameters_dialog.h"

#include "scan/scan_messages.h"
#include "settings/options.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QLabel>
#include <QPushButton>

namespace corvanteller {

using namespace Qt::StringLiterals;

ScanParametersDialog::ScanParametersDialog(const WindowServices& services, ScanningOptions& options,
                                           QWidget* parent)
    : ProgramDialog(services, parent), options_(options) {
    setWindowTitle(scanTexts::parametersTitle());
    setFixedSize(330, 130);

    plentyOfFilesCheckBox = new QCheckBox(scanTexts::plentyOfFiles(), this);
    plentyOfFilesCheckBox->setObjectName(u"plentyOfFilesCheckBox"_s);
    plentyOfFilesCheckBox->setGeometry(12, 10, 306, 20);
    connect(plentyOfFilesCheckBox, &QCheckBox::toggled, this,
            [this](bool checked) { options_.plentyOfFiles = checked; });

    operatingTimeLabel = new QLabel(scanTexts::operatingTimeNote(), this);
    operatingTimeLabel->setObjectName(u"operatingTimeLabel"_s);
    operatingTimeLabel->setWordWrap(true);
    operatingTimeLabel->setGeometry(12, 34, 306, 30);

    helpNoteLabel = new QLabel(scanTexts::helpNote(), this);
    helpNoteLabel->setObjectName(u"helpNoteLabel"_s);
    helpNoteLabel->setWordWrap(true);
    helpNoteLabel->setStyleSheet(u"color: rgb(134, 34, 234);"_s);
    helpNoteLabel->setGeometry(12, 64, 306, 30);

    okButton = new QPushButton(scanTexts::ok(), this);
    okButton->setObjectName(u"okButton"_s);
    okButton->setGeometry(150, 98, 80, 25);
    cancelButton = new QPushButton(scanTexts::cancel(), this);
    cancelButton->setObjectName(u"cancelButton"_s);
    cancelButton->setGeometry(238, 98, 80, 25);
    connect(okButton, &QPushButton::clicked, this, [this] { acceptSettings(); });
    connect(cancelButton, &QPushButton::clicked, this, [this] { cancelSettings(); });
}

void ScanParametersDialog::onActivated() {
    showOptions();
    remembered_ = plentyOfFilesCheckBox->isChecked();
}

void ScanParametersDialog::showOptions() {
    plentyOfFilesCheckBox->setChecked(options_.plentyOfFiles);
}

void ScanParametersDialog::acceptSettings() {
    closingByOk_ = true;
    hide();
    closingByOk_ = false;
}

void ScanParametersDialog::cancelSettings() {
    putBackRemembered();
    hide();
}

void ScanParametersDialog::putBackRemembered() {
    plentyOfFilesCheckBox->setChecked(remembered_);
}

void ScanParametersDialog::closeEvent(QCloseEvent* event) {
    if (!closingByOk_) {
        putBackRemembered();
    }
    QDialog::closeEvent(event);
}

void ScanParametersDialog::reject() {
    putBackRemembered();
    hide();
}

} // namespace corvanteller
