#include "rename/rename_journal.h"

#include "common/file_io.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QList>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <functional>
#include <map>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

namespace corvanteller {

using namespace Qt::StringLiterals;

namespace {

const QByteArray oldUndoMark = "undo";

constexpr std::array<quint32, 256> crcTable = [] {
    std::array<quint32, 256> table{};
    for (quint32 i = 0; i < 256; ++i) {
        quint32 value = i;
        for (int bit = 0; bit < 8; ++bit) {
            value = (value & 1U) != 0 ? 0xEDB88320U ^ (value >> 1) : value >> 1;
        }
        table[i] = value;
    }
    return table;
}();

quint32 crc32(QByteArrayView bytes) {
    quint32 crc = 0xFFFFFFFFU;
    for (const char byte : bytes) {
        crc = crcTable[(crc ^ static_cast<unsigned char>(byte)) & 0xFFU] ^ (crc >> 8);
    }
    return crc ^ 0xFFFFFFFFU;
}

QByteArray checksumField(QByteArrayView fields) {
    return QByteArray::number(crc32(fields), 16).rightJustified(8, '0');
}

// The rename of that sequence number: mostly at its own place, as every run numbers its renames
// from 1 in the order it writes them.
JournalRename* renameNumbered(JournalRun& run, qint64 sequence) {
    const auto index = static_cast<std::size_t>(sequence - 1);
    if (sequence > 0 && index < run.renames.size() && run.renames[index].sequence == sequence) {
        return &run.renames[index];
    }
    for (JournalRename& rename : run.renames) {
        if (rename.sequence == sequence) {
            return &rename;
        }
    }
    return nullptr;
}

char hexDigit(int value) {
    return "0123456789ABCDEF"[value & 15];
}

// What one complete line says.
struct ParsedLine {
    enum class Kind { Start, Intent, Failed, Settled, DamageReported, OldRename, OldUndo };
    Kind kind = Kind::Start;
    qint64 run = 0;       // the run the line belongs to
    qint64 ownNumber = 0; // the number an older journal's undo line took for itself
    qint64 number = 0;    // sequence, or count of damaged lines
    QDateTime started;
    std::optional<FileIdentity> file;
    QByteArray oldPath;
    QByteArray newPath;
};

std::optional<qint64> numberOf(const QByteArray& field) {
    bool ok = false;
    const qint64 value = field.toLongLong(&ok);
    return ok && value >= 0 ? std::optional(value) : std::nullopt;
}

bool isAbsolutePath(const QByteArray& path) {
    return path.startsWith('/') && path.size() > 1;
}

// A line of an older journal: complete when it has its three fields.
std::optional<ParsedLine> parseOldLine(const QList<QByteArray>& fields) {
    if (fields.size() != 3) {
        return std::nullopt;
    }
    const std::optional<qint64> run = numberOf(fields[0]);
    if (!run) {
        return std::nullopt;
    }
    ParsedLine parsed;
    if (fields[1] == oldUndoMark) {
        const std::optional<qint64> undone = numberOf(fields[2]);
        if (!undone) {
            return std::nullopt;
        }
        parsed.kind = ParsedLine::Kind::OldUndo;
        parsed.run = *undone;
        parsed.ownNumber = *run;
        return parsed;
    }
    parsed.kind = ParsedLine::Kind::OldRename;
    parsed.run = *run;
    parsed.oldPath = unescapeJournalField(fields[1]);
    parsed.newPath = unescapeJournalField(fields[2]);
    if (!isAbsolutePath(parsed.oldPath) || !isAbsolutePath(parsed.newPath)) {
        return std::nullopt;
    }
    return parsed;
}

std::optional<FileIdentity> identityOf(const QByteArray& field) {
    const qsizetype colon = field.indexOf(':');
    if (colon < 0) {
        return std::nullopt;
    }
    bool deviceOk = false;
    bool inodeOk = false;
    const FileIdentity identity{field.left(colon).toULongLong(&deviceOk),
                                field.mid(colon + 1).toULongLong(&inodeOk)};
    return deviceOk && inodeOk ? std::optional(identity) : std::nullopt;
}

std::optional<ParsedLine> parseLine(const QByteArray& line) {
    if (line.isEmpty()) {
        return std::nullopt;
    }
    if (line[0] >= '0' && line[0] <= '9') {
        return parseOldLine(line.split('\t'));
    }
    const qsizetype lastTab = line.lastIndexOf('\t');
    if (lastTab < 0 || line.size() - lastTab - 1 != 8 ||
        line.mid(lastTab + 1) != checksumField(QByteArrayView(line).first(lastTab))) {
        return std::nullopt;
    }
    const QList<QByteArray> fields = line.left(lastTab).split('\t');
    if (fields.size() < 3 || fields[0].size() != 1) {
        return std::nullopt;
    }
    const std::optional<qint64> run = numberOf(fields[1]);
    const std::optional<qint64> number = numberOf(fields[2]);
    if (!run) {
        return std::nullopt;
    }
    ParsedLine parsed;
    parsed.run = *run;
    parsed.number = number.value_or(0);
    switch (fields[0][0]) {
    case 'S':
        parsed.kind = ParsedLine::Kind::Start;
        parsed.started = QDateTime::fromString(QString::fromLatin1(fields[2]), Qt::ISODate);
        return fields.size() == 3 ? std::optional(parsed) : std::nullopt;
    case 'R':
        if (fields.size() != 6 || !number) {
            return std::nullopt;
        }
        parsed.kind = ParsedLine::Kind::Intent;
        parsed.file = identityOf(fields[3]);
        parsed.oldPath = unescapeJournalField(fields[4]);
        parsed.newPath = unescapeJournalField(fields[5]);
        return parsed;
    case 'F':
    case 'U':
    case 'D':
        if (fields.size() != 3 || !number) {
            return std::nullopt;
        }
        parsed.kind = fields[0][0] == 'F'   ? ParsedLine::Kind::Failed
                      : fields[0][0] == 'U' ? ParsedLine::Kind::Settled
                                            : ParsedLine::Kind::DamageReported;
        return parsed;
    default:
        return std::nullopt;
    }
}

// Calls visit for each line of the journal's bytes with the run it belongs to: a line that
// cannot be read belongs to the run of the last line before it that can (0 before any), and
// comes with no parsed line. A last line without its line break is complete only when its
// checksum says so.
void forEachLine(const QByteArray& bytes,
                 const std::function<void(const QByteArray&, qint64, const ParsedLine*)>& visit) {
    qint64 currentRun = 0;
    qsizetype start = 0;
    while (start < bytes.size()) {
        qsizetype end = bytes.indexOf('\n', start);
        const bool terminated = end >= 0;
        if (!terminated) {
            end = bytes.size();
        }
        const QByteArray line = bytes.mid(start, end - start);
        start = end + 1;
        if (line.isEmpty()) {
            continue;
        }
        std::optional<ParsedLine> parsed = parseLine(line);
        if (parsed && !terminated && parsed->kind >= ParsedLine::Kind::OldRename) {
            parsed.reset(); // an older line has no checksum to tell it whole
        }
        if (parsed) {
            currentRun = parsed->run;
        }
        visit(line, currentRun, parsed ? &*parsed : nullptr);
    }
}

QByteArray readAll(int descriptor) {
    QByteArray bytes;
    constexpr qint64 chunk = 256 * 1024;
    qint64 position = 0;
    for (;;) {
        bytes.resize(static_cast<qsizetype>(position + chunk));
        const ssize_t got =
            ::pread(descriptor, bytes.data() + position, static_cast<std::size_t>(chunk), position);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            throwIoError(errno);
        }
        if (got == 0) {
            break;
        }
        position += got;
    }
    bytes.resize(static_cast<qsizetype>(position));
    return bytes;
}

void writeAll(int descriptor, QByteArrayView text) {
    qsizetype written = 0;
    while (written < text.size()) {
        const ssize_t size = ::write(descriptor, text.data() + written,
                                     static_cast<std::size_t>(text.size() - written));
        if (size < 0) {
            if (errno == EINTR) {
                continue;
            }
            throwIoError(errno);
        }
        written += size;
    }
}

int openForAppending(const QString& path) {
    const int descriptor =
        ::open(QFile::encodeName(path).constData(), O_RDWR | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
    if (descriptor < 0) {
        throwIoError(errno);
    }
    return descriptor;
}

} // namespace

QString renameJournalPath(const QString& settingsPath) {
    return QFileInfo(settingsPath).dir().filePath(u"rename-journal.txt"_s);
}

QString journalUnavailableMessage(int error) {
    return u"The renaming journal cannot be written: "_s + ioErrorText(error) + u"."_s;
}

QByteArray escapeJournalField(QByteArrayView bytes) {
    QByteArray field;
    field.reserve(bytes.size());
    for (const char byte : bytes) {
        const auto code = static_cast<unsigned char>(byte);
        if (code >= 0x20 && code < 0x7F && byte != '%') {
            field.append(byte);
        } else {
            field.append('%');
            field.append(hexDigit(code >> 4));
            field.append(hexDigit(code));
        }
    }
    return field;
}

QByteArray unescapeJournalField(QByteArrayView field) {
    return QByteArray::fromPercentEncoding(field.toByteArray());
}

std::vector<const JournalRename*> JournalRun::pending() const {
    std::vector<const JournalRename*> left;
    for (auto rename = renames.rbegin(); rename != renames.rend(); ++rename) {
        if (!rename->failed && !rename->settled) {
            left.push_back(&*rename);
        }
    }
    return left;
}

bool JournalRun::needsUndo() const {
    return damagedLines.size() > reportedDamage ||
           std::any_of(renames.begin(), renames.end(), [](const JournalRename& rename) {
               return !rename.failed && !rename.settled;
           });
}

RenameJournal::RenameJournal(const QString& path) : path_(path) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    descriptor_ = openForAppending(path);
    lastFlush_ = std::chrono::steady_clock::now();
    try {
        read();
    } catch (...) {
        ::close(descriptor_);
        throw;
    }
}

