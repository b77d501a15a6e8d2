// SPDX-License-Identifier: GPL-3.0-or-later
#include "table/save_changes_flow.h"

#include "table/table_session.h"

namespace corvanteller {

namespace {

// A command that waits for the prompt's answer and goes on after it; a close while one waits
// keeps its question.
bool commandWaits(PromptPurpose purpose) {
    return purpose == PromptPurpose::AskBeforeNewScan ||
           purpose == PromptPurpose::AskBeforeOpeningList ||
           purpose == PromptPurpose::AskBeforeImport;
}

} // namespace

NextStep SaveChangesFlow::closeRequested() {
    if (!session_.unsavedChanges) {
        return NextStep::EndProgram;
    }
    if (!commandWaits(session_.promptPurpose)) {
        session_.promptPurpose = PromptPurpose::AskBeforeClosing;
    }
    return NextStep::ShowPrompt;
}

NextStep SaveChangesFlow::newScanRequested() {
    return session_.beginNewScan() == TableSession::NewScanStart::AskToSave
               ? NextStep::ShowPrompt
               : NextStep::ChooseFolder;
}

NextStep SaveChangesFlow::listOpenRequested() {
    return replaceRequested(PromptPurpose::AskBeforeOpeningList, NextStep::ChooseListFile);
}

NextStep SaveChangesFlow::importRequested() {
    return replaceRequested(PromptPurpose::AskBeforeImport, NextStep::ChooseWorkbook);
}

NextStep SaveChangesFlow::replaceRequested(PromptPurpose purpose, NextStep stepAhead) {
    if (!session_.unsavedChanges) {
        session_.promptPurpose = PromptPurpose::AskBeforeClosing;
        return stepAhead;
    }
    session_.promptPurpose = purpose;
    return NextStep::ShowPrompt;
}

NextStep SaveChangesFlow::saveRequested() const {
    return session_.hasCurrentListFile ? NextStep::SaveToCurrentFile : NextStep::SaveWithDialog;
}

NextStep SaveChangesFlow::saveFinished(bool saved) {
    const PromptPurpose purpose = session_.promptPurpose;
    if (purpose == PromptPurpose::AskBeforeClosing) {
        return NextStep::Nothing;
    }
    session_.promptPurpose = PromptPurpose::AskBeforeClosing;
    if (!saved) {
        return NextStep::ReturnToTable;
    }
    switch (purpose) {
    case PromptPurpose::AskBeforeClosing:
        return NextStep::Nothing;
    case PromptPurpose::CloseAfterSaving:
        return NextStep::EndProgram;
    case PromptPurpose::AskBeforeNewScan:
        return newScanRequested();
    case PromptPurpose::AskBeforeOpeningList:
        return NextStep::ChooseListFile;
    case PromptPurpose::AskBeforeImport:
        return NextStep::ChooseWorkbook;
    }
    return NextStep::ReturnToTable;
}

void SaveChangesFlow::promptActivated() {
    if (!commandWaits(session_.promptPurpose)) {
        session_.promptPurpose = PromptPurpose::AskBeforeClosing;
    }
}

NextStep SaveChangesFlow::promptAnswered(PromptAnswer answer) {
    const PromptPurpose purpose = session_.promptPurpose;
    switch (answer) {
    case PromptAnswer::Yes:
        if (!commandWaits(purpose)) {
            session_.promptPurpose = PromptPurpose::CloseAfterSaving;
        }
        return saveRequested();
    case PromptAnswer::No:
        session_.promptPurpose = PromptPurpose::AskBeforeClosing;
        switch (purpose) {
        case PromptPurpose::AskBeforeNewScan:
            session_.unsavedChanges = false;
            return newScanRequested();
        case PromptPurpose::AskBeforeOpeningList:
            return NextStep::ChooseListFile;
        case PromptPurpose::AskBeforeImport:
            return NextStep::ChooseWorkbook;
        case PromptPurpose::AskBeforeClosing:
        case PromptPurpose::CloseAfterSaving:
            return NextStep::EndProgram;
        }
        return NextStep::EndProgram;
    case PromptAnswer::Cancel:
        break;
    }
    session_.promptPurpose = PromptPurpose::AskBeforeClosing;
    return NextStep::ReturnToTable;
}

} // namespace corvanteller
