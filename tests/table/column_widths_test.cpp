// SPDX-License-Identifier: GPL-3.0-or-later
#include "table/column_widths.h"

#include <QRandomGenerator>

#include <gtest/gtest.h>

namespace corvanteller {
namespace {

using namespace Qt::StringLiterals;

// A stand-in for a font: "W" 10 pixels, "i" 2, "A" and "V" 7 but 3 less side by side (kerning),
// "漢" 30 in a text but 3 alone (a glyph of another font), anything else 5.
int fakeWidth(const QString& text) {
    if (text == u"漢"_s) {
        return 3;
    }
    int width = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar ch = text[i];
        width += ch == u'W'                   ? 10
                 : ch == u'i'                 ? 2
                 : (ch == u'A' || ch == u'V') ? 7
                 : ch == u'漢'                ? 30
                                              : 5;
        if (i > 0 && text[i - 1] == u'A' && ch == u'V') {
            width -= 3;
        }
    }
    return width;
}

// Every cell measured, rows in order, as the widest line is defined.
std::pair<int, int> bruteForceWidest(const SongTableModel& model, int column) {
    int best = 0;
    int length = 0;
    for (int row = 0; row <= model.songCount(); ++row) {
        const QString text = row == 0 ? model.headerText(column) : model.cell(row, column);
        const int width = fakeWidth(text);
        if (width > best) {
            best = width;
            length = static_cast<int>(text.size());
        }
    }
    return {best, length};
}

TEST(ColumnWidths, WidestLineMode) {
    SongTableModel model;
    model.resetForList(2);
    model.setCell(1, 1, u"WWWWWWa"_s);
    model.setCell(2, 1, u"AViiWWWWW"_s);
    model.setCell(1, 2, u"iiiiiiiiii"_s);
    model.setCell(2, 2, u"WW"_s);
    const ColumnLayout layout = applyColumnWidthMode(ColumnWidthMode::WidestLine, model,
                                                     {37, 1, 1, 1, 1, 1, 1}, {}, fakeWidth);
    EXPECT_EQ(layout.widths[0], 37); // the "#" column keeps its width
    // Column 1: "AViiWWWWW" is kerned to the width of the earlier "WWWWWWa" (65), though its
    // characters alone add up to more; the earlier cell is kept.
    EXPECT_EQ(layout.widths[1], 65 + 4);
    EXPECT_EQ(layout.widest[1], 7);
    // Column 2: the header "Way" (20) ties with both cells and comes first.
    EXPECT_EQ(layout.widths[2], 20 + 4);
    EXPECT_EQ(layout.widest[2], 3);
    // Column 3: the header row is the widest.
    EXPECT_EQ(layout.widest[3], 37);

    model.resetForList(0);
    EXPECT_EQ(applyColumnWidthMode(ColumnWidthMode::WidestLine, model, {}, {}, fakeWidth).widest[2],
              3);
}

TEST(ColumnWidths, NoModeLeavesAColumnWithoutWidth) {
    SongTableModel model;
    model.resetForList(1);
    // "User settings" with nothing saved yet (a first run), or with one width never saved.
    EXPECT_EQ(applyColumnWidthMode(ColumnWidthMode::User, model, {}, {}, fakeWidth).widths,
              fixedColumnWidths);
    const ColumnLayout someSaved = applyColumnWidthMode(ColumnWidthMode::User, model, {},
                                                        {60, 0, 75, 60, 60, 60, 60}, fakeWidth);
    EXPECT_EQ(someSaved.widths, (ColumnWidthList{60, 90, 75, 60, 60, 60, 60}));
    // Back to the widest line from a "#" column that had no width: it gets one.
    EXPECT_EQ(applyColumnWidthMode(ColumnWidthMode::WidestLine, model, {}, {}, fakeWidth).widths[0],
              fixedColumnWidths[0]);
}

TEST(ColumnWidths, SkippingCellsGivesTheSameResultAsMeasuringAll) {
    // Random texts where many cells come close to the widest: whichever cells the search
    // skips, the widths and lengths must equal a walk that measures every cell.
    const QString alphabet = u"WiAVaбЖ 漢."_s;
    QRandomGenerator random(20240607);
    for (int round = 0; round < 20; ++round) {
        SongTableModel model;
        model.resetForList(300);
        for (int row = 1; row <= 300; ++row) {
            for (int column = 1; column <= 6; ++column) {
                QString text;
                const int length = random.bounded(round % 2 == 0 ? 6 : 25);
                for (int i = 0; i < length; ++i) {
                    text += alphabet[random.bounded(static_cast<int>(alphabet.size()))];
                }
                model.setCell(row, column, text);
            }
        }
        const ColumnLayout layout =
            applyColumnWidthMode(ColumnWidthMode::WidestLine, model, {}, {}, fakeWidth);
        for (int column = 1; column <= 6; ++column) {
            const auto [width, length] = bruteForceWidest(model, column);
            EXPECT_EQ(layout.widths[static_cast<std::size_t>(column)], width + 4)
                << round << ',' << column;
            EXPECT_EQ(layout.widest[column], length) << round << ',' << column;
        }
    }
}

} // namespace
} // namespace corvanteller
