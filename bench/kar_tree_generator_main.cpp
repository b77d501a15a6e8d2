// SPDX-License-Identifier: GPL-3.0-or-later
// kar_tree_generator OUTDIR FILECOUNT [SEED [TAGS]]: writes a karaoke tree for benchmarks and
// tests; TAGS places the Soft Karaoke tags: early (default), late, no-info, no-words or mixed.
#include "kar_tree_generator.h"

#include <charconv>
#include <cstdio>
#include <cstring>
#include <exception>

namespace {

template <typename Number> bool parseNumber(const char* text, Number& value) {
    const char* end = text + std::strlen(text);
    const auto [rest, error] = std::from_chars(text, end, value);
    return error == std::errc() && rest == end;
}

} // namespace

int main(int argc, char** argv) {
    using namespace corvanteller::bench;
    KarTreeOptions options;
    if (argc < 3 || argc > 5 || !parseNumber(argv[2], options.karaokeFiles) ||
        options.karaokeFiles < 0 || (argc >= 4 && !parseNumber(argv[3], options.seed)) ||
        (argc == 5 && !parseTags(argv[4], options.softKaraokeTags))) {
        std::fprintf(stderr,
                     "usage: %s OUTDIR FILECOUNT [SEED [early|late|no-info|no-words|mixed]]\n",
                     argv[0]);
        return 2;
    }
    try {
        const KarTreeSummary summary = writeKarTree(argv[1], options);
        std::printf("%d karaoke files (%d Soft Karaoke), %d other files, %d folders, %.1f MB\n",
                    summary.karaokeFiles, summary.softKaraokeFiles, summary.otherFiles,
                    summary.folders, static_cast<double>(summary.bytes) / 1e6);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "kar_tree_generator: %s\n", error.what());
        return 1;
    }
    return 0;
}
