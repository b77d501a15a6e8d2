// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "table/save_changes_flow.h"
#include "ui/program_dialog.h"

class QLabel;
class QPushButton;

namespace corvanteller {

// The save-changes prompt ("Attention"), shown without blocking before the program closes or
// a new scan starts while the table has unsaved changes. It only reports the answer; the
// main window carries out what the flow decides.
class SaveChangesPrompt : public ProgramDialog {
    Q_OBJECT

public:
    static constexpr int clientWidth = 348;
    static constexpr int clientHeight = 73;

    SaveChangesPrompt(const WindowServices& services, SaveChangesFlow& flow,
                      QWidget* parent = nullptr);

    void onActivated() override;

Q_SIGNALS:
    void answered(corvanteller::PromptAnswer answer);

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void reject() override;

private:
    QLabel* questionLabel = nullptr;
    QPushButton* yesButton = nullptr;    // "Yes"
    QPushButton* noButton = nullptr;     // "No"
    QPushButton* cancelButton = nullptr; // "Cancel"

    SaveChangesFlow& flow_;
};

} // namespace corvanteller
