// SPDX-License-Identifier: GPL-3.0-or-later
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
class ComplexRenameDialog : public ProgramDialog {
    Q_OBJECT

public:
    static constexpr int clientWidth = 608;
    static constexpr int clientHeight = 348;
    static constexpr int warningMs = 2502;

    // settingsPath is read at each run: the renaming journal lies beside the settings file.
    ComplexRenameDialog(const WindowServices& services, Options& options, TableSession& table,
                        const Clock& clock, const QString& settingsPath, QWidget* parent = nullptr);

    void onActivated() override;
    void showSelectedPart();
    void moveSelectedUp();
    void moveSelectedDown();
    void startRenaming();
    void cancelRenaming();
    void showPreview();
    void onCustomStringChanged(const QString& text);
    void restoreWarningLook();

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

    QLabel* instructionLabel = nullptr;         // the instruction
    QListWidget* namePartsList = nullptr;       // the name parts
    QPushButton* moveUpButton = nullptr;        // "Up"
    QPushButton* moveDownButton = nullptr;      // "Down"
    QPlainTextEdit* partDescription = nullptr;  // the selected part's description
    QLineEdit* customStringEdit = nullptr;      // "Your string"
    QComboBox* wordListComboBox = nullptr;      // the word list
    RadioGroupBox* whatAddedGroup = nullptr;    // "What will be added"
    QLabel* separatorLabel = nullptr;           // "Between components of name"
    QComboBox* separatorComboBox = nullptr;     // the separators
    QLabel* longNamesRemarkLabel = nullptr;     // the remark on long names
    RadioGroupBox* whatFilesGroup = nullptr;    // "What files"
    QPushButton* startRenamingButton = nullptr; // "Start renaming"
    QPushButton* cancelButton = nullptr;        // "Cancel"
    QPushButton* previewButton = nullptr;       // "Preview"
    QLabel* warningLabel = nullptr;             // the warning line
    QTimer* warningTimer = nullptr;             // gives the warning line back its normal look

    Options& options_;
    TableSession& table_;
    const Clock& clock_;
    const QString& settingsPath_;
    RenamePreviewWindow* preview_ = nullptr;
    bool showingOptions_ = false;
};

} // namespace corvanteller
