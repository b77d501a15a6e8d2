// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

// The settings' texts, marked for translation in the context "Settings".
namespace corvanteller::settingsTexts {

// Why the settings file was not taken.
QString refusedFile();
// At the program's end, when the settings beside the settings file cannot be written.
QString desktopSettingsNotSaved(const QString& path);
QString truncatedFile();

// The General settings dialog.

QString dialogTitle();
QString ok();
QString cancel();
QString defaultSettings();
// "Settings..." of the pages "Text format" and "Scanning".
QString moreSettings();

// The page "General".
QString generalPage();
QString columnWidthTitle();
QStringList columnWidthModes();
QString hints();
QString keepMarks();

QString textFormatPage();

// The page "Export to Excel".
QString excelExportPage();
QString rowNumber();
QString italic();
QString headingsTextColour();
QString headingsBorders();
QString headingsFill();
QString tableTextColour();
QString tableBorders();
QString tableFill();
QString bordersDrawnTitle();
QStringList bordersDrawnChoices();
QString wideColumns();
QString columnNames();
QString addDateTime();
QString whatAddedTitle();
QStringList whatAddedChoices();
QString chooseList1();
QString chooseList2();
QString addString();

// The page "Messages about errors" and its one check box.
QString errorMessages();

// The page "Scanning".
QString scanningPage();
QString scanningSettings();
QString rememberTexts();

// The message of the twelfth click on the text format page.
QString greeting();

} // namespace corvanteller::settingsTexts
