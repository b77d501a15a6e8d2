// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/program_dialog.h"

class QCheckBox;
class QLabel;
class QPushButton;

namespace corvanteller {

struct ScanningOptions;

// The scanning-parameters dialog ("Настройки сканирования"), the one option of the scan.
class ScanParametersDialog : public ProgramDialog {
    Q_OBJECT

public:
    ScanParametersDialog(const WindowServices& services, ScanningOptions& options,
                         QWidget* parent = nullptr);

    void onActivated() override;
    void acceptSettings();
    void cancelSettings();
    // Puts the check box in step with the option, which another dialog may have changed.
    void showOptions();

protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    void putBackRemembered();

    QCheckBox* plentyOfFilesCheckBox = nullptr; // "Processing of a plenty of files"
    QLabel* operatingTimeLabel = nullptr;
    QLabel* helpNoteLabel = nullptr;
    QPushButton* okButton = nullptr;     // "OK"
    QPushButton* cancelButton = nullptr; // "Cancel"

    ScanningOptions& options_;
    bool remembered_ = false;
    bool closingByOk_ = false;
};

} // namespace corvanteller
