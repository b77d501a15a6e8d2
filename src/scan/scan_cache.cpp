// SPDX-License-Identifier: GPL-3.0-or-later
#include "scan/scan_cache.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <array>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <future>
#include <system_error>
#include <unistd.h>

namespace corvanteller {
namespace {

using namespace Qt::StringLiterals;

// The file is this machine's own: its numbers stand in the machine's byte order, and a file
// of another layout fails its magic or version and is dropped.
constexpr std::array<char, 8> magic = {'C', 'V', 'S', 'C', 'A', 'N', '\0', '\1'};
constexpr std::uint32_t formatVersion = 2;

struct FileHead {
    std::array<char, 8> magic;
    std::uint32_t version;
    std::uint32_t count;
    std::uint64_t payloadBytes;
    std::uint64_t checksum;
};
static_assert(sizeof(FileHead) == 32);

struct RecordHead {
    std::uint64_t device;
    std::uint64_t inode;
    std::int64_t size;
    std::int64_t modifiedNs;
    std::int64_t changedNs;
    std::uint32_t runSet;
    std::array<std::uint32_t, 4> lengths; // UTF-16 units of the four texts
    std::uint32_t reserved;
};
static_assert(sizeof(RecordHead) == 64); // no padding: every byte written is set

// Texts of karaoke files stay far below this; anything longer is damage.
constexpr std::uint32_t longestText = 1 << 20;

std::uint64_t mix(std::uint64_t hash, std::uint64_t word) {
    hash ^= word * 0x9E3779B97F4A7C15ULL;
    hash = (hash << 29) | (hash >> 35);
    return hash * 0xBF58476D1CE4E5B9ULL;
}

// Four lanes that do not wait for each other: the load of a cache of 45,002 records spends a
// fourth of the time on its checksum that one chain of multiplications would take.
std::uint64_t checksumOf(const char* data, std::size_t size) {
    std::array<std::uint64_t, 4> lanes = {0x2545F4914F6CDD1DULL ^ size, 0x9E3779B97F4A7C15ULL,
                                          0xBF58476D1CE4E5B9ULL, 0x94D049BB133111EBULL};
    std::size_t at = 0;
    for (; at + 32 <= size; at += 32) {
        std::array<std::uint64_t, 4> words{};
        std::memcpy(words.data(), data + at, 32);
        for (std::size_t lane = 0; lane < 4; ++lane) {
            lanes[lane] = mix(lanes[lane], words[lane]);
        }
    }
    std::uint64_t hash = lanes[0];
    for (std::size_t lane = 1; lane < 4; ++lane) {
        hash = mix(hash, lanes[lane]);
    }
    for (; at + 8 <= size; at += 8) {
        std::uint64_t word = 0;
        std::memcpy(&word, data + at, 8);
        hash = mix(hash, word);
    }
    std::uint64_t last = 0;
    std::memcpy(&last, data + at, size - at);
    return mix(hash, last);
}

std::int64_t nowNs() {
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    return static_cast<std::int64_t>(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

template <typename Texts> auto* textsOf(Texts& texts, int index) {
    const std::array all = {&texts.first, &texts.second, &texts.third, &texts.fourth};
    return all[static_cast<std::size_t>(index)];
}

// Texts that share one allocation: each a QString of its own that points into the block,
// ends with a 0 and holds a reference to it. Changing one detaches it, as for any shared text,
// and the block is freed with the last of them.
class TextBlock {
public:
    explicit TextBlock(std::size_t chars)
        : block_(static_cast<qsizetype>(chars), Qt::Uninitialized), next_(block_.data_ptr().data()),
          end_(next_ + chars) {}

    // The UTF-16 text of `length` units at `units` as target; false when the block is full.
    bool take(const char* units, std::uint32_t length, QString& target) {
        if (static_cast<std::size_t>(end_ - next_) < std::size_t{length} + 1) {
            return false;
        }
        std::memcpy(next_, units, std::size_t{length} * 2);
        next_[length] = u'\0';
        QString::DataPointer& shared = block_.data_ptr();
        shared.ref();
        target = QString(QString::DataPointer(shared.d_ptr(), next_, length));
        next_ += length + 1;
        return true;
    }

private:
    QString block_;
    char16_t* next_;
    char16_t* end_;
};

bool writeAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return false;
        }
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

} // namespace

void ScanCache::Index::reset(std::size_t records) {
    int bits = 4;
    while ((std::size_t{1} << bits) < 2 * records) {
        ++bits;
    }
    slots_.assign(std::size_t{1} << bits, 0);
    mask_ = (std::size_t{1} << bits) - 1;
    shift_ = 64 - bits;
}

std::uint64_t ScanCache::Index::hashOf(RunSet runSet, std::uint64_t device, std::uint64_t inode) {
    return mix(mix(device, inode), static_cast<std::uint64_t>(runSet));
}

bool ScanCache::Index::isKeyOf(const Record& record, RunSet runSet, std::uint64_t device,
                               std::uint64_t inode) {
    return record.version.inode == inode && record.version.device == device &&
           record.runSet == runSet;
}

std::size_t ScanCache::Index::find(const std::vector<Record>& records, RunSet runSet,
                                   std::uint64_t device, std::uint64_t inode) const {
    if (slots_.empty()) {
        return none;
    }
    const std::uint64_t hash = hashOf(runSet, device, inode);
    const std::uint64_t tag = tagOf(hash);
    for (std::size_t slot = hash >> shift_;; slot = (slot + 1) & mask_) {
        const std::uint64_t entry = slots_[slot];
        if (entry == 0) {
            return none;
        }
        const std::size_t place = placeOf(entry);
        if ((entry & tagMask) == tag && isKeyOf(records[place], runSet, device, inode)) {
            return place;
        }
    }
}

bool ScanCache::Index::insert(const std::vector<Record>& records, std::size_t at) {
    const Record& added = records[at];
    const std::uint64_t hash = hashOf(added.runSet, added.version.device, added.version.inode);
    const std::uint64_t tag = tagOf(hash);
    std::size_t slot = hash >> shift_;
    for (; slots_[slot] != 0; slot = (slot + 1) & mask_) {
        const std::uint64_t entry = slots_[slot];
        if ((entry & tagMask) == tag && isKeyOf(records[placeOf(entry)], added.runSet,
                                                added.version.device, added.version.inode)) {
            return false;
        }
    }
    slots_[slot] = tag | (at + 1);
    return true;
}

ScanCache::ScanCache(QString path, std::chrono::nanoseconds settleTime)
    : path_(std::move(path)), settleTime_(settleTime) {}

ScanCache::~ScanCache() {
    finishSaving();
}

ScanCache::ScanCache(ScanCache&& other) noexcept : settleTime_(other.settleTime_) {
    *this = std::move(other);
}

ScanCache& ScanCache::operator=(ScanCache&& other) noexcept {
    finishSaving();
    other.finishSaving();
    path_ = std::move(other.path_);
    settleTime_ = other.settleTime_;
    loaded_ = other.loaded_;
    changed_ = other.changed_;
    mergeWanted_ = other.mergeWanted_;
    scanStartNs_ = other.scanStartNs_;
    records_ = std::move(other.records_);
    index_ = std::move(other.index_);
    scanned_ = std::move(other.scanned_);
    fresh_ = std::move(other.fresh_);
    return *this;
}

QString ScanCache::defaultPath() {
    return QStandardPaths::writableLocation(QStandardPaths::CacheLocation) + u"/scan-cache.bin"_s;
}

void ScanCache::clear() {
    records_.clear();
    index_.reset(0);
}

void ScanCache::loadOnce() {
    settle();
    if (loaded_) {
        return;
    }
    loaded_ = true;
    QFile file(path_);
    if (!file.open(QIODevice::ReadOnly) || !parse(file.readAll())) {
        clear();
    }
}

bool ScanCache::parse(const QByteArray& bytes) {
    FileHead head{};
    if (bytes.size() < static_cast<qsizetype>(sizeof head)) {
        return false;
    }
    std::memcpy(&head, bytes.constData(), sizeof head);
    const char* payload = bytes.constData() + sizeof head;
    const std::size_t payloadBytes = static_cast<std::size_t>(bytes.size()) - sizeof head;
    if (head.magic != magic || head.version != formatVersion || head.count > maxFiles ||
        head.payloadBytes != payloadBytes) {
        return false;
    }
    // The checksum is worked out beside the records, which count only if it matches.
    std::future<std::uint64_t> checksum;
    try {
        checksum = std::async(std::launch::async, checksumOf, payload, payloadBytes);
    } catch (const std::system_error&) {
        checksum = std::async(std::launch::deferred, checksumOf, payload, payloadBytes);
    }
    const bool parsed = parseRecords(head.count, payload, payloadBytes);
    return checksum.get() == head.checksum && parsed;
}

bool ScanCache::parseRecords(std::uint32_t count, const char* payload, std::size_t payloadBytes) {
    const std::size_t headBytes = std::size_t{count} * sizeof(RecordHead);
    if (payloadBytes < headBytes) {
        return false;
    }
    // One block holds every text of the file, each followed by a 0 as QString's own texts are:
    // the records' texts cost no allocation each, and the rows that take them share the block.
    TextBlock block((payloadBytes - headBytes) / 2 + 4 * std::size_t{count});
    records_.reserve(count);
    index_.reset(count);
    std::size_t at = 0;
    for (std::uint32_t i = 0; i < count; ++i) {
        RecordHead record{};
        if (payloadBytes - at < sizeof record) {
            return false;
        }
        std::memcpy(&record, payload + at, sizeof record);
        at += sizeof record;
        if (record.runSet > static_cast<std::uint32_t>(RunSet::MainWindow)) {
            return false;
        }
        Record& added = records_.emplace_back();
        added.runSet = static_cast<RunSet>(record.runSet);
        added.version = {record.device, record.inode, record.size, record.modifiedNs,
                         record.changedNs};
        for (int text = 0; text < 4; ++text) {
            const std::uint32_t length = record.lengths[static_cast<std::size_t>(text)];
            if (length > longestText || (payloadBytes - at) / 2 < length) {
                return false;
            }
            if (length > 0 && !block.take(payload + at, length, *textsOf(added.texts, text))) {
                return false;
            }
            at += std::size_t{length} * 2;
        }
        if (!index_.insert(records_, records_.size() - 1)) {
            return false; // the file never holds a key twice
        }
    }
    return at == payloadBytes;
}

QByteArray ScanCache::serialise() const {
    std::size_t size = sizeof(FileHead);
    for (const Record& record : records_) {
        size += sizeof(RecordHead);
        for (int text = 0; text < 4; ++text) {
            size += 2 * static_cast<std::size_t>(textsOf(record.texts, text)->size());
        }
    }
    // Sized once and filled in place: appending each piece would cost more than its copy.
    QByteArray bytes(static_cast<qsizetype>(size), Qt::Uninitialized);
    char* next = bytes.data() + sizeof(FileHead);
    for (const Record& record : records_) {
        RecordHead head{record.version.device,
                        record.version.inode,
                        record.version.size,
                        record.version.modifiedNs,
                        record.version.changedNs,
                        static_cast<std::uint32_t>(record.runSet),
                        {},
                        0};
        for (int text = 0; text < 4; ++text) {
            head.lengths[static_cast<std::size_t>(text)] =
                static_cast<std::uint32_t>(textsOf(record.texts, text)->size());
        }
        std::memcpy(next, &head, sizeof head);
        next += sizeof head;
        for (int text = 0; text < 4; ++text) {
            const QString& value = *textsOf(record.texts, text);
            const std::size_t units = static_cast<std::size_t>(value.size());
            if (units > 0) {
                std::memcpy(next, value.constData(), 2 * units);
                next += 2 * units;
            }
        }
    }
    const std::size_t payloadBytes = size - sizeof(FileHead);
    const FileHead head{magic, formatVersion, static_cast<std::uint32_t>(records_.size()),
                        payloadBytes,
                        checksumOf(bytes.constData() + sizeof(FileHead), payloadBytes)};
    std::memcpy(bytes.data(), &head, sizeof head);
    return bytes;
}

bool ScanCache::save() {
    settle();
    if (!changed_) {
        return true;
    }
    changed_ = !write();
    return !changed_;
}

void ScanCache::saveInBackground() {
    finishSaving();
    if (!changed_) {
        return;
    }
    changed_ = false;
    try {
        saving_ = std::async(std::launch::async, [this] {
            mergeScan();
            return write();
        });
    } catch (const std::system_error&) {
        changed_ = true;
        save();
    }
}

void ScanCache::settle() {
    finishSaving();
    mergeScan();
}

void ScanCache::finishSaving() {
    if (!saving_.valid()) {
        return;
    }
    bool saved = false;
    try {
        saved = saving_.get();
    } catch (const std::exception&) {
        // Out of memory for the file's bytes: the records stay, to be written another time.
    }
    changed_ = changed_ || !saved;
}

bool ScanCache::write() const {
    const QString folder = QFileInfo(path_).absolutePath();
    if (!QDir().mkpath(folder)) {
        return false;
    }
    const QByteArray bytes = serialise();
    // Written beside the cache and renamed over it: a reader sees the old file or the new one,
    // whole. It is not forced to the disk first (that wait would cost a scan more than the
    // cache saves a rescan): a crash may leave a file that fails its checksum, which is read
    // as an empty cache.
    const QByteArray target = QFile::encodeName(path_);
    const QByteArray temporary = target + ".tmp-" + QByteArray::number(::getpid());
    const int fd = ::open(temporary.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0) {
        return false;
    }
    const bool written = writeAll(fd, bytes.constData(), static_cast<std::size_t>(bytes.size()));
    if (::close(fd) != 0 || !written || ::rename(temporary.constData(), target.constData()) != 0) {
        ::unlink(temporary.constData());
        return false;
    }
    return true;
}

const ScanCache::Record* ScanCache::recordFor(RunSet runSet, std::uint64_t device,
                                              std::uint64_t inode) const {
    const std::size_t found = index_.find(records_, runSet, device, inode);
    return found == Index::none ? nullptr : &records_[found];
}

const SongTexts* ScanCache::find(RunSet runSet, const FileVersion& version) const {
    const Record* record = recordFor(runSet, version.device, version.inode);
    return record != nullptr && record->version == version ? &record->texts : nullptr;
}

void ScanCache::beginScan() {
    settle();
    scanned_.clear();
    fresh_.clear();
    scanned_.reserve(records_.size());
    scanStartNs_ = nowNs();
}

void ScanCache::remember(RunSet runSet, const FileVersion& version, const SongTexts& texts,
                         const Record* known) {
    const std::int64_t settled = scanStartNs_ - settleTime_.count();
    if (version.modifiedNs >= settled || version.changedNs >= settled) {
        return;
    }
    // Its place, without a second look-up.
    if (known != nullptr) {
        scanned_.push_back(static_cast<std::uint32_t>(known - records_.data()));
        return;
    }
    const SongTexts* before = find(runSet, version);
    changed_ = changed_ || before == nullptr || *before != texts;
    scanned_.push_back(freshMark | static_cast<std::uint32_t>(fresh_.size()));
    fresh_.push_back({runSet, version, texts});
}

void ScanCache::endScan() {
    if (!changed_) {
        // Every file known as it was: the records stay, and so does the file.
        scanned_.clear();
        fresh_.clear();
        return;
    }
    mergeWanted_ = true;
}

void ScanCache::mergeScan() {
    if (!mergeWanted_) {
        return;
    }
    mergeWanted_ = false;
    std::vector<Record> merged;
    merged.reserve(std::min(scanned_.size() + records_.size(), maxFiles));
    for (const std::uint32_t place : scanned_) {
        if ((place & freshMark) != 0) {
            merged.push_back(std::move(fresh_[place & ~freshMark]));
        } else {
            merged.push_back(records_[place]);
        }
    }
    scanned_.clear();
    fresh_.clear();
    Index index;
    index.reset(std::min(merged.size() + records_.size(), maxFiles));
    // A file met twice (a hard link) keeps its first row's place.
    std::size_t kept = 0;
    for (std::size_t i = 0; i < merged.size() && kept < maxFiles; ++i) {
        const Record& record = merged[i];
        if (index.find(merged, record.runSet, record.version.device, record.version.inode) ==
            Index::none) {
            if (i != kept) {
                merged[kept] = std::move(merged[i]);
            }
            index.insert(merged, kept++);
        }
    }
    merged.resize(kept);
    for (Record& record : records_) {
        if (merged.size() >= maxFiles) {
            break;
        }
        if (index.find(merged, record.runSet, record.version.device, record.version.inode) ==
            Index::none) {
            merged.push_back(std::move(record));
            index.insert(merged, merged.size() - 1);
        }
    }
    records_ = std::move(merged);
    index_ = std::move(index);
}

} // namespace corvanteller
