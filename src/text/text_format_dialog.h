// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "settings/options.h"
#include "ui/program_dialog.h"

class QCheckBox;
class QComboBox;
class QLocale;
class QPushButton;

namespace corvanteller {

class Clock;
class TextViewModes;

// The text-format settings ("Settings"): whether the date and time and a closing string
// follow the table's lines. It edits the options as its controls change; "Отмена" and the
// close box put back what it noted at its latest activation.
class TextFormatDialog : public ProgramDialog {
    Q_OBJECT

public:
    TextFormatDialog(const WindowServices& services, TextFormatOptions& options,
                     const TextViewModes& modes, const Clock& clock, const QLocale& locale,
                     QWidget* parent = nullptr);

    void onActivated() override;
    void onAddNextClicked();
    void acceptSettings();
    void cancelSettings();
    // Puts the controls in step with the options, which another dialog may have changed.
    void showOptions();

Q_SIGNALS:
    // "OK" while the text view shows the table text: these lines go at its end at once.
    void linesAppended(const QStringList& lines);

protected:
    void reject() override;

private:
    QCheckBox* addDateTimeCheckBox = nullptr;   // "&Add date and time"
    QCheckBox* addNextCheckBox = nullptr;       // "Add next "
    QComboBox* closingStringComboBox = nullptr; // the closing string
    QPushButton* okButton = nullptr;            // "OK"
    QPushButton* cancelButton = nullptr;        // "Отмена"

    TextFormatOptions& options_;
    const TextViewModes& modes_;
    const Clock& clock_;
    const QLocale& locale_;
    TextFormatOptions noted_;
    bool showingOptions_ = false;
};

} // namespace corvanteller
