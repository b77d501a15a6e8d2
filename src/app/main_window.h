#pragma once

#include "app/settings_actions.h"
#include "common/find_pattern.h"
#include "office/document_engine.h"
#include "office/excel_import.h"
#include "office/workbook_engine.h"
#include "table/list_file.h"
#include "table/save_changes_flow.h"
#include "table/table_hints.h"
#include "text/text_view_modes.h"

#include <QMainWindow>

#include <memory>
#include <optional>

class QAction;
class QCheckBox;
class QLabel;
class QMenu;
class QProgressBar;
class QPushButton;

namespace corvanteller {

class AppContext;
class FindBar;
class SongGrid;
class TForm8;
class TForm6;
class TForm12;
class WindowScan;
struct RenameServices;

// The main window: the song table with its menus, the "Check all" box, a progress bar for a
// new scan and the status line.
class TForm4 : public QMainWindow {
    Q_OBJECT

public:
    static constexpr int clientWidth = 733;
    static constexpr int clientHeight = 493;
    static constexpr int progressMaximum = 100;
    static constexpr int statusRightMargin = 10;

    explicit TForm4(AppContext& context, QWidget* parent = nullptr);
    ~TForm4() override;

    SongGrid* StringGrid1 = nullptr;
    QCheckBox* CheckBox1 = nullptr; // "Check all"
    QProgressBar* ProgressBar1 = nullptr;
    QLabel* Label1 = nullptr;              // the status line
    QLabel* Label2 = nullptr;              // the last folder, shown when "Check all" is clicked
    QLabel* Label3 = nullptr;              // the scan's error label, never visible
    QLabel* Label4 = nullptr;              // the wait label, left of the status line
    QLabel* scanProgressLabel = nullptr;   // under the progress bar during a scan
    QPushButton* stopScanButton = nullptr; // "Stop", beside the progress bar during a scan
    QMenu* PopupMenu1 = nullptr;

    QAction* newScanning = nullptr; // "&New scanning..."
    QAction* N8 = nullptr;          // "&Open Corvanteller list..."
    QAction* N29 = nullptr;         // "&Save list"
    QAction* N9 = nullptr;          // "Save list &as..."
    QAction* exitAction = nullptr;  // "Exit"
    QAction* parametersOfScanning = nullptr;
    QAction* generalSettings = nullptr;
    QAction* N12 = nullptr;              // "&From column of name (file)"
    QAction* N13 = nullptr;              // "&Complex renaming..."
    QAction* undoRenaming = nullptr;     // "Undo last renaming"
    QAction* N19 = nullptr;              // "&Add row"
    QAction* Excel2 = nullptr;           // "&Import from Excel file"
    QAction* Excel3 = nullptr;           // Export > "Ms &Excel"
    QAction* Word1 = nullptr;            // Export > "&Ms Word"
    QAction* Word2 = nullptr;            // "Save as Ms &Word document..."
    QAction* N28 = nullptr;              // "&Print from Ms Word (text)"
    QAction* printToPdfAction = nullptr; // "Print to PDF..."
    QAction* information = nullptr;      // "&Information"
    QAction* promptAction = nullptr;     // "&Prompt"
    QAction* corvantellerHelp = nullptr;
    QAction* popupNewScanning = nullptr;
    QAction* popupCorvantellerHelp = nullptr;

    // The text view's commands.
    QAction* openTextList = nullptr; // "Open list in &text format..."
    QAction* saveAsText = nullptr;   // "Save as te&xt..."
    QAction* exportText = nullptr;   // Export > "Tex&t"
    QAction* exportToText = nullptr; // Table > "&Export to text"

    // Table > "Find..." and the bar under the grid that it shows.
    QAction* findAction = nullptr;
    FindBar* findBar = nullptr;

    TForm12& savePrompt() { return *savePrompt_; }
    TForm8& textView() { return *textView_; }

    // Writes an open cell edit into the table and the row stores, sets the text view's mode
    // and shows the view; its content is built when this returns.
    void showTextView(TextViewMode mode);
    TForm6& complexRenaming() { return *complexRenaming_; }

    // The window's spreadsheet server: the export and both imports use it.
    WorkbookEngine XLApp;
    // The window's word processor: its three Word commands use it.
    DocumentEngine WordApplication1;

    // Shows the window and runs its activation at once.
    void showAsActive();

    // Writes an open cell editor's text into the table; every command that reads the table
    // calls it first.
    void commitCellEdit();

    void FormActivate();
    void FormDeactivate();
    void NewScanningClick();
    void N8Click();
    void N9Click();
    void N29Click();
    void N12Click();
    void N13Click();
    void UndoRenamingClick();
    void N19Click();
    void InformationClick();
    void CorvantellerHelpClick();
    void OpenTextListClick();
    void SaveAsTextClick();
    void ExportTextClick();
    void StringGrid1DblClick(const QModelIndex& index);
    void CheckBox1Click();
    void Excel2Click();
    void Excel3Click();
    void Word1Click();
    void Word2Click();
    void N28Click();
    void printToPdfClick();

    // The start window's "Open Corvanteller list...": reads the list into this window's table.
    // False when the dialog was cancelled or the reading stopped at a damaged count line: the
    // start window then stays.
    bool openListForStartWindow(QWidget* parent);
    // The same for a path chosen without the dialog.
    bool openListForStartWindow(QWidget* parent, const QString& path);
    // The start window's "Import from Excel file": reads a workbook into this window's table.
    // False when the dialog was cancelled.
    bool importExcelForStartWindow(QWidget* parent);

    void applyColumnWidthMode();
    void updateStatusLine(const QString& text);
    TableWidthsAtClose widthsAtClose() const;

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    enum class ListRead { Read, Refused, Stopped };

    void buildGrid(QWidget* client);
    void buildBottomRow(QWidget* client);
    void buildMenus();
    QAction* addCommand(QMenu* menu, const QString& caption, void (TForm4::*handler)());
    void registerTableHint();
    void layoutClient();
    void setupFind(QWidget* client);
    void openFindBar();
    void findInTable(const QString& text, FindStep step);
    void alignStatusLine();

    void carryOut(NextStep step);
    void runNewScan();
    bool saveListAs();
    bool saveListToCurrentFile();
    void endProgram();
    RenameServices renameServices();
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
    // The table's text as the text view builds it, for a Word command: the view is shown for
    // it and hidden again once the text is in a new document.
    void newWordDocumentFromTextView(std::optional<TextViewMode> mode);

    AppContext& context_;
    SaveChangesFlow flow_;
    TForm12* savePrompt_ = nullptr;
    // A window of its own that only this one opens.
    std::unique_ptr<TForm8> textView_;
    TForm6* complexRenaming_ = nullptr;
    WindowScan* scan_ = nullptr;
    TableHint tableHint_;
    bool centred_ = false;
};

} // namespace corvanteller
