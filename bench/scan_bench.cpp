// SPDX-License-Identifier: GPL-3.0-or-later
// scan_bench [--files N] [--dir DIR] [--tags early|late|no-info|no-words|mixed] [--runs N]
// [--helpers N] [--cold] [--cache] [--rescan-only] [--identical]:
// times the folder scan, in process and as the command-line front end's whole run, against a
// plain walk that reads every karaoke file whole, over the same karaoke tree with a warm page
// cache. --tags places the Soft Karaoke tags (default: no-info, where a third of the files are
// read to their end). --cold drops the contents of every file of the tree from the page cache
// before each timed run (posix_fadvise POSIX_FADV_DONTNEED), so that the runs read the disk.
// --cache times the scan with the scan cache instead: with an empty cache (what the cache
// costs when nothing matches), and rescans of the unchanged tree, warm and cold; --rescan-only
// times the warm rescans alone (for a profiler's or strace's count of them). --identical
// times Table > "Mark identical files" on the scanned table, warm and cold.
#include "kar_tree_generator.h"

#include "kar/row_store.h"
#include "rename/file_lookup.h"
#include "scan/folder_scan.h"
#include "scan/scan_cache.h"
#include "table/song_table_model.h"
#include "table/table_duplicates.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <dirent.h>
#include <exception>
#include <fcntl.h>
#include <fstream>
#include <spawn.h>
#include <sstream>
#include <stdexcept>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace corvanteller::bench {
namespace {

constexpr double targetFilesPerSecond = 30000.0;
constexpr double targetRatio = 0.5;
// Written into the tree's root; its name holds no "kar", so the scan passes over it.
constexpr const char* stampName = "generated-tree.txt";

struct Arguments {
    int files = 20000;
    int runs = 7;
    int helpers = -1; // threads reading ahead in the in-process scan; -1: the scan's default
    SoftKaraokeTags tags = SoftKaraokeTags::NoInfo;
    bool cold = false;
    bool cache = false;
    bool rescanOnly = false;
    bool identical = false; // times Mark identical files on the scanned tree instead
    std::string dir;        // empty: a temporary folder, removed at the end
    std::string cli = CORVANTELLER_CLI_PATH;
};

int parseCount(const char* text) {
    int count = 0;
    const char* end = text + std::strlen(text);
    const auto [rest, error] = std::from_chars(text, end, count);
    if (error != std::errc() || rest != end || count <= 0) {
        throw std::runtime_error(std::string("not a count: ") + text);
    }
    return count;
}

Arguments parseArguments(int argc, char** argv) {
    Arguments arguments;
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        if (option == "--files" && i + 1 < argc) {
            arguments.files = parseCount(argv[++i]);
        } else if (option == "--runs" && i + 1 < argc) {
            arguments.runs = parseCount(argv[++i]);
        } else if (option == "--helpers" && i + 1 < argc) {
            arguments.helpers = std::atoi(argv[++i]);
        } else if (option == "--cold") {
            arguments.cold = true;
        } else if (option == "--identical") {
            arguments.identical = true;
        } else if (option == "--cache") {
            arguments.cache = true;
        } else if (option == "--rescan-only") {
            arguments.cache = true;
            arguments.rescanOnly = true;
        } else if (option == "--dir" && i + 1 < argc) {
            arguments.dir = argv[++i];
        } else if (option == "--cli" && i + 1 < argc) {
            arguments.cli = argv[++i];
        } else if (!(option == "--tags" && i + 1 < argc && parseTags(argv[++i], arguments.tags))) {
            throw std::runtime_error("usage: scan_bench [--files N] [--dir DIR] [--tags "
                                     "early|late|no-info|no-words|mixed] [--runs N] [--helpers N] "
                                     "[--cold] [--cache] [--rescan-only] [--cli PATH]");
        }
    }
    return arguments;
}

