#pragma once

#include "app/program_dialog.h"

class QCheckBox;
class QLabel;
class QPushButton;

namespace corvanteller {

class AppContext;

// The scanning-parameters dialog ("Настройки сканирования"), the one option of the scan.
class TForm3 : public ProgramDialog {
    Q_OBJECT

public:
    explicit TForm3(AppContext& context, QWidget* parent = nullptr);

    QCheckBox* CheckBox1 = nullptr; // "Processing of a plenty of files"
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QPushButton* Button1 = nullptr; // "OK"
    QPushButton* Button2 = nullptr; // "Cancel"

    void FormActivate() override;
    void Button1Click();
    void Button2Click();

protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    void putBackRemembered();

    bool remembered_ = false;
    bool closingByOk_ = false;
};

} // namespace corvanteller
