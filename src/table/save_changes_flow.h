// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace corvanteller {

class TableSession;
enum class PromptPurpose;

// The answers of the save-changes prompt ("Attention").
enum class PromptAnswer { Yes, No, Cancel };

// What the main window does next in the close / new scan / save-changes flow.
enum class NextStep {
    Nothing,           // stay as it is
    ShowPrompt,        // show "Attention" without blocking
    EndProgram,        // hide the prompt, save the settings and end the program
    ChooseFolder,      // hide the prompt; the new scan goes on with its folder dialog
    SaveToCurrentFile, // write the list to the current list file, then saveFinished()
    SaveWithDialog,    // "Save list &as...", then saveFinished()
    ReturnToTable,     // hide the prompt; nothing else changes
    ChooseListFile,    // hide the prompt; the list open goes on with its file dialog
    ChooseWorkbook,    // hide the prompt; the workbook import goes on with its file dialog
};

// Decides the close query, "&New scanning...", the main window's "&Open Corvanteller list..." and
// "&Import from Excel file", "&Save list" and the prompt's answers from the
// session's unsaved-changes flag and the prompt's purpose. The windows show the prompt and carry
// out each step; the table itself is committed and refreshed by them before they ask.
//
// Unlike the program's first versions, a save that was cancelled or failed after "Yes" never
// ends the program or starts the scan: it returns to the table with nothing changed. Opening a
// list and importing a workbook, which replace the table, ask first as a new scan does; "No"
// goes on without touching the unsaved-changes flag (the new table is unsaved too).
class SaveChangesFlow {
public:
    explicit SaveChangesFlow(TableSession& session) : session_(session) {}

    // The close box or File > "Exit", after the row stores were refreshed.
    NextStep closeRequested();
    // "&New scanning...": refreshes the row stores, then asks or goes on to the folder dialog.
    NextStep newScanRequested();
    // The main window's "&Open Corvanteller list..." and "&Import from Excel file".
    NextStep listOpenRequested();
    NextStep importRequested();
    // "&Save list" from the menu, or "Yes" in the prompt.
    NextStep saveRequested() const;
    // After the save that saveRequested() or promptAnswered() asked for; saved is false when
    // the dialog was cancelled or the file could not be written.
    NextStep saveFinished(bool saved);

    // The prompt's activation.
    void promptActivated();
    NextStep promptAnswered(PromptAnswer answer);

private:
    // A request that goes on to stepAhead, asking first with purpose while changes are unsaved.
    NextStep replaceRequested(PromptPurpose purpose, NextStep stepAhead);

    TableSession& session_;
};

} // namespace corvanteller