std::string readStamp(const std::filesystem::path& root) {
    std::ifstream in(root / stampName);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// Reuses a tree that this tool generated with the same options; generates one otherwise.
void prepareTree(const std::filesystem::path& root, const KarTreeOptions& options) {
    const std::string description = describeTree(options) + '\n';
    if (std::filesystem::exists(root / stampName) && readStamp(root) == description) {
        std::printf("Reusing the karaoke tree in %s\n", root.c_str());
        return;
    }
    std::printf("Generating %d karaoke files in %s ...\n", options.karaokeFiles, root.c_str());
    std::fflush(stdout);
    const KarTreeSummary summary = writeKarTree(root, options);
    std::ofstream(root / stampName) << description;
    std::printf("  %d karaoke files (%d Soft Karaoke), %d other files, %d folders, %.0f MB\n",
                summary.karaokeFiles, summary.softKaraokeFiles, summary.otherFiles, summary.folders,
                static_cast<double>(summary.bytes) / 1e6);
}

bool namesKaraokeFile(const char* name) {
    return std::strstr(name, "kar") != nullptr || std::strstr(name, "KAR") != nullptr;
}

struct BaselineCount {
    int files = 0;
    long long bytes = 0;
};

// The least any scan must do: list every folder and read every karaoke file to its end.
BaselineCount readTreeWhole(const std::string& root) {
    BaselineCount count;
    std::deque<std::string> folders{root};
    static char block[8192];
    while (!folders.empty()) {
        const std::string folder = std::move(folders.front());
        folders.pop_front();
        DIR* dir = ::opendir(folder.c_str());
        if (dir == nullptr) {
            continue;
        }
        const int dirFd = ::dirfd(dir);
        while (const dirent* entry = ::readdir(dir)) {
            const char* name = entry->d_name;
            if (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0) {
                continue;
            }
            unsigned char type = entry->d_type;
            if (type == DT_UNKNOWN) {
                struct stat status {};
                if (::fstatat(dirFd, name, &status, AT_SYMLINK_NOFOLLOW) == 0) {
                    type = S_ISDIR(status.st_mode)   ? DT_DIR
                           : S_ISREG(status.st_mode) ? DT_REG
                                                     : DT_UNKNOWN;
                }
            }
            if (type == DT_DIR) {
                folders.push_back(folder + '/' + name);
                continue;
            }
            if (type != DT_REG || !namesKaraokeFile(name)) {
                continue;
            }
            const int fd = ::openat(dirFd, name, O_RDONLY | O_CLOEXEC);
            if (fd < 0) {
                throw std::runtime_error(folder + '/' + name + ": cannot open");
            }
            ssize_t size = 0;
            while ((size = ::read(fd, block, sizeof block)) > 0) {
                count.bytes += size;
            }
            ::close(fd);
            if (size < 0) {
                throw std::runtime_error(folder + '/' + name + ": cannot read");
            }
            ++count.files;
        }
        ::closedir(dir);
    }
    return count;
}

// Drops the contents of every file below root from the page cache; folders stay cached.
void evictTree(const std::filesystem::path& root) {
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
        if (!entry.is_regular_file()) {
            continue;
        }
        const int fd = ::open(entry.path().c_str(), O_RDONLY | O_CLOEXEC);
        if (fd >= 0) {
            // Pages not yet written back (a tree just generated) would stay.
            ::fdatasync(fd);
            ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
            ::close(fd);
        }
    }
}

// Processor seconds, user and system, of this process and of its children that have ended.
double processorSeconds() {
    const auto seconds = [](const rusage& usage) {
        return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
               static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    };
    rusage self{};
    rusage children{};
    ::getrusage(RUSAGE_SELF, &self);
    ::getrusage(RUSAGE_CHILDREN, &children);
    return seconds(self) + seconds(children);
}

struct Timing {
    double wall = 0;
    double processor = 0; // all threads: less disturbed than the wall time by other work
};

template <typename Work> Timing timeOnce(Work&& work) {
    const double processorStart = processorSeconds();
    const auto start = std::chrono::steady_clock::now();
    work();
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    return Timing{elapsed.count(), processorSeconds() - processorStart};
}

