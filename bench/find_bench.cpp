// SPDX-License-Identifier: GPL-3.0-or-later
// Times the find bar's steps on a full table of 45,002 rows: typing a text letter by letter,
// "Next" through the matches, a text found nowhere (every cell read), and the same in the text
// view's editor holding the table as text. Run by hand: find_bench [rounds].

#include "bench_timing.h"
#include "collection_rows.h"
#include "table/song_table_model.h"
#include "table/table_find.h"

#include <QGuiApplication>
#include <QTextDocument>

#include <algorithm>
#include <cstdio>

using namespace corvanteller;
using namespace corvanteller::bench;
using namespace Qt::StringLiterals;

namespace {

constexpr double targetMs = 30;

// Runs steps one at a time: the slowest step counts, on the clock and in the process's own
// processor time (what the machine's other load leaves out).
template <typename Step> void timeSteps(const char* name, int rounds, Step&& step) {
    std::vector<double> times;
    std::vector<double> cpuTimes;
    for (int i = 0; i < rounds; ++i) {
        const Timing timing = timeIt(1, step);
        times.push_back(timing.min);
        cpuTimes.push_back(timing.cpuMedian);
    }
    std::sort(times.begin(), times.end());
    std::sort(cpuTimes.begin(), cpuTimes.end());
    std::printf("%-34s median %6.2f ms, slowest %6.2f ms; processor median %6.2f ms, slowest "
                "%6.2f ms  (target <= %.0f ms)%s\n",
                name, times[times.size() / 2], times.back(), cpuTimes[cpuTimes.size() / 2],
                cpuTimes.back(), targetMs, cpuTimes.back() <= targetMs ? "" : "  OVER");
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 50;

    RowStore store;
    fillLikeACollection(store);
    SongTableModel model;
    model.rebuildFrom(store);

    // Typing "Машина врем" from the first cell: each letter is one step from the current cell.
    const QString typed = u"Машина врем"_s;
    int letter = 0;
    TableCell current{1, 1};
    bool allFound = true;
    timeSteps("table: typing, per letter", static_cast<int>(typed.size()), [&] {
        ++letter;
        const CellFindResult result =
            findCell(model, FindPattern(typed.left(letter)), current, FindStep::Typed);
        allFound = allFound && result.outcome.found;
        current = result.cell;
    });

    const FindPattern often(u"Кино"_s);
    int found = 0;
    timeSteps("table: Next, a frequent text", rounds, [&] {
        const CellFindResult result = findCell(model, often, current, FindStep::Next);
        found += result.outcome.found ? 1 : 0;
        current = result.cell;
    });

    // Seldom: a maker line that only some rows hold, with many near misses.
    const FindPattern seldom(u"Sequenced by J. Smith"_s);
    timeSteps("table: Previous, a seldom text", rounds,
              [&] { current = findCell(model, seldom, current, FindStep::Previous).cell; });

    const FindPattern nowhere(u"Made by KarMaster 2000"_s);
    bool foundNowhere = true;
    timeSteps("table: Next, found nowhere", rounds, [&] {
        foundNowhere =
            foundNowhere && !findCell(model, nowhere, current, FindStep::Next).outcome.found;
    });

    // The text view: the table as lines of tab-separated text; each step takes the editor's
    // plain text anew, as the view does.
    QString text;
    for (int row = 1; row <= model.songCount(); ++row) {
        text += model.cell(row, 0) + u'\t';
        for (int column = 1; column < tableColumnCount; ++column) {
            text += model.cell(row, column) + u'\t';
        }
        text += u'\n';
    }
    QTextDocument document;
    document.setPlainText(text);
    qsizetype position = 0;
    timeSteps("text view: Next, a frequent text", rounds, [&] {
        const QString plain = document.toPlainText();
        const TextFindResult result =
            findInText(plain, often, position, position + often.length(), FindStep::Next);
        position = result.position;
    });
    timeSteps("text view: Next, found nowhere", rounds, [&] {
        const QString plain = document.toPlainText();
        foundNowhere =
            foundNowhere && !findInText(plain, nowhere, 0, 0, FindStep::Next).outcome.found;
    });
    std::printf("  %d rows, %lld characters of text; %d of %d Next steps found a cell\n",
                model.songCount(), static_cast<long long>(text.size()), found, rounds);
    return allFound && foundNowhere && found == rounds ? 0 : 1;
}
