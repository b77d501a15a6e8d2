// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "table/column_widths.h"

#include <QLocale>
#include <QString>

#include <optional>
#include <vector>

namespace corvanteller {

class CellValue;
class TableSession;
class WorkbookEngine;

// Which window imports: the two differ in the "#" test of A1 and in the footer tests.
enum class ImportingWindow { Main, Start };

// The used rectangle of a workbook's first worksheet: its last used row R and column C, and the
// values of columns A to G of rows 1 to R (R is never above the kept rows).
struct ImportedSheet {
    int lastRow = 0;
    int lastColumn = 0;
    std::vector<std::vector<CellValue>> values;
    // The locale of the dates' texts.
    QLocale locale = QLocale::system();

    // The text of a value (cell_text.h), an empty text for an empty cell; nothing outside the
    // rectangle.
    std::optional<QString> text(int row, int column) const;
};

// Reads the first worksheet of the file through the engine, which starts empty and is emptied
// again afterwards, also when the reading fails. Throws IoError or UserError: besides the
// reader's texts, emptySheetMessage() and tooManyRowsForTableMessage(). Dates read in the
// locale's formats.
ImportedSheet readSheetForImport(WorkbookEngine& engine, const QString& path,
                                 const QLocale& locale);

// What the table's column widths are in the import: the width mode, the grid's widths now
// and its font.
struct ImportWidths {
    ColumnWidthMode mode = ColumnWidthMode::WidestLine;
    ColumnWidthList current{};
    TextWidth measure;
};

struct ImportOutcome {
    int dataRows = 0;
    // The widths to set, in width mode 2.
    std::optional<ColumnLayout> layout;
    // The main window's status line.
    QString statusText;
};

// Puts the sheet into the song table: the column offset by A1, the export's footer dropped,
// the rows copied (sheet row 1 into the header), the rows numbered, the rows copied into the
// main window's row store, which becomes the table's origin, and in width mode 2 the widths
// and the widest-cell lengths. Every imported row stands for the file its cells name, and
// its cells outside the sheet's columns are empty. Throws UserError(
// tooManyRowsForTableMessage()), and nothing changes, when the sheet holds more data rows
// than the table takes.
ImportOutcome importSheet(const ImportedSheet& sheet, ImportingWindow window, TableSession& table,
                          const ImportWidths& widths);

// The whole import of a file, from either window.
ImportOutcome importFromExcel(WorkbookEngine& engine, const QString& path, ImportingWindow window,
                              TableSession& table, const ImportWidths& widths,
                              const QLocale& locale);

// The open dialog's filter of both imports.
QString excelImportFilter();
QString importStatusText(int dataRows);
QString emptySheetMessage();
QString tooManyRowsForTableMessage();

} // namespace corvanteller