RenameJournal::~RenameJournal() {
    if (descriptor_ >= 0) {
        if (unflushed_) {
            ::fdatasync(descriptor_);
        }
        ::close(descriptor_);
    }
}

JournalRun& RenameJournal::runNumbered(qint64 run) {
    const auto found = std::find_if(runs_.begin(), runs_.end(),
                                    [run](const JournalRun& each) { return each.run == run; });
    if (found != runs_.end()) {
        return *found;
    }
    JournalRun& added = runs_.emplace_back();
    added.run = run;
    return added;
}

void RenameJournal::read() {
    const QByteArray bytes = readAll(descriptor_);
    size_ = bytes.size();
    runs_.clear();
    qint64 highest = 0;
    // Runs in the order they began; lines of one run mostly follow each other.
    std::map<qint64, std::size_t> indexOfRun;
    const auto runOf = [&](qint64 run) -> JournalRun& {
        const auto found = indexOfRun.find(run);
        if (found != indexOfRun.end()) {
            return runs_[found->second];
        }
        indexOfRun.emplace(run, runs_.size());
        JournalRun& added = runs_.emplace_back();
        added.run = run;
        return added;
    };
    forEachLine(bytes, [&](const QByteArray& line, qint64 run, const ParsedLine* parsed) {
        JournalRun& owner = runOf(run);
        if (parsed == nullptr) {
            owner.damagedLines.append(line);
            return;
        }
        highest = std::max({highest, parsed->run, parsed->ownNumber});
        switch (parsed->kind) {
        case ParsedLine::Kind::Start:
            owner.started = parsed->started;
            break;
        case ParsedLine::Kind::Intent:
            owner.renames.push_back({run, static_cast<int>(parsed->number), parsed->oldPath,
                                     parsed->newPath, parsed->file, false, false});
            break;
        case ParsedLine::Kind::OldRename:
            owner.renames.push_back({run, static_cast<int>(owner.renames.size()) + 1,
                                     parsed->oldPath, parsed->newPath, std::nullopt, false, false});
            break;
        case ParsedLine::Kind::Failed:
        case ParsedLine::Kind::Settled:
            if (JournalRename* rename = renameNumbered(owner, parsed->number)) {
                (parsed->kind == ParsedLine::Kind::Failed ? rename->failed : rename->settled) =
                    true;
            }
            break;
        case ParsedLine::Kind::DamageReported:
            owner.reportedDamage = std::max(owner.reportedDamage, qsizetype(parsed->number));
            break;
        case ParsedLine::Kind::OldUndo:
            for (JournalRename& rename : owner.renames) {
                rename.settled = true;
            }
            break;
        }
    });
    std::sort(runs_.begin(), runs_.end(),
              [](const JournalRun& a, const JournalRun& b) { return a.run < b.run; });
    run_ = highest + 1;
    // A line cut short must not take the next line into it; one that was whole but for its
    // line break keeps its meaning.
    if (!bytes.isEmpty() && !bytes.endsWith('\n')) {
        const qsizetype lastStart = bytes.lastIndexOf('\n') + 1;
        const bool whole = parseLine(bytes.mid(lastStart)).has_value() &&
                           !(bytes[lastStart] >= '0' && bytes[lastStart] <= '9');
        append(whole ? QByteArray("\n") : QByteArray("\t\t\n"));
    }
}

