#pragma once

#include "settings/options.h"

#include "ui/program_dialog.h"

#include <utility>
#include <vector>

#include <QDialog>
#include <QGroupBox>
#include <QStringList>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QWidget;

namespace corvanteller {

// A captioned group of radio buttons whose choice is one index, -1 for none.
class RadioGroupBox : public QGroupBox {
public:
    RadioGroupBox(const QString& caption, const QStringList& items, QWidget* parent = nullptr);

    int itemIndex() const;
    void setItemIndex(int index);
    QRadioButton* item(int index) const;
    int itemCount() const;

    // idClicked / idToggled give the item index.
    QButtonGroup* buttons = nullptr;
};

// The General settings dialog: the program's options on five pages, and "&Default settings"
// for the options of every dialog. It edits the program's options as the controls change and
// puts back what it noted at its latest activation when cancelled.
class TForm10 : public ProgramDialog {
    Q_OBJECT

public:
    TForm10(const WindowServices& services, Options& options, QWidget* parent = nullptr);

    QTabWidget* PageControl1 = nullptr;
    QWidget* TabSheet1 = nullptr; // "General"
    QWidget* TabSheet2 = nullptr; // "Text format"
    QWidget* TabSheet3 = nullptr; // "Export to Excel"
    QWidget* TabSheet4 = nullptr; // "Messages about errors"
    QWidget* TabSheet5 = nullptr; // "Scanning"

    // "General"
    RadioGroupBox* RadioGroup1 = nullptr; // "Width of columns of the table"
    QCheckBox* CheckBox1 = nullptr;       // "Hints"

    // "Text format"
    QPushButton* Button4 = nullptr; // "Settings...": the text-format dialog
    QLabel* Label1 = nullptr;       // the empty text area

    // "Export to Excel"
    QCheckBox* CheckBox2 = nullptr;       // "&Number of row"
    QCheckBox* CheckBox3 = nullptr;       // "Italic"
    QCheckBox* CheckBox4 = nullptr;       // "Colour headings (text)"
    QCheckBox* CheckBox5 = nullptr;       // "Colour headings (borders)"
    QCheckBox* CheckBox6 = nullptr;       // "Colour headings (fill)"
    QCheckBox* CheckBox7 = nullptr;       // "Colour all table (text)"
    QCheckBox* CheckBox8 = nullptr;       // "Colour all table (borders)"
    QCheckBox* CheckBox9 = nullptr;       // "&Colour all table (fill)"
    RadioGroupBox* RadioGroup2 = nullptr; // "What borders will be drawn"
    QCheckBox* CheckBox10 = nullptr;      // "&Wide of columns on the widest line in a column"
    QCheckBox* CheckBox11 = nullptr;      // "Названия колонок", never shown
    QCheckBox* CheckBox12 = nullptr;      // "Add date and/or time"
    RadioGroupBox* RadioGroup3 = nullptr; // "What will be added"
    QCheckBox* CheckBox13 = nullptr;      // "Choose from list #1"
    QComboBox* ComboBox1 = nullptr;       // list #1
    QCheckBox* CheckBox14 = nullptr;      // "Choose from list #2"
    QComboBox* ComboBox2 = nullptr;       // list #2
    QCheckBox* CheckBox15 = nullptr;      // "Add this string"
    QLineEdit* Edit1 = nullptr;           // the string to add

    // "Messages about errors"
    QCheckBox* CheckBox16 = nullptr; // "Messages about errors"

    // "Scanning"
    QLabel* Label2 = nullptr;       // "You can choose scanning settings"
    QPushButton* Button5 = nullptr; // "Settings...": the scanning-parameters dialog

    QPushButton* Button1 = nullptr; // "OK"
    QPushButton* Button2 = nullptr; // "Cancel"
    QPushButton* Button3 = nullptr; // "&Default settings"

    void FormActivate() override;
    void Button1Click();
    void Button2Click();
    void Button3Click();
    void Button4Click();
    void Button5Click();
    void Label1Click();

    // How many times the text area was clicked since the latest activation.
    int textAreaClicks() const { return textAreaClicks_; }

Q_SIGNALS:
    // "Settings..." on the "Text format" page.
    void textFormatSettingsRequested();
    // "Settings..." on the "Scanning" page.
    void scanningSettingsRequested();
    // Options that other dialogs show were put back or reset.
    void optionsPutBack();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void reject() override;

private:
    void createGeneralPage();
    void createTextFormatPage();
    void createExcelPage();
    void createMessagesPage();
    void createScanningPage();
    void connectControls();

    // The check boxes that edit one option each (not "Hints", which acts at once as well).
    std::vector<std::pair<QCheckBox*, bool*>> optionBoxes();
    // Puts every control in step with the options without writing them back.
    void showOptions();
    void updateEnabledStates();
    // Puts back the values that "Cancel" restores from the options noted at activation.
    void putBack(const Options& noted);
    // Other open dialogs show some of these options in their own controls.
    void showOptionsInOtherDialogs();

    Options& options_;
    Options noted_; // the options as they were at the latest activation
    bool showingOptions_ = false;
    int textAreaClicks_ = 0;
};

} // namespace corvanteller
