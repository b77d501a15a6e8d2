// SPDX-License-Identifier: GPL-3.0-or-later
#include "table/table_session.h"

#include "table/table_texts.h"

namespace corvanteller {

TableSession::TableSession() = default;

const RowStore& TableSession::originStore() const {
    return origin == TableOrigin::StartWindow ? startStore_ : mainStore_;
}

RowStore& TableSession::originStore() {
    return origin == TableOrigin::StartWindow ? startStore_ : mainStore_;
}

bool TableSession::rebuildOnActivation(bool keepMarks) {
    if (startWindowHandedTable) {
        return false;
    }
    if (keepTableOnce) {
        keepTableOnce = false;
        return false;
    }
    const bool sameRows = model_.hasSameRowsAs(originStore());
    const std::vector<bool> marks = sameRows && keepMarks ? model_.rowMarks() : std::vector<bool>();
    model_.rebuildFrom(originStore());
    model_.setRowMarks(marks);
    if (!sameRows) {
        history.clear();
    }
    return true;
}

void TableSession::refreshStores() {
    model_.refreshInto(mainStore_, startStore_);
}

QString TableSession::statusText() const {
    return renamingReport ? renamingStatusText() : processedStatusText(model_.songCount());
}

QString TableSession::renamingStatusText() const {
    return renamedCountPutBack ? putBackStatusText(renamedCount) : renamedStatusText(renamedCount);
}

TableSession::NewScanStart TableSession::beginNewScan() {
    refreshStores();
    if (unsavedChanges) {
        promptPurpose = PromptPurpose::AskBeforeNewScan;
        return NewScanStart::AskToSave;
    }
    promptPurpose = PromptPurpose::AskBeforeClosing;
    unsavedChanges = true;
    renamingReport = false;
    if (origin == TableOrigin::StartWindow) {
        mainStore_.setRowCount(startStore_.rowCount());
    }
    origin = TableOrigin::MainWindow;
    return NewScanStart::ChooseFolder;
}

void TableSession::startNewScanRows() {
    history.clear();
    shownListFile.clear();
    mainStore_.setRowCount(0);
    hasCurrentListFile = false;
}

void TableSession::finishNewScan() {
    origin = TableOrigin::MainWindow;
    model_.rebuildFrom(mainStore_);
}

QString processedStatusText(int files) {
    return tableTexts::processedStatus(files);
}

QString renamedStatusText(int files) {
    return tableTexts::renamedStatus(files);
}

QString putBackStatusText(int files) {
    return tableTexts::putBackStatus(files);
}

QString tableFullMessage() {
    return tableTexts::tableFull();
}

} // namespace corvanteller
