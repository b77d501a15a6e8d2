// SPDX-License-Identifier: GPL-3.0-or-later
// kar_fuzz_seeds OUTDIR [COUNT]: writes a small seed corpus for kar_reader_fuzz: karaoke files
// of both kinds from the benchmark's generator, and the edge cases of the reading rule.
#include "kar_tree_generator.h"

#include "kar/kar_reader.h"

#include <charconv>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

namespace corvanteller::bench {
namespace {

QByteArray metaEvent(unsigned char type, const QByteArray& text) {
    QByteArray event("\x00\xFF", 2);
    event.append(static_cast<char>(type)).append(static_cast<char>(text.size())).append(text);
    return event;
}

QByteArray header() {
    return QByteArray("MThd\x00\x00\x00\x06\x00\x01\x00\x02\x01\xE0", 14);
}

QByteArray signature(std::string_view text) {
    return QByteArray(text.data(), static_cast<qsizetype>(text.size()));
}

QByteArray wordsTrack(const QByteArray& title) {
    return QByteArray("MTrk\x00\x00\x00\x40", 8) + metaEvent(0x03, "Words") +
           metaEvent(0x01, "@LENGL") + metaEvent(0x01, "@T" + title) + metaEvent(0x01, "@TSinger") +
           metaEvent(0x01, "@TMaker") + metaEvent(0x01, "la") + metaEvent(0x01, "@Iend");
}

bool writeSeed(const std::filesystem::path& folder, const std::string& name,
               const QByteArray& bytes) {
    std::FILE* file = std::fopen((folder / name).c_str(), "wb");
    if (file == nullptr) {
        return false;
    }
    const auto size = static_cast<std::size_t>(bytes.size());
    const bool written = std::fwrite(bytes.constData(), 1, size, file) == size;
    return std::fclose(file) == 0 && written;
}

} // namespace
} // namespace corvanteller::bench

int main(int argc, char** argv) {
    using namespace corvanteller;
    using namespace corvanteller::bench;
    int count = 40;
    if (argc < 2 || argc > 3 ||
        (argc == 3 &&
         std::from_chars(argv[2], argv[2] + std::strlen(argv[2]), count).ec != std::errc())) {
        std::fprintf(stderr, "usage: %s OUTDIR [COUNT]\n", argv[0]);
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    std::error_code error;
    std::filesystem::create_directories(folder, error);

    bool ok = !error;
    BenchRandom random(20240607);
    const SoftKaraokeTags placements[] = {SoftKaraokeTags::Early, SoftKaraokeTags::Late,
                                          SoftKaraokeTags::NoInfo, SoftKaraokeTags::NoWords};
    for (int i = 0; i < count && ok; ++i) {
        const KarKind kind = i % 3 == 0 ? KarKind::SoftKaraoke : KarKind::Ordinary;
        // Mostly within one block; some reach the second block.
        const int size = i % 5 == 4 ? random.between(8192, 12000) : random.between(200, 4000);
        ok = writeSeed(folder, "generated-" + std::to_string(i),
                       makeKaraokeFile(random, kind, size, placements[(i / 3) % 4]));
    }

    const QByteArray usual = header() + metaEvent(0x03, "Hello World") + metaEvent(0x01, "Artist") +
                             metaEvent(0x01, "Year") + metaEvent(0x02, "(c)2001");
    // The marker's FF ends the first block and its 03 begins the second.
    QByteArray straddling(karBlockSize - 1, 'x');
    straddling.append(usual.mid(15));
    const struct {
        const char* name;
        QByteArray bytes;
    } edges[] = {
        {"edge-empty", QByteArray()},
        {"edge-usual", usual},
        {"edge-straddling-marker", straddling},
        {"edge-odd-title", header() + metaEvent(0x03, "Hello [x] <live>") +
                               metaEvent(0x01, "Artist") + metaEvent(0x01, "Year")},
        {"edge-signature-a", header() + metaEvent(0x03, "Song") +
                                 metaEvent(0x01, signature(signatureA) + "!") +
                                 metaEvent(0x01, "Year") + metaEvent(0x02, "Other")},
        {"edge-signature-b", header() + metaEvent(0x03, "Song") + metaEvent(0x01, "Artist") +
                                 metaEvent(0x01, "Year") +
                                 metaEvent(0x02, signature(signatureB) + "xyz")},
        {"edge-soft-karaoke", header() + metaEvent(0x03, "Soft Karaoke") + wordsTrack("Title")},
        {"edge-soft-karaoke-no-words", header() + metaEvent(0x03, "Soft Karaoke") +
                                           metaEvent(0x01, "ab") + metaEvent(0x01, "Text")},
        {"edge-untitled", header() + metaEvent(0x03, "untitled") + wordsTrack("Long title")},
        {"edge-short-header", QByteArray("\xFF\x03\x0CSoft Karaoke", 15)},
    };
    for (const auto& edge : edges) {
        ok = ok && writeSeed(folder, edge.name, edge.bytes);
    }
    if (!ok) {
        std::fprintf(stderr, "kar_fuzz_seeds: cannot write the seeds in %s\n", argv[1]);
        return 1;
    }
    return 0;
}
