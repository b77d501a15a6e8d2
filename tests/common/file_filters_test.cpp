// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/file_filters.h"

#include <gtest/gtest.h>

namespace corvanteller {
namespace {

using namespace Qt::StringLiterals;

TEST(FileFilters, WindowsFormBecomesQtForm) {
    struct Case {
        QString windows;
        QString qt;
    };
    const Case cases[] = {
        {u"Text|*.txt|All files (*.*)|*.*"_s, u"Text (*.txt);;All files (*.*)"_s},
        {u"List files (Corvanteller)|*.sgl|"_s, u"List files (Corvanteller) (*.sgl)"_s},
        {u"Excel (*.xls;*.xlsx)|*.xls;*.xlsx"_s, u"Excel (*.xls *.xlsx)"_s},
        {u"Word (*.DOC)|*.doc"_s, u"Word (*.doc)"_s},
        {u"|*.kar"_s, u"(*.kar)"_s},
        {u"Anything"_s, u"Anything (*)"_s},
        {u""_s, u""_s},
        {u"Text| *.txt ; *.rtf |"_s, u"Text (*.txt *.rtf)"_s},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(toQtFileFilter(c.windows), c.qt) << c.windows.toStdString();
    }
}

TEST(FileFilters, FilterEndingIsThatOfTheFirstPattern) {
    const std::pair<QString, QString> cases[] = {
        {u"Rich Text (*.rtf)"_s, u"rtf"_s},    {u"List files (Corvanteller) (*.sgl)"_s, u"sgl"_s},
        {u"Excel (*.xls *.xlsx)"_s, u"xls"_s}, {u"PDF (*.pdf)"_s, u"pdf"_s},
        {u"All files (*.*)"_s, QString()},     {u"Anything (*)"_s, QString()},
        {u"Some (*.k?r)"_s, QString()},        {u"No patterns"_s, QString()},
    };
    for (const auto& [filter, ending] : cases) {
        EXPECT_EQ(filterEnding(filter), ending) << filter.toStdString();
    }
}

} // namespace
} // namespace corvanteller
