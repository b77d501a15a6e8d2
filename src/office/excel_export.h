// SPDX-License-Identifier: GPL-3.0-or-later
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
    // The workbook's file when no program showed it.
    QStringList notShown;
    // What else the user is told: that texts were cut.
    QStringList messages;
};

// The whole command: the engine starts empty, the workbook is built and handed over to the
// desktop's spreadsheet program. A failure drops what was built; the table and the options
// are never changed.
ExcelExportOutcome exportToExcel(WorkbookEngine& engine, const SongTableModel& table,
                                 const ExcelOptions& options, const QDateTime& now,
                                 const QLocale& locale, const DesktopOpener& openWithDesktop);

// "Save workbook as...": the same workbook written to path, an existing file replaced only once
// the new one is complete; nothing is handed over. Not exported when the table is empty.
ExcelExportOutcome saveExportWorkbook(WorkbookEngine& engine, const SongTableModel& table,
                                      const ExcelOptions& options, const QDateTime& now,
                                      const QLocale& locale, const QString& path);
// Its save dialog: "Ms Excel workbook (*.xlsx)".
QString exportWorkbookFilter();

} // namespace corvanteller
