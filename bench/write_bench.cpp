// SPDX-License-Identifier: GPL-3.0-or-later
// write_bench [--files N] [--dir DIR] [--runs R]: writes a karaoke tree of N files (20,000) into
// DIR (made afresh), scans it, then times writing every row's changed title into its file and
// the undo, R times (1) with every flush and R times without, and gives the best of each.
#include "kar_tree_generator.h"

#include "rename/rename_primitive.h"
#include "scan/folder_scan.h"
#include "write/text_write_run.h"

#include <QFile>
#include <QString>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

using namespace corvanteller;

namespace {

double secondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The processor time of the whole process, its helper threads included: what is not waiting.
double processorSeconds() {
    return static_cast<double>(std::clock()) / CLOCKS_PER_SEC;
}

} // namespace

int main(int argc, char** argv) {
    bench::KarTreeOptions options;
    std::filesystem::path dir = "/tmp/corvanteller-write-bench";
    int runs = 1;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string option = argv[i];
        if (option == "--files") {
            options.karaokeFiles = std::stoi(argv[i + 1]);
        } else if (option == "--dir") {
            dir = argv[i + 1];
        } else if (option == "--runs") {
            runs = std::max(1, std::stoi(argv[i + 1]));
        }
    }
    std::filesystem::remove_all(dir);
    const bench::KarTreeSummary summary = bench::writeKarTree(dir / "tree", options);
    std::printf("tree: %d karaoke files (%d Soft Karaoke), %lld bytes\n", summary.karaokeFiles,
                summary.softKaraokeFiles, static_cast<long long>(summary.bytes));

    std::vector<TextWriteRequest> requests;
    auto start = std::chrono::steady_clock::now();
    scanFolder(ScanRequest::forFolder(QString::fromStdString((dir / "tree").string()),
                                      RunSet::StartWindow, false),
               [&](const QString& name, const QString& folder, const SongTexts& texts) {
                   SongTexts changed = texts;
                   changed.first = QStringLiteral("Corrected ") + texts.first;
                   requests.push_back(
                       {int(requests.size()) + 1, QFile::encodeName(folder + name), changed});
               });
    std::printf("scan: %zu rows in %.2f s\n", requests.size(), secondsSince(start));

    const QString journal = QString::fromStdString((dir / "write-journal.txt").string());
    for (const bool flushes : {true, false}) {
        double best = 0;
        for (int run = 0; run < runs; ++run) {
            TextWriteServices services{systemFileSystem(), journal};
            services.flushes = flushes;
            start = std::chrono::steady_clock::now();
            double processor = processorSeconds();
            const TextWriteRunResult written =
                writeTextsIntoFiles(requests, RunSet::StartWindow, services);
            const double writeSeconds = secondsSince(start);
            const double writeProcessor = processorSeconds() - processor;
            best = run == 0 ? writeSeconds : std::min(best, writeSeconds);
            start = std::chrono::steady_clock::now();
            processor = processorSeconds();
            const TextWriteRunResult undone = undoLastTextWriting(services);
            std::printf("%s: %d written, %d refused in %.2f s (processor %.2f s); undo: %d put "
                        "back in %.2f s (processor %.2f s)\n",
                        flushes ? "with flushes" : "without flushes", written.written,
                        written.refused, writeSeconds, writeProcessor, undone.written,
                        secondsSince(start), processorSeconds() - processor);
        }
        std::printf("%s: best of %d: %.2f s\n", flushes ? "with flushes" : "without flushes", runs,
                    best);
    }
    return 0;
}
