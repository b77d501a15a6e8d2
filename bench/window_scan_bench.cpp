// SPDX-License-Identifier: GPL-3.0-or-later
// window_scan_bench DIR [runs]: times a window's scan of the karaoke tree DIR (made by
// scan_bench --dir DIR or kar_tree_generator) with a warm page cache, through the window's own
// path: the folder's check, the scan on its thread with the window showing its progress, the
// rows into the row store. The plain in-process scan runs between, so that a load that comes
// and goes on the machine hits both alike. Offscreen unless QT_QPA_PLATFORM says otherwise.
#include "kar/row_store.h"
#include "scan/folder_scan.h"
#include "scan/window_scan.h"
#include "settings/options.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QWidget>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

using namespace corvanteller;

struct Spread {
    std::vector<double> seconds;

    double best() const { return *std::min_element(seconds.begin(), seconds.end()); }
    double median() const {
        std::vector<double> sorted = seconds;
        std::sort(sorted.begin(), sorted.end());
        return sorted[sorted.size() / 2];
    }
};

template <typename Work> double secondsOf(Work&& work) {
    QElapsedTimer timer;
    timer.start();
    work();
    return static_cast<double>(timer.nsecsElapsed()) / 1e9;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: window_scan_bench DIR [runs]\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 7;

    QWidget window;
    auto* bar = new QProgressBar(&window);
    auto* errorLabel = new QLabel(&window);
    auto* progressLabel = new QLabel(&window);
    auto* stop = new QPushButton(QStringLiteral("Stop"), &window);
    stop->hide();
    window.resize(400, 100);
    window.show();
    const ScanFolderSeam noSeam;
    WindowScan scan({&window, bar, errorLabel, progressLabel, stop}, noSeam);
    Options options;
    RowStore windowRows;
    RowStore rows;
    const ScanRequest request = ScanRequest::forFolder(folder, RunSet::StartWindow, false);

    // Warm the page cache and the row stores once, untimed.
    scan.scanFolder(folder, options, windowRows, RunSet::StartWindow);
    scanFolder(request, rows);

    Spread windowScan;
    Spread inProcess;
    for (int i = 0; i < runs; ++i) {
        windowScan.seconds.push_back(
            secondsOf([&] { scan.scanFolder(folder, options, windowRows, RunSet::StartWindow); }));
        inProcess.seconds.push_back(secondsOf([&] { scanFolder(request, rows); }));
    }
    std::printf("%d rows, %d runs, warm page cache:\n", windowRows.rowCount(), runs);
    std::printf("  window's scan:    best %6.3f s  median %6.3f s\n", windowScan.best(),
                windowScan.median());
    std::printf("  in-process scan:  best %6.3f s  median %6.3f s\n", inProcess.best(),
                inProcess.median());
    return windowRows.rowCount() == rows.rowCount() && rows.rowCount() > 0 ? 0 : 1;
}
