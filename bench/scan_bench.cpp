// scan_bench [--files N] [--dir DIR]: times the folder scan against a plain walk that reads
// every karaoke file whole, over the same karaoke tree with a warm page cache.
#include "kar_tree_generator.h"

#include "scan/folder_scan.h"
#include "table/row_store.h"

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
#include <sstream>
#include <stdexcept>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace corvanteller::bench {
namespace {

constexpr int timedRuns = 5;
constexpr double targetFilesPerSecond = 30000.0;
constexpr double targetRatio = 0.8;
// Written into the tree's root; its name holds no "kar", so the scan passes over it.
constexpr const char* stampName = "generated-tree.txt";

struct Arguments {
    int files = 20000;
    std::string dir; // empty: a temporary folder, removed at the end
};

Arguments parseArguments(int argc, char** argv) {
    Arguments arguments;
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        if (option == "--files" && i + 1 < argc) {
            const char* text = argv[++i];
            const char* end = text + std::strlen(text);
            const auto [rest, error] = std::from_chars(text, end, arguments.files);
            if (error != std::errc() || rest != end || arguments.files <= 0) {
                throw std::runtime_error(std::string("not a file count: ") + text);
            }
        } else if (option == "--dir" && i + 1 < argc) {
            arguments.dir = argv[++i];
        } else {
            throw std::runtime_error("usage: scan_bench [--files N] [--dir DIR]");
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

// Seconds of one call of work.
template <typename Work> double timeOnce(Work&& work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    return elapsed.count();
}

const char* verdict(bool met) {
    return met ? "met" : "MISSED";
}

int run(const Arguments& arguments) {
    KarTreeOptions options;
    options.karaokeFiles = arguments.files;

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

    const ScanRequest request = ScanRequest::forFolderBytes(
        QByteArray::fromStdString(root.string()), RunSet::StartWindow, false);
    RowStore rows;
    ScanOutcome outcome;
    BaselineCount baseline;

    // Warm the page cache and the row store once, untimed.
    outcome = scanFolder(request, rows);
    baseline = readTreeWhole(root.string());

    double bestScan = 1e300;
    double bestBaseline = 1e300;
    for (int i = 0; i < timedRuns; ++i) {
        bestScan = std::min(bestScan, timeOnce([&] { outcome = scanFolder(request, rows); }));
        bestBaseline =
            std::min(bestBaseline, timeOnce([&] { baseline = readTreeWhole(root.string()); }));
    }

    const int found = rows.rowCount();
    const double scanRate = found / bestScan;
    const double baselineRate = baseline.files / bestBaseline;
    const double ratio = bestScan / bestBaseline;
    std::printf("\nBest of %d runs, warm page cache:\n", timedRuns);
    std::printf("  scan (start-window set): %8.3f s  %9.0f files/s  rows found %d\n", bestScan,
                scanRate, found);
    std::printf("  baseline (read whole):   %8.3f s  %9.0f files/s  files read %d, %.0f MB\n",
                bestBaseline, baselineRate, baseline.files,
                static_cast<double>(baseline.bytes) / 1e6);
    std::printf("  ratio scan / baseline:   %8.2f\n", ratio);
    std::printf("Targets: scan >= %.0f files/s: %s; ratio <= %.1f: %s\n", targetFilesPerSecond,
                verdict(scanRate >= targetFilesPerSecond), targetRatio,
                verdict(ratio <= targetRatio));

    if (outcome.end != ScanEnd::Complete || found != baseline.files) {
        std::fprintf(stderr, "The scan did not read every karaoke file (%d of %d, end %d)\n", found,
                     baseline.files, static_cast<int>(outcome.end));
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
