// SPDX-License-Identifier: GPL-3.0-or-later
#include "office/office_texts.h"

#include <QCoreApplication>

namespace corvanteller::officeTexts {

QString pdfFilter() {
    return QCoreApplication::translate("Office", "PDF (*.pdf)");
}

QString exportWorkbookFilter() {
    return QCoreApplication::translate("Office", "Ms Excel workbook (*.xlsx)");
}

QString importFilter() {
    return QCoreApplication::translate("Office", "Excel files|*.xls;*.xlsx|");
}

QString mainWindowWordFilter() {
    return QCoreApplication::translate("Office", "Document Word|*.docx");
}

QString textViewWordFilter() {
    return QCoreApplication::translate("Office", "Документ Word|*.docx");
}

QString noDefaultPrinter() {
    return QCoreApplication::translate("Office", "There is no default printer currently selected");
}

QString saveAsPdf() {
    return QCoreApplication::translate("Office", "Save as PDF...");
}

QString notShown(const QString& path) {
    return QCoreApplication::translate("Office",
                                       "No program was found to show %1. The file is kept there.")
        .arg(path);
}

QString saveACopy() {
    return QCoreApplication::translate("Office", "Save a copy...");
}

QString emptyTableNotExported() {
    return QCoreApplication::translate("Office", "The table is empty: no workbook was written.");
}

QString importStatus(int dataRows) {
    return QCoreApplication::translate("Office", "%1 record(s) was(were) exported to Excel")
        .arg(dataRows);
}

QString emptySheet() {
    return QCoreApplication::translate("Office", "The first worksheet of the file is empty.");
}

QString tooManyRowsForTable() {
    return QCoreApplication::translate("Office",
                                       "The sheet holds more rows than the table can take.");
}

QString cutCells() {
    return QCoreApplication::translate(
        "Office", "Some cells were longer than 32767 characters and were cut in the workbook.");
}

QString notWorkbook() {
    return QCoreApplication::translate("Office", "This file is not an Excel workbook.");
}

QString cannotReadWorkbook() {
    return QCoreApplication::translate("Office", "The file cannot be read as an Excel workbook.");
}

QString workbookTooLarge() {
    return QCoreApplication::translate("Office", "The file is too large to be read.");
}

QString passwordProtected() {
    return QCoreApplication::translate(
        "Office", "The workbook is protected by a password and cannot be read.");
}

QString oldFormat(const QString& version) {
    return QCoreApplication::translate("Office",
                                       "This workbook is in the Excel %1 format, which cannot be "
                                       "read; save it as .xlsx or .xls (97-2003) first.")
        .arg(version);
}

QString xlsReaderStartFailed(const QString& reason) {
    return QCoreApplication::translate("Office",
                                       "The program that reads .xls files cannot be started: %1")
        .arg(reason);
}

QString archiveNotReadBack() {
    return QCoreApplication::translate("Office", "The archive could not be read back.");
}

QString newDocumentName(int n) {
    return QCoreApplication::translate("Office", "Document%1").arg(n);
}

QString noOpenDocument() {
    return QCoreApplication::translate("Office", "There is no open document.");
}

QString noWorkbook(int index) {
    return QCoreApplication::translate("Office", "There is no workbook %1.").arg(index);
}

QString noWorksheet(int index) {
    return QCoreApplication::translate("Office", "The workbook has no worksheet %1.").arg(index);
}

QString rangeOutsideWorksheet() {
    return QCoreApplication::translate("Office", "The range lies outside the worksheet.");
}

QString rangeTooLarge() {
    return QCoreApplication::translate("Office", "The range is too large.");
}

QString noRange(const QString& first, const QString& last) {
    return QCoreApplication::translate("Office", "\"%1:%2\" is no range of cells.")
        .arg(first, last);
}

QString unknownAlignment(int value) {
    return QCoreApplication::translate("Office", "Unknown horizontal alignment %1.").arg(value);
}

QString unknownColourIndex(int index) {
    return QCoreApplication::translate("Office", "Unknown colour index %1.").arg(index);
}

QString unknownBorderWeight(int weight) {
    return QCoreApplication::translate("Office", "Unknown border weight %1.").arg(weight);
}

QString unknownLineStyle(int style) {
    return QCoreApplication::translate("Office", "Unknown line style %1.").arg(style);
}

} // namespace corvanteller::officeTexts
