// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/table_text.h"

#include "settings/options.h"
#include "table/song_table_model.h"

#include <gtest/gtest.h>

namespace corvanteller {
namespace {

using namespace Qt::StringLiterals;

const QDateTime moment(QDate(2026, 12, 6), QTime(21, 5, 9));
const QLocale english(QLocale::English, QLocale::UnitedStates);

// Two songs: the first checked, the second with an empty "Way" and line breaks in its cells.
void fillTable(SongTableModel& model) {
    RowStore store;
    const QStringList first = {u"song.kar"_s, u"/songs/"_s, u"Title"_s, u"D"_s, u"E"_s, u"maker"_s};
    const QStringList second = {u"b.kar"_s, QString(),    u"Two\r\nlines"_s,
                                QString(),  u"x\ny\rz"_s, QString()};
    for (int column = 1; column <= 6; ++column) {
        store.setText(column, 1, first[column - 1]);
        store.setText(column, 2, second[column - 1]);
    }
    store.setRowCount(2);
    model.rebuildFrom(store);
    model.toggleCheck(1);
}

TEST(TableText, LayoutsWriteOneLinePerRow) {
    SongTableModel model;
    fillTable(model);
    EXPECT_EQ(tableTextLines(model, TableTextLayout::WithFileName),
              (QStringList{u"V 1\t/songs/song.kar Title\tD\tE\tmaker\t"_s,
                           u"2\tb.kar Two lines\t\tx y z\t\t"_s}));
    // Folder and first text run together; no file name.
    EXPECT_EQ(tableTextLines(model, TableTextLayout::WithoutFileName),
              (QStringList{u"V 1\t/songs/Title\tD\tE\tmaker\t"_s, u"2\tTwo lines\t\tx y z\t\t"_s}));
}

TEST(TableText, ClosingLinesForEveryChoice) {
    struct Case {
        bool date;
        bool next;
        QStringList expected;
    };
    const Case cases[] = {
        {false, false, {QString()}},
        {true, false, {QString(), u"06.Dec.2026  21.05.09"_s}},
        {false, true, {QString(), u" Made in Earth"_s}},
        {true, true, {QString(), u"06.Dec.2026  21.05.09"_s, u" Made in Earth"_s}},
    };
    for (const Case& c : cases) {
        TextFormatOptions options;
        options.addDateAndTime = c.date;
        options.addNext = c.next;
        EXPECT_EQ(closingLines(options, moment, english), c.expected) << c.date << c.next;
    }
    TextFormatOptions options{true, true, -1, u"Typed by hand"_s};
    EXPECT_EQ(closingLines(options, moment, QLocale(QLocale::Russian, QLocale::Russia)),
              (QStringList{QString(), u"06.дек.2026  21.05.09"_s, u" Typed by hand"_s}));
    // "OK" of the text-format dialog: the month as a number, no leading space.
    EXPECT_EQ(appendedClosingLines(options, moment, english),
              (QStringList{u"06.12.2026  21.05.09"_s, u"Typed by hand"_s}));
    options.addDateAndTime = false;
    EXPECT_EQ(appendedClosingLines(options, moment, english), QStringList{u"Typed by hand"_s});
}

TEST(TableText, WholeTextEndsWithTheClosingLines) {
    SongTableModel model;
    TextFormatOptions options;
    EXPECT_EQ(tableText(model, TableTextLayout::WithFileName, options, moment, english), QString());
    options.addNext = true;
    EXPECT_EQ(tableText(model, TableTextLayout::WithoutFileName, options, moment, english),
              u"\n Made in Earth"_s);

    fillTable(model);
    options.addNext = false;
    EXPECT_EQ(tableText(model, TableTextLayout::WithoutFileName, options, moment, english),
              u"V 1\t/songs/Title\tD\tE\tmaker\t\n2\tTwo lines\t\tx y z\t\t\n"_s);
}

} // namespace
} // namespace corvanteller
