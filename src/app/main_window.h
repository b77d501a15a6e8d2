// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/settings_actions.h"
#include "table/save_changes_flow.h"
#include "text/text_view_modes.h"
#include "ui/program_window.h"

#include <QMainWindow>

#include <functional>
#include <memory>
#include <optional>

namespace corvanteller {

class AppContext;
class BottomRow;
class ComplexRenameDialog;
class DocumentEngine;
class FileCommands;
class ListCommands;
class OfficeCommands;
class SaveChangesPrompt;
class TableController;
class TableCommands;
class TablePane;
class TextView;
class TextWritePreviewWindow;
class WindowScan;
class WorkbookEngine;

// The main window: the song table with its menus, the "Check all" box, a progress bar for a
// new scan and the status line. Its commands are the table controller's, the file commands'
// and the office commands'; the window shows what they decide.
class MainWindow : public ProgramWindow<QMainWindow> {
    Q_OBJECT

public:
    static constexpr int clientWidth = 733;
    static constexpr int clientHeight = 493;

    explicit MainWindow(AppContext& context, QWidget* parent = nullptr);
    ~MainWindow() override;

    // The windows that only this one opens.
    SaveChangesPrompt& savePrompt() { return *savePrompt_; }
    TextView& textView() { return *textView_; }
    ComplexRenameDialog& complexRenaming() { return *complexRenaming_; }
    TextWritePreviewWindow& textWritePreview() { return *textWritePreview_; }
    // The window's spreadsheet server and word processor.
    WorkbookEngine& workbookEngine();
    DocumentEngine& documentEngine();

    // Shows the window and runs its activation at once.
    void showAsActive();
    // Writes an open cell editor's text into the table; every command that reads the table
    // calls it first.
    void commitCellEdit();
    void onActivated() override;
    void onDeactivated() override;
    void applyColumnWidthMode();
    TableWidthsAtClose widthsAtClose() const;

    // The list and workbook reading that the start window hands over to this window.
    ListCommands& listCommands() { return *listCommands_; }

protected:
    // While a scan runs the table waits for its rows: the scan rebuilds it at its end.
    bool takesActivations() const override;
    void beforeCommand() override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void buildClient();
    void buildMenus();
    void buildFileCommands();
    void buildListCommands();

    // The text view's commands, and the view shown only to build the table's text.
    void showTextView(TextViewMode mode);
    void openTextView();
    void useTextView(std::optional<TextViewMode> mode,
                     const std::function<void(const TextView&)>& use);
    // The window active again with the keyboard in the grid at row, column (model indices).
    void returnToGrid(int row, int column);

    // The commands that may replace the table go through the save-changes flow.
    void startNewScanning();
    void openList();
    void importExcel();
    void carryOut(NextStep step);
    void runNewScan();
    void endProgram();
    // The path of a dropped file or folder in place of the command's dialog, if there is one.
    QString takeDroppedPath();

    AppContext& context_;
    SaveChangesFlow flow_;
    std::unique_ptr<TableController> tableController_;
    std::unique_ptr<TableCommands> tableCommands_;
    std::unique_ptr<FileCommands> fileCommands_;
    std::unique_ptr<OfficeCommands> officeCommands_;
    std::unique_ptr<ListCommands> listCommands_;
    std::unique_ptr<TextView> textView_; // a window of its own that only this one opens
    SaveChangesPrompt* savePrompt_ = nullptr;
    ComplexRenameDialog* complexRenaming_ = nullptr;
    TextWritePreviewWindow* textWritePreview_ = nullptr;
    WindowScan* scan_ = nullptr;
    TablePane* tablePane = nullptr;
    BottomRow* bottomRow = nullptr;
    QString droppedPath_; // a dropped file or folder, in place of the next dialog
    bool placed_ = false; // at its last place, or centred, once
};

} // namespace corvanteller
