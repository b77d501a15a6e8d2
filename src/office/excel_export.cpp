// SPDX-License-Identifier: GPL-3.0-or-later
#include "office/excel_export.h"

#include "common/date_patterns.h"
#include "common/error.h"
#include "common/file_io.h"
#include "office/engine_command.h"
#include "office/office_texts.h"
#include "office/workbook_engine.h"
#include "office/xlsx_writer.h"
#include "settings/options.h"
#include "table/song_table_model.h"

#include <QTemporaryDir>

#include <array>
#include <limits>
#include <vector>

namespace corvanteller {

using namespace Qt::StringLiterals;

namespace {

// The formatting always covers the seven columns A to G.
constexpr int formattedColumns = 7;

// Boxes of the table's grid: continuous, thin, colour index 5, colour 255.
constexpr int tableBoxWeight = excel::weightThin;
constexpr int tableBoxColourIndex = 5;
// Boxes of the headings: continuous, medium, colour index 3, colour 255.
constexpr int headingBoxWeight = excel::weightMedium;
constexpr int headingBoxColourIndex = 3;
constexpr int boxColour = 255;

// Font colours, red + 256 x green + 65536 x blue.
constexpr int numberColumnColour = 128;
constexpr int headingsColour = 16711680;
constexpr int footerValuesColour = 8388608;
constexpr std::array<int, formattedColumns> columnColours = {
    numberColumnColour, 255, 8388608, 32768, 8388736, 8421376, 16711680};

// Fills of the data rows by column, with and without the number column.
constexpr std::array<int, 6> dataFills = {24, 4, 19, 22, 20, 15};

void fill(Range range, int colourIndex) {
    range.setInteriorColourIndex(colourIndex);
    range.setInteriorPattern(excel::patternSolid);
    range.setInteriorPatternColourIndex(excel::colourIndexAutomatic);
}

void box(Range range, int weight, int colourIndex) {
    range.borderAround(excel::lineContinuous, weight, colourIndex, boxColour);
}

void put(Worksheet& sheet, int row, int column, const QString& text) {
    sheet.cells(row, column).setValues({{text}});
}

QString footerDate(DateTimeChoice choice, const QDateTime& now, const QLocale& locale) {
    switch (choice) {
    case DateTimeChoice::Time:
        return formatDatePattern(timePattern(), now, locale);
    case DateTimeChoice::DateAndTime:
        return formatDatePattern(dateAndTimePattern(), now, locale);
    case DateTimeChoice::Date:
        break;
    }
    return formatDatePattern(datePattern(), now, locale);
}

// The table's texts from A1: sheet row r + 1 holds table row r (0 is the header), the header
// and the row numbers as the options say. Row by row, a block of the whole table would only
// cost memory.
void putTable(Worksheet& sheet, const SongTableModel& table, const ExcelOptions& options) {
    const int columns = SongTableModel::columnCountValue;
    const int firstColumn = options.numberOfRow ? 0 : 1;
    std::vector<std::vector<QString>> line(1, std::vector<QString>(columns));
    std::vector<QString>& values = line.front();
    for (int row = options.columnNames ? 0 : 1; row <= table.songCount(); ++row) {
        for (int column = firstColumn; column < columns; ++column) {
            values[static_cast<std::size_t>(column)] =
                row == 0 ? table.headerText(column) : table.cellRef(row, column);
        }
        sheet.range(row + 1, 1, row + 1, columns).setValues(line);
    }
}

void colourFills(Worksheet& sheet, const ExcelOptions& options, int n) {
    if (options.colourHeadingsFill) {
        if (options.numberOfRow) {
            fill(sheet.range(1, 1, n, 1), 8);
        }
        fill(sheet.range(1, 1, 1, formattedColumns), 6);
    }
    if (options.colourAllFill) {
        const int first = options.numberOfRow ? 2 : 1;
        for (std::size_t k = 0; k < dataFills.size(); ++k) {
            const int column = first + static_cast<int>(k);
            fill(sheet.range(2, column, n, column), dataFills[k]);
        }
        if (!options.numberOfRow) {
            fill(sheet.cells(1, formattedColumns), 2);
        }
    }
}

void colourTexts(Worksheet& sheet, const ExcelOptions& options, int n) {
    if (!options.colourAllText) {
        return;
    }
    for (int column = 1; column <= formattedColumns; ++column) {
        if (column == 1 && options.colourHeadingsText) {
            continue;
        }
        sheet.range(1, column, n, column)
            .setFontColour(columnColours[static_cast<std::size_t>(column - 1)]);
    }
}

void drawTableBoxes(Worksheet& sheet, const ExcelOptions& options, int n) {
    if (!options.colourAllBorders) {
        return;
    }
    switch (options.bordersDrawn) {
    case BordersDrawn::All:
        for (int row = 1; row < n; ++row) {
            for (int column = 1; column <= formattedColumns; ++column) {
                box(sheet.range(row, column, row + 1, column), tableBoxWeight, tableBoxColourIndex);
            }
        }
        break;
    case BordersDrawn::Horizontal:
        for (int row = 1; row < n; ++row) {
            box(sheet.range(row, 1, row + 1, formattedColumns), tableBoxWeight,
                tableBoxColourIndex);
        }
        break;
    case BordersDrawn::Vertical:
        for (int column = 1; column <= formattedColumns; ++column) {
            box(sheet.range(1, column, n, column), tableBoxWeight, tableBoxColourIndex);
        }
        break;
    }
}

void formatNumberColumn(Worksheet& sheet, const ExcelOptions& options, int n) {
    if (!options.numberOfRow) {
        return;
    }
    Range numbers = sheet.range(1, 1, n, 1);
    if (options.colourHeadingsText) {
        numbers.setFontColour(headingsColour);
    }
    if (options.colourHeadingsBorders) {
        for (int row = 1; row < n; ++row) {
            box(sheet.range(row, 1, row + 1, 1), headingBoxWeight, headingBoxColourIndex);
        }
    }
    numbers.setHorizontalAlignment(excel::alignCentre);
    if (options.italic) {
        numbers.setFontItalic(true);
    }
    numbers.setFontBold(true);
}

void formatHeaderRow(Worksheet& sheet, const ExcelOptions& options) {
    if (!options.columnNames) {
        return;
    }
    Range header = sheet.range(u"A1"_s, u"G1"_s);
    header.setHorizontalAlignment(excel::alignCentre);
    header.setFontBold(true);
    if (options.colourHeadingsText) {
        header.setFontColour(headingsColour);
    }
    if (options.colourHeadingsBorders) {
        box(header, headingBoxWeight, headingBoxColourIndex);
        for (int column = 1; column < formattedColumns; ++column) {
            box(sheet.range(1, column, 1, column + 1), headingBoxWeight, headingBoxColourIndex);
        }
    }
}

void setWidths(Worksheet& sheet, const ExcelOptions& options, const WidestCellLengths& widest,
               int n) {
    if (!options.numberOfRow) {
        sheet.range(1, 1, n, 1).setColumnWidth(31);
        // Table column 1 now stands in column A.
        sheet.range(1, 1, n, 1).deleteShiftLeft();
    } else {
        sheet.range(1, 1, n, 1).setColumnWidth(8);
    }
    if (!options.wideColumns) {
        return;
    }
    auto width = [&sheet, n](int column, int characters) {
        sheet.range(1, column, n, column).setColumnWidth(characters);
    };
    if (!options.numberOfRow) {
        for (int column = 1; column <= formattedColumns; ++column) {
            width(column, widest[column]);
        }
    } else {
        width(1, 9);
        for (int column = 2; column <= 6; ++column) {
            width(column, widest[column - 1]);
        }
        width(7, widest[6] + 1);
    }
}

void writeFooter(Worksheet& sheet, const ExcelOptions& options, const QDateTime& now,
                 const QLocale& locale, int n) {
    int offset = 0;
    if (options.addDateTime) {
        put(sheet, n + 3, 2 + offset, footerDate(options.whatAdded, now, locale));
        offset = 1;
        put(sheet, n + 2, 2, u"Additional information:"_s);
        if (options.colourAllFill) {
            fill(sheet.cells(n + 2, 2), 27);
        }
        sheet.cells(n + 2, 2).setHorizontalAlignment(excel::alignLeft);
        if (options.colourAllText) {
            sheet.cells(n + 3, 2).setFontColour(footerValuesColour);
        }
    }
    if (options.chooseList1) {
        put(sheet, n + 3, 2 + offset, options.list1Text);
        ++offset;
    }
    if (options.chooseList2) {
        put(sheet, n + 3, 2 + offset, options.list2Text);
        ++offset;
    }
    if (options.addString) {
        put(sheet, n + 3, 2 + offset, options.stringToAdd);
    }
}

} // namespace

bool buildExportWorkbook(WorkbookEngine& engine, const SongTableModel& table,
                         const ExcelOptions& options, const QDateTime& now, const QLocale& locale) {
    if (table.cellRef(1, SongColumn::Number).isEmpty()) {
        return false;
    }
    // n: the header row and the data rows; the last data row is sheet row n.
    const int n = table.songCount() + 1;
    const int c = SongTableModel::columnCountValue;

    engine.addWorkbook();
    Worksheet& sheet = engine.workbook(1).worksheet(1);
    putTable(sheet, table, options);
    sheet.setName(exportSheetName.toString());
    Range all = sheet.columns();
    all.setHorizontalAlignment(excel::alignRight);
    all.setColumnWidth(14);

    colourFills(sheet, options, n);
    colourTexts(sheet, options, n);
    drawTableBoxes(sheet, options, n);
    formatNumberColumn(sheet, options, n);
    formatHeaderRow(sheet, options);
    setWidths(sheet, options, table.widestCellLengths(), n);
    // A catalogue in the spreadsheet program: the header stays on screen, every column filters.
    int lastColumn = c;
    while (lastColumn > 1 && sheet.value(1, lastColumn).isEmpty()) {
        --lastColumn;
    }
    sheet.freezeTopRows(1);
    sheet.setAutoFilter(n, lastColumn);
    writeFooter(sheet, options, now, locale, n);
    return true;
}

ExcelExportOutcome exportToExcel(WorkbookEngine& engine, const SongTableModel& table,
                                 const ExcelOptions& options, const QDateTime& now,
                                 const QLocale& locale, const DesktopOpener& openWithDesktop) {
    ExcelExportOutcome outcome;
    if (table.cellRef(1, SongColumn::Number).isEmpty()) {
        return outcome;
    }
    const EngineCommand<WorkbookEngine> command(engine);
    buildExportWorkbook(engine, table, options, now, locale);
    const std::vector<WorkbookHandOver> handOvers = engine.show(openWithDesktop);
    outcome.notShown = filesNotShown(handOvers);
    outcome.messages = handOverMessages(handOvers);
    outcome.exported = true;
    return outcome;
}

ExcelExportOutcome saveExportWorkbook(WorkbookEngine& engine, const SongTableModel& table,
                                      const ExcelOptions& options, const QDateTime& now,
                                      const QLocale& locale, const QString& path) {
    ExcelExportOutcome outcome;
    const EngineCommand<WorkbookEngine> command(engine);
    if (!buildExportWorkbook(engine, table, options, now, locale)) {
        return outcome;
    }
    // The library writes a file of its own; it replaces the target only once it is complete.
    const QTemporaryDir scratch;
    if (!scratch.isValid()) {
        throw UserError(scratch.errorString());
    }
    const QString written = scratch.filePath(u"export.xlsx"_s);
    if (writeXlsx(engine.workbook(1), written).cutCells > 0) {
        outcome.messages.append(cutCellsMessage());
    }
    writeFileAtomically(path, readFileBounded(written, std::numeric_limits<qint64>::max()));
    engine.quit();
    outcome.exported = true;
    return outcome;
}

QString exportWorkbookFilter() {
    return officeTexts::exportWorkbookFilter();
}

} // namespace corvanteller
