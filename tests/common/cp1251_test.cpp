// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/cp1251.h"

#include <gtest/gtest.h>

namespace corvanteller {
namespace {

using namespace Qt::StringLiterals;

TEST(Cp1251, EveryByteSurvivesARoundTrip) {
    QByteArray all;
    for (int byte = 0; byte < 256; ++byte) {
        all.append(static_cast<char>(byte));
    }
    const QString text = decodeCp1251(all);
    ASSERT_EQ(text.size(), 256);
    EXPECT_EQ(encodeCp1251(text), all);
}

TEST(Cp1251, KnownLetters) {
    struct Case {
        const char* bytes;
        QString text;
    };
    const Case cases[] = {
        {"\xC0\xFF", u"Ая"_s},
        {"\xA8\xB8", u"Ёё"_s},
        {"\x85", u"…"_s},
        {"\xB9", u"№"_s},
        {"\x88", u"€"_s},
        {"abc", u"abc"_s},
        {"\xD4\xE8\xEB\xFC\xEC", u"Фильм"_s},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(decodeCp1251(c.bytes), c.text);
        EXPECT_EQ(encodeCp1251(c.text), QByteArray(c.bytes));
    }
}

TEST(Cp1251, CharactersOutsideAreRefused) {
    for (const QString& text : {u"中文"_s, u"ñ"_s, u"Ωmega"_s, u"a😀"_s}) {
        EXPECT_FALSE(encodeCp1251(text).has_value());
        EXPECT_FALSE(fitsCp1251(text));
    }
    EXPECT_TRUE(fitsCp1251(u"Привет, world!"_s));
}

} // namespace
} // namespace corvanteller
