// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/text_view_modes.h"

#include <gtest/gtest.h>

namespace corvanteller {
namespace {

TextViewActivation work(bool clear, bool writeTable, TableTextLayout layout, bool open, bool save) {
    return {clear, writeTable, layout, open, save};
}

TEST(TextViewModes, EachModeActivatesAndMovesOn) {
    constexpr auto withName = TableTextLayout::WithFileName;
    constexpr auto withoutName = TableTextLayout::WithoutFileName;
    struct Case {
        TextViewMode mode;
        TextViewActivation expected;
        TextViewMode after;
    };
    const Case cases[] = {
        {TextViewMode::None, work(true, false, withName, false, false), TextViewMode::None},
        // The table text is rebuilt at every activation.
        {TextViewMode::TableText, work(true, true, withName, false, false),
         TextViewMode::TableText},
        // Until a file is loaded, the open leaves nothing to keep.
        {TextViewMode::OpenText, work(true, false, withName, true, false), TextViewMode::None},
        {TextViewMode::SaveText, work(true, true, withoutName, false, true), TextViewMode::Kept},
        {TextViewMode::Keep, work(false, false, withName, false, false), TextViewMode::TableText},
        {TextViewMode::Kept, work(false, false, withName, false, false), TextViewMode::Kept},
    };
    for (const Case& c : cases) {
        TextViewModes modes;
        modes.setByCommand(c.mode);
        EXPECT_EQ(modes.activate(), c.expected) << static_cast<int>(c.mode);
        EXPECT_EQ(modes.mode(), c.after) << static_cast<int>(c.mode);
    }
}

TEST(TextViewModes, OpenAndOutputCommands) {
    TextViewModes modes;
    modes.setByCommand(TextViewMode::OpenText);
    modes.activate();
    modes.fileLoaded();
    EXPECT_EQ(modes.mode(), TextViewMode::Kept);
    EXPECT_FALSE(modes.activate().clear);

    // "&Output information as text" leaves the table text and a kept content alone.
    struct Case {
        TextViewMode mode;
        TextViewMode after;
    };
    const Case cases[] = {
        {TextViewMode::None, TextViewMode::Keep},
        {TextViewMode::TableText, TextViewMode::TableText},
        {TextViewMode::OpenText, TextViewMode::Keep},
        {TextViewMode::SaveText, TextViewMode::Keep},
        {TextViewMode::Keep, TextViewMode::Keep},
        {TextViewMode::Kept, TextViewMode::Kept},
    };
    for (const Case& c : cases) {
        modes.setByCommand(c.mode);
        modes.outputInformationAsText();
        EXPECT_EQ(modes.mode(), c.after) << static_cast<int>(c.mode);
        EXPECT_EQ(modes.okAppends(), c.after == TextViewMode::TableText);
    }
}

} // namespace
} // namespace corvanteller
