// SPDX-License-Identifier: GPL-3.0-or-later
// rtf_fuzz_seeds OUTDIR: writes a small seed corpus for rtf_reader_fuzz: the reader tests'
// hand-written samples and the writer's text of a document with every format it keeps.
#include "text/rtf_samples.h"
#include "text/rtf_writer.h"

#include <cstdio>
#include <filesystem>
#include <string>

namespace {

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

int main(int argc, char** argv) {
    using namespace corvanteller;
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTDIR\n", argv[0]);
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    bool ok = !error;
    for (const test::RtfSample& sample : test::handWrittenRtfSamples()) {
        ok = ok && writeSeed(folder, std::string("sample-") + sample.name, sample.bytes);
    }
    ok = ok && writeSeed(folder, "written-formats", writeRtf(test::formattedRichText()));
    if (!ok) {
        std::fprintf(stderr, "rtf_fuzz_seeds: cannot write the seeds in %s\n", argv[1]);
        return 1;
    }
    return 0;
}
