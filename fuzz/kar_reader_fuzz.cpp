// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target: any bytes are a karaoke file. The reader must not crash, and what it
// returns must keep the properties that hold for every file.
#include "common/cp1251.h"
#include "kar/char_sets.h"
#include "kar/kar_reader.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <optional>
#include <string>
#include <unistd.h>

namespace corvanteller {
namespace {

constexpr std::array<std::string_view, 5> softKaraokeNames = {"Soft Karaoke", "Soft karaoke",
                                                              "Soft Kara", "Soft kara", "untitled"};

void check(bool holds, const char* what, RunSet runSet) {
    if (!holds) {
        std::fprintf(stderr, "kar_reader_fuzz: broken (%s set): %s\n",
                     runSet == RunSet::StartWindow ? "start-window" : "main-window", what);
        std::abort();
    }
}

QByteArray latin(std::string_view text) {
    return QByteArray(text.data(), static_cast<qsizetype>(text.size()));
}

bool isSoftKaraokeName(QByteArrayView text) {
    for (std::string_view name : softKaraokeNames) {
        if (text == QByteArrayView(name.data(), static_cast<qsizetype>(name.size()))) {
            return true;
        }
    }
    return false;
}

// The bytes a text was decoded from; every character must come from one cp1251 byte.
QByteArray bytesOf(const QString& text, RunSet runSet) {
    const std::optional<QByteArray> bytes = encodeCp1251(text);
    check(bytes.has_value() && decodeCp1251(*bytes) == text, "a text decodes from bytes", runSet);
    return *bytes;
}

bool allIn(QByteArrayView bytes, const CharSet& set) {
    for (char byte : bytes) {
        if (!set.contains(byte)) {
            return false;
        }
    }
    return true;
}

// Run 2, worked out on its own: the first block of 8192 bytes that holds FF 03 decides, and
// run 2 starts three bytes after the FF (the type and length bytes are skipped). Empty when
// no block holds the marker.
QByteArray firstNameEvent(QByteArrayView file, const CharSet& runSet) {
    for (qsizetype start = 0; start < file.size(); start += karBlockSize) {
        const QByteArrayView block =
            file.sliced(start, std::min(karBlockSize, file.size() - start));
        for (qsizetype i = 0; i + 1 < block.size(); ++i) {
            if (block[i] == '\xFF' && block[i + 1] == '\x03') {
                qsizetype end = i + 3;
                while (end < block.size() && runSet.contains(block[end])) {
                    ++end;
                }
                return end > i + 3 ? block.sliced(i + 3, end - i - 3).toByteArray() : QByteArray();
            }
        }
    }
    return QByteArray();
}

// A maker line that begins with a signature is cut down to exactly the signature.
void checkMakerLine(const QByteArray& fourth, RunSet runSet) {
    for (std::string_view signature : {signatureA, signatureB}) {
        check(!fourth.startsWith(latin(signature)) || fourth == latin(signature),
              "a maker line beginning with a signature is the signature", runSet);
    }
}

void checkResult(QByteArrayView file, RunSet runSet, const SongTexts& texts) {
    const std::array<QByteArray, 4> bytes = {
        bytesOf(texts.first, runSet), bytesOf(texts.second, runSet), bytesOf(texts.third, runSet),
        bytesOf(texts.fourth, runSet)};
    // The tag set and both run sets lie within the start-window run set.
    for (const QByteArray& text : bytes) {
        check(allIn(text, runSetChars(RunSet::StartWindow)), "texts hold only set characters",
              runSet);
    }

    const QByteArray name = firstNameEvent(file, runSetChars(runSet));
    const bool softKaraoke = isSoftKaraokeName(name);
    const bool hasWords = file.size() > 14 && file.sliced(14).contains("Words");
    if (softKaraoke && hasWords) {
        check(bytes[3] == name, "a Soft Karaoke file's fourth text is the format name", runSet);
        const qsizetype shortest = name == "untitled" ? 3 : 4;
        for (int i = 0; i < 3; ++i) {
            check(bytes[i].isEmpty() || bytes[i].size() >= shortest,
                  "a Soft Karaoke text is empty or long enough", runSet);
            check(allIn(bytes[i], tagSetChars()), "a Soft Karaoke text holds tag characters",
                  runSet);
        }
        check(!bytes[0].isEmpty() || (bytes[1].isEmpty() && bytes[2].isEmpty()),
              "Soft Karaoke texts close up behind an empty first text", runSet);
        check(!bytes[1].isEmpty() || bytes[2].isEmpty(),
              "Soft Karaoke texts close up behind an empty second text", runSet);
        return;
    }

    // The name-event result: runs 2, 4, 6 and 8 after the signature step.
    check(bytes[0] == name, "the first text is the first name event's text", runSet);
    for (const QByteArray& text : bytes) {
        check(allIn(text, runSetChars(runSet)), "texts hold only run-set characters", runSet);
    }
    checkMakerLine(bytes[3], runSet);
    if (softKaraoke) {
        return; // without "Words" the runs stand unfiltered
    }
    for (int i = 1; i < 4; ++i) {
        check(bytes[i].isEmpty() || bytes[i].size() > 2,
              "the second to fourth texts are empty or longer than 2 characters", runSet);
    }
    for (int i = 1; i < 3; ++i) {
        const QByteArray withoutLast = bytes[i].chopped(bytes[i].isEmpty() ? 0 : 1);
        check(bytes[i] != latin(signatureA) && withoutLast != latin(signatureA),
              "signature A moves to the fourth text", runSet);
    }
}

// The file reader must agree with the reader over memory. The input goes into one scratch
// file per process, unlinked at once so that a crash leaves nothing behind; the reader opens
// it through /proc.
class ScratchFile {
public:
    ScratchFile() {
        const char* folder = ::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
        std::string name = std::string(folder) + "/kar_reader_fuzz_XXXXXX";
        fd_ = ::mkstemp(name.data());
        if (fd_ < 0) {
            std::perror("kar_reader_fuzz: scratch file");
            std::abort();
        }
        ::unlink(name.c_str());
        path_ = "/proc/self/fd/" + std::to_string(fd_);
    }
    ~ScratchFile() { ::close(fd_); }
    ScratchFile(const ScratchFile&) = delete;
    ScratchFile& operator=(const ScratchFile&) = delete;

