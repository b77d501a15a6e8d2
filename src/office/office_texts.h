// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The office commands' texts, marked for translation in the context "Office". What the program
// writes into a workbook or a document (sheet names, the footer's label) is content, not a text
// of the program's own, and stays where it is written.
namespace corvanteller::officeTexts {

// File dialogs' filters.
QString pdfFilter();
QString exportWorkbookFilter();
QString importFilter();
QString mainWindowWordFilter();
QString textViewWordFilter();

// Printing.
QString noDefaultPrinter();
QString saveAsPdf();

// Handing a file over to another program.
QString notShown(const QString& path);
QString saveACopy();
QString emptyTableNotExported();

// Export and import.
QString importStatus(int dataRows);
QString emptySheet();
QString tooManyRowsForTable();
QString cutCells();

// Reading a workbook.
QString notWorkbook();
QString cannotReadWorkbook();
QString workbookTooLarge();
QString passwordProtected();
QString oldFormat(const QString& version);
QString xlsReaderStartFailed(const QString& reason);
QString archiveNotReadBack();

// The name of the engine's n-th new document, which prints under it.
QString newDocumentName(int n);

// The engines' errors.
QString noOpenDocument();
QString noWorkbook(int index);
QString noWorksheet(int index);
QString rangeOutsideWorksheet();
QString rangeTooLarge();
QString noRange(const QString& first, const QString& last);
QString unknownAlignment(int value);
QString unknownColourIndex(int index);
QString unknownBorderWeight(int weight);
QString unknownLineStyle(int style);

} // namespace corvanteller::officeTexts
