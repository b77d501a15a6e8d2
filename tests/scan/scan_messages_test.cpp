// SPDX-License-Identifier: GPL-3.0-or-later
#include "scan/scan_messages.h"

#include "scan/folder_scan.h"

#include <gtest/gtest.h>

namespace corvanteller {
namespace {

using namespace Qt::StringLiterals;

TEST(ScanMessages, EveryScanThatStoppedEarlySaysWhere) {
    ScanOutcome outcome;
    outcome.errorPath = u"/music/bad.kar"_s;
    outcome.errorReason = u"File access denied"_s;
    outcome.stoppedInFolder = u"/music/deep/"_s;
    const std::pair<ScanEnd, QString> cases[] = {
        {ScanEnd::Complete, QString()},
        {ScanEnd::Guard, QString()}, // the guard ends a scan silently, as it always has
        {ScanEnd::TooManyFolders, tooManyFoldersMessage()},
        {ScanEnd::ReadError, u"The scan stopped at /music/bad.kar: File access denied. The rows "
                             u"read before it are in the table."_s},
        {ScanEnd::RowLimit, u"The table holds at most 45002 rows: the scan stopped at "
                            u"/music/deep/. The rows read before it are in the table."_s},
        {ScanEnd::QueueLimit, u"The scan can keep at most 45002 folders waiting to be listed: it "
                              u"stopped at /music/deep/. The rows read before it are in the "
                              u"table."_s},
        {ScanEnd::Stopped, u"The scan was stopped at /music/deep/. The rows read before it are "
                           u"in the table."_s},
    };
    for (const auto& [end, message] : cases) {
        outcome.end = end;
        EXPECT_EQ(scanEndMessage(outcome), message) << static_cast<int>(end);
    }
    // Folders taken as empty are told after any end, the guard's too.
    outcome.unreadableFolders = 3;
    outcome.unreadableFolder = u"/music/locked"_s;
    outcome.unreadableReason = u"File access denied"_s;
    const QString told =
        u"3 folder(s) could not be read, such as /music/locked: File access denied."_s;
    outcome.end = ScanEnd::Guard;
    EXPECT_EQ(scanEndMessage(outcome), told);
}

} // namespace
} // namespace corvanteller
