#pragma once

namespace corvanteller {

class TableSession;

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
};

// Decides the close query, "&New scanning...", "&Save list" and the prompt's answers from the
// session's unsaved-changes flag and the prompt's purpose. The windows show the prompt and carry
// out each step; the table itself is committed and refreshed by them before they ask.
//
// Unlike the program's first versions, a save that was cancelled or failed after "Yes" never
// ends the program or starts the scan: it returns to the table with nothing changed.
class SaveChangesFlow {
public:
    explicit SaveChangesFlow(TableSession& session) : session_(session) {}

    // The close box or File > "Exit", after the row stores were refreshed.
    NextStep closeRequested();
    // "&New scanning...": refreshes the row stores, then asks or goes on to the folder dialog.
    NextStep newScanRequested();
    // "&Save list" from the menu, or "Yes" in the prompt.
    NextStep saveRequested() const;
    // After the save that saveRequested() or promptAnswered() asked for; saved is false when
    // the dialog was cancelled or the file could not be written.
    NextStep saveFinished(bool saved);

    // The prompt's activation.
    void promptActivated();
    NextStep promptAnswered(PromptAnswer answer);

private:
    TableSession& session_;
};

} // namespace corvanteller
