// SPDX-License-Identifier: GPL-3.0-or-later
// Times the song table's bulk operations on a full table of 45,002 rows: the rebuild from a
// row store, column-width mode 2 in a real font, saving and opening the list file, and the
// process's peak memory. Run by hand: table_bench [rounds]; TABLE_BENCH_FONT="family,points"
// measures in another font.

#include "bench_timing.h"
#include "collection_rows.h"
#include "common/find_pattern.h"
#include "kar/row_store.h"
#include "table/column_widths.h"
#include "table/list_file.h"
#include "table/song_table_model.h"
#include "table/table_controller.h"
#include "table/table_duplicates.h"
#include "table/table_filter.h"
#include "table/table_history.h"
#include "table/table_session.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFont>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

using namespace corvanteller;
using namespace corvanteller::bench;
using namespace Qt::StringLiterals;

namespace {

void report(const char* name, const Timing& timing, double target) {
    std::printf("%-28s min %8.1f ms  median %8.1f ms  (target <= %.0f ms)%s\n", name, timing.min,
                timing.median, target, timing.median <= target ? "" : "  OVER");
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    const QStringList font = qEnvironmentVariable("TABLE_BENCH_FONT").split(u',');
    if (font.size() == 2) {
        QGuiApplication::setFont(QFont(font[0], font[1].toInt()));
    }

    RowStore store;
    fillLikeACollection(store);
    SongTableModel model;

    report("rebuild", timeIt(rounds, [&] { model.rebuildFrom(store); }), 50);

    const QFontMetrics metrics(QGuiApplication::font());
    long long measured = 0;
    const TextWidth measure = [&](const QString& text) {
        ++measured;
        return metrics.horizontalAdvance(text);
    };
    ColumnLayout layout;
    report("width mode 2",
           timeIt(rounds,
                  [&] {
                      layout =
                          applyColumnWidthMode(ColumnWidthMode::WidestLine, model, {}, {}, measure);
                  }),
           300);
    std::printf("  font \"%s\" %d pt, %lld texts measured per run of %d cells\n",
                qPrintable(QGuiApplication::font().family()), QGuiApplication::font().pointSize(),
                measured / rounds, 6 * (RowStore::maxRows + 1));

    // The same widths when every cell is measured.
    QElapsedTimer timer;
    timer.start();
    bool same = true;
    for (int column = 1; column <= 6; ++column) {
        int best = 0;
        int length = 0;
        for (int row = 0; row <= model.songCount(); ++row) {
            const QString text = row == 0 ? model.headerText(column) : model.cell(row, column);
            const int width = metrics.horizontalAdvance(text);
            if (width > best) {
                best = width;
                length = static_cast<int>(text.size());
            }
        }
        same = same && layout.widths[static_cast<std::size_t>(column)] == best + 4 &&
               layout.widest[column] == length;
    }
    std::printf("  measuring every cell: %.1f ms, %s\n",
                static_cast<double>(timer.nsecsElapsed()) / 1e6,
                same ? "same widths and lengths" : "DIFFERENT RESULT");

    QTemporaryDir folder;
    const QString path = folder.path() + u"/songs.sgl"_s;
    report("list save", timeIt(rounds, [&] { writeListFile(path, model); }), 300);
    std::printf("  file size %lld bytes\n", static_cast<long long>(QFile(path).size()));
    SongTableModel opened;
    ListOpenResult result;
    report("list open", timeIt(rounds, [&] { result = openListFile(path, opened, 0); }), 300);
    bool equal = result.opened() && opened.songCount() == model.songCount();
    for (int row = 1; equal && row <= model.songCount(); ++row) {
        for (int column = 0; column < 7; ++column) {
            equal = equal && opened.cell(row, column) == model.cell(row, column);
        }
    }
    std::printf("  opened table %s the saved one\n", equal ? "equals" : "DIFFERS FROM");

    // The catalogue's commands on the same rows, as the main window runs them (the row stores
    // refreshed after every step included; the grid's redraw is not).
    TableSession session;
    session.mainStore() = store;
    session.origin = TableOrigin::MainWindow;
    session.model().rebuildFrom(store);
    TableController controller(session, QLocale(QLocale::Russian, QLocale::Russia));
    report("sort by title", timeIt(rounds, [&] { controller.sortBy(SongColumn::Title); }), 100);
    report("undo a sort",
           timeIt(rounds,
                  [&] {
                      controller.undo();
                      controller.redo();
                  }),
           200);
    std::printf("  (an undo and a redo per round)\n");
    std::vector<bool> shown;
    report("filter keystroke",
           timeIt(rounds,
                  [&] {
                      shown = rowsShownByFilter(session.model(), FindPattern(u"любэ"_s),
                                                anyFilterColumn);
                  }),
           30);
    std::printf("  %lld rows shown\n",
                static_cast<long long>(std::count(shown.begin(), shown.end(), true)));
    std::vector<int> duplicates;
    report("mark duplicates",
           timeIt(rounds, [&] { duplicates = rowsWithDuplicateTexts(session.model()); }), 200);
    std::printf("  %zu duplicates\n", duplicates.size());

    const long peak = peakMemoryKb();
    std::printf("%-28s %8.1f MB  (target <= 150 MB)%s\n", "peak memory (VmHWM)",
                static_cast<double>(peak) / 1024.0, peak <= 150 * 1024 ? "" : "  OVER");
    return same && equal ? 0 : 1;
}
