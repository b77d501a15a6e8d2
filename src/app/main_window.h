// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/settings_actions.h"
#include "common/find_pattern.h"
#include "office/document_engine.h"
#include "office/excel_import.h"
#include "office/workbook_engine.h"
#include "rename/failure_messages.h"
#include "table/list_file.h"
#include "table/save_changes_flow.h"
#include "table/table_hints.h"
#include "text/text_view_modes.h"
#include "write/text_write_run.h"

#include <QMainWindow>

#include <functional>
#include <memory>
#include <optional>

class QAction;
class QCheckBox;
class QLabel;
class QMenu;
class QProgressBar;
class QTextDocument;
class QPushButton;

namespace corvanteller {

class AppContext;
class FindBar;
class SongGrid;
class TextView;
class ComplexRenameDialog;
class SaveChangesPrompt;
class FilterBar;
class TableController;
class TextWritePreviewWindow;
class WindowScan;
struct RenameServices;

// The main window: the song table with its menus, the "Check all" box, a progress bar for a
// new scan and the status line.
class MainWindow : public QMainWindow {
    Q_OBJECT

public:
    static constexpr int clientWidth = 733;
    static constexpr int clientHeight = 493;
    static constexpr int progressMaximum = 100;
    static constexpr int statusRightMargin = 10;

    explicit MainWindow(AppContext& context, QWidget* parent = nullptr);
    ~MainWindow() override;

    SongGrid* songGrid = nullptr;
    QCheckBox* checkAllBox = nullptr; // "Check all"
    QProgressBar* scanProgressBar = nullptr;
    QLabel* statusLabel = nullptr;         // the status line
    QLabel* lastFolderLabel = nullptr;     // the last folder, shown when "Check all" is clicked
    QLabel* scanErrorLabel = nullptr;      // the scan's error label, never visible
    QLabel* waitLabel = nullptr;           // the wait label, left of the status line
    QLabel* scanProgressLabel = nullptr;   // under the progress bar during a scan
    QPushButton* stopScanButton = nullptr; // "Stop", beside the progress bar during a scan
    QMenu* tableContextMenu = nullptr;

    QAction* newScanningAction = nullptr; // "&New scanning..."
    QAction* openListAction = nullptr;    // "&Open Corvanteller list..."
    QAction* saveListAction = nullptr;    // "&Save list"
    QAction* saveListAsAction = nullptr;  // "Save list &as..."
    QAction* exitAction = nullptr;        // "Exit"
    QAction* scanParametersAction = nullptr;
    QAction* generalSettingsAction = nullptr;
    QAction* renameFromNameColumnAction = nullptr; // "&From column of name (file)"
    QAction* complexRenamingAction = nullptr;      // "&Complex renaming..."
    QAction* undoRenamingAction = nullptr;         // "Undo last renaming"
    QAction* addRowAction = nullptr;               // "&Add row"
    QAction* importExcelAction = nullptr;          // "&Import from Excel file"
    QAction* exportExcelAction = nullptr;          // Export > "Ms &Excel"
    QAction* saveWorkbookAsAction = nullptr;       // Export > "Save workbook as..."
    QAction* exportWordAction = nullptr;           // Export > "&Ms Word"
    QAction* saveAsWordAction = nullptr;           // "Save as Ms &Word document..."
    QAction* printFromWordAction = nullptr;        // "&Print from Ms Word (text)"
    QAction* printToPdfAction = nullptr;           // "Print to PDF..."
    QAction* informationAction = nullptr;          // "&Information"
    QAction* promptAction = nullptr;               // "&Prompt"
    QAction* helpAction = nullptr;
    QAction* popupNewScanningAction = nullptr;
    QAction* popupHelpAction = nullptr;

    // The text view's commands.
    QAction* openTextListAction = nullptr; // "Open list in &text format..."
    QAction* saveAsTextAction = nullptr;   // "Save as te&xt..."
    QAction* exportTextAction = nullptr;   // Export > "Tex&t"
    QAction* exportToTextAction = nullptr; // Table > "&Export to text"

    // Table > "Find..." and the bar under the grid that it shows.
    QAction* findAction = nullptr;
    FindBar* findBar = nullptr;

    QAction* writeTextsAction = nullptr;      // Table > "Write texts into files..."
    QAction* undoTextWritingAction = nullptr; // Table > "Undo last text writing"
    TextWritePreviewWindow& textWritePreview() { return *textWritePreview_; }

    SaveChangesPrompt& savePrompt() { return *savePrompt_; }
    TextView& textView() { return *textView_; }

    // Writes an open cell edit into the table and the row stores, sets the text view's mode
    // and shows the view; its content is built when this returns.
    void showTextView(TextViewMode mode);
    ComplexRenameDialog& complexRenaming() { return *complexRenaming_; }

    // The window's spreadsheet server: the export and both imports use it.
    WorkbookEngine workbookEngine;
    // The window's word processor: its three Word commands use it.
    DocumentEngine documentEngine;

    // Shows the window and runs its activation at once.
    void showAsActive();

    // Writes an open cell editor's text into the table; every command that reads the table
    // calls it first.
    void commitCellEdit();

    void onActivated();
    void onDeactivated();
    void startNewScanning();
    void openList();
    void saveListAs();
    void saveList();
    void renameFilesFromNameColumn();
    void showComplexRenameDialog();
    void revertLastRenaming();
    void previewTextWriting();
    void revertLastTextWriting();
    void addRow();
    void showInformation();
    void showHelp();
    void openListInTextFormat();
    void saveTableAsText();
    void exportTableToText();
    void toggleRowCheck(const QModelIndex& index);
    void showLastFolder();
    void importExcel();
    void exportTableToExcel();
    void saveExportWorkbookAs();
    void exportTableToWord();
    void saveAsWordDocument();
    void printFromWord();
    void printToPdfFile();

