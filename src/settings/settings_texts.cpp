// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/settings_texts.h"

#include <QCoreApplication>

namespace corvanteller::settingsTexts {

QString refusedFile() {
    return QCoreApplication::translate("Settings", "Error while loading settings");
}

QString truncatedFile() {
    return QCoreApplication::translate("Settings", "Read beyond end of file");
}

QString dialogTitle() {
    return QCoreApplication::translate("Settings", "General settings");
}

QString ok() {
    return QCoreApplication::translate("Settings", "OK");
}

QString cancel() {
    return QCoreApplication::translate("Settings", "Cancel");
}

QString defaultSettings() {
    return QCoreApplication::translate("Settings", "&Default settings");
}

QString moreSettings() {
    return QCoreApplication::translate("Settings", "Settings...");
}

QString generalPage() {
    return QCoreApplication::translate("Settings", "General");
}

QString columnWidthTitle() {
    return QCoreApplication::translate("Settings", "Width of columns of the table");
}

QStringList columnWidthModes() {
    return {QCoreApplication::translate("Settings", "Fixed width (default)"),
            QCoreApplication::translate("Settings", "User settings"),
            QCoreApplication::translate("Settings", "On the widest line in a column")};
}

QString hints() {
    return QCoreApplication::translate("Settings", "Hints");
}

QString keepMarks() {
    return QCoreApplication::translate("Settings", "Keep check marks when the window is switched");
}

QString textFormatPage() {
    return QCoreApplication::translate("Settings", "Text format");
}

QString excelExportPage() {
    return QCoreApplication::translate("Settings", "Export to Excel");
}

QString rowNumber() {
    return QCoreApplication::translate("Settings", "&Number of row");
}

QString italic() {
    return QCoreApplication::translate("Settings", "Italic");
}

QString headingsTextColour() {
    return QCoreApplication::translate("Settings", "Colour headings (text)");
}

QString headingsBorders() {
    return QCoreApplication::translate("Settings", "Colour headings (borders)");
}

QString headingsFill() {
    return QCoreApplication::translate("Settings", "Colour headings (fill)");
}

QString tableTextColour() {
    return QCoreApplication::translate("Settings", "Colour all table (text)");
}

QString tableBorders() {
    return QCoreApplication::translate("Settings", "Colour all table (borders)");
}

QString tableFill() {
    return QCoreApplication::translate("Settings", "&Colour all table (fill)");
}

QString bordersDrawnTitle() {
    return QCoreApplication::translate("Settings", "What borders will be drawn");
}

QStringList bordersDrawnChoices() {
    return {QCoreApplication::translate("Settings", "Vertical"),
            QCoreApplication::translate("Settings", "Horizontal"),
            QCoreApplication::translate("Settings", "All")};
}

QString wideColumns() {
    return QCoreApplication::translate("Settings",
                                       "&Wide of columns on the widest line in a column");
}

QString columnNames() {
    return QCoreApplication::translate("Settings", "Названия колонок");
}

QString addDateTime() {
    return QCoreApplication::translate("Settings", "Add date and/or time");
}

QString whatAddedTitle() {
    return QCoreApplication::translate("Settings", "What will be added");
}

QStringList whatAddedChoices() {
    return {QCoreApplication::translate("Settings", "Date"),
            QCoreApplication::translate("Settings", "Time"),
            QCoreApplication::translate("Settings", "Date and time")};
}

QString chooseList1() {
    return QCoreApplication::translate("Settings", "Choose from list #1");
}

QString chooseList2() {
    return QCoreApplication::translate("Settings", "Choose from list #2");
}

QString addString() {
    return QCoreApplication::translate("Settings", "Add this string");
}

QString errorMessages() {
    return QCoreApplication::translate("Settings", "Messages about errors");
}

QString scanningPage() {
    return QCoreApplication::translate("Settings", "Scanning");
}

QString scanningSettings() {
    return QCoreApplication::translate("Settings", "You can choose scanning settings");
}

QString desktopSettingsNotSaved(const QString& path) {
    return QCoreApplication::translate("Settings",
                                       "The window's place, the recent lists and the options of "
                                       "this version could not be saved to %1. The next start "
                                       "uses their defaults.")
        .arg(path);
}

QString rememberTexts() {
    return QCoreApplication::translate("Settings", "Remember the texts of unchanged files");
}

QString greeting() {
    return QCoreApplication::translate(
        "Settings", "Hello to you!! Всем приветики!! Москва (Россия), Moscow (Russia)!!!  СУПЕР!!! "
                    "Всех девушек с восьмым марта (с наступающем или прошедшем -- не знаю, "
                    "какое сейчас у Вас число)!!! А написано это 05.03.2003г.  :-) !!!!");
}

} // namespace corvanteller::settingsTexts
