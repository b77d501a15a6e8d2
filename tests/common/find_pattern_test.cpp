// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/find_pattern.h"

#include <gtest/gtest.h>

namespace corvanteller {
namespace {

using namespace Qt::StringLiterals;

TEST(FindPattern, MatchesAsTheFindBarPromises) {
    struct Case {
        QString typed;
        QString text;
        bool found;
    };
    const Case cases[] = {
        {u"  alpha  "_s, u"The ALPHA song"_s, true},
        {u"a b"_s, u"a  b"_s, false},
        {u"ёлка"_s, u"Елка"_s, true},
        {u"ЕЛКА"_s, u"ёлка"_s, true},
        {u"й"_s, u"и"_s, false},
        {u"straße"_s, u"STRASSE"_s, false},
        {u"kar"_s, u"ka"_s, false},
        {u"\t "_s, u"\t "_s, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FindPattern(c.typed).foundIn(c.text), c.found) << c.typed.toStdString();
    }
}

} // namespace
} // namespace corvanteller
