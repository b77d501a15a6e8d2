// SPDX-License-Identifier: GPL-3.0-or-later
#include "rename/rename_journal.h"

#include "common/file_io.h"
#include "rename/rename_texts.h"

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

std::optional<FileIdentity> parseIdentity(const QByteArray& field) {
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
        parsed.file = parseIdentity(fields[3]);
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

// The run a damaged line names in its run field, if it still reads as a number.
std::optional<qint64> claimedRun(const QByteArray& line) {
    const QList<QByteArray> fields = line.split('\t');
    if (line[0] >= '0' && line[0] <= '9') {
        return numberOf(fields[0]);
    }
    return fields.size() > 1 && fields[0].size() == 1 ? numberOf(fields[1]) : std::nullopt;
}

// One line of the journal with the run it belongs to; parsed is empty for a line that cannot
// be read.
struct JournalLine {
    QByteArray text;
    qint64 run = 0;
    std::optional<ParsedLine> parsed;
};

// The lines of the journal's bytes. A line that cannot be read belongs to the run of the last
// line before it that can (0 before any), unless it names the run of the next line that can:
// then it is that run's damaged start, not the end of the run before. A last line without its
// line break is complete only when its checksum says so.
std::vector<JournalLine> linesOf(const QByteArray& bytes) {
    std::vector<JournalLine> lines;
    qint64 currentRun = 0;
    qsizetype start = 0;
    while (start < bytes.size()) {
        qsizetype end = bytes.indexOf('\n', start);
        const bool terminated = end >= 0;
        if (!terminated) {
            end = bytes.size();
        }
        QByteArray line = bytes.mid(start, end - start);
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
        lines.push_back({std::move(line), currentRun, std::move(parsed)});
    }
    std::optional<qint64> nextRun;
    for (auto line = lines.rbegin(); line != lines.rend(); ++line) {
        if (line->parsed) {
            nextRun = line->run;
        } else if (nextRun && claimedRun(line->text) == nextRun) {
            line->run = *nextRun;
        }
    }
    return lines;
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
    return renameTexts::journalUnavailable(ioErrorText(error));
}

QString dropRunQuestion(qsizetype files) {
    return renameTexts::dropRunQuestion(files);
}

QByteArray checkedJournalLine(QByteArrayView fields) {
    return fields.toByteArray() + '\t' + checksumField(fields) + '\n';
}

std::optional<QList<QByteArray>> checkedJournalFields(QByteArrayView line) {
    const qsizetype lastTab = line.lastIndexOf('\t');
    if (lastTab < 0 || line.size() - lastTab - 1 != 8 ||
        line.sliced(lastTab + 1) != checksumField(line.first(lastTab))) {
        return std::nullopt;
    }
    return line.first(lastTab).toByteArray().split('\t');
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
    return damagedLines.size() > reportedDamage || !pending().empty();
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
    // Mostly the last run: lines of one run follow each other, and new runs come last.
    if (!runs_.empty() && runs_.back().run == run) {
        return runs_.back();
    }
    auto found =
        std::lower_bound(runs_.begin(), runs_.end(), run,
                         [](const JournalRun& each, qint64 number) { return each.run < number; });
    if (found == runs_.end() || found->run != run) {
        found = runs_.insert(found, JournalRun{});
        found->run = run;
    }
    return *found;
}

void RenameJournal::read() {
    const QByteArray bytes = readAll(descriptor_);
    size_ = bytes.size();
    runs_.clear();
    qint64 highest = 0;
    for (const JournalLine& line : linesOf(bytes)) {
        const qint64 run = line.run;
        JournalRun& owner = runNumbered(run);
        if (!line.parsed) {
            owner.damagedLines.append(line.text);
            continue;
        }
        const ParsedLine* parsed = &*line.parsed;
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
    }
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
    append(checkedJournalLine(fields));
}

void RenameJournal::startRun(const QDateTime& started,
                             std::function<bool(const QString&)> askToDrop) {
    sequence_ = 0;
    unwrittenStart_ = started;
    askToDrop_ = std::move(askToDrop);
}

void RenameJournal::writeStart() {
    compact();
    const QDateTime started = *unwrittenStart_;
    writeLine("S\t" + QByteArray::number(run_) + '\t' + started.toString(Qt::ISODate).toLatin1());
    unwrittenStart_.reset();
    runNumbered(run_).started = started;
}

void RenameJournal::compact() {
    std::vector<const JournalRun*> renamingRuns; // oldest first
    for (const JournalRun& run : runs_) {
        if (run.run > 0) {
            renamingRuns.push_back(&run);
        }
    }
    const qsizetype excess = qsizetype(renamingRuns.size()) - keptRuns;
    const bool tooLarge = size_ > compactionSize;
    if (excess <= 0 && !tooLarge) {
        return;
    }
    // Runs with nothing left to put back go first, oldest first.
    std::set<qint64> dropped;
    for (const JournalRun* run : renamingRuns) {
        if (run->pending().empty() && (tooLarge || qsizetype(dropped.size()) < excess)) {
            dropped.insert(run->run);
        }
    }
    if (qsizetype(dropped.size()) < excess) {
        const auto oldest =
            std::find_if(renamingRuns.begin(), renamingRuns.end(),
                         [&dropped](const JournalRun* run) { return !dropped.contains(run->run); });
        if (askToDrop_ && askToDrop_(dropRunQuestion(qsizetype((*oldest)->pending().size())))) {
            dropped.insert((*oldest)->run);
        }
    }
    if (dropped.empty()) {
        return;
    }
    if (dropped.contains(renamingRuns.front()->run)) {
        dropped.insert(0); // the lines before the first run go with the oldest
    }
    const QByteArray bytes = readAll(descriptor_);
    QByteArray keptBytes;
    for (const JournalLine& line : linesOf(bytes)) {
        if (!dropped.contains(line.run)) {
            keptBytes += line.text + '\n';
        }
    }
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
    std::erase_if(runs_, [&dropped](const JournalRun& run) { return dropped.contains(run.run); });
    size_ = keptBytes.size();
}

int RenameJournal::recordIntent(const QByteArray& oldPath, const QByteArray& newPath,
                                const FileIdentity& file) {
    if (unwrittenStart_) {
        writeStart();
    }
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
