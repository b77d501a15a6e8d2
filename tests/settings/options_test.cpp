// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/options.h"

#include <gtest/gtest.h>

namespace corvanteller {
namespace {

using namespace Qt::StringLiterals;

TEST(Options, DefaultSettingsSetEveryDialog) {
    // Start from the opposite of every value it sets, so that each is seen to be set.
    Options o;
    o.scanning.plentyOfFiles = true;
    o.textFormat = {false, false, 3, u"typed"_s};
    o.general = {ColumnWidthMode::Fixed, false, false};
    o.excel = {false,
               false,
               false,
               false,
               false,
               false,
               false,
               false,
               BordersDrawn::Vertical,
               false,
               false,
               false,
               DateTimeChoice::DateAndTime,
               true,
               4,
               u"Dance"_s,
               false,
               1,
               u"Cool!!!"_s,
               true,
               u"x"_s};
    o.renaming = {{true, false, true, true, true, true, true, true},
                  DateTimeChoice::Date,
                  WhatFiles::OnlyChecked,
                  3,
                  1,
                  u"y"_s,
                  -1};
    o.savedColumnWidths = {1, 2, 3, 4, 5, 6, 7};
    o.lastFolder = u"/music/"_s;
    applyDefaultSettings(o);

    // The design values but for these; the typed texts of the lists stay as they were.
    Options expected;
    expected.textFormat = {true, true, -1, u"typed"_s};
    expected.excel.list1Text = u"Dance"_s;
    expected.excel.list2Text = u"Cool!!!"_s;
    expected.excel.stringToAdd = u"Всем ПрИвЕтИк!"_s;
    expected.renaming = {{false, true, false, false, false, false, false, false},
                         DateTimeChoice::DateAndTime,
                         WhatFiles::All,
                         16,
                         5,
                         u"Напишите здесь чего-нибудь"_s,
                         2};
    expected.storedChoice = 1;
    expected.savedColumnWidths = {60, 60, 75, 60, 60, 60, 60};
    expected.lastFolder = u"/"_s;
    EXPECT_EQ(o, expected);
    // The entries chosen by index.
    EXPECT_EQ(renameWordListEntries[16], u"Gift");
    EXPECT_EQ(renameSeparators[5], u" -- ");
}

} // namespace
} // namespace corvanteller
