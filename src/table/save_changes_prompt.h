#pragma once

#include "app/program_dialog.h"

class QLabel;
class QPushButton;

namespace corvanteller {

class AppContext;

// The save-changes prompt ("Attention"), shown without blocking before the program closes or
// a new scan starts while the table has unsaved changes.
class TForm12 : public ProgramDialog {
    Q_OBJECT

public:
    static constexpr int clientWidth = 348;
    static constexpr int clientHeight = 73;

    explicit TForm12(AppContext& context, QWidget* parent = nullptr);

    QLabel* Label1 = nullptr;
    QPushButton* Button1 = nullptr; // "Yes"
    QPushButton* Button2 = nullptr; // "No"
    QPushButton* Button3 = nullptr; // "Cancel"

    void FormActivate() override;
    void Button1Click();
    void Button2Click();
    void Button3Click();

protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;
};

} // namespace corvanteller
