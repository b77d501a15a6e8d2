// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/desktop_settings.h"

#include "support/temp_tree.h"

#include <gtest/gtest.h>

namespace corvanteller {
namespace {

using test::TempTree;

TEST(DesktopSettings, AFileThatCannotBeUsedGivesTheDefaults) {
    struct Case {
        const char* what;
        QByteArray content; // empty: no file
        bool expected;
    };
    const Case cases[] = {
        {"no file", {}, true},
        {"saved off", "[Scanning]\nRememberUnchangedTexts=false\n", false},
        {"not a boolean", "[Scanning]\nRememberUnchangedTexts=maybe\n", true},
        {"not an INI file", QByteArray("\x00\xFF[[[=\n\x01", 8), true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempTree folder;
        if (!c.content.isEmpty()) {
            folder.writeFile("Corvanteller.conf", c.content);
        }
        const QString path = folder.root() + QStringLiteral("/Corvanteller.conf");
        EXPECT_EQ(DesktopSettings::load(path).rememberUnchangedTexts, c.expected);
        // Saving writes a file that gives what was saved, whatever stood there before.
        DesktopSettings changed;
        changed.rememberUnchangedTexts = !c.expected;
        changed.keepMarksOnSwitch = false;
        changed.mainWindowGeometry = QByteArray("\x01\xd9\xd0\xcb", 4);
        for (int list = 0; list < 10; ++list) {
            changed.noteRecentList(QStringLiteral("/m/%1.sgl").arg(list % 9));
        }
        // The newest first, each once, at most eight.
        EXPECT_EQ(changed.recentLists.join(u' ').toStdString(),
                  "/m/0.sgl /m/8.sgl /m/7.sgl /m/6.sgl /m/5.sgl /m/4.sgl /m/3.sgl /m/2.sgl");
        ASSERT_TRUE(changed.save(path));
        EXPECT_EQ(DesktopSettings::load(path), changed);
    }
}

TEST(DesktopSettings, AnUnwritablePlaceFailsTheSaveOnly) {
    TempTree folder;
    folder.makeFolder("Corvanteller.conf"); // a folder where the file would be
    const QString path = folder.root() + QStringLiteral("/Corvanteller.conf");
    DesktopSettings changed;
    changed.rememberUnchangedTexts = false;
    EXPECT_FALSE(changed.save(path));
    EXPECT_EQ(DesktopSettings::load(path), DesktopSettings());
}

} // namespace
} // namespace corvanteller
