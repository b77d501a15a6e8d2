// SPDX-License-Identifier: GPL-3.0-or-later
#include "table/table_texts.h"

#include <QCoreApplication>

namespace corvanteller::tableTexts {

QString removeRowsQuestion(int rows) {
    return QCoreApplication::translate(
               "Table", "Remove %1 row(s) from the table? No file on disk is deleted.")
        .arg(rows);
}

QString noCheckedRows() {
    return QCoreApplication::translate("Table", "No row is checked.");
}

QString noProgramForFolder(const QString& folder) {
    return QCoreApplication::translate("Table", "No program was found to show the folder %1.")
        .arg(folder);
}

QString duplicatesMarked(int rows) {
    return QCoreApplication::translate("Table", "%1 rows are duplicates of earlier rows.")
        .arg(rows);
}

QString identicalFilesMarked(int rows) {
    return QCoreApplication::translate(
               "Table", "%1 rows stand for files identical to an earlier row's file.")
        .arg(rows);
}

QString listWindowTitle(const QString& listName, bool unsaved) {
    return QCoreApplication::translate("Table", "%1%2 - Corvanteller")
        .arg(listName, unsaved ? QStringLiteral("*") : QString());
}

QString recentLists() {
    return QCoreApplication::translate("Table", "Recent &lists");
}

QString noRecentLists() {
    return QCoreApplication::translate("Table", "(none)");
}

QString recentListGone(const QString& path) {
    return QCoreApplication::translate(
               "Table", "The list %1 is no longer there; it is taken off the recent lists.")
        .arg(path);
}

QString filterLabel() {
    return QCoreApplication::translate("Table", "Fi&lter:");
}

QString allColumns() {
    return QCoreApplication::translate("Table", "All columns");
}

QString markShown() {
    return QCoreApplication::translate("Table", "&Mark shown");
}

QString closeFilter() {
    return QCoreApplication::translate("Table", "×");
}

QString shownStatus(int shown, int rows) {
    return QCoreApplication::translate("Table", "Shown: %1 of %2").arg(shown).arg(rows);
}

QString countText(const QString& rows, const QString& checked, const QString& shown) {
    if (shown.isEmpty()) {
        return QCoreApplication::translate("Table", "%1 rows, %2 checked").arg(rows, checked);
    }
    return QCoreApplication::translate("Table", "%1 rows, %2 checked, shown %3")
        .arg(rows, checked, shown);
}

QString notListFile() {
    return QCoreApplication::translate("Table",
                                       "This file is not file of Corvanteller.\n\rOr the file was "
                                       "damaged.");
}

QString tooManyRowsInList() {
    return QCoreApplication::translate("Table",
                                       "The list holds more rows than the table can take.");
}

QString notAnInteger(const QString& line) {
    return QCoreApplication::translate("Table", "'%1' is not a valid integer value").arg(line);
}

QString saveChangesTitle() {
    return QCoreApplication::translate("Table", "Attention");
}

QString saveChangesQuestion() {
    return QCoreApplication::translate("Table", "Do you want save changes?");
}

QString yes() {
    return QCoreApplication::translate("Table", "Yes");
}

QString no() {
    return QCoreApplication::translate("Table", "No");
}

QString cancel() {
    return QCoreApplication::translate("Table", "Cancel");
}

QString fileNameColumn() {
    return QCoreApplication::translate("Table", "Name of file");
}

QString folderColumn() {
    return QCoreApplication::translate("Table", "Way");
}

QString titleColumn() {
    return QCoreApplication::translate("Table", "The executor and/or the name of songs");
}

QString makerColumn(bool madeBy) {
    return madeBy ? QCoreApplication::translate("Table", "Made by...")
                  : QCoreApplication::translate("Table", "Made...");
}

QString longCellsCut(int length) {
    return QCoreApplication::translate(
               "Table", "Some texts were longer than %1 characters and were cut there.")
        .arg(length);
}

QString processedStatus(int files) {
    return QString::number(files) +
           QCoreApplication::translate("Table",
                                       " file(s) was(were) processed and placed in the table");
}

QString renamedStatus(int files) {
    return QString::number(files) +
           QCoreApplication::translate("Table", " file(s) was(were) renamed");
}

QString putBackStatus(int files) {
    return QString::number(files) + QCoreApplication::translate("Table", " file(s) were put back.");
}

QString tableFull() {
    return QCoreApplication::translate(
        "Table", "The table cannot take more than 45002 rows: no row was added.");
}

QString sortStep(int column, bool descending) {
    static const char* const names[] = {
        QT_TRANSLATE_NOOP("Table", "number"), QT_TRANSLATE_NOOP("Table", "file name"),
        QT_TRANSLATE_NOOP("Table", "folder"), QT_TRANSLATE_NOOP("Table", "title"),
        QT_TRANSLATE_NOOP("Table", "D"),      QT_TRANSLATE_NOOP("Table", "E"),
        QT_TRANSLATE_NOOP("Table", "maker")};
    const QString name = QCoreApplication::translate("Table", names[column]);
    return descending ? QCoreApplication::translate("Table", "sort by %1, descending").arg(name)
                      : QCoreApplication::translate("Table", "sort by %1").arg(name);
}

QString typingStep(int row) {
    return QCoreApplication::translate("Table", "typing in row %1").arg(row);
}

QString markingStep(std::size_t rows, int firstRow) {
    return rows == 1 ? QCoreApplication::translate("Table", "marking in row %1").arg(firstRow)
                     : QCoreApplication::translate("Table", "marking in %1 rows").arg(rows);
}

QString allMarksStep(bool checked) {
    return checked ? QCoreApplication::translate("Table", "Check all")
                   : QCoreApplication::translate("Table", "unchecking all");
}

QString addingStep(int row) {
    return QCoreApplication::translate("Table", "adding row %1").arg(row);
}

QString removingStep(std::size_t rows, int firstRow) {
    return rows == 1 ? QCoreApplication::translate("Table", "removing row %1").arg(firstRow)
                     : QCoreApplication::translate("Table", "removing %1 rows").arg(rows);
}

QString undo(const QString& step) {
    return step.isEmpty() ? QCoreApplication::translate("Table", "Undo")
                          : QCoreApplication::translate("Table", "Undo ") + step;
}

QString redo(const QString& step) {
    return step.isEmpty() ? QCoreApplication::translate("Table", "Redo")
                          : QCoreApplication::translate("Table", "Redo ") + step;
}

QString checkHint() {
    return QCoreApplication::translate(
        "Table", "If you want to check any file (row), double click on the necessary row");
}

std::array<QString, 3> hintGreetings() {
    return {QCoreApplication::translate(
                "Table", "How are you?? I'm fine... very fine and happy!!! (Hello from Russia!)"),
            QCoreApplication::translate("Table", ":-)  !!"),
            QCoreApplication::translate("Table", "Hi!!!! Don't worry, be happy!")};
}

} // namespace corvanteller::tableTexts
