#pragma once

#include "ui/program_dialog.h"

#include <QString>

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPlainTextEdit;
class QPushButton;
class QTimer;

namespace corvanteller {

class Clock;
class RadioGroupBox;
class RenamePreviewWindow;
class TableSession;
struct Options;

// The complex-renaming dialog ("Complex rename of files from your table"): the name parts and
// their order, the separator, the string, the word-list entry, the date and time, and which
// rows; "Start renaming" renames the files of the table. It edits the renaming options as its
// controls change.
class TForm6 : public ProgramDialog {
    Q_OBJECT

public:
    static constexpr int clientWidth = 608;
    static constexpr int clientHeight = 348;
    static constexpr int warningMs = 2502;

    // settingsPath is read at each run: the renaming journal lies beside the settings file.
    TForm6(const WindowServices& services, Options& options, TableSession& table,
           const Clock& clock, const QString& settingsPath, QWidget* parent = nullptr);

    QLabel* Label1 = nullptr;             // the instruction
    QListWidget* viberi = nullptr;        // the name parts
    QPushButton* Button1 = nullptr;       // "Up"
    QPushButton* Button2 = nullptr;       // "Down"
    QPlainTextEdit* Memo1 = nullptr;      // the selected part's description
    QLineEdit* Edit1 = nullptr;           // "Your string"
    QComboBox* ComboBox1 = nullptr;       // the word list
    RadioGroupBox* RadioGroup1 = nullptr; // "What will be added"
    QLabel* Label2 = nullptr;             // "Between components of name"
    QComboBox* ComboBox2 = nullptr;       // the separators
    QLabel* Label3 = nullptr;             // the remark on long names
    RadioGroupBox* RadioGroup2 = nullptr; // "What files"
    QPushButton* Button3 = nullptr;       // "Start renaming"
    QPushButton* Button4 = nullptr;       // "Cancel"
    QPushButton* Button5 = nullptr;       // "Preview"
    QLabel* Label4 = nullptr;             // the warning line
    QTimer* Timer1 = nullptr;             // gives the warning line back its normal look

    void FormActivate() override;
    void viberiClick();
    void Button1Click();
    void Button2Click();
    void Button3Click();
    void Button4Click();
    void Button5Click();
    void Edit1Change(const QString& text);
    void Timer1Timer();

    // Puts the controls in step with the options, which the settings file or "&Default settings"
    // may have changed.
    void showOptions();

    RenamePreviewWindow& preview() { return *preview_; }

Q_SIGNALS:
    // "Cancel" and the end of a run hand back to the main window.
    void mainWindowWanted();
    // "Preview" and "Start renaming" are about to read the table: a cell still being edited
    // belongs in it.
    void tableAboutToBeRead();

private:
    void buildControls();
    void connectControls();
    // Moves the selected part one place up (-1) or down (+1).
    void moveSelected(int step);
    void showItem(int position);
    void showWarning();

    Options& options_;
    TableSession& table_;
    const Clock& clock_;
    const QString& settingsPath_;
    RenamePreviewWindow* preview_ = nullptr;
    bool showingOptions_ = false;
};

} // namespace corvanteller
