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

} // namespace
} // namespace corvanteller
