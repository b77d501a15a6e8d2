#pragma once

#include "ui/program_dialog.h"

class QCheckBox;
class QLabel;
class QPushButton;

namespace corvanteller {

struct ScanningOptions;

// The scanning-parameters dialog ("Настройки сканирования"), the one option of the scan.
class TForm3 : public ProgramDialog {
    Q_OBJECT

public:
    TForm3(const WindowServices& services, ScanningOptions& options, QWidget* parent = nullptr);

    QCheckBox* CheckBox1 = nullptr; // "Processing of a plenty of files"
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QPushButton* Button1 = nullptr; // "OK"
    QPushButton* Button2 = nullptr; // "Cancel"

    void FormActivate() override;
    void Button1Click();
    void Button2Click();
    // Puts the check box in step with the option, which another dialog may have changed.
    void showOptions();

protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    void putBackRemembered();

    ScanningOptions& options_;
    bool remembered_ = false;
    bool closingByOk_ = false;
};

} // namespace corvanteller
