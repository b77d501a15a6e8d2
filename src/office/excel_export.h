#pragma once

#include "office/hand_over.h"

#include <QDateTime>
#include <QLocale>
#include <QStringList>
#include <QStringView>

namespace corvanteller {

class SongTableModel;
class WorkbookEngine;
struct ExcelOptions;

inline constexpr QStringView exportSheetName = u"Список караоке файлов";

// Builds the export's workbook in the engine as File > Export > "Ms &Excel" does, before it is
// made visible: the table's cells (numbers, header row as the options say), the sheet's name,
// the fills, font colours, boxes and widths the options select, the widths from the table's
// widest-cell lengths and the footer with the date or time, the list texts and the string.
// False, and the engine untouched, when the table has no data rows.
bool buildExportWorkbook(WorkbookEngine& engine, const SongTableModel& table,
                         const ExcelOptions& options, const QDateTime& now, const QLocale& locale);

struct ExcelExportOutcome {
    bool exported = false;
    // What the user is told after the hand-over (where the workbook was saved when no program
    // showed it; that texts were cut).
    QStringList messages;
};

// The whole command: the engine starts empty, the workbook is built and handed over to the
// desktop's spreadsheet program. A failure drops what was built; the table and the options
// are never changed.
ExcelExportOutcome exportToExcel(WorkbookEngine& engine, const SongTableModel& table,
                                 const ExcelOptions& options, const QDateTime& now,
                                 const QLocale& locale, const DesktopOpener& openWithDesktop);

} // namespace corvanteller
