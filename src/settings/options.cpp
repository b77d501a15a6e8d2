// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/options.h"

using namespace Qt::StringLiterals;

namespace corvanteller {

void applyDefaultSettings(Options& options) {
    // Most of these pages go back to their design values; the texts typed into the editable
    // lists stay.
    options.scanning = ScanningOptions{};
    options.general = GeneralOptions{};

    options.textFormat.addDateAndTime = true;
    options.textFormat.addNext = true;
    options.textFormat.addNextIndex = -1;

    ExcelOptions& excel = options.excel;
    const QString list1Text = excel.list1Text;
    const QString list2Text = excel.list2Text;
    excel = ExcelOptions{};
    excel.list1Text = list1Text;
    excel.list2Text = list2Text;
    excel.stringToAdd = u"Всем ПрИвЕтИк!"_s;

    RenamingOptions& renaming = options.renaming;
    renaming.nameParts = {false, true, false, false, false, false, false, false};
    // The marks are by position: only with the parts back in their initial order is the one
    // checked part "3 nd column of your table".
    renaming.partOrder = initialNamePartOrder;
    renaming.dateChoice = DateTimeChoice::DateAndTime;
    renaming.whatFiles = WhatFiles::All;
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