    const std::string& write(QByteArrayView bytes) {
        if (::ftruncate(fd_, 0) != 0 ||
            ::pwrite(fd_, bytes.data(), static_cast<std::size_t>(bytes.size()), 0) !=
                static_cast<ssize_t>(bytes.size())) {
            std::perror("kar_reader_fuzz: scratch file");
            std::abort();
        }
        return path_;
    }

private:
    std::string path_;
    int fd_ = -1;
};

} // namespace
} // namespace corvanteller

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace corvanteller;
    static ScratchFile scratch;
    const QByteArrayView file(data, static_cast<qsizetype>(size));
    const QByteArray path = QByteArray::fromStdString(scratch.write(file));

    std::array<SongTexts, 2> results;
    const std::array<RunSet, 2> runSets = {RunSet::StartWindow, RunSet::MainWindow};
    for (std::size_t i = 0; i < runSets.size(); ++i) {
        const RunSet runSet = runSets[i];
        results[i] = readKaraokeBytes(file, runSet);
        checkResult(file, runSet, results[i]);
        check(readKaraokeBytes(file, runSet) == results[i], "the same bytes give the same texts",
              runSet);
        const KarReadResult fromFile = readKaraokeFile(path, runSet);
        check(fromFile.ok && fromFile.texts == results[i], "the file gives the texts of its bytes",
              runSet);
        // Small pieces put the borders between reads everywhere.
        const qsizetype pieceSize =
            file.isEmpty() ? 1 : 1 + static_cast<unsigned char>(file[0]) % 97;
        check(readKaraokeBytesInPieces(file, runSet, pieceSize) == results[i],
              "reading in pieces gives the texts of the whole file", runSet);
    }
    // < and > are the only difference between the two run sets.
    if (!file.contains('<') && !file.contains('>')) {
        check(results[0] == results[1], "without < and > both run sets agree", RunSet::MainWindow);
    }
    return 0;
}
