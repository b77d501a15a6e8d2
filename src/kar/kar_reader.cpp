// SPDX-License-Identifier: GPL-3.0-or-later
#include "kar/kar_reader.h"

#include "common/cp1251.h"
#include "kar/kar_texts.h"
#include "kar/soft_karaoke_tail.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <string>
#include <sys/stat.h>
#include <sys/uio.h>
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
// reachedEnd tells whether the end of the block stopped a run; only then can more bytes of the
// same block change the runs.
Runs collectRuns(std::string_view block, std::size_t markerIndex, const CharSet& runSet,
                 bool* reachedEnd = nullptr) {
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
        if (reachedEnd != nullptr && c > block.size()) {
            *reachedEnd = true;
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
    return text.substr(0, tagRunLength(text.data(), text.size()));
}

// The text after the next "@T" of a "Words" track, up to the following "@T" less the four
// bytes of that event's head.
std::string_view takeTagText(std::string_view& words) {
    const std::size_t p = positionOf(words, "@T");
    const std::string_view text = leadingChars(words, static_cast<std::ptrdiff_t>(p) - 5);
    dropLeading(words, p + 1);
    return text;
}

// The pass's steps after its texts are cut before their first character outside the tag set.
SongTexts softKaraokeTexts(std::array<std::string_view, 3> texts, std::string_view formatName) {
    for (std::string_view& text : texts) {
        text = dropShortText(text, 3);
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

SongTexts softKaraokeResult(const Runs& runs, std::string_view tail) {
    const std::size_t wordsAt = positionOf(tail, "Words");
    if (wordsAt == 0) {
        return toSongTexts(runs[2], runs[4], runs[6], runs[8]);
    }
    std::string_view words = tail.substr(wordsAt - 1);
    dropLeading(words, positionOf(words, "@T") + 1);
    std::array<std::string_view, 3> texts{};
    texts[0] = takeTagText(words);
    texts[1] = takeTagText(words);
    texts[2] = leadingChars(words, static_cast<std::ptrdiff_t>(positionOf(words, "@I")) - 8);
    for (std::string_view& text : texts) {
        text = cutAtFirstNonTagChar(text);
    }
    return softKaraokeTexts(texts, runs[2]);
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

} // namespace

qsizetype firstNameMarker(QByteArrayView file) {
    for (qsizetype start = 0; start < file.size(); start += karBlockSize) {
        const std::string_view block(file.data() + start, static_cast<std::size_t>(std::min(
                                                              karBlockSize, file.size() - start)));
        if (const std::size_t marker = findMarker(block); marker != std::string_view::npos) {
            return start + static_cast<qsizetype>(marker);
        }
    }
    return -1;
}

bool isSoftKaraokeName(QByteArrayView text) {
    return namesSoftKaraoke(std::string_view(text.data(), static_cast<std::size_t>(text.size())));
}

namespace {

// The bytes a view carries over to the next: enough for a text that crosses the border of
// two reads (texts of karaoke files stay below 128 bytes), so that it is rarely read again.
constexpr std::size_t keptBytes = 512;
static_assert(keptBytes >= SoftKaraokeTail::overlap);
// The name events of a file whose marker lies behind its first block are looked for in
// pieces of this size; a whole number of blocks, so that block borders stay where they are.
constexpr qsizetype pieceBytes = 16 * karBlockSize;
// What is read first: one page, which holds the name events of most files.
constexpr qsizetype firstReadBytes = 4096;
static_assert(firstReadBytes <= karBlockSize);
// The Soft Karaoke pass stops once its texts are settled, which for most files is within the
// first few pages: its reads end at powers of two, each at least this far on and at most a
// piece, so that a file whose tags come early is read little further than they (the first
// such read ends where the system's first read-ahead of the file does), and one read to its
// end takes few reads.
constexpr qsizetype leastTailReadBytes = 12 * 1024;

qint64 tailReadEnd(qint64 offset) {
    qint64 end = firstReadBytes;
    while (end < offset + leastTailReadBytes) {
        end *= 2;
    }
    return std::min(end, offset + pieceBytes);
}

// One read buffer per thread, kept for every file that the thread reads.
class ReadBuffer {
public:
    // Room for keptBytes before data().
    char* data() { return bytes_.get() + keptBytes; }

    static ReadBuffer& forThisThread() {
        thread_local ReadBuffer buffer;
        return buffer;
    }

private:
    std::unique_ptr<char[]> bytes_{new char[keptBytes + static_cast<std::size_t>(pieceBytes)]};
};

// Reads up to `wanted` bytes at `offset`, all of them unless the source ends first. Returns
// the count, or -1 on failure.
template <typename Source>
qsizetype readFull(Source& source, char* into, qsizetype wanted, qint64 offset) {
    qsizetype got = 0;
    while (got < wanted && !source.endsAt(offset + got)) {
        const qsizetype size = source.readAt(into + got, wanted - got, offset + got);
        if (size < 0) {
            return -1;
        }
        if (size == 0) {
            break;
        }
        got += size;
    }
    return got;
}

// The name-event pass as files are read: the start of the first block alone first, which
// decides it for most files (their marker and its events lie there, and only a Soft Karaoke
// file needs more); then the rest of that block; after it, whole pieces, each searched block
// by block. startKept tells whether the file's first startSize bytes still stand in the
// buffer.
template <typename Source>
bool readNameEvents(Source& source, RunSet runSet, char* data, Runs& runs, bool& startKept,
                    qsizetype& startSize) {
    const CharSet& runChars = runSetChars(runSet);
    startSize = readFull(source, data, firstReadBytes, 0);
    if (startSize < 0) {
        return false;
    }
    if (startSize == firstReadBytes) {
        const std::string_view start(data, static_cast<std::size_t>(startSize));
        if (const std::size_t marker = findMarker(start); marker != std::string_view::npos) {
            bool reachedEnd = false;
            runs = collectRuns(start, marker, runChars, &reachedEnd);
            if (!reachedEnd) {
                startKept = true;
                return true;
            }
        }
        const qsizetype rest =
            readFull(source, data + startSize, karBlockSize - startSize, startSize);
        if (rest < 0) {
            return false;
        }
        startSize += rest;
    }
    const std::string_view firstBlock(data, static_cast<std::size_t>(startSize));
    if (const std::size_t marker = findMarker(firstBlock); marker != std::string_view::npos) {
        runs = collectRuns(firstBlock, marker, runChars);
        startKept = true;
        return true;
    }
    startKept = false;
    if (startSize < karBlockSize) {
        return true;
    }
    for (qint64 offset = karBlockSize;;) {
        const qsizetype size = readFull(source, data, pieceBytes, offset);
        if (size < 0) {
            return false;
        }
        for (qsizetype blockStart = 0; blockStart < size; blockStart += karBlockSize) {
            const std::string_view block(data + blockStart, static_cast<std::size_t>(std::min(
                                                                karBlockSize, size - blockStart)));
            if (const std::size_t marker = findMarker(block); marker != std::string_view::npos) {
                // Later blocks cannot change the runs.
                runs = collectRuns(block, marker, runChars);
                return true;
            }
        }
        if (size < pieceBytes) {
            return true;
        }
        offset += size;
    }
}

// Reads the bytes of a text that began before the view in which it was settled.
template <typename Source>
bool readPendingText(Source& source, char* data, SoftKaraokeTail::Text& text) {
    qint64 offset = midiHeaderSize + static_cast<qint64>(text.start);
    qint64 remaining = static_cast<qint64>(text.end - text.start);
    while (remaining > 0) {
        const qsizetype size = source.readAt(
            data, static_cast<qsizetype>(std::min<qint64>(remaining, pieceBytes)), offset);
        if (size < 0) {
            return false;
        }
        if (size == 0) {
            break;
        }
        const std::size_t run = tagRunLength(data, static_cast<std::size_t>(size));
        text.bytes.append(data, run);
        if (run < static_cast<std::size_t>(size)) {
            break;
        }
        offset += size;
        remaining -= size;
    }
    text.pending = false;
    return true;
}

// The Soft Karaoke pass as files are read: the tail goes by in views of one piece and the
// bytes kept from the piece before; the file's first bytes are used again where they are still
// in the buffer.
template <typename Source>
bool readSoftKaraokeTail(Source& source, char* data, bool startKept, qsizetype startSize,
                         SoftKaraokeTail& tail) {
    const char* view = data;
    std::size_t viewSize = 0;
    qint64 nextOffset = midiHeaderSize;
    bool settled = false;
    if (startKept && startSize > midiHeaderSize) {
        view = data + midiHeaderSize;
        viewSize = static_cast<std::size_t>(startSize - midiHeaderSize);
        settled = tail.feed(view, 0, viewSize);
        nextOffset = startSize;
    }
    while (!settled && !source.endsAt(nextOffset)) {
        const std::size_t kept = std::min(viewSize, keptBytes);
        std::memmove(data - kept, view + viewSize - kept, kept);
        const qsizetype size = source.readAt(
            data, static_cast<qsizetype>(tailReadEnd(nextOffset) - nextOffset), nextOffset);
        if (size < 0) {
            return false;
        }
        if (size == 0) {
            break;
        }
        view = data - kept;
        viewSize = kept + static_cast<std::size_t>(size);
        settled = tail.feed(view, static_cast<std::uint64_t>(nextOffset - midiHeaderSize) - kept,
                            viewSize);
        nextOffset += size;
    }
    for (SoftKaraokeTail::Text& text : tail.finish()) {
        if (text.pending && !readPendingText(source, data, text)) {
            return false;
        }
    }
    return true;
}

// The reading rule over any source. Source::readAt(into, wanted, offset) reads up to wanted
// bytes at offset and returns their count (0 at the end, -1 on failure);
// Source::endsAt(offset) is true when the source is known to end there.
template <typename Source> bool readSongTexts(Source& source, RunSet runSet, SongTexts& result) {
    char* data = ReadBuffer::forThisThread().data();
    Runs runs{};
    bool startKept = false;
    qsizetype startSize = 0;
    if (!readNameEvents(source, runSet, data, runs, startKept, startSize)) {
        return false;
    }
    applySignatures(runs);
    if (!namesSoftKaraoke(runs[2])) {
        result = ordinaryResult(runs);
        return true;
    }
    // The runs point into the buffer, which the tail's pieces overwrite.
    const std::string formatName(runs[2]);
    SongTexts withoutWords = toSongTexts(runs[2], runs[4], runs[6], runs[8]);
    SoftKaraokeTail tail;
    if (!readSoftKaraokeTail(source, data, startKept, startSize, tail)) {
        return false;
    }
    if (!tail.foundWords()) {
        result = std::move(withoutWords);
        return true;
    }
    std::array<SoftKaraokeTail::Text, 3>& texts = tail.finish();
    result = softKaraokeTexts({texts[0].bytes, texts[1].bytes, texts[2].bytes}, formatName);
    return true;
}

class MemorySource {
public:
    MemorySource(QByteArrayView file, qsizetype pieceSize)
        : file_(file), pieceSize_(std::max<qsizetype>(pieceSize, 1)) {}

    qsizetype readAt(char* into, qsizetype wanted, qint64 offset) {
        if (offset >= file_.size()) {
            return 0;
        }
        const qsizetype size = std::min({wanted, pieceSize_, file_.size() - offset});
        std::memcpy(into, file_.data() + offset, static_cast<std::size_t>(size));
        return size;
    }
    bool endsAt(qint64 offset) const { return offset >= file_.size(); }

private:
    QByteArrayView file_;
    qsizetype pieceSize_;
};

class FileSource {
public:
    FileSource(int fd, qint64 size, const std::atomic<bool>* stop)
        : fd_(fd), size_(size), stop_(stop) {}

    int error() const { return error_; }
    bool stopped() const { return stopped_; }

    qsizetype readAt(char* into, qsizetype wanted, qint64 offset) {
        if (stop_ != nullptr && stop_->load(std::memory_order_relaxed)) {
            stopped_ = true;
            error_ = ECANCELED;
            return -1;
        }
        if (size_ == 0) {
            wanted = static_cast<qsizetype>(
                std::clamp<qint64>(unsizedFileReadLimit - offset, 0, wanted));
        }
        if (offset == 0 && !fromDiskKnown_) {
            fromDiskKnown_ = true;
            bool asked = false;
            if (const qsizetype size = readIfInMemory(into, wanted, asked); size >= 0 || asked) {
                return size >= 0 ? size : plainRead(into, wanted, offset);
            }
            // A file system that cannot tell (a network share, say): a first read that takes
            // longer than memory ever does waited for the file.
            const auto start = std::chrono::steady_clock::now();
            const qsizetype size = plainRead(into, wanted, offset);
            fromDisk_ = std::chrono::steady_clock::now() - start > slowestReadFromMemory;
            return size;
        }
        return plainRead(into, wanted, offset);
    }
    bool fromDisk() const { return fromDisk_; }
    // The size that the file had when it was opened saves the read that would find its end.
    // A size of 0 proves nothing: files of /proc have content all the same, up to a limit.
    bool endsAt(qint64 offset) const {
        return offset >= (size_ > 0 ? size_ : unsizedFileReadLimit);
    }

private:
    static constexpr std::chrono::microseconds slowestReadFromMemory{500};

    qsizetype plainRead(char* into, qsizetype wanted, qint64 offset) {
        while (true) {
            const ssize_t size = ::pread(fd_, into, static_cast<std::size_t>(wanted), offset);
            if (size >= 0) {
                return size;
            }
            if (errno != EINTR) {
                error_ = errno;
                return -1;
            }
        }
    }

    // The first read, asked not to wait: it tells whether the file's start is in memory, for
    // no more than a plain read costs. When it is not (-1, asked set), the system has begun
    // to read it from the disk all the same, and a plain read waits for it. -1 with asked
    // unset: the file system does not take the question.
    qsizetype readIfInMemory(char* into, qsizetype wanted, bool& asked) {
        iovec vector{into, static_cast<std::size_t>(wanted)};
        ssize_t size = 0;
        do {
            size = ::preadv2(fd_, &vector, 1, 0, RWF_NOWAIT);
        } while (size < 0 && errno == EINTR);
        asked = size >= 0 || errno == EAGAIN;
        fromDisk_ = size < 0 && errno == EAGAIN;
        return size;
    }

    int fd_;
    qint64 size_;
    const std::atomic<bool>* stop_;
    int error_ = 0;
    bool stopped_ = false;
    bool fromDiskKnown_ = false;
    bool fromDisk_ = false;
};

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    int get() const { return fd_; }

private:
    int fd_;
};

KarReadResult failure(int errorCode, bool notRegularFile = false) {
    KarReadResult result;
    result.ok = false;
    result.errorCode = errorCode;
    result.notRegularFile = notRegularFile;
    return result;
}

KarReadResult notRegularFileFailure() {
    return failure(EACCES, true);
}

// A file opened without blocking (O_NONBLOCK: a FIFO that took the file's place since its
// kind was looked at does not stop the reader) is read only when it is a regular file.
KarReadResult readOpenedFile(int fd, RunSet runSet, const std::atomic<bool>* stop) {
    if (fd < 0) {
        return failure(errno);
    }
    const FileDescriptor file(fd);
    struct stat status {};
    if (::fstat(fd, &status) != 0) {
        return failure(errno);
    }
    if (!S_ISREG(status.st_mode)) {
        return notRegularFileFailure();
    }
    FileSource source(fd, status.st_size, stop);
    KarReadResult result;
    result.version = FileVersion::of(status);
    if (!readSongTexts(source, runSet, result.texts)) {
        result = failure(source.error());
        result.stopped = source.stopped();
    }
    result.fromDisk = source.fromDisk();
    return result;
}

constexpr int openFlags = O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK;

} // namespace

QString karReadFailureText(const QString& shownPath, const KarReadResult& failed) {
    const QString reason = failed.notRegularFile
                               ? karTexts::notRegularFile()
                               : QString::fromLocal8Bit(std::strerror(failed.errorCode));
    return karTexts::cannotRead(shownPath, reason);
}

KarReadResult readKaraokeFile(const QByteArray& pathBytes, RunSet runSet,
                              const std::atomic<bool>* stop) {
    // Looked at before it is opened: opening a device may have effects of its own.
    struct stat status {};
    if (::stat(pathBytes.constData(), &status) != 0) {
        return failure(errno);
    }
    if (!S_ISREG(status.st_mode)) {
        return notRegularFileFailure();
    }
    return readOpenedFile(::open(pathBytes.constData(), openFlags), runSet, stop);
}

KarReadResult readKaraokeFileAt(int folderFd, const char* entryName, RunSet runSet,
                                const std::atomic<bool>* stop) {
    return readOpenedFile(::openat(folderFd, entryName, openFlags), runSet, stop);
}

SongTexts readKaraokeBytes(QByteArrayView file, RunSet runSet) {
    const CharSet& runChars = runSetChars(runSet);
    Runs runs{};
    const std::string_view bytes(file.data(), static_cast<std::size_t>(file.size()));
    for (std::size_t blockStart = 0; blockStart < bytes.size(); blockStart += karBlockSize) {
        const std::string_view block = bytes.substr(blockStart, karBlockSize);
        if (const std::size_t marker = findMarker(block); marker != std::string_view::npos) {
            runs = collectRuns(block, marker, runChars);
            break;
        }
    }
    applySignatures(runs);
    if (!namesSoftKaraoke(runs[2])) {
        return ordinaryResult(runs);
    }
    return softKaraokeResult(runs, bytes.size() > midiHeaderSize ? bytes.substr(midiHeaderSize)
                                                                 : std::string_view());
}

SongTexts readKaraokeBytesInPieces(QByteArrayView file, RunSet runSet, qsizetype pieceSize) {
    MemorySource source(file, pieceSize);
    SongTexts texts;
    readSongTexts(source, runSet, texts);
    return texts;
}

} // namespace corvanteller
