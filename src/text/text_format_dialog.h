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
class TForm9 : public ProgramDialog {
    Q_OBJECT

public:
    TForm9(const WindowServices& services, TextFormatOptions& options, const TextViewModes& modes,
           const Clock& clock, const QLocale& locale, QWidget* parent = nullptr);

    QCheckBox* CheckBox1 = nullptr; // "&Add date and time"
    QCheckBox* CheckBox2 = nullptr; // "Add next "
    QComboBox* ComboBox1 = nullptr; // the closing string
    QPushButton* Button1 = nullptr; // "OK"
    QPushButton* Button2 = nullptr; // "Отмена"

    void FormActivate() override;
    void CheckBox2Click();
    void Button1Click();
    void Button2Click();
    // Puts the controls in step with the options, which another dialog may have changed.
    void showOptions();

Q_SIGNALS:
    // "OK" while the text view shows the table text: these lines go at its end at once.
    void linesAppended(const QStringList& lines);

protected:
    void reject() override;

private:
    TextFormatOptions& options_;
    const TextViewModes& modes_;
    const Clock& clock_;
    const QLocale& locale_;
    TextFormatOptions noted_;
    bool showingOptions_ = false;
};

} // namespace corvanteller
