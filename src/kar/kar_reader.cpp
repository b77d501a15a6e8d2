#include "kar/kar_reader.h"

#include "common/cp1251.h"

#include <array>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <unistd.h>

namespace corvanteller {
namespace {

constexpr std::array<std::string_view, 5> softKaraokeNames = {"Soft Karaoke", "Soft karaoke",
                                                              "Soft Kara", "Soft kara", "untitled"};
constexpr std::string_view untitledName = "untitled";
constexpr qsizetype midiHeaderSize = 14;

// Runs 1 to 8 of the name-event pass; index 0 is unused so that indexes match run numbers.
using Runs = std::array<std::string_view, 9>;

std::string_view withoutLastChar(std::string_view text) {
    return text.empty() ? text : text.substr(0, text.size() - 1);
}

std::string_view firstChars(std::string_view text, std::size_t count) {
    return text.substr(0, std::min(count, text.size()));
}

// Eight runs from the first marker on. Positions are 1-based as in the rule: s is the marker's
// 0xFF, every run starts its test at s + 1, and the byte that ends a run and the one after it
// belong to no run.
Runs collectRuns(std::string_view block, std::size_t markerIndex, const CharSet& runSet) {
    Runs runs{};
    std::size_t s = markerIndex + 1;
    for (std::size_t k = 1; k <= 8; ++k) {
        std::size_t c = s + 1;
        while (c <= block.size() && runSet.contains(block[c - 1])) {
            ++c;
        }
        if (c > s + 1) {
            runs[k] = block.substr(s, c - s - 1);
        }
        s = c + 1;
    }
    return runs;
}

// Moves a maker line found in run 4 or 6 to run 8 and cuts a run 8 that begins with a
// signature down to the signature.
void applySignatures(Runs& runs) {
    std::string_view& run4 = runs[4];
    std::string_view& run6 = runs[6];
    std::string_view& run8 = runs[8];
    if (run4 == signatureA) {
        run8 = run4;
        run4 = {};
    }
    if (run6 == signatureA) {
        run8 = run6;
        run6 = {};
    }
    std::string_view x = withoutLastChar(run4);
    if (x == signatureA) {
        run8 = x;
        run4 = {};
    }
    x = withoutLastChar(run6);
    if (x == signatureA) {
        run8 = x;
        run6 = {};
    }
    x = withoutLastChar(run8);
    if (x == signatureA) {
        run8 = x;
    }
    if (firstChars(x, signatureA.size()) == signatureA) {
        x = firstChars(x, signatureA.size());
        run8 = x;
    }
    if (firstChars(x, signatureB.size()) == signatureB) {
        x = firstChars(x, signatureB.size());
        run8 = x;
    }
}

bool namesSoftKaraoke(std::string_view run2) {
    for (std::string_view name : softKaraokeNames) {
        if (run2 == name) {
            return true;
        }
    }
    return false;
}

std::string_view dropShortText(std::string_view text, std::size_t longestDropped) {
    return text.size() <= longestDropped ? std::string_view{} : text;
}

SongTexts toSongTexts(std::string_view a, std::string_view b, std::string_view c,
                      std::string_view d) {
    const auto decode = [](std::string_view bytes) {
        return decodeCp1251(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
    };
    return SongTexts{decode(a), decode(b), decode(c), decode(d)};
}

SongTexts ordinaryResult(const Runs& runs) {
    return toSongTexts(runs[2], dropShortText(runs[4], 2), dropShortText(runs[6], 2),
                       dropShortText(runs[8], 2));
}

// Pascal's Pos: the 1-based position of the first occurrence, or 0.
std::size_t positionOf(std::string_view text, std::string_view tag) {
    const std::size_t index = text.find(tag);
    return index == std::string_view::npos ? 0 : index + 1;
}

// Pascal's Copy(text, 1, count) with a count that may be zero or negative.
std::string_view leadingChars(std::string_view text, std::ptrdiff_t count) {
    return count <= 0 ? std::string_view{} : firstChars(text, static_cast<std::size_t>(count));
}

// Pascal's Delete(text, 1, count).
void dropLeading(std::string_view& text, std::size_t count) {
    text.remove_prefix(std::min(count, text.size()));
}

std::string_view cutAtFirstNonTagChar(std::string_view text) {
    const CharSet& tagSet = tagSetChars();
    std::size_t end = 0;
    while (end < text.size() && tagSet.contains(text[end])) {
        ++end;
    }
    return text.substr(0, end);
}

// The text after the next "@T" of a "Words" track, up to the following "@T" less the four
// bytes of that event's head.
std::string_view takeTagText(std::string_view& words) {
    const std::size_t p = positionOf(words, "@T");
    const std::string_view text = leadingChars(words, static_cast<std::ptrdiff_t>(p) - 5);
    dropLeading(words, p + 1);
    return text;
}

SongTexts softKaraokeResult(const Runs& runs, std::string_view tail) {
    const std::size_t wordsAt = positionOf(tail, "Words");
    if (wordsAt == 0) {
        return toSongTexts(runs[2], runs[4], runs[6], runs[8]);
    }
    const std::string_view formatName = runs[2];
    std::string_view words = tail.substr(wordsAt - 1);
    dropLeading(words, positionOf(words, "@T") + 1);
    std::array<std::string_view, 3> texts{};
    texts[0] = takeTagText(words);
    texts[1] = takeTagText(words);
    texts[2] = leadingChars(words, static_cast<std::ptrdiff_t>(positionOf(words, "@I")) - 8);

    for (std::string_view& text : texts) {
        text = dropShortText(cutAtFirstNonTagChar(text), 3);
        if (formatName == untitledName) {
            text = withoutLastChar(text);
        }
    }
    // Close the gaps among the three texts; the format name stays fourth.
    std::array<std::string_view, 3> closed{};
    std::size_t filled = 0;
    for (std::string_view text : texts) {
        if (!text.empty()) {
            closed[filled++] = text;
        }
    }
    return toSongTexts(closed[0], closed[1], closed[2], formatName);
}

std::size_t findMarker(std::string_view block) {
    std::size_t from = 0;
    while (true) {
        const std::size_t at = block.find('\xFF', from);
        if (at == std::string_view::npos || at + 1 >= block.size()) {
            return std::string_view::npos;
        }
        if (block[at + 1] == '\x03') {
            return at;
        }
        from = at + 1;
    }
}

// Watches a Soft Karaoke tail as it grows. Once "Words", three "@T" after it and an "@I" after
// those stand in it, more bytes cannot move any of the first occurrences that the rule uses, so
// the rest of the file need not be read.
class SoftKaraokeTagWatch {
public:
    bool complete(std::string_view tail) {
        while (stage_ < tags.size()) {
            const std::string_view tag = tags[stage_];
            const std::size_t at = tail.find(tag, from_);
            if (at == std::string_view::npos) {
                // The tag may begin in the last bytes and end in the next block.
                const std::size_t partialStart =
                    tail.size() >= tag.size() ? tail.size() - tag.size() + 1 : 0;
                from_ = std::max(from_, partialStart);
                return false;
            }
            from_ = at + tag.size();
            ++stage_;
        }
        return true;
    }

private:
    static constexpr std::array<std::string_view, 5> tags = {"Words", "@T", "@T", "@T", "@I"};
    std::size_t stage_ = 0;
    std::size_t from_ = 0;
};

// The reading rule over any source of blocks. Source::nextBlock(buffer) fills up to one block
// and returns its size (0 at the end, -1 on failure); Source::readTail(out) reads from offset
// 14 on, until the file ends or the tags of a Soft Karaoke file are all found, and returns
// false on failure.
template <typename Source> bool readSongTexts(Source& source, RunSet runSet, SongTexts& result) {
    std::array<char, karBlockSize> block{};
    Runs runs{};
    while (true) {
        const qsizetype size = source.nextBlock(block.data());
        if (size < 0) {
            return false;
        }
        if (size == 0) {
            break;
        }
        const std::string_view view(block.data(), static_cast<std::size_t>(size));
        const std::size_t marker = findMarker(view);
        if (marker != std::string_view::npos) {
            // Later blocks cannot change the runs; only a Soft Karaoke file is read again.
            runs = collectRuns(view, marker, runSetChars(runSet));
            break;
        }
    }
    applySignatures(runs);
    if (!namesSoftKaraoke(runs[2])) {
        result = ordinaryResult(runs);
        return true;
    }
    // One buffer for every file of a scan: a fresh one per file would cost a trip to the
    // system allocator for a third of all karaoke files.
    thread_local std::string tail;
    constexpr std::size_t keptCapacity = 4 * 1024 * 1024;
    tail.clear();
    const bool read = source.readTail(tail);
    if (read) {
        result = softKaraokeResult(runs, tail);
    }
    if (tail.capacity() > keptCapacity) {
        std::string().swap(tail);
    }
    return read;
}

class MemorySource {
public:
    explicit MemorySource(QByteArrayView file) : file_(file) {}

    qsizetype nextBlock(char* into) {
        const qsizetype size = std::min(karBlockSize, file_.size() - offset_);
        if (size <= 0) {
            return 0;
        }
        std::memcpy(into, file_.data() + offset_, static_cast<std::size_t>(size));
        offset_ += size;
        return size;
    }
    bool readTail(std::string& out) {
        if (file_.size() > midiHeaderSize) {
            out.assign(file_.data() + midiHeaderSize,
                       static_cast<std::size_t>(file_.size() - midiHeaderSize));
        }
        return true;
    }

private:
    QByteArrayView file_;
    qsizetype offset_ = 0;
};

class FileSource {
public:
    explicit FileSource(int fd) : fd_(fd) {}
    ~FileSource() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    FileSource(const FileSource&) = delete;
    FileSource& operator=(const FileSource&) = delete;

    int error() const { return error_; }

    qsizetype nextBlock(char* into) {
        const qsizetype size = readFull(into, karBlockSize, offset_);
        if (size > 0) {
            offset_ += size;
        }
        return size;
    }
    bool readTail(std::string& out) {
        SoftKaraokeTagWatch watch;
        for (off_t offset = midiHeaderSize;;) {
            const std::size_t oldSize = out.size();
            out.resize(oldSize + karBlockSize);
            const qsizetype size = readFull(out.data() + oldSize, karBlockSize, offset);
            out.resize(oldSize + static_cast<std::size_t>(std::max<qsizetype>(size, 0)));
            if (size < 0) {
                return false;
            }
            if (size == 0 || watch.complete(out)) {
                return true;
            }
            offset += size;
        }
    }

private:
    // A whole block unless the file ends first, so that block borders stay at multiples of
    // the block size.
    qsizetype readFull(char* into, qsizetype wanted, off_t offset) {
        qsizetype got = 0;
        while (got < wanted) {
            const ssize_t size =
                ::pread(fd_, into + got, static_cast<std::size_t>(wanted - got), offset + got);
            if (size < 0) {
                if (errno == EINTR) {
                    continue;
                }
                error_ = errno;
                return -1;
            }
            if (size == 0) {
                break;
            }
            got += size;
        }
        return got;
    }

    int fd_;
    off_t offset_ = 0;
    int error_ = 0;
};

QString systemReason(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

KarReadResult failure(const QString& shownPath, int error) {
    KarReadResult result;
    result.ok = false;
    result.error = QStringLiteral("Cannot read \"%1\": %2").arg(shownPath, systemReason(error));
    return result;
}

KarReadResult readOpenFile(int fd, const QString& shownPath, RunSet runSet) {
    if (fd < 0) {
        return failure(shownPath, errno);
    }
    FileSource source(fd);
    KarReadResult result;
    if (!readSongTexts(source, runSet, result.texts)) {
        return failure(shownPath, source.error());
    }
    return result;
}

} // namespace

KarReadResult readKaraokeFile(const QByteArray& pathBytes, const QString& shownPath,
                              RunSet runSet) {
    return readOpenFile(::open(pathBytes.constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY), shownPath,
                        runSet);
}

KarReadResult readKaraokeFileAt(int folderFd, const char* entryName, const QString& shownPath,
                                RunSet runSet) {
    return readOpenFile(::openat(folderFd, entryName, O_RDONLY | O_CLOEXEC | O_NOCTTY), shownPath,
                        runSet);
}

SongTexts readKaraokeBytes(QByteArrayView file, RunSet runSet) {
    MemorySource source(file);
    SongTexts texts;
    readSongTexts(source, runSet, texts);
    return texts;
}

} // namespace corvanteller
