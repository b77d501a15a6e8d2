// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace corvanteller::bench {

// SplitMix64: fully specified, so that one seed gives the same tree with every compiler and
// standard library (the distributions of <random> are not).
class BenchRandom {
public:
    explicit BenchRandom(std::uint64_t seed) : state_(seed) {}

    std::uint64_t next();
    // A number from first to last, both included.
    int between(int first, int last);
    bool percent(int chance) { return between(1, 100) <= chance; }
    template <typename T, std::size_t N> const T& pick(const T (&items)[N]) {
        return items[static_cast<std::size_t>(between(0, static_cast<int>(N) - 1))];
    }

private:
    std::uint64_t state_;
};

enum class KarKind {
    Ordinary,    // texts in the first track's name and text events
    SoftKaraoke, // first track named "Soft Karaoke", texts in the "@T" lines of "Words"
};

// Where a Soft Karaoke file keeps its tags, which decides how much of it the reader reads.
enum class SoftKaraokeTags {
    Early,   // the "Words" track follows the first track and closes its "@T" lines with "@I"
    Late,    // the "Words" track comes last, behind the note tracks
    NoInfo,  // no "@I" after the "@T" lines anywhere: the whole file is read
    NoWords, // no "Words" track: the whole file is read
    Mixed,   // each file one of the four above
};

const char* tagsName(SoftKaraokeTags tags);
// The placement named by text ("early", "late", "no-info", "no-words", "mixed"); false when
// the text names none.
bool parseTags(std::string_view text, SoftKaraokeTags& tags);

// One karaoke file as karaoke editors write them: the MIDI header, a first track with the
// name and text events, for Soft Karaoke a "Words" track with its tags and lyrics, and note
// tracks filling the file up to about sizeBytes.
QByteArray makeKaraokeFile(BenchRandom& random, KarKind kind, int sizeBytes,
                           SoftKaraokeTags tags = SoftKaraokeTags::Early);

struct KarTreeOptions {
    int karaokeFiles = 20000;
    std::uint64_t seed = 1;
    int minFileBytes = 10 * 1024;
    int maxFileBytes = 120 * 1024;
    int minFilesPerFolder = 20;
    int maxFilesPerFolder = 200;
    SoftKaraokeTags softKaraokeTags = SoftKaraokeTags::Early;
};

struct KarTreeSummary {
    int karaokeFiles = 0;
    int softKaraokeFiles = 0;
    int otherFiles = 0;
    int folders = 0;
    std::int64_t bytes = 0;
};

// A line that names the options, so that a tree can be recognised and reused.
std::string describeTree(const KarTreeOptions& options);

// Writes a karaoke tree below root, which must be missing or empty: nested folders of 20 to
// 200 files, about a third of the karaoke files Soft Karaoke, Russian and odd texts, maker
// signatures, and .mid, .txt and .jpg files beside them. Throws std::runtime_error.
KarTreeSummary writeKarTree(const std::filesystem::path& root, const KarTreeOptions& options);

} // namespace corvanteller::bench
