// SPDX-License-Identifier: GPL-3.0-or-later
#include "kar/char_sets.h"

#include <gtest/gtest.h>

namespace corvanteller {
namespace {

TEST(CharSets, SizesMatchTheListsLessTheDoubleSemicolon) {
    EXPECT_EQ(runSetChars(RunSet::MainWindow).size(), 152);
    EXPECT_EQ(runSetChars(RunSet::StartWindow).size(), 154);
    EXPECT_EQ(tagSetChars().size(), 89);
}

struct Membership {
    unsigned char byte;
    bool mainWindow;
    bool startWindow;
    bool tag;
};

TEST(CharSets, MembershipByByte) {
    const Membership cases[] = {
        {'A', true, true, true},     {'z', true, true, true},     {'0', true, true, true},
        {' ', true, true, true},     {'\\', true, true, true},    {'|', true, true, true},
        {'<', false, true, true},    {'>', false, true, true},    {'$', false, false, false},
        {'[', false, false, false},  {']', false, false, false},  {'^', false, false, false},
        {'{', false, false, false},  {'~', false, false, false},  {0x00, false, false, false},
        {0x1F, false, false, false}, {0x7F, false, false, false}, {0x80, false, false, false},
        {0xA8, true, true, false},   {0xB8, true, true, false},   {0xBF, false, false, false},
        {0xC0, true, true, false},   {0xD4, true, true, true},    {0xFF, true, true, false},
        {0x03, false, false, false},
    };
    for (const Membership& m : cases) {
        SCOPED_TRACE(static_cast<int>(m.byte));
        EXPECT_EQ(runSetChars(RunSet::MainWindow).contains(m.byte), m.mainWindow);
        EXPECT_EQ(runSetChars(RunSet::StartWindow).contains(m.byte), m.startWindow);
        EXPECT_EQ(tagSetChars().contains(m.byte), m.tag);
    }
}

} // namespace
} // namespace corvanteller
