// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target: any bytes are a MIDI file to write texts into. The parser must not crash
// and must describe the bytes exactly; a write that is planned must read back as its texts,
// parse again and give the old bytes back.
#include "kar/kar_reader.h"
#include "kar/smf_file.h"
#include "write/text_writer.h"

#include <QByteArrayView>
#include <QString>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace corvanteller {
namespace {

void check(bool holds, const char* what) {
    if (!holds) {
        std::fprintf(stderr, "smf_writer_fuzz: broken: %s\n", what);
        std::abort();
    }
}

void checkLayout(QByteArrayView file, const SmfFile& parsed) {
    qsizetype at = 0;
    for (const SmfChunk& chunk : parsed.chunks) {
        check(chunk.start == at && chunk.dataStart == at + 8, "chunks follow each other");
        qsizetype event = chunk.dataStart;
        for (const SmfEvent& each : chunk.events) {
            check(each.start == event && each.end > each.start, "events follow each other");
            check(each.dataStart + each.dataSize() <= each.end || !each.isMeta(),
                  "meta data lies in its event");
            event = each.end;
        }
        check(chunk.type != "MTrk" || event == chunk.dataStart + chunk.dataSize,
              "events fill their track");
        at = chunk.dataStart + chunk.dataSize;
    }
    check(at == file.size(), "chunks fill the file");
}

} // namespace
} // namespace corvanteller

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace corvanteller;
    const QByteArrayView file(data, static_cast<qsizetype>(size));
    const std::optional<SmfFile> parsed = parseSmf(file);
    if (!parsed) {
        return 0;
    }
    checkLayout(file, *parsed);
    const SongTexts before = readKaraokeBytes(file, RunSet::StartWindow);
    const SongTexts texts[] = {
        {QStringLiteral("Fuzzed title"), QStringLiteral("Performer"), {}, QStringLiteral("Maker")},
        {QStringLiteral("Other title"), before.second, before.third, before.fourth},
    };
    for (const SongTexts& wanted : texts) {
        const TextWritePlan plan =
            planTextWrite(file, wanted, RunSet::StartWindow, QStringLiteral("f.kar"));
        if (!plan.ok) {
            check(!plan.refusal.isEmpty(), "a refusal gives its reason");
            continue;
        }
        check(readKaraokeBytes(plan.newBytes, RunSet::StartWindow) == wanted,
              "a written file reads as its texts");
        check(parseSmf(plan.newBytes).has_value(), "a written file parses");
        check(rebuildOldBytes(plan.newBytes, plan.regions) == file,
              "the regions give the old file back");
    }
    return 0;
}
