#include "settings/options.h"

#include <gtest/gtest.h>

namespace corvanteller {
namespace {

using namespace Qt::StringLiterals;

template <std::size_t N> void expectSorted(const std::array<QStringView, N>& entries) {
    for (std::size_t i = 1; i < N; ++i) {
        EXPECT_LE(entries[i - 1].compare(entries[i], Qt::CaseInsensitive), 0)
            << entries[i - 1].toString().toStdString() << " / "
            << entries[i].toString().toStdString();
    }
}

TEST(Options, FixedListsAreInTheirSortedOrder) {
    // The dialogs keep these lists sorted, so saved indexes point into this order.
    expectSorted(excelList1Entries);
    expectSorted(excelList2Entries);
    expectSorted(closingStringEntries);
    EXPECT_EQ(excelList1Entries[1], u"Advanced music");
    EXPECT_EQ(excelList1Entries[2], u"Advanced music");
    EXPECT_EQ(renameWordListEntries[16], u"Gift");
    EXPECT_EQ(renameWordListEntries[28], u"The Best of The Best");
    EXPECT_EQ(renameSeparatorEntries[5].separator, u" -- ");
    EXPECT_EQ(renameSeparatorEntries[5].caption, u"Dash with spaces \" -- \"");
    EXPECT_EQ(renameSeparatorEntries[7].separator, u".. ");
    EXPECT_EQ(renameNamePartCaptions[1], u"3 nd column of your table");
}

TEST(Options, DesignValues) {
    const Options o;
    EXPECT_FALSE(o.scanning.plentyOfFiles);
    EXPECT_FALSE(o.textFormat.addDateAndTime);
    EXPECT_FALSE(o.textFormat.addNext);
    EXPECT_EQ(o.textFormat.addNextIndex, -1);
    EXPECT_EQ(o.textFormat.addNextText, u"Made in Earth"_s);
    EXPECT_EQ(o.general.columnWidthMode, 2);
    EXPECT_TRUE(o.general.hints);
    EXPECT_TRUE(o.general.errorMessages);
    EXPECT_TRUE(o.excel.numberOfRow && o.excel.italic && o.excel.colourHeadingsText &&
                o.excel.colourHeadingsBorders && o.excel.colourHeadingsFill &&
                o.excel.colourAllText && o.excel.colourAllBorders && o.excel.colourAllFill &&
                o.excel.wideColumns && o.excel.columnNames && o.excel.addDateTime &&
                o.excel.chooseList2);
    EXPECT_FALSE(o.excel.chooseList1 || o.excel.addString);
    EXPECT_EQ(o.excel.bordersDrawn, 2);
    EXPECT_EQ(o.excel.whatAdded, 0);
    EXPECT_EQ(o.excel.list1Index, -1);
    EXPECT_EQ(o.excel.list1Text, u"Collection"_s);
    EXPECT_EQ(o.excel.list2Index, -1);
    EXPECT_EQ(o.excel.list2Text, u"Made in Earth"_s);
    EXPECT_EQ(o.excel.stringToAdd, u"Karaoke"_s);
    EXPECT_EQ(o.renaming.nameParts, (std::array<bool, 8>{}));
    EXPECT_EQ(o.renaming.dateChoice, 2);
    EXPECT_EQ(o.renaming.whatFiles, 0);
    EXPECT_EQ(o.renaming.wordListIndex, -1);
    EXPECT_EQ(o.renaming.separatorIndex, -1);
    EXPECT_EQ(o.renaming.yourString, u"Write what you want!!!!"_s);
    EXPECT_EQ(o.renaming.hiddenGroup, -1);
    EXPECT_EQ(o.storedChoice, 0);
    EXPECT_EQ(o.savedColumnWidths, (std::array<int, 7>{}));
    EXPECT_TRUE(o.lastFolder.isEmpty());
}

TEST(Options, DefaultSettingsSetEveryDialog) {
    // Start from the opposite of every default, so that each value is seen to be set.
    Options o;
    o.scanning.plentyOfFiles = true;
    o.textFormat = {false, false, 3, u"typed"_s};
    o.general = {0, false, false};
    o.excel.numberOfRow = o.excel.italic = o.excel.colourHeadingsText = false;
    o.excel.colourHeadingsBorders = o.excel.colourHeadingsFill = o.excel.colourAllText = false;
    o.excel.colourAllBorders = o.excel.colourAllFill = o.excel.wideColumns = false;
    o.excel.columnNames = o.excel.addDateTime = o.excel.chooseList2 = false;
    o.excel.chooseList1 = o.excel.addString = true;
    o.excel.bordersDrawn = 0;
    o.excel.whatAdded = 2;
    o.excel.list1Index = 4;
    o.excel.list1Text = u"Dance"_s;
    o.excel.list2Index = 1;
    o.excel.stringToAdd = u"x"_s;
    o.renaming = {{true, false, true, true, true, true, true, true}, 0, 1, 3, 1, u"y"_s, -1};
    o.storedChoice = 0;
    o.savedColumnWidths = {1, 2, 3, 4, 5, 6, 7};
    o.lastFolder = u"/music/"_s;

    applyDefaultSettings(o);

    EXPECT_FALSE(o.scanning.plentyOfFiles);
    EXPECT_TRUE(o.textFormat.addDateAndTime);
    EXPECT_TRUE(o.textFormat.addNext);
    EXPECT_EQ(o.textFormat.addNextIndex, -1);
    EXPECT_EQ(o.general.columnWidthMode, 2);
    EXPECT_TRUE(o.general.hints);
    EXPECT_TRUE(o.general.errorMessages);
    EXPECT_TRUE(o.excel.numberOfRow && o.excel.italic && o.excel.colourHeadingsText &&
                o.excel.colourHeadingsBorders && o.excel.colourHeadingsFill &&
                o.excel.colourAllText && o.excel.colourAllBorders && o.excel.colourAllFill &&
                o.excel.wideColumns && o.excel.columnNames && o.excel.addDateTime &&
                o.excel.chooseList2);
    EXPECT_FALSE(o.excel.chooseList1 || o.excel.addString);
    EXPECT_EQ(o.excel.bordersDrawn, 2);
    EXPECT_EQ(o.excel.whatAdded, 0);
    EXPECT_EQ(o.excel.list1Index, -1);
    EXPECT_EQ(o.excel.list2Index, -1);
    EXPECT_EQ(o.excel.stringToAdd, u"Всем ПрИвЕтИк!"_s);
    EXPECT_EQ(o.renaming.nameParts,
              (std::array<bool, 8>{false, true, false, false, false, false, false, false}));
    EXPECT_EQ(o.renaming.dateChoice, 2);
    EXPECT_EQ(o.renaming.whatFiles, 0);
    EXPECT_EQ(o.renaming.wordListIndex, 16);
    EXPECT_EQ(o.renaming.separatorIndex, 5);
    EXPECT_EQ(o.renaming.yourString, u"Напишите здесь чего-нибудь"_s);
    EXPECT_EQ(o.renaming.hiddenGroup, 2);
    EXPECT_EQ(o.storedChoice, 1);
    EXPECT_EQ(o.savedColumnWidths, (std::array<int, 7>{60, 60, 75, 60, 60, 60, 60}));
    EXPECT_EQ(o.lastFolder, u"/"_s);
    // Typed texts of the editable lists are not among the values it sets.
    EXPECT_EQ(o.textFormat.addNextText, u"typed"_s);
    EXPECT_EQ(o.excel.list1Text, u"Dance"_s);
}

} // namespace
} // namespace corvanteller
