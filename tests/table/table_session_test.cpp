// SPDX-License-Identifier: GPL-3.0-or-later
#include "table/table_session.h"

#include <gtest/gtest.h>

namespace corvanteller {
namespace {

using namespace Qt::StringLiterals;

void fill(RowStore& store, int rows, const QString& prefix) {
    store.setRowCount(rows);
    for (int row = 1; row <= rows; ++row) {
        store.setText(1, row, prefix + QString::number(row));
    }
}

TEST(TableSession, ActivationRebuildsFromTheOriginUnlessKept) {
    TableSession session;
    fill(session.startStore(), 2, u"start"_s);
    fill(session.mainStore(), 3, u"main"_s);
    EXPECT_TRUE(session.rebuildOnActivation());
    EXPECT_EQ(session.model().cell(2, 1), u"start2"_s);

    session.origin = TableOrigin::MainWindow;
    session.startWindowHandedTable = true;
    EXPECT_FALSE(session.rebuildOnActivation());
    EXPECT_FALSE(session.rebuildOnActivation());
    session.startWindowHandedTable = false;

    session.keepTableOnce = true;
    EXPECT_FALSE(session.rebuildOnActivation());
    EXPECT_TRUE(session.rebuildOnActivation());
    EXPECT_EQ(session.model().songCount(), 3);
}

TEST(TableSession, NewScanAsksWhileChangesAreUnsaved) {
    TableSession session;
    fill(session.startStore(), 2, u"s"_s);
    session.rebuildOnActivation();
    session.model().setCell(1, 1, u"edited"_s);
    ASSERT_TRUE(session.unsavedChanges);
    EXPECT_EQ(session.beginNewScan(), TableSession::NewScanStart::AskToSave);
    EXPECT_EQ(session.promptPurpose, PromptPurpose::AskBeforeNewScan);
    // The refresh before asking keeps the edit in both stores.
    EXPECT_EQ(session.startStore().text(1, 1), u"edited"_s);
    EXPECT_EQ(session.mainStore().text(1, 1), u"edited"_s);

    session.unsavedChanges = false;
    session.renamingReport = true;
    EXPECT_EQ(session.beginNewScan(), TableSession::NewScanStart::ChooseFolder);
    EXPECT_EQ(session.promptPurpose, PromptPurpose::AskBeforeClosing);
    EXPECT_TRUE(session.unsavedChanges);
    EXPECT_FALSE(session.renamingReport);
    EXPECT_EQ(session.origin, TableOrigin::MainWindow);
    EXPECT_EQ(session.mainStore().rowCount(), 2);
}

TEST(TableSession, CancelledNewScanRebuildsTheSameRows) {
    TableSession session;
    fill(session.startStore(), 3, u"s"_s);
    session.rebuildOnActivation();
    session.model().toggleCheck(2);
    session.unsavedChanges = false;
    ASSERT_EQ(session.beginNewScan(), TableSession::NewScanStart::ChooseFolder);
    session.finishNewScan();
    EXPECT_EQ(session.model().songCount(), 3);
    EXPECT_EQ(session.model().cell(2, 0), u"2"_s);
    EXPECT_EQ(session.model().cell(3, 1), u"s3"_s);
}

} // namespace
} // namespace corvanteller
