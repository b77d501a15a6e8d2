#include "table/save_changes_flow.h"

#include "table/table_session.h"

namespace corvanteller {

NextStep SaveChangesFlow::closeRequested() {
    if (!session_.unsavedChanges) {
        return NextStep::EndProgram;
    }
    if (session_.promptPurpose != PromptPurpose::AskBeforeNewScan) {
        session_.promptPurpose = PromptPurpose::AskBeforeClosing;
    }
    return NextStep::ShowPrompt;
}

NextStep SaveChangesFlow::newScanRequested() {
    return session_.beginNewScan() == TableSession::NewScanStart::AskToSave
               ? NextStep::ShowPrompt
               : NextStep::ChooseFolder;
}

NextStep SaveChangesFlow::saveRequested() const {
    return session_.hasCurrentListFile ? NextStep::SaveToCurrentFile : NextStep::SaveWithDialog;
}

NextStep SaveChangesFlow::saveFinished(bool saved) {
    switch (session_.promptPurpose) {
    case PromptPurpose::AskBeforeClosing:
        return NextStep::Nothing;
    case PromptPurpose::CloseAfterSaving:
        if (saved) {
            return NextStep::EndProgram;
        }
        break;
    case PromptPurpose::AskBeforeNewScan:
        if (saved) {
            return newScanRequested();
        }
        break;
    }
    session_.promptPurpose = PromptPurpose::AskBeforeClosing;
    return NextStep::ReturnToTable;
}

void SaveChangesFlow::promptActivated() {
    if (session_.promptPurpose != PromptPurpose::AskBeforeNewScan) {
        session_.promptPurpose = PromptPurpose::AskBeforeClosing;
    }
}

NextStep SaveChangesFlow::promptAnswered(PromptAnswer answer) {
    switch (answer) {
    case PromptAnswer::Yes:
        if (session_.promptPurpose != PromptPurpose::AskBeforeNewScan) {
            session_.promptPurpose = PromptPurpose::CloseAfterSaving;
        }
        return saveRequested();
    case PromptAnswer::No:
        if (session_.promptPurpose != PromptPurpose::AskBeforeNewScan) {
            return NextStep::EndProgram;
        }
        session_.unsavedChanges = false;
        session_.promptPurpose = PromptPurpose::AskBeforeClosing;
        return newScanRequested();
    case PromptAnswer::Cancel:
        break;
    }
    session_.promptPurpose = PromptPurpose::AskBeforeClosing;
    return NextStep::ReturnToTable;
}

} // namespace corvanteller
