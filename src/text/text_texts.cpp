// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/text_texts.h"

#include <QCoreApplication>

namespace corvanteller::textTexts {

QString viewTitle() {
    return QCoreApplication::translate("Text", "Information as text");
}

QString fileMenu() {
    return QCoreApplication::translate("Text", "&File");
}

QString openText() {
    return QCoreApplication::translate("Text", "&Open...");
}

QString saveText() {
    return QCoreApplication::translate("Text", "&Save...");
}

QString saveAsWord() {
    return QCoreApplication::translate("Text", "Save as &Word document...");
}

QString print() {
    return QCoreApplication::translate("Text", "&Print");
}

QString printFromWord() {
    return QCoreApplication::translate("Text", "Print &from Word");
}

QString printToPdf() {
    return QCoreApplication::translate("Text", "Print &to PDF...");
}

QString returnToTable() {
    return QCoreApplication::translate("Text", "&Return to table");
}

QString editMenu() {
    return QCoreApplication::translate("Text", "&Edit");
}

QString back() {
    return QCoreApplication::translate("Text", "&Back");
}

QString copy() {
    return QCoreApplication::translate("Text", "&Copy");
}

QString paste() {
    return QCoreApplication::translate("Text", "&Paste");
}

QString cut() {
    return QCoreApplication::translate("Text", "C&ut");
}

QString selectAll() {
    return QCoreApplication::translate("Text", "&Select All");
}

QString find() {
    return QCoreApplication::translate("Text", "&Find...");
}

QString settingsMenu() {
    return QCoreApplication::translate("Text", "&Settings");
}

QString outputAsText() {
    return QCoreApplication::translate("Text", "&Output information as text");
}

QString popupCopy() {
    return QCoreApplication::translate("Text", "&Copy");
}

QString popupPaste() {
    return QCoreApplication::translate("Text", "&Paste");
}

QString popupCut() {
    return QCoreApplication::translate("Text", "C&ut");
}

QString popupSelectAll() {
    return QCoreApplication::translate("Text", "&Select All");
}

QString openFilter() {
    return QCoreApplication::translate("Text", "Text files|*.txt|All files (*.*)|*.*");
}

QString textFilter() {
    return QCoreApplication::translate("Text", "Text files|*.txt");
}

QString richTextFilter() {
    return QCoreApplication::translate("Text", "Rich Text (*.rtf)");
}

QString alreadyExists(const QString& path) {
    return QCoreApplication::translate("Text", "%1 already exists.").arg(path);
}

QString replace() {
    return QCoreApplication::translate("Text", "Replace");
}

QString printJobName(const QString& dateAndTime) {
    return QCoreApplication::translate("Text", "Список kar файлов %1").arg(dateAndTime);
}

QString fileTooLarge() {
    return QCoreApplication::translate("Text", "The file is too large to be shown.");
}

QString formatTitle() {
    return QCoreApplication::translate("Text", "Settings");
}

QString addDateAndTime() {
    return QCoreApplication::translate("Text", "&Add date and time");
}

QString addNext() {
    return QCoreApplication::translate("Text", "Add next ");
}

QString ok() {
    return QCoreApplication::translate("Text", "OK");
}

QString cancel() {
    return QCoreApplication::translate("Text", "Отмена");
}

} // namespace corvanteller::textTexts
