// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The text view's texts, marked for translation in the context "Text".
namespace corvanteller::textTexts {

// The window and its menus.
QString viewTitle();
QString fileMenu();
QString openText();
QString saveText();
QString saveAsWord();
QString print();
QString printFromWord();
QString printToPdf();
QString returnToTable();
QString editMenu();
QString back();
QString copy();
QString paste();
QString cut();
QString selectAll();
QString find();
QString settingsMenu();
QString outputAsText();
// The editor's context menu.
QString popupCopy();
QString popupPaste();
QString popupCut();
QString popupSelectAll();

// File dialogs' filters, in the program's "caption|pattern" form or Qt's.
QString openFilter();
QString textFilter();
QString richTextFilter();

// Saving and printing.
QString alreadyExists(const QString& path);
QString replace();
QString printJobName(const QString& dateAndTime);
QString fileTooLarge();

// The text format dialog.
QString formatTitle();
QString addDateAndTime();
QString addNext();
QString ok();
QString cancel();

} // namespace corvanteller::textTexts
