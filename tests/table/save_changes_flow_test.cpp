// SPDX-License-Identifier: GPL-3.0-or-later
#include "table/save_changes_flow.h"

#include "table/table_session.h"

#include <gtest/gtest.h>

#include <vector>

namespace corvanteller {
namespace {

// One user action in the flow, and what the flow must answer.
struct Action {
    enum Kind { Close, NewScan, OpenList, Import, SaveMenu, Answer, SaveDone, SaveCancelled } kind;
    PromptAnswer answer = PromptAnswer::Cancel;
};

struct FlowCase {
    const char* name;
    bool unsavedAtStart;
    bool hasListFile;
    std::vector<std::pair<Action, NextStep>> steps;
    bool unsavedAtEnd;
};

// Names the case instead of dumping its bytes.
void PrintTo(const FlowCase& c, std::ostream* out) {
    *out << c.name;
}

Action close() {
    return {Action::Close};
}
Action newScan() {
    return {Action::NewScan};
}
Action openList() {
    return {Action::OpenList};
}
Action import() {
    return {Action::Import};
}
Action saveMenu() {
    return {Action::SaveMenu};
}
Action answer(PromptAnswer a) {
    return {Action::Answer, a};
}
Action saved() {
    return {Action::SaveDone};
}
Action cancelled() {
    return {Action::SaveCancelled};
}

class SaveChangesFlowTest : public testing::TestWithParam<FlowCase> {};

TEST_P(SaveChangesFlowTest, DecidesTheNextStep) {
    const FlowCase& c = GetParam();
    TableSession session;
    session.unsavedChanges = c.unsavedAtStart;
    session.hasCurrentListFile = c.hasListFile;
    SaveChangesFlow flow(session);
    int index = 0;
    for (const auto& [action, expected] : c.steps) {
        NextStep step = NextStep::Nothing;
        switch (action.kind) {
        case Action::Close:
            step = flow.closeRequested();
            break;
        case Action::NewScan:
            step = flow.newScanRequested();
            break;
        case Action::OpenList:
            step = flow.listOpenRequested();
            break;
        case Action::Import:
            step = flow.importRequested();
            break;
        case Action::SaveMenu:
            step = flow.saveRequested();
            break;
        case Action::Answer:
            flow.promptActivated();
            step = flow.promptAnswered(action.answer);
            break;
        case Action::SaveDone:
            session.unsavedChanges = false; // what a successful save does
            step = flow.saveFinished(true);
            break;
        case Action::SaveCancelled:
            step = flow.saveFinished(false);
            break;
        }
        EXPECT_EQ(static_cast<int>(step), static_cast<int>(expected)) << "step " << index;
        ++index;
    }
    EXPECT_EQ(session.unsavedChanges, c.unsavedAtEnd);
}

using enum NextStep;
using A = PromptAnswer;

INSTANTIATE_TEST_SUITE_P(
    Flow, SaveChangesFlowTest,
    testing::Values(
        FlowCase{"SavedTableClosesAtOnce", false, false, {{close(), EndProgram}}, false},
        FlowCase{"CancelKeepsTheTable",
                 true,
                 false,
                 {{close(), ShowPrompt}, {answer(A::Cancel), ReturnToTable}, {close(), ShowPrompt}},
                 true},
        FlowCase{"NoClosesWithoutSaving",
                 true,
                 false,
                 {{close(), ShowPrompt}, {answer(A::No), EndProgram}},
                 true},
        FlowCase{"YesSavesThenCloses",
                 true,
                 false,
                 {{close(), ShowPrompt}, {answer(A::Yes), SaveWithDialog}, {saved(), EndProgram}},
                 false},
        FlowCase{
            "YesSavesToTheCurrentFile",
            true,
            true,
            {{close(), ShowPrompt}, {answer(A::Yes), SaveToCurrentFile}, {saved(), EndProgram}},
            false},
        // The save dialog cancelled after "Yes" returns to the table; only a later close ends.
        FlowCase{"YesThenCancelledSaveStays",
                 true,
                 false,
                 {{close(), ShowPrompt},
                  {answer(A::Yes), SaveWithDialog},
                  {cancelled(), ReturnToTable},
                  {saveMenu(), SaveWithDialog},
                  {cancelled(), Nothing},
                  {close(), ShowPrompt}},
                 true},
        FlowCase{"NewScanWithoutChangesGoesOn", false, false, {{newScan(), ChooseFolder}}, true},
        FlowCase{"NoBeforeANewScanGoesOn",
                 true,
                 false,
                 {{newScan(), ShowPrompt}, {answer(A::No), ChooseFolder}},
                 true},
        FlowCase{
            "YesBeforeANewScanSavesThenGoesOn",
            true,
            false,
            {{newScan(), ShowPrompt}, {answer(A::Yes), SaveWithDialog}, {saved(), ChooseFolder}},
            true},
        FlowCase{"YesBeforeANewScanThenCancelledSaveStays",
                 true,
                 false,
                 {{newScan(), ShowPrompt},
                  {answer(A::Yes), SaveWithDialog},
                  {cancelled(), ReturnToTable},
                  {close(), ShowPrompt},
                  {answer(A::No), EndProgram}},
                 true},
        // A close while the prompt waits for a new scan keeps the new scan's question.
        FlowCase{"CloseWhileANewScanWaits",
                 true,
                 false,
                 {{newScan(), ShowPrompt}, {close(), ShowPrompt}, {answer(A::No), ChooseFolder}},
                 true},
        // "&Save list" from the menu while the prompt waits for a new scan goes on with it.
        FlowCase{
            "MenuSaveWhileANewScanWaits",
            true,
            true,
            {{newScan(), ShowPrompt}, {saveMenu(), SaveToCurrentFile}, {saved(), ChooseFolder}},
            true},
        // Opening a list and importing a workbook replace the table: they ask as a new scan
        // does, and "No" leaves the unsaved-changes flag to the table that comes in.
        FlowCase{"OpenWithoutChangesGoesOn", false, false, {{openList(), ChooseListFile}}, false},
        FlowCase{"NoBeforeOpeningGoesOn",
                 true,
                 false,
                 {{openList(), ShowPrompt}, {answer(A::No), ChooseListFile}, {close(), ShowPrompt}},
                 true},
        FlowCase{"YesBeforeOpeningSavesThenOpens",
                 true,
                 true,
                 {{openList(), ShowPrompt},
                  {answer(A::Yes), SaveToCurrentFile},
                  {saved(), ChooseListFile},
                  {openList(), ChooseListFile}},
                 false},
        FlowCase{
            "YesBeforeImportSavesThenImports",
            true,
            false,
            {{import(), ShowPrompt}, {answer(A::Yes), SaveWithDialog}, {saved(), ChooseWorkbook}},
            false},
        // A close while an open waits keeps the open's question; a later request takes it over.
        FlowCase{"CloseWhileAnOpenWaits",
                 true,
                 false,
                 {{openList(), ShowPrompt}, {close(), ShowPrompt}, {answer(A::No), ChooseListFile}},
                 true},
        FlowCase{"ImportAfterANewScanAsked",
                 true,
                 false,
                 {{newScan(), ShowPrompt}, {import(), ShowPrompt}, {answer(A::No), ChooseWorkbook}},
                 true}),
    [](const testing::TestParamInfo<FlowCase>& param) { return std::string(param.param.name); });

} // namespace
} // namespace corvanteller
