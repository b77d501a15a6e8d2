// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "kar/row_store.h"
#include "table/song_table_model.h"
#include "table/table_history.h"

#include <QString>

namespace corvanteller {

// Which row store the song table is rebuilt from.
enum class TableOrigin { StartWindow, MainWindow };

// What the save-changes prompt was shown for. The list open and the workbook import of the main
// window ask too, so that a table with unsaved changes is never replaced without a word.
enum class PromptPurpose {
    AskBeforeClosing = 0,
    CloseAfterSaving = 1,
    AskBeforeNewScan = 3,
    AskBeforeOpeningList = 4,
    AskBeforeImport = 5,
};

// The song table with the two row stores that mirror it, and the main window's state around
// them: the unsaved-changes flag, the current list file, the renaming report and the marks
// that keep the table from being rebuilt.
class TableSession {
public:
    TableSession();

    SongTableModel& model() { return model_; }
    const SongTableModel& model() const { return model_; }
    RowStore& startStore() { return startStore_; }
    RowStore& mainStore() { return mainStore_; }
    const RowStore& originStore() const;
    RowStore& originStore();

    TableOrigin origin = TableOrigin::StartWindow;
    bool unsavedChanges = true;
    bool hasCurrentListFile = false;
    // The list file the table was last opened from or saved to, for the window's title; an
    // opened list names the window without becoming the file "Save list" writes to.
    QString shownListFile;
    QString currentListFile;
    // Set while the start window has handed over a table it opened or imported; cleared when
    // the start window is next activated.
    bool startWindowHandedTable = false;
    // Set by complex renaming: the next activation keeps the table once.
    bool keepTableOnce = false;
    // The main window's undo and redo of the table's contents.
    TableHistory history;

    int renamedCount = 0;
    bool renamedCountPutBack = false; // the count is of an undo
    bool renamingReport = false;
    PromptPurpose promptPurpose = PromptPurpose::AskBeforeClosing;

    // The main window's activation: rebuilds the table from the origin's row store unless the
    // table is to be kept; true when it rebuilt.
    // keepMarks: each row keeps its check mark while the rows are the same ones; without it
    // every rebuild clears the marks.
    bool rebuildOnActivation(bool keepMarks = false);
    // Copies the table into both row stores.
    void refreshStores();
    // The status line at activation.
    QString statusText() const;
    // The status line after a renaming command or an undo.
    QString renamingStatusText() const;

    enum class NewScanStart { AskToSave, ChooseFolder };
    // The steps of "&New scanning..." before its folder dialog.
    NewScanStart beginNewScan();
    // After the folder dialog: a folder was chosen, so the list starts anew.
    void startNewScanRows();
    // After the scan (or a cancelled dialog): the main store is the origin and the table is
    // rebuilt from it.
    void finishNewScan();

private:
    RowStore startStore_;
    RowStore mainStore_;
    SongTableModel model_;
};

QString processedStatusText(int files);
QString renamedStatusText(int files);
QString putBackStatusText(int files);
// "&Add row" on a full table.
QString tableFullMessage();

} // namespace corvanteller
