#include "settings/options.h"

using namespace Qt::StringLiterals;

namespace corvanteller {

void applyDefaultSettings(Options& options) {
    options.scanning.plentyOfFiles = false;

    options.textFormat.addDateAndTime = true;
    options.textFormat.addNext = true;
    options.textFormat.addNextIndex = -1;

    options.general.columnWidthMode = columnWidthWidest;
    options.general.hints = true;
    options.general.errorMessages = true;

    ExcelOptions& excel = options.excel;
    excel.numberOfRow = true;
    excel.italic = true;
    excel.colourHeadingsText = true;
    excel.colourHeadingsBorders = true;
    excel.colourHeadingsFill = true;
    excel.colourAllText = true;
    excel.colourAllBorders = true;
    excel.colourAllFill = true;
    excel.bordersDrawn = 2;
    excel.wideColumns = true;
    excel.columnNames = true;
    excel.addDateTime = true;
    excel.whatAdded = 0;
    excel.chooseList1 = false;
    excel.list1Index = -1;
    excel.chooseList2 = true;
    excel.list2Index = -1;
    excel.addString = false;
    excel.stringToAdd = u"Всем ПрИвЕтИк!"_s;

    RenamingOptions& renaming = options.renaming;
    renaming.nameParts = {false, true, false, false, false, false, false, false};
    renaming.dateChoice = 2;
    renaming.whatFiles = 0;
    renaming.wordListIndex = 16; // "Gift"
    renaming.separatorIndex = 5; // " -- "
    renaming.yourString = u"Напишите здесь чего-нибудь"_s;
    // The group has no items, so the file reads this back as none.
    renaming.hiddenGroup = 2;

    options.storedChoice = 1;
    options.savedColumnWidths = {60, 60, 75, 60, 60, 60, 60};
    options.lastFolder = u"/"_s;
}

} // namespace corvanteller
