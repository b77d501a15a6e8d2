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

// Fills a table from rows of six texts.
void fill(SongTableModel& model, const std::vector<std::array<QString, 6>>& rows) {
    RowStore store;
    for (std::size_t r = 0; r < rows.size(); ++r) {
        for (int column = 1; column <= 6; ++column) {
            store.setText(column, static_cast<int>(r) + 1,
                          rows[r][static_cast<std::size_t>(column - 1)]);
        }
    }
    store.setRowCount(static_cast<int>(rows.size()));
    model.rebuildFrom(store);
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

TEST(ColumnWidths, FixedAndUserModes) {
    SongTableModel model;
    fill(model, {{u"a.kar"_s, u"/m/"_s, u"Song"_s, QString(), QString(), u"Maker"_s}});
    const ColumnWidthList current = {33, 1, 2, 3, 4, 5, 6};
    const ColumnWidthList saved = {50, 60, 70, 80, 90, 100, 110};
    WidestCellLengths previous;
    previous[7] = 9; // the import's slot is kept

    const ColumnLayout fixed =
        applyColumnWidthMode(ColumnWidthMode::Fixed, model, current, saved, fakeWidth, previous);
    EXPECT_EQ(fixed.widths, (ColumnWidthList{40, 90, 140, 190, 155, 155, 200}));
    const ColumnLayout user =
        applyColumnWidthMode(ColumnWidthMode::User, model, current, saved, fakeWidth, previous);
    EXPECT_EQ(user.widths, saved);

    // The headers are wider than these cells; "D" and "E" lose against nothing.
    WidestCellLengths expected;
    expected[1] = 12; // "Name of file"
    expected[2] = 3;  // "Way"
    expected[3] = 37; // "The executor and/or the name of songs"
    expected[4] = 1;
    expected[5] = 1;
    expected[6] = 7; // "Made..."
    expected[7] = 9;
    EXPECT_EQ(fixed.widest, expected);
    EXPECT_EQ(user.widest, expected);
}

TEST(ColumnWidths, WidestLineMode) {
    SongTableModel model;
    fill(model, {
                    {u"WW"_s, u"iiiiiiiiii"_s, u"x"_s, u"AV"_s, u"longer text here"_s, QString()},
                    {u"iiiiiiiiiiiiiiiiiiiiiiiiiiiiii"_s, u"ii"_s, u"y"_s, u"AAV"_s, QString(),
                     u"Made by somebody"_s},
                    {u"WWWWWWWWWWWWW"_s, u"WW"_s, u"z"_s, u"WWW"_s, u"漢漢漢"_s, u"WWWWWWWW"_s},
                });
    const ColumnWidthList current = {37, 1, 1, 1, 1, 1, 1};
    const ColumnLayout layout =
        applyColumnWidthMode(ColumnWidthMode::WidestLine, model, current, {}, fakeWidth);

    EXPECT_EQ(layout.widths[0], 37); // the "#" column keeps its width
    // Column 1: "WWWWWWWWWWWWW" (130) beats the header (57) and 30 "i" (60).
    EXPECT_EQ(layout.widths[1], 130 + 1 + 3);
    EXPECT_EQ(layout.widest[1], 13);
    // Column 2: the header "Way" (20) ties with "iiiiiiiiii" and "WW" and comes first.
    EXPECT_EQ(layout.widths[2], 20 + 4);
    EXPECT_EQ(layout.widest[2], 3);
    // Column 3: the header row is the widest.
    EXPECT_EQ(layout.widest[3], 37);
    // Column 4: "WWW" (30) against "AAV" (18, kerned) and the header "D" (5).
    EXPECT_EQ(layout.widths[4], 30 + 4);
    // Column 5: the CJK glyphs are measured in their text (90), not alone (3 each).
    EXPECT_EQ(layout.widths[5], 90 + 4);
    EXPECT_EQ(layout.widest[5], 3);
    // Column 6: "WWWWWWWW" is as wide as the earlier "Made by somebody"; the earlier is kept.
    EXPECT_EQ(layout.widths[6], 80 + 4);
    EXPECT_EQ(layout.widest[6], 16);
    model.setCell(2, 6, u"Made by somebody, longer"_s);
    EXPECT_EQ(widestCellLengths(model, fakeWidth)[6], 24);
}

TEST(ColumnWidths, SkippingCellsGivesTheSameResultAsMeasuringAll) {
    // Random texts where many cells come close to the widest: whichever cells the search
    // skips, the widths and lengths must equal a walk that measures every cell.
    const QString alphabet = u"WiAVaбЖ 漢."_s;
    QRandomGenerator random(20240607);
    for (int round = 0; round < 20; ++round) {
        std::vector<std::array<QString, 6>> rows(300);
        for (auto& row : rows) {
            for (QString& text : row) {
                const int length = random.bounded(round % 2 == 0 ? 6 : 25);
                for (int i = 0; i < length; ++i) {
                    text += alphabet[random.bounded(static_cast<int>(alphabet.size()))];
                }
            }
        }
        SongTableModel model;
        fill(model, rows);
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

TEST(ColumnWidths, TieWithAKernedLaterCellKeepsTheEarlierCell) {
    // "AViiW" is 25 pixels like "WWa", but its characters alone add up to more; the earlier
    // "WWa" must still win the tie.
    SongTableModel model;
    fill(model, {{u"WWa"_s, {}, {}, {}, {}, {}}, {u"AViiW"_s, {}, {}, {}, {}, {}}});
    const ColumnLayout layout =
        applyColumnWidthMode(ColumnWidthMode::WidestLine, model, {}, {}, fakeWidth);
    EXPECT_EQ(layout.widths[1], 57 + 4); // the header "Name of file"
    model.setCell(1, 1, u"WWWWWWa"_s);
    model.setCell(2, 1, u"AViiWWWWW"_s);
    EXPECT_EQ(fakeWidth(model.cell(1, 1)), fakeWidth(model.cell(2, 1)));
    EXPECT_EQ(widestCellLengths(model, fakeWidth)[1], 7);
}

TEST(ColumnWidths, EmptyTableMeasuresTheHeader) {
    SongTableModel model;
    RowStore empty;
    model.rebuildFrom(empty);
    const ColumnLayout layout =
        applyColumnWidthMode(ColumnWidthMode::WidestLine, model, {}, {}, fakeWidth);
    EXPECT_EQ(layout.widths[2], 20 + 4); // "Way"
    EXPECT_EQ(layout.widest[6], 7);
}

} // namespace
} // namespace corvanteller