    // The start window's "Open Corvanteller list...": reads the list into this window's table.
    // False when the dialog was cancelled or the reading stopped at a damaged count line: the
    // start window then stays.
    bool openListForStartWindow(QWidget* parent);
    // The same for a list named on the command line, which is handed over only when it was read:
    // after the message of a damaged list the start window stays, as before.
    bool openListForStartWindow(QWidget* parent, const QString& path);
    // The start window's "Import from Excel file": reads a workbook into this window's table.
    // False when the dialog was cancelled.
    bool importExcelForStartWindow(QWidget* parent);
    bool importExcelForStartWindow(QWidget* parent, const QString& path);

    void applyColumnWidthMode();
    void updateStatusLine(const QString& text);
    TableWidthsAtClose widthsAtClose() const;

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    enum class ListRead { Read, Refused, Stopped };

    void buildGrid(QWidget* client);
    void buildBottomRow(QWidget* client);
    void buildMenus();
    void buildTableCommands(QMenu* table);
    void keepOnScreen();
    void sortByColumn(int column);
    void undoTableStep();
    void changeTableKeepingCurrentCell(const std::function<void()>& change);
    void redoTableStep();
    // The Undo and Redo entries name the steps they would take; the header shows the sort.
    void showTableHistory();
    // The rows of the grid's selection, or the current row when nothing is selected.
    std::vector<int> selectedRows() const;
    // Checks (true), unchecks (false) or toggles (nothing) the rows' marks, as one step.
    void markRows(const std::vector<int>& rows, std::optional<bool> checked);
    // Takes the rows out of the table once the user agrees; no file is touched.
    void removeRowsFromTable(const std::vector<int>& rows);
    void removeCheckedRows();
    void buildRowCommands();
    void setStandardShortcuts();
    // The selected rows as corvanteller-cli scan prints them.
    void copyRows();
    void copyFullPath();
    void openContainingFolder();
    void setupFilter(QWidget* client);
    void openFilterBar();
    // Hides the rows the filter line does not show; all rows shown without a filter.
    void applyFilter();
    void markShownRows();
    void markDuplicateRows();
    // Reads every file whose size another row's file has: the wait label shows meanwhile.
    void markIdenticalFiles();
    void updateCountLabel();
    // "songs.sgl* - Corvanteller": the current list, and a star while it has unsaved changes.
    void updateWindowTitle();
    // A new table, or files changed on disk: nothing left to undo in the table.
    void startFreshTableHistory();
    QAction* addCommand(QMenu* menu, const QString& caption, void (MainWindow::*handler)());
    void registerTableHint();
    void layoutClient();
    void setupFind(QWidget* client);
    void openFindBar();
    void findInTable(const QString& text, FindStep step);
    void alignStatusLine();

    void carryOut(NextStep step);
    void runNewScan();
    bool saveListWithDialog();
    bool saveListToCurrentFile();
    void endProgram();
    RenameServices renameServices();
    // Shows one failure message of a run with "OK" and "No more messages".
    MessageReply showRunFailure(const QString& text);
    TextWriteServices textWriteServices();
    // The rows of the preview once "Write" is chosen.
    void writePreviewedTexts();
    // The run's notice, its count and its refusals one by one.
    void reportTextWriting(const TextWriteRunResult& result);
    ListRead readListIntoGrid(QWidget* parent, const QString& path, int originRowCount,
                              ListOpenFailure failure);
    // "&Open Corvanteller list..." and "&Import from Excel file" once the table may be replaced.
    void openListFromDialog();
    void importWorkbookFromDialog();
    // The window active again with the keyboard in the grid at row, column (model indices).
    void returnToGrid(int row, int column);
    ImportOutcome importExcelFile(const QString& path, ImportingWindow window);
    void showWaitLabel(const QString& text);
    // Shows the text view for the mode it has.
    void openTextView();
    // Builds the document of "&Print from Ms Word (text)" and hands it to the printer.
    void printTableDocument(const DocumentPrinter& printer);
    // The table's text as the text view builds it, for a Word command: the view is shown for
    // it and hidden again once the text is in a new document.
    void newWordDocumentFromTextView(std::optional<TextViewMode> mode);
    // The same steps for any use of the view's document.
    void useTextViewDocument(std::optional<TextViewMode> mode,
                             const std::function<void(const QTextDocument&)>& use);
    void askForTableTextBeforeAnyRequest();

    AppContext& context_;
    SaveChangesFlow flow_;
    SaveChangesPrompt* savePrompt_ = nullptr;
    // A window of its own that only this one opens.
    std::unique_ptr<TextView> textView_;
    ComplexRenameDialog* complexRenaming_ = nullptr;
    TextWritePreviewWindow* textWritePreview_ = nullptr;
    std::vector<TextWriteRequest> previewedWrites_; // what "Write" of the preview writes
    WindowScan* scan_ = nullptr;
    std::unique_ptr<TableController> tableController_;
    QAction* undoTableAction_ = nullptr; // Table > "Undo ..."
    QAction* redoTableAction_ = nullptr; // Table > "Redo ..."
    QAction* removeCheckedAction_ = nullptr;
    QAction* filterAction_ = nullptr; // Table > "Filter..."
    FilterBar* filterBar_ = nullptr;
    QLabel* countLabel_ = nullptr; // "20,416 rows, 12 checked"
    int shownRows_ = -1;           // while a filter hides rows
    QString droppedPath_;          // a dropped file or folder, in place of the next dialog
    QMenu* sortMenu_ = nullptr;    // Table > "Sort by"
    TableHint tableHint_;
    bool centred_ = false;
};

} // namespace corvanteller
