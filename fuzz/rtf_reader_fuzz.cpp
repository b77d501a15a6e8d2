// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target: any bytes are a Rich Text file, or any file the text view opens. The
// reader must not crash, and what it makes of the bytes must write and read back the same.
#include "text/rtf_reader.h"
#include "text/rtf_writer.h"
#include "text/text_file.h"

#include <QByteArrayView>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace corvanteller {
namespace {

void check(bool holds, const char* what) {
    if (!holds) {
        std::fprintf(stderr, "rtf_reader_fuzz: broken: %s\n", what);
        std::abort();
    }
}

void checkShape(const RichText& text) {
    check(!text.paragraphs.empty(), "a document has a paragraph");
    for (const RichParagraph& paragraph : text.paragraphs) {
        const RichRun* previous = nullptr;
        for (const RichRun& run : paragraph.runs) {
            check(!run.text.isEmpty(), "a run has text");
            check(run.halfPoints >= 1 && run.halfPoints <= 3276, "a size is within 1 to 3276");
            check(previous == nullptr || !previous->sameFormat(run),
                  "neighbouring runs differ in format");
            previous = &run;
        }
    }
}

} // namespace
} // namespace corvanteller

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace corvanteller;
    const QByteArrayView bytes(data, static_cast<qsizetype>(size));
    const RichText text = readRtf(bytes);
    checkShape(text);
    check(readRtf(writeRtf(text)) == text, "what was read writes and reads back the same");

    // The whole open: RTF or plain text by the first bytes.
    const TextFileContent content = decodeTextFile(bytes);
    check(content.rich == looksLikeRtf(bytes), "RTF is told by its first bytes");
    return 0;
}
