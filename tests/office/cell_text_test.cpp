// SPDX-License-Identifier: GPL-3.0-or-later
#include "office/cell_text.h"
#include "office/number_formats.h"
#include "office/workbook.h"

#include <gtest/gtest.h>

namespace corvanteller {
namespace {

using namespace Qt::StringLiterals;

// The real workbooks' test already reads 0.3, 4.5, 1.23456789012346E+19, dates and #DIV/0!.
TEST(CellText, NumbersReadAsASpreadsheetShowsThem) {
    const std::pair<double, QString> cases[] = {
        {40, u"40"_s},
        {-0.0, u"0"_s},
        {123456789012345.0, u"123456789012345"_s},
        {0.000123, u"0.000123"_s},
        {-1.5e-7, u"-1.5E-07"_s},
    };
    for (const auto& [number, text] : cases) {
        EXPECT_EQ(cellText(CellValue::ofNumber(number), QLocale::c()), text) << text.toStdString();
    }
}

TEST(CellText, DatesReadInTheLocalesFormats) {
    const QLocale russian(QLocale::Russian, QLocale::Russia);
    const std::pair<double, QString> cases[] = {
        {1, u"01.01.1900"_s}, {0.5, u"12:00:00"_s}, {61, u"01.03.1900"_s},
        {-1, u"-1"_s},        {0, u"00:00:00"_s},
    };
    for (const auto& [serial, text] : cases) {
        EXPECT_EQ(cellText(CellValue::ofDate(serial), russian), text) << text.toStdString();
    }
    EXPECT_EQ(cellText(CellValue::ofBoolean(true), russian), u"TRUE"_s);
    EXPECT_EQ(cellText(CellValue::ofText(u"01"_s), russian), u"01"_s);
}

TEST(NumberFormats, FormatsAreKnownByTheirParts) {
    using Kind = NumberFormatKind;
    const std::pair<const char*, Kind> codes[] = {
        {"DD.MM.YYYY", Kind::Date},       {"[$-419]d mmmm yyyy", Kind::Date},
        {"h:mm", Kind::TimeOfDay},        {"General", Kind::Number},
        {"0.00", Kind::Number},           {"0.0\"days\"", Kind::Number},
        {"#,##0\\ \\d", Kind::Number},    {"[Red]0;0_y", Kind::Number},
        {"[h]:mm:ss", Kind::ElapsedTime}, {"[mm]:ss", Kind::ElapsedTime},
        {"HH:MM:SS", Kind::TimeOfDay},    {"mmm", Kind::Date},
        {"dd.mm.yy hh:mm", Kind::Date},
    };
    for (const auto& [code, kind] : codes) {
        EXPECT_EQ(formatCodeKind(code), kind) << code;
    }
    const std::pair<int, Kind> builtIn[] = {{14, Kind::Date},      {22, Kind::Date},
                                            {2, Kind::Number},     {49, Kind::Number},
                                            {21, Kind::TimeOfDay}, {46, Kind::ElapsedTime}};
    for (const auto& [id, kind] : builtIn) {
        EXPECT_EQ(builtInFormatKind(id), kind) << id;
    }
}

// Durations as a spreadsheet shows them, where a date of 1900 was read.
TEST(NumberFormats, ElapsedTimesCountWholeHoursMinutesOrSeconds) {
    const struct {
        double days;
        const char* code;
        const char* text;
    } cases[] = {
        {1.5, "[h]:mm:ss", "36:00:00"},   {1.5, "[mm]:ss", "2160:00"},
        {0.0423611, "[h]:mm", "1:01"},    {1.25, "[hh]\"h\" mm", "30h 00"},
        {-0.5, "[h]:mm:ss", "-12:00:00"}, {0.00001, "[ss].00", "00.86"},
    };
    for (const auto& [days, code, text] : cases) {
        EXPECT_EQ(elapsedTimeText(days, code), text) << code;
    }
}

// The long time format without its time zone and its frame, whatever the locale writes
// around it.
TEST(CellText, TimesHaveNoTimeZoneInAnyLocale) {
    const std::pair<const char*, QString> cases[] = {
        {"es_ES", u"31/12/23 23:05:09"_s},
        {"ca_ES", u"31/12/23 23:05:09"_s},
        {"hr_HR", u"31. 12. 2023. 23:05:09"_s},
        {"fa_IR", u"۲۰۲۳/۱۲/۳۱ ۲۳:۰۵:۰۹"_s},
        {"zh_TW", u"2023/12/31 下午11:05:09"_s},
        {"en_US", u"12/31/23 11:05:09 PM"_s},
        {"sq_AL", u"31.12.23 11:05:09 E PASDITES"_s},
        {"be_BY", u"31.12.23 23:05:09"_s},
    };
    for (const auto& [name, text] : cases) {
        const QLocale locale(QString::fromLatin1(name));
        EXPECT_EQ(cellText(CellValue::ofDate(45291 + (23 * 3600 + 5 * 60 + 9) / 86400.0), locale),
                  text)
            << name;
    }
}

} // namespace
} // namespace corvanteller
