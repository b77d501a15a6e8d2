// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "table/column_layout.h"

#include <QString>
#include <QStringView>

#include <array>

namespace corvanteller {

// Fixed list contents. Indexes kept in the options and in the settings file point into these.

// "Export to Excel" list #1 ("Advanced music" stands twice, at 1 and 2).
inline constexpr std::array<QStringView, 29> excelList1Entries = {u";-)",
                                                                  u"Advanced music",
                                                                  u"Advanced music",
                                                                  u"Collection",
                                                                  u"Dance",
                                                                  u"Elected",
                                                                  u"For body",
                                                                  u"For boyfriend",
                                                                  u"For friends",
                                                                  u"For girlfriend",
                                                                  u"For me!",
                                                                  u"For men",
                                                                  u"For soul",
                                                                  u"For women",
                                                                  u"For You!",
                                                                  u"Foreign songs",
                                                                  u"Gift",
                                                                  u"Our songs",
                                                                  u"Pop",
                                                                  u"Real music",
                                                                  u"Rock",
                                                                  u"Rock'n'roll",
                                                                  u"Rules",
                                                                  u"Russia",
                                                                  u"Super",
                                                                  u"Super songs",
                                                                  u"Tehno",
                                                                  u"That's all...",
                                                                  u"The Best of The Best"};

// "Export to Excel" list #2.
inline constexpr std::array<QStringView, 9> excelList2Entries = {
    u"Cool!!!",    u"Hello!",      u"Made in Earth", u"Made in Russia",           u"Made in USSR",
    u"My karaoke", u"New karaoke", u"That's all!!!", u"The list of karaoke files"};

// The text-format dialog's "Add next " list (the closing string).
inline constexpr std::array<QStringView, 8> closingStringEntries = {
    u"Corvanteller",   u"Hello!",       u"Hi!",           u"Made in Earth",
    u"Made in Russia", u"Made in USSR", u"That's all!!!", u"The list of karaoke files"};

// The complex-renaming word list: the same 29 entries as list #1.
inline constexpr const std::array<QStringView, 29>& renameWordListEntries = excelList1Entries;

// The complex-renaming name parts, in their initial order.
enum class NamePart {
    InitialName,
    Column3,
    Column4,
    Column5,
    Column6,
    YourString,
    ChooseFromList,
    DateAndTime
};

inline constexpr std::array<NamePart, 8> initialNamePartOrder = {
    NamePart::InitialName, NamePart::Column3,    NamePart::Column4,        NamePart::Column5,
    NamePart::Column6,     NamePart::YourString, NamePart::ChooseFromList, NamePart::DateAndTime};

// "Between components of name": the separators, in the order of their captions.
inline constexpr std::array<QStringView, 8> renameSeparators = {u" ",  u"  ",   u"; ", u"-",
                                                                u"--", u" -- ", u"_",  u".. "};

// "What borders will be drawn" of the Excel export.
enum class BordersDrawn { Vertical = 0, Horizontal = 1, All = 2 };

// "What will be added": the date, the time or both.
enum class DateTimeChoice { Date = 0, Time = 1, DateAndTime = 2 };

// "What files" of complex renaming.
enum class WhatFiles { All = 0, OnlyChecked = 1 };

// Every member below starts at its design value: what a run without a settings file has.
// A list index of -1 means that no entry is chosen.

// The scanning-parameters dialog.
struct ScanningOptions {
    bool plentyOfFiles = false; // "Processing of a plenty of files"
    bool operator==(const ScanningOptions&) const = default;
};

// The text-format dialog.
struct TextFormatOptions {
    bool addDateAndTime = false; // "&Add date and time"
    bool addNext = false;        // "Add next "
    int addNextIndex = -1;       // chosen entry of closingStringEntries
    // The closing string as it stands in the editable list; any text may be typed.
    QString addNextText = QStringLiteral("Made in Earth");
    bool operator==(const TextFormatOptions&) const = default;
};

// The General settings pages "General" and "Messages about errors".
struct GeneralOptions {
    ColumnWidthMode columnWidthMode = ColumnWidthMode::WidestLine;
    bool hints = true;         // "Hints"
    bool errorMessages = true; // "Messages about errors"
    bool operator==(const GeneralOptions&) const = default;
};

// The General settings page "Export to Excel".
struct ExcelOptions {
    bool numberOfRow = true;           // "&Number of row"
    bool italic = true;                // "Italic"
    bool colourHeadingsText = true;    // "Colour headings (text)"
    bool colourHeadingsBorders = true; // "Colour headings (borders)"
    bool colourHeadingsFill = true;    // "Colour headings (fill)"
    bool colourAllText = true;         // "Colour all table (text)"
    bool colourAllBorders = true;      // "Colour all table (borders)"
    bool colourAllFill = true;         // "&Colour all table (fill)"
    BordersDrawn bordersDrawn = BordersDrawn::All;
    bool wideColumns = true; // "&Wide of columns on the widest line in a column"
    bool columnNames = true; // "Названия колонок", a hidden option
    bool addDateTime = true; // "Add date and/or time"
    DateTimeChoice whatAdded = DateTimeChoice::Date;
    bool chooseList1 = false;                         // "Choose from list #1"
    int list1Index = -1;                              // chosen entry of excelList1Entries
    QString list1Text = QStringLiteral("Collection"); // the editable list's text
    bool chooseList2 = true;                          // "Choose from list #2"
    int list2Index = -1;                              // chosen entry of excelList2Entries
    QString list2Text = QStringLiteral("Made in Earth");
    bool addString = false; // "Add this string"
    QString stringToAdd = QStringLiteral("Karaoke");
    bool operator==(const ExcelOptions&) const = default;
};

// The complex-renaming dialog.
struct RenamingOptions {
    // Check marks by position from the top of the name parts list.
    std::array<bool, 8> nameParts{};
    DateTimeChoice dateChoice = DateTimeChoice::DateAndTime;
    WhatFiles whatFiles = WhatFiles::All;
    int wordListIndex = -1;  // chosen entry of renameWordListEntries
    int separatorIndex = -1; // chosen entry of renameSeparatorEntries; none is an empty separator
    QString yourString = QStringLiteral("Write what you want!!!!"); // "Your string"
    // A hidden radio group "What will be added" without items; -1 is none.
    int hiddenGroup = -1;
    // The part at each position from the top. "Up" and "Down" change it; the settings file does
    // not keep it, so every run starts with the initial order.
    std::array<NamePart, 8> partOrder = initialNamePartOrder;
    bool operator==(const RenamingOptions&) const = default;
};

// Every option of every dialog, the saved column widths and the last folder: what the settings
// file keeps. The application owns one; dialogs edit it.
struct Options {
    ScanningOptions scanning;
    TextFormatOptions textFormat;
    GeneralOptions general;
    ExcelOptions excel;
    RenamingOptions renaming;
    // A choice of 0 or 1 that no command changes; kept only so that it survives a save.
    int storedChoice = 0;
    // Widths in pixels of the song table's columns 0 to 6, used by the "User settings" mode.
    ColumnWidthList savedColumnWidths{};
    // The folder last chosen for a scan; the next folder choice starts there.
    QString lastFolder;
    bool operator==(const Options&) const = default;
};

// What "&Default settings" sets, in every dialog. Edit texts of the lists that it does not
// name are left as they are.
void applyDefaultSettings(Options& options);

} // namespace corvanteller
