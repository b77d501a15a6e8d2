// SPDX-License-Identifier: GPL-3.0-or-later
#include "office/excel_import.h"

#include "common/error.h"
#include "office/cell_text.h"
#include "office/engine_command.h"
#include "office/office_texts.h"
#include "office/workbook_engine.h"
#include "office/workbook_reading.h"
#include "table/table_session.h"

#include <algorithm>

namespace corvanteller {

using namespace Qt::StringLiterals;

namespace {

constexpr int tableColumns = SongTableModel::columnCountValue;

// The export's footer: an empty row, the label row and the values row.
constexpr int footerRows = 3;

bool footerLabelFound(const ImportedSheet& sheet, ImportingWindow window) {
    const int row = sheet.lastRow - 1;
    const std::optional<QString> a = sheet.text(row, 1);
    const std::optional<QString> b = sheet.text(row, 2);
    const QString label = u"Additional information:"_s;
    const bool columnAEmpty = a && a->isEmpty();
    if (window == ImportingWindow::Main) {
        return (b && *b == label) || (a && *a == u"Дополнительная информация:"_s) ||
               (b && columnAEmpty && b->contains(u"Additional:"_s)) ||
               (b && columnAEmpty && b->contains(u"information:"_s));
    }
    return (b && *b == label) || (a && *a == label) ||
           (b && columnAEmpty && b->contains(u"informat:"_s)) ||
           (b && columnAEmpty && b->contains(u"Additional"_s));
}

// Only what was kept can be judged: a sheet wider than the kept columns may hold values
// further right, so its rows never count as empty.
bool rowEmpty(const ImportedSheet& sheet, int row) {
    if (row < 1 || sheet.lastColumn > keptColumns) {
        return false;
    }
    for (int column = 1; column <= sheet.lastColumn; ++column) {
        if (!sheet.text(row, column).value_or(QString()).isEmpty()) {
            return false;
        }
    }
    return true;
}

// A footer written without its label (the date off, a list or the string on): two empty rows
// and a values row whose column A is empty.
bool unlabelledFooterFound(const ImportedSheet& sheet) {
    const int last = sheet.lastRow;
    const std::optional<QString> a = sheet.text(last, 1);
    return last >= footerRows && rowEmpty(sheet, last - 1) && rowEmpty(sheet, last - 2) && a &&
           a->isEmpty();
}

} // namespace

std::optional<QString> ImportedSheet::text(int row, int column) const {
    if (row < 1 || row > lastRow || column < 1 || column > lastColumn) {
        return std::nullopt;
    }
    const std::size_t r = static_cast<std::size_t>(row - 1);
    const std::size_t c = static_cast<std::size_t>(column - 1);
    if (r >= values.size() || c >= values[r].size()) {
        return QString();
    }
    return cellText(values[r][c], locale);
}

QString excelImportFilter() {
    return officeTexts::importFilter();
}

QString importStatusText(int dataRows) {
    return officeTexts::importStatus(dataRows);
}

QString emptySheetMessage() {
    return officeTexts::emptySheet();
}

QString tooManyRowsForTableMessage() {
    return officeTexts::tooManyRowsForTable();
}

ImportedSheet readSheetForImport(WorkbookEngine& engine, const QString& path,
                                 const QLocale& locale) {
    const EngineCommand<WorkbookEngine> command(engine);
    Worksheet& worksheet = engine.open(path).worksheet(1);
    const CellPosition last = worksheet.lastUsedCell();
    if (last.row == 0) {
        throw UserError(emptySheetMessage());
    }
    // Even without a footer, a sheet longer than the kept rows has too many data rows.
    if (last.row > keptRows) {
        throw UserError(tooManyRowsForTableMessage());
    }
    ImportedSheet sheet;
    sheet.locale = locale;
    sheet.lastRow = last.row;
    sheet.lastColumn = last.column;
    sheet.values = worksheet.range(1, 1, last.row, std::min(last.column, keptColumns)).values();
    engine.quit();
    return sheet;
}

ImportOutcome importSheet(const ImportedSheet& sheet, ImportingWindow window, TableSession& table,
                          const ImportWidths& widths) {
    const std::optional<QString> a1 = sheet.text(1, 1);
    const bool numberColumn =
        a1 && (*a1 == u"#"_s || (window == ImportingWindow::Main && *a1 == u"№"_s));
    const int offset = numberColumn ? 0 : 1;

    int rows = sheet.lastRow;
    if (footerLabelFound(sheet, window) || unlabelledFooterFound(sheet)) {
        rows -= footerRows;
    }
    const int dataRows = std::max(rows - 1, 0);
    if (dataRows > SongTableModel::maxSongs) {
        throw UserError(tooManyRowsForTableMessage());
    }

    SongTableModel& model = table.model();
    {
        const SongTableModel::BulkChange change(model);
        model.setSongCount(dataRows);
        // Sheet row 1 becomes the header; header cells outside the sheet's columns stay.
        for (int column = 1; column <= sheet.lastColumn; ++column) {
            const int target = column - 1 + offset;
            if (target >= tableColumns) {
                break;
            }
            model.setHeaderText(target, sheet.text(1, column).value_or(QString()));
        }
        // Every cell of a data row is written, those outside the sheet's columns empty, so
        // that no row keeps texts of another song.
        for (int row = 1; row <= dataRows; ++row) {
            for (int target = 1; target < tableColumns; ++target) {
                model.setCell(row, target,
                              sheet.text(row + 1, target + 1 - offset).value_or(QString()));
            }
            model.setCell(row, SongColumn::Number, QString::number(row));
        }
        model.setHeaderText(0, u"#"_s);
        model.setRowFilesFromCells();
    }
    model.copyRowsInto(table.mainStore());
    table.origin = TableOrigin::MainWindow;

    ImportOutcome outcome;
    outcome.dataRows = dataRows;
    outcome.statusText = importStatusText(dataRows);
    if (widths.mode == ColumnWidthMode::WidestLine) {
        const ColumnLayout layout =
            applyColumnWidthMode(ColumnWidthMode::WidestLine, model, widths.current, {},
                                 widths.measure, model.widestCellLengths());
        model.setWidestCellLengths(layout.widest);
        outcome.layout = layout;
    }
    return outcome;
}

ImportOutcome importFromExcel(WorkbookEngine& engine, const QString& path, ImportingWindow window,
                              TableSession& table, const ImportWidths& widths,
                              const QLocale& locale) {
    return importSheet(readSheetForImport(engine, path, locale), window, table, widths);
}

} // namespace corvanteller