void RenameJournal::append(const QByteArray& text) {
    writeAll(descriptor_, text);
    size_ += text.size();
    unflushed_ = true;
    if (std::chrono::steady_clock::now() - lastFlush_ >= std::chrono::seconds(1)) {
        flush();
    }
}

void RenameJournal::flush() {
    if (::fdatasync(descriptor_) != 0 && errno != EINVAL) {
        throwIoError(errno);
    }
    unflushed_ = false;
    lastFlush_ = std::chrono::steady_clock::now();
}

void RenameJournal::writeLine(const QByteArray& fields) {
    append(fields + '\t' + checksumField(fields) + '\n');
}

void RenameJournal::startRun(const QDateTime& started) {
    const qsizetype renamingRuns = std::count_if(runs_.begin(), runs_.end(),
                                                 [](const JournalRun& run) { return run.run > 0; });
    if (renamingRuns > keptRuns || (size_ > compactionSize && renamingRuns > 0)) {
        compact();
    }
    sequence_ = 0;
    writeLine("S\t" + QByteArray::number(run_) + '\t' + started.toString(Qt::ISODate).toLatin1());
    runNumbered(run_).started = started;
}

void RenameJournal::compact() {
    // The newest runs stay; the lines before the first run go with the oldest.
    std::set<qint64> kept;
    for (auto run = runs_.rbegin(); run != runs_.rend() && kept.size() < keptRuns; ++run) {
        if (run->run > 0) {
            kept.insert(run->run);
        }
    }
    if (kept.size() == runs_.size()) {
        return;
    }
    const QByteArray bytes = readAll(descriptor_);
    QByteArray keptBytes;
    forEachLine(bytes, [&](const QByteArray& line, qint64 run, const ParsedLine*) {
        if (kept.contains(run)) {
            keptBytes += line + '\n';
        }
    });
    // The new journal is whole on disk before it takes the old one's place.
    const QString newPath = path_ + u".new"_s;
    const QByteArray newName = QFile::encodeName(newPath);
    const int descriptor =
        ::open(newName.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (descriptor < 0) {
        throwIoError(errno);
    }
    try {
        writeAll(descriptor, keptBytes);
        if (::fdatasync(descriptor) != 0) {
            throwIoError(errno);
        }
    } catch (...) {
        ::close(descriptor);
        ::unlink(newName.constData());
        throw;
    }
    ::close(descriptor);
    if (::rename(newName.constData(), QFile::encodeName(path_).constData()) != 0) {
        const int error = errno;
        ::unlink(newName.constData());
        throwIoError(error);
    }
    const int folder = ::open(QFile::encodeName(QFileInfo(path_).absolutePath()).constData(),
                              O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        ::fsync(folder);
        ::close(folder);
    }
    ::close(descriptor_);
    descriptor_ = openForAppending(path_);
    std::erase_if(runs_, [&kept](const JournalRun& run) { return !kept.contains(run.run); });
    size_ = keptBytes.size();
}

int RenameJournal::recordIntent(const QByteArray& oldPath, const QByteArray& newPath,
                                const FileIdentity& file) {
    const int sequence = ++sequence_;
    writeLine("R\t" + QByteArray::number(run_) + '\t' + QByteArray::number(sequence) + '\t' +
              QByteArray::number(file.device) + ':' + QByteArray::number(file.inode) + '\t' +
              escapeJournalField(oldPath) + '\t' + escapeJournalField(newPath));
    runNumbered(run_).renames.push_back({run_, sequence, oldPath, newPath, file, false, false});
    return sequence;
}

void RenameJournal::recordFailed(int sequence) {
    writeLine("F\t" + QByteArray::number(run_) + '\t' + QByteArray::number(sequence));
    if (JournalRename* rename = renameNumbered(runNumbered(run_), sequence)) {
        rename->failed = true;
    }
}

void RenameJournal::recordSettled(qint64 run, int sequence) {
    writeLine("U\t" + QByteArray::number(run) + '\t' + QByteArray::number(sequence));
    if (JournalRename* rename = renameNumbered(runNumbered(run), sequence)) {
        rename->settled = true;
    }
}

void RenameJournal::recordDamageReported(qint64 run, int count) {
    writeLine("D\t" + QByteArray::number(run) + '\t' + QByteArray::number(count));
    JournalRun& owner = runNumbered(run);
    owner.reportedDamage = std::max(owner.reportedDamage, qsizetype(count));
}

const JournalRun* RenameJournal::runToUndo() const {
    for (auto run = runs_.rbegin(); run != runs_.rend(); ++run) {
        if (run->needsUndo()) {
            return &*run;
        }
    }
    return nullptr;
}

} // namespace corvanteller