// The command-line front end's whole run, as a user starts it: "scan --no-cache FOLDER", its lines
// to /dev/null. Returns its standard error (the summary line).
std::string runCliScan(const std::string& cli, const std::string& folder) {
    int errPipe[2];
    if (::pipe(errPipe) != 0) {
        throw std::runtime_error("cannot create a pipe");
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, errPipe[1], STDERR_FILENO);
    posix_spawn_file_actions_addclose(&actions, errPipe[0]);
    posix_spawn_file_actions_addclose(&actions, errPipe[1]);
    // Every file read, as the in-process scan and the baseline do, and no cache written.
    std::vector<std::string> args = {cli, "scan", "--no-cache", folder};
    std::vector<char*> argv;
    for (std::string& arg : args) {
        argv.push_back(arg.data());
    }
    argv.push_back(nullptr);
    pid_t pid = 0;
    const int spawned = ::posix_spawn(&pid, cli.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(errPipe[1]);
    std::string err;
    if (spawned == 0) {
        char buffer[4096];
        ssize_t size = 0;
        while ((size = ::read(errPipe[0], buffer, sizeof buffer)) > 0) {
            err.append(buffer, static_cast<std::size_t>(size));
        }
    }
    ::close(errPipe[0]);
    int status = 0;
    if (spawned != 0 || ::waitpid(pid, &status, 0) != pid || !WIFEXITED(status) ||
        WEXITSTATUS(status) != 0) {
        throw std::runtime_error("the run of " + cli + " failed: " + err);
    }
    return err;
}

// The scan as a window runs it: on a thread of its own that may be stopped and whose progress
// is watched, into rows of its own that go into the row store once it has ended.
ScanOutcome scanAsAWindowDoes(const ScanRequest& request, RowStore& rows) {
    ScanControl control;
    ScanRequest controlled = request;
    controlled.control = &control;
    std::vector<ScannedRow> scanned;
    ScanOutcome outcome;
    std::thread worker([&] { outcome = scanFolder(controlled, scanned); });
    worker.join();
    storeScannedRows(rows, scanned);
    return outcome;
}

// Best, median and worst of a series of timings.
struct Spread {
    std::vector<double> seconds;
    std::vector<double> processor;

    void add(const Timing& timing) {
        seconds.push_back(timing.wall);
        processor.push_back(timing.processor);
    }
    double best() const { return *std::min_element(seconds.begin(), seconds.end()); }
    double worst() const { return *std::max_element(seconds.begin(), seconds.end()); }
    double median() const {
        std::vector<double> sorted = seconds;
        std::sort(sorted.begin(), sorted.end());
        return sorted[sorted.size() / 2];
    }
    double leastProcessor() const { return *std::min_element(processor.begin(), processor.end()); }
};

void printTiming(const char* what, const Spread& spread, const Spread& baseline) {
    std::printf("  %-26s best %6.3f s  median %6.3f s  worst %6.3f s  ratio %5.2f (medians "
                "%5.2f)  cpu %6.3f s\n",
                what, spread.best(), spread.median(), spread.worst(),
                spread.best() / baseline.best(), spread.median() / baseline.median(),
                spread.leastProcessor());
}

const char* verdict(bool met) {
    return met ? "met" : "MISSED";
}

// A scan as the window runs it with the cache: loaded, the scan, and the save started; the
// rows are there before the cache is written.
ScanOutcome scanWithCache(ScanRequest request, ScanCache& cache, RowStore& rows) {
    request.cache = &cache;
    const ScanOutcome outcome = scanFolder(request, rows);
    cache.saveInBackground();
    return outcome;
}

// A scan with a cache of its own, timed until its rows are there; the wait for the save that
// is left after it goes to saveWait.
void timeCacheScan(const ScanRequest& request, const std::string& cachePath, RowStore& rows,
                   Spread& scan, Spread* saveWait = nullptr) {
    ScanCache cache(QString::fromStdString(cachePath));
    scan.add(timeOnce([&] { scanWithCache(request, cache, rows); }));
    const Timing wait = timeOnce([&] {
        if (!cache.save()) {
            throw std::runtime_error("cannot write the cache " + cachePath);
        }
    });
    if (saveWait != nullptr) {
        saveWait->add(wait);
    }
}

int runCacheTimings(const Arguments& arguments, const ScanRequest& request,
                    const std::filesystem::path& root) {
    const std::filesystem::path cacheFolder =
        std::filesystem::temp_directory_path() /
        ("corvanteller-scan-bench-cache-" + std::to_string(::getpid()));
    std::filesystem::create_directories(cacheFolder);
    struct RemoveCache {
        std::filesystem::path folder;
        ~RemoveCache() {
            std::error_code ignored;
            std::filesystem::remove_all(folder, ignored);
        }
    } removeCache{cacheFolder};
    const std::string cachePath = (cacheFolder / "scan-cache.bin").string();
    RowStore rows;
    RowStore cachedRows;
    scanFolder(request, rows);
    Spread first;
    timeCacheScan(request, cachePath, cachedRows, first);
    if (arguments.rescanOnly) {
        Spread rescan;
        for (int i = 0; i < arguments.runs; ++i) {
            timeCacheScan(request, cachePath, cachedRows, rescan);
        }
        std::printf("Warm rescans of %d cached rows, %d runs:\n", cachedRows.rowCount(),
                    arguments.runs);
        printTiming("warm rescan, cached:", rescan, rescan);
        return 0;
    }

    Spread warmPlain;
    Spread warmEmptyCache;
    Spread saveWait;
    Spread warmRescan;
    Spread coldPlain;
    Spread coldRescan;
    for (int i = 0; i < arguments.runs; ++i) {
        scanFolder(request, rows); // the contents back in the page cache after a cold run
        warmPlain.add(timeOnce([&] { scanFolder(request, rows); }));
        std::filesystem::remove(cachePath);
        timeCacheScan(request, cachePath, cachedRows, warmEmptyCache, &saveWait);
        timeCacheScan(request, cachePath, cachedRows, warmRescan);
        evictTree(root);
        coldPlain.add(timeOnce([&] { scanFolder(request, rows); }));
        evictTree(root);
        timeCacheScan(request, cachePath, cachedRows, coldRescan);
    }
    std::printf("\nScan cache, %d rows, %d runs (ratio: against the scan without the cache, "
                "warm or cold):\n",
                rows.rowCount(), arguments.runs);
    printTiming("warm, no cache:", warmPlain, warmPlain);
    printTiming("warm, empty cache:", warmEmptyCache, warmPlain);
    printTiming("  then the save's rest:", saveWait, warmPlain);
    printTiming("warm rescan, cached:", warmRescan, warmPlain);
    printTiming("cold, no cache:", coldPlain, coldPlain);
    printTiming("cold rescan, cached:", coldRescan, coldPlain);
    bool same = rows.rowCount() == cachedRows.rowCount();
    for (int row = 1; same && row <= rows.rowCount(); ++row) {
        for (int column = SongColumn::FileName; column <= SongColumn::Maker; ++column) {
            same = same && rows.text(column, row) == cachedRows.text(column, row);
        }
    }
    if (!same) {
        std::fprintf(stderr, "The rescan's rows differ from the scan's\n");
        return 1;
    }
    return 0;
}

// Table > "Mark identical files" on the scanned tree's table: the files of equal size read
// and hashed, warm and after the tree was dropped from the page cache.
int runIdenticalFilesTimings(const Arguments& arguments, const ScanRequest& request,
                             const std::filesystem::path& root) {
    RowStore rows;
    scanFolder(request, rows);
    SongTableModel table;
    table.rebuildFrom(rows);
    std::vector<int> identical = rowsWithIdenticalFiles(table, rowFileProbe()); // warms up
    Spread warm;
    Spread cold;
    for (int i = 0; i < arguments.runs; ++i) {
        warm.add(timeOnce([&] { identical = rowsWithIdenticalFiles(table, rowFileProbe()); }));
        evictTree(root);
        cold.add(timeOnce([&] { identical = rowsWithIdenticalFiles(table, rowFileProbe()); }));
    }
    std::printf("Mark identical files on %d rows (%zu identical): warm best %.3f s, median "
                "%.3f s; cold best %.3f s, median %.3f s\n",
                table.songCount(), identical.size(), warm.best(), warm.median(), cold.best(),
                cold.median());
    return 0;
}

int run(const Arguments& arguments) {
    KarTreeOptions options;
    options.karaokeFiles = arguments.files;
    options.softKaraokeTags = arguments.tags;

    std::filesystem::path root;
    bool temporary = false;
    if (arguments.dir.empty()) {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "corvanteller-scan-bench-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            throw std::runtime_error("cannot create a temporary folder");
        }
        root = pattern;
        temporary = true;
    } else {
        root = std::filesystem::absolute(arguments.dir).lexically_normal();
        // A trailing "/" would give the scan's folders a double slash.
        if (!root.has_filename()) {
            root = root.parent_path();
        }
    }
    struct Cleanup {
        std::filesystem::path root;
        ~Cleanup() {
            if (!root.empty()) {
                std::error_code ignored;
                std::filesystem::remove_all(root, ignored);
            }
        }
    } cleanup{temporary ? root : std::filesystem::path()};

    prepareTree(root, options);

    ScanRequest request = ScanRequest::forFolderBytes(QByteArray::fromStdString(root.string()),
                                                      RunSet::StartWindow, false);
    request.readAheadHelpers = arguments.helpers;
    if (arguments.cache) {
        return runCacheTimings(arguments, request, root);
    }
    if (arguments.identical) {
        return runIdenticalFilesTimings(arguments, request, root);
    }
    RowStore rows;
    ScanOutcome outcome;
    BaselineCount baseline;
    std::string cliSummary;

    // Warm the page cache, the row store and the program's libraries once, untimed.
    outcome = scanFolder(request, rows);
    baseline = readTreeWhole(root.string());
    cliSummary = runCliScan(arguments.cli, root.string());

    // Interleaved, so that a load that comes and goes on the machine hits all three alike.
    Spread scan;
    Spread windowScan;
    Spread cli;
    Spread whole;
    ScanOutcome windowOutcome;
    RowStore windowRows;
    const auto evicted = [&](auto&& work) {
        if (arguments.cold) {
            evictTree(root);
        }
        return timeOnce(work);
    };
    for (int i = 0; i < arguments.runs; ++i) {
        scan.add(evicted([&] { outcome = scanFolder(request, rows); }));
        windowScan.add(evicted([&] { windowOutcome = scanAsAWindowDoes(request, windowRows); }));
        cli.add(evicted([&] { cliSummary = runCliScan(arguments.cli, root.string()); }));
        whole.add(evicted([&] { baseline = readTreeWhole(root.string()); }));
    }

    const int found = rows.rowCount();
    const double baselineBest = whole.best();
    std::printf("\nSoft Karaoke tags %s; %d runs, %s page cache (ratio: best against the "
                "baseline's best; cpu: the least processor time of a run, all threads):\n",
                tagsName(arguments.tags), arguments.runs, arguments.cold ? "cold" : "warm");
    printTiming("scan in process:", scan, whole);
    printTiming("scan as a window runs it:", windowScan, whole);
    printTiming("scan by corvanteller-cli:", cli, whole);
    printTiming("baseline (read whole):", whole, whole);
    std::printf("  rows found %d; baseline files read %d, %.0f MB\n", found, baseline.files,
                static_cast<double>(baseline.bytes) / 1e6);
    const double scanRate = found / scan.best();
    std::printf("Targets: scan >= %.0f files/s: %s; ratio <= %.1f in process: %s, by the "
                "command line: %s\n",
                targetFilesPerSecond, verdict(scanRate >= targetFilesPerSecond), targetRatio,
                verdict(scan.best() / baselineBest <= targetRatio),
                verdict(cli.best() / baselineBest <= targetRatio));

    const std::string expectedSummary = "# end=complete rows=" + std::to_string(found);
    if (outcome.end != ScanEnd::Complete || found != baseline.files ||
        windowOutcome.end != ScanEnd::Complete || windowRows.rowCount() != found ||
        cliSummary.find(expectedSummary) == std::string::npos) {
        std::fprintf(stderr, "The scan did not read every karaoke file (%d of %d, end %d; %s)\n",
                     found, baseline.files, static_cast<int>(outcome.end), cliSummary.c_str());
        return 1;
    }
    return 0;
}

} // namespace
} // namespace corvanteller::bench

int main(int argc, char** argv) {
    try {
        return corvanteller::bench::run(corvanteller::bench::parseArguments(argc, argv));
    } catch (const std::exception& error) {
        std::fprintf(stderr, "scan_bench: %s\n", error.what());
        return 2;
    }
}
