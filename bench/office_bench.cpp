// SPDX-License-Identifier: GPL-3.0-or-later
// Times the office commands on a full table of 45,002 rows: the export to .xlsx with every
// option on and "All" borders, the import of that file (table fill and width mode 2 included)
// and of the same sheet as .xls through the helper, and the save of the table's 45,002 lines as
// a Word document. Run by hand: office_bench [rounds].
// office_bench ROUNDS --save: times only "Save workbook as..." with the default options, the
// workbook part of the command line's export to .xlsx: at most 400 ms for 45,002 rows.
// office_bench ROUNDS WORKBOOK...: times only the import of each workbook (written by a
// spreadsheet program, say), table fill and width mode 2 included: at most 1 s for 45,002 rows.

#include "bench_timing.h"
#include "office/excel_export.h"
#include "office/excel_import.h"
#include "office/word_commands.h"
#include "office/workbook_engine.h"
#include "office/workbook_file.h"
#include "office/xls_reader.h"
#include "office/xlsx_writer.h"
#include "settings/options.h"
#include "support/xls_builder.h"
#include "table/table_session.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

using namespace corvanteller;
using namespace corvanteller::bench;
using namespace Qt::StringLiterals;

namespace {

// Texts like a karaoke collection's: Latin and Russian names, folders shared by about 30 files.
void fillStore(RowStore& store) {
    QRandomGenerator random(45002);
    const QStringList artists = {u"Alla Pugacheva"_s,    u"Кино"_s,        u"ABBA"_s,
                                 u"Владимир Высоцкий"_s, u"The Beatles"_s, u"Любэ"_s};
    const QStringList words = {u"love"_s,   u"night"_s,  u"город"_s, u"звезда"_s,
                               u"summer"_s, u"дорога"_s, u"heart"_s, u"весна"_s};
    QString folder;
    for (int row = 1; row <= RowStore::maxRows; ++row) {
        const QString artist = artists[random.bounded(static_cast<int>(artists.size()))];
        if (row % 30 == 1) {
            folder = u"/home/user/Karaoke/"_s + artist + u"/Collection "_s +
                     QString::number(row / 30) + u'/';
        }
        QString song;
        for (int i = 0, count = 1 + random.bounded(5); i < count; ++i) {
            song += (i > 0 ? u" "_s : QString()) +
                    words[random.bounded(static_cast<int>(words.size()))];
        }
        store.setText(SongColumn::FileName, row, artist + u" - "_s + song + u".kar"_s);
        store.setText(SongColumn::Folder, row, folder);
        store.setText(SongColumn::Title, row, song);
        store.setText(SongColumn::TextD, row, random.bounded(2) ? artist : QString());
        store.setText(SongColumn::TextE, row,
                      random.bounded(3) == 0 ? u"Words and music"_s : QString());
        store.setText(SongColumn::Maker, row,
                      random.bounded(2) ? u"Made by KarMaster"_s : QString());
    }
    store.setRowCount(RowStore::maxRows);
}

void report(const char* name, const Timing& timing, double target = 0) {
    std::printf("%-34s min %8.1f ms  median %8.1f ms  processor %8.1f ms", name, timing.min,
                timing.median, timing.cpuMedian);
    if (target > 0) {
        std::printf("  (target <= %.0f ms)%s", target, timing.median <= target ? "" : "  OVER");
    }
    std::printf("\n");
}

// "Save workbook as..." with the default options, as the command line's export to .xlsx writes
// it, and its steps.
void timeSave(const SongTableModel& table, int rounds, const QString& folder) {
    const ExcelOptions options;
    const QDateTime now = QDateTime::currentDateTime();
    const QString path = folder + u"/saved.xlsx"_s;
    WorkbookEngine engine;
    report("save workbook, default options",
           timeIt(rounds,
                  [&] { saveExportWorkbook(engine, table, options, now, QLocale::c(), path); }),
           400);
    report("  building the workbook only", timeIt(rounds, [&] {
               buildExportWorkbook(engine, table, options, now, QLocale::c());
               engine.quit();
           }));
    buildExportWorkbook(engine, table, options, now, QLocale::c());
    report("  writing it only", timeIt(rounds, [&] { writeXlsx(engine.workbook(1), path); }));
    engine.quit();
    std::printf("  file size %lld bytes\n", static_cast<long long>(QFile(path).size()));
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    setXlsReaderPath(QStringLiteral(CORVANTELLER_XLS_READER_PATH));
    QTemporaryDir folder;

    if (argc > 2 && qstrcmp(argv[2], "--save") != 0) {
        const QFontMetrics fontMetrics(QGuiApplication::font());
        ImportWidths importWidths;
        importWidths.mode = ColumnWidthMode::WidestLine;
        importWidths.measure = [&fontMetrics](const QString& text) {
            return fontMetrics.horizontalAdvance(text);
        };
        WorkbookEngine reader;
        for (int i = 2; i < argc; ++i) {
            const QString path = QString::fromLocal8Bit(argv[i]);
            TableSession table;
            ImportOutcome imported;
            std::printf("%s\n", argv[i]);
            report("  import, width mode 2",
                   timeIt(rounds,
                          [&] {
                              imported = importFromExcel(reader, path, ImportingWindow::Main, table,
                                                         importWidths, QLocale::system());
                          }),
                   1000);
            report("  reading it only", timeIt(rounds, [&] { readFirstWorksheet(path); }));
            std::printf("  %d rows imported\n", imported.dataRows);
        }
        return 0;
    }

    TableSession source;
    fillStore(source.startStore());
    source.model().rebuildFrom(source.startStore());
    const QFontMetrics metrics(QGuiApplication::font());
    const TextWidth measure = [&metrics](const QString& text) {
        return metrics.horizontalAdvance(text);
    };
    source.model().setWidestCellLengths(
        applyColumnWidthMode(ColumnWidthMode::WidestLine, source.model(), {}, {}, measure).widest);
    timeSave(source.model(), rounds, folder.path());
    if (argc > 2) {
        return 0;
    }

    ExcelOptions options;
    options.bordersDrawn = BordersDrawn::All;
    options.chooseList1 = true;
    options.addString = true;
    options.whatAdded = DateTimeChoice::DateAndTime;
    const QDateTime now = QDateTime::currentDateTime();

    WorkbookEngine engine;
    engine.setHandOverFolder(folder.filePath(u"handover"_s));
    QString exported;
    report("export, every option, All borders",
           timeIt(rounds,
                  [&] {
                      exportToExcel(engine, source.model(), options, now, QLocale::c(),
                                    [&exported](const QString& path) {
                                        exported = path;
                                        return true;
                                    });
                  }),
           2000);
    report("  building the workbook only", timeIt(rounds, [&] {
               buildExportWorkbook(engine, source.model(), options, now, QLocale::c());
               engine.quit();
           }));
    buildExportWorkbook(engine, source.model(), options, now, QLocale::c());
    const QString written = folder.filePath(u"written.xlsx"_s);
    report("  writing it only", timeIt(rounds, [&] { writeXlsx(engine.workbook(1), written); }));
    engine.quit();
    std::printf("  file size %lld bytes\n", static_cast<long long>(QFile(exported).size()));

    ImportWidths widths;
    widths.mode = ColumnWidthMode::WidestLine;
    widths.measure = measure;
    TableSession target;
    ImportOutcome outcome;
    report("import .xlsx, width mode 2",
           timeIt(rounds,
                  [&] {
                      outcome = importFromExcel(engine, exported, ImportingWindow::Main, target,
                                                widths, QLocale::system());
                  }),
           2000);
    report("  reading it only", timeIt(rounds, [&] { readFirstWorksheet(exported); }));
    bool same = outcome.dataRows == RowStore::maxRows;
    for (int row = 1; same && row <= RowStore::maxRows; ++row) {
        for (int column = 1; column < 7; ++column) {
            same = same && target.model().cell(row, column) == source.model().cell(row, column);
        }
    }
    std::printf("  imported table %s the exported one\n", same ? "equals" : "DIFFERS FROM");

    // The same sheet as an .xls file.
    const std::unique_ptr<Worksheet> sheet = readFirstWorksheet(exported);
    test::XlsBuilder xls;
    const CellPosition last = sheet->lastUsedCell();
    for (int row = 1; row <= last.row; ++row) {
        for (int column = 1; column <= std::min(last.column, 7); ++column) {
            if (!sheet->value(row, column).isEmpty()) {
                xls.text(row, column, sheet->value(row, column).text());
            }
        }
    }
    const QString xlsPath = folder.filePath(u"songs.xls"_s);
    QFile xlsFile(xlsPath);
    if (!xlsFile.open(QIODevice::WriteOnly) || xlsFile.write(xls.bytes()) < 0) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(xlsPath));
        return 1;
    }
    xlsFile.close();
    TableSession xlsTarget;
    report("import .xls, width mode 2",
           timeIt(rounds,
                  [&] {
                      outcome = importFromExcel(engine, xlsPath, ImportingWindow::Main, xlsTarget,
                                                widths, QLocale::system());
                  }),
           2000);
    report("  the helper only", timeIt(rounds, [&] { readFirstWorksheet(xlsPath); }));
    bool sameXls = outcome.dataRows == RowStore::maxRows;
    for (int row = 1; sameXls && row <= RowStore::maxRows; ++row) {
        for (int column = 1; column < 7; ++column) {
            sameXls =
                sameXls && xlsTarget.model().cell(row, column) == source.model().cell(row, column);
        }
    }
    std::printf("  imported table %s the exported one\n", sameXls ? "equals" : "DIFFERS FROM");

    // The table's text: one line per row, cells separated by TAB.
    QString text;
    for (int row = 1; row <= source.model().songCount(); ++row) {
        for (int column = 0; column < 7; ++column) {
            text += source.model().cellRef(row, column) + u'\t';
        }
        text += u'\n';
    }
    DocumentEngine words;
    const QString document = folder.filePath(u"songs.docx"_s);
    report("Word document of 45,002 lines",
           timeIt(rounds, [&] { saveText(words, text, document); }), 1000);
    std::printf("  file size %lld bytes\n", static_cast<long long>(QFile(document).size()));
    return same && sameXls ? 0 : 1;
}
