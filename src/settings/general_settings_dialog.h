// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "settings/desktop_settings.h"
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
    Q_OBJECT

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
class GeneralSettingsDialog : public ProgramDialog {
    Q_OBJECT

public:
    // desktop: the settings kept beside the settings file, written to desktopPath by "OK".
    GeneralSettingsDialog(const WindowServices& services, Options& options,
                          DesktopSettings& desktop, const QString& desktopPath,
                          QWidget* parent = nullptr);

    void onActivated() override;
    void acceptSettings();
    void cancelSettings();
    void restoreDefaultSettings();
    void showTextFormatSettings();
    void showScanningSettings();
    void onTextAreaClicked();

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
    // Each control's object name is its member name.
    void nameControls();
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

    QTabWidget* pageTabs = nullptr;
    QWidget* generalPage = nullptr;       // "General"
    QWidget* textFormatPage = nullptr;    // "Text format"
    QWidget* excelExportPage = nullptr;   // "Export to Excel"
    QWidget* errorMessagesPage = nullptr; // "Messages about errors"
    QWidget* scanningPage = nullptr;      // "Scanning"

    // "General"
    RadioGroupBox* columnWidthGroup = nullptr; // "Width of columns of the table"
    QCheckBox* hintsCheckBox = nullptr;        // "Hints"

    // "Text format"
    QPushButton* textFormatSettingsButton = nullptr; // "Settings...": the text-format dialog
    QLabel* textAreaLabel = nullptr;                 // the empty text area

    // "Export to Excel"
    QCheckBox* rowNumberCheckBox = nullptr;          // "&Number of row"
    QCheckBox* italicCheckBox = nullptr;             // "Italic"
    QCheckBox* headingsTextColourCheckBox = nullptr; // "Colour headings (text)"
    QCheckBox* headingsBordersCheckBox = nullptr;    // "Colour headings (borders)"
    QCheckBox* headingsFillCheckBox = nullptr;       // "Colour headings (fill)"
    QCheckBox* tableTextColourCheckBox = nullptr;    // "Colour all table (text)"
    QCheckBox* tableBordersCheckBox = nullptr;       // "Colour all table (borders)"
    QCheckBox* tableFillCheckBox = nullptr;          // "&Colour all table (fill)"
    RadioGroupBox* bordersDrawnGroup = nullptr;      // "What borders will be drawn"
    QCheckBox* wideColumnsCheckBox = nullptr; // "&Wide of columns on the widest line in a column"
    QCheckBox* columnNamesCheckBox = nullptr; // "Названия колонок", never shown
    QCheckBox* addDateTimeCheckBox = nullptr; // "Add date and/or time"
    RadioGroupBox* whatAddedGroup = nullptr;  // "What will be added"
    QCheckBox* chooseList1CheckBox = nullptr; // "Choose from list #1"
    QComboBox* list1ComboBox = nullptr;       // list #1
    QCheckBox* chooseList2CheckBox = nullptr; // "Choose from list #2"
    QComboBox* list2ComboBox = nullptr;       // list #2
    QCheckBox* addStringCheckBox = nullptr;   // "Add this string"
    QLineEdit* addedStringEdit = nullptr;     // the string to add

    // "Messages about errors"
    QCheckBox* errorMessagesCheckBox = nullptr; // "Messages about errors"

    // "Scanning"
    QLabel* scanningSettingsLabel = nullptr;       // "You can choose scanning settings"
    QPushButton* scanningSettingsButton = nullptr; // "Settings...": the scanning-parameters dialog
    QCheckBox* rememberTextsCheckBox = nullptr;    // "Remember the texts of unchanged files"
    QCheckBox* keepMarksCheckBox = nullptr;        // "Keep check marks when the window is switched"

    QPushButton* okButton = nullptr;              // "OK"
    QPushButton* cancelButton = nullptr;          // "Cancel"
    QPushButton* defaultSettingsButton = nullptr; // "&Default settings"

    Options& options_;
    Options noted_; // the options as they were at the latest activation
    DesktopSettings& desktop_;
    const QString& desktopPath_;
    DesktopSettings notedDesktop_;
    bool showingOptions_ = false;
    int textAreaClicks_ = 0;
};

} // namespace corvanteller
