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
        {1, u"01.01.1900"_s},
        {0.5, u"12:00:00"_s},
        {61, u"01.03.1900"_s},
        {-1, u"-1"_s},
    };
    for (const auto& [serial, text] : cases) {
        EXPECT_EQ(cellText(CellValue::ofDate(serial), russian), text) << text.toStdString();
    }
    EXPECT_EQ(cellText(CellValue::ofBoolean(true), russian), u"TRUE"_s);
    EXPECT_EQ(cellText(CellValue::ofText(u"01"_s), russian), u"01"_s);
}

TEST(NumberFormats, DateFormatsAreKnownByTheirParts) {
    const std::pair<const char*, bool> codes[] = {
        {"DD.MM.YYYY", true},  {"[$-419]d mmmm yyyy", true},
        {"h:mm", true},        {"General", false},
        {"0.00", false},       {"0.0\"days\"", false},
        {"[h]:ss", false},     {"#,##0\\ \\d", false},
        {"[Red]0;0_y", false},
    };
    for (const auto& [code, date] : codes) {
        EXPECT_EQ(isDateFormatCode(code), date) << code;
    }
    EXPECT_TRUE(isBuiltInDateFormat(14));
    EXPECT_TRUE(isBuiltInDateFormat(22));
    EXPECT_FALSE(isBuiltInDateFormat(2));
    EXPECT_FALSE(isBuiltInDateFormat(49));
}

} // namespace
} // namespace corvanteller
