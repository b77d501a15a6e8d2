// SPDX-License-Identifier: GPL-3.0-or-later
#include "write/text_write_journal.h"

#include "common/file_io.h"
#include "rename/rename_journal.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace corvanteller {

using namespace Qt::StringLiterals;

namespace {

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

std::optional<qint64> numberOf(const QByteArray& field) {
    bool ok = false;
    const qint64 value = field.toLongLong(&ok);
    return ok && value >= 0 ? std::optional(value) : std::nullopt;
}

QByteArray regionsField(const std::vector<ChangedRegion>& regions) {
    QByteArrayList parts;
    for (const ChangedRegion& region : regions) {
        parts.append(QByteArray::number(region.offset) + ':' + region.oldBytes.toHex() + ':' +
                     QByteArray::number(region.newSize));
    }
    return parts.join(',');
}

std::optional<std::vector<ChangedRegion>> parseRegions(const QByteArray& field) {
    std::vector<ChangedRegion> regions;
    if (field.isEmpty()) {
        return regions;
    }
    for (const QByteArray& part : field.split(',')) {
        const QList<QByteArray> pieces = part.split(':');
        const std::optional<qint64> offset =
            pieces.size() == 3 ? numberOf(pieces[0]) : std::nullopt;
        const std::optional<qint64> size = pieces.size() == 3 ? numberOf(pieces[2]) : std::nullopt;
        if (!offset || !size) {
            return std::nullopt;
        }
        regions.push_back({qsizetype(*offset), QByteArray::fromHex(pieces[1]), qsizetype(*size)});
    }
    return regions;
}

JournalWrite* writeNumbered(JournalWriteRun& run, qint64 sequence) {
    // Mostly at its own place: a run numbers its writes from 1 in the order it writes them.
    const auto index = static_cast<std::size_t>(sequence - 1);
    if (sequence > 0 && index < run.writes.size() && run.writes[index].sequence == sequence) {
        return &run.writes[index];
    }
    for (JournalWrite& write : run.writes) {
        if (write.sequence == sequence) {
            return &write;
        }
    }
    return nullptr;
}

} // namespace

QString textWriteJournalPath(const QString& renameJournalPath) {
    return QFileInfo(renameJournalPath).dir().filePath(u"write-journal.txt"_s);
}

std::vector<const JournalWrite*> JournalWriteRun::pending() const {
    std::vector<const JournalWrite*> left;
    for (auto write = writes.rbegin(); write != writes.rend(); ++write) {
        if (!write->failed && !write->settled) {
            left.push_back(&*write);
        }
    }
    return left;
}

TextWriteJournal::TextWriteJournal(const QString& path, bool flushes)
    : path_(path), flushes_(flushes) {
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

TextWriteJournal::~TextWriteJournal() {
    if (unflushed_ && flushes_) {
        ::fdatasync(descriptor_);
    }
    ::close(descriptor_);
}

JournalWriteRun& TextWriteJournal::runNumbered(qint64 run) {
    if (!runs_.empty() && runs_.back().run == run) {
        return runs_.back();
    }
    auto found = std::lower_bound(
        runs_.begin(), runs_.end(), run,
        [](const JournalWriteRun& each, qint64 number) { return each.run < number; });
    if (found == runs_.end() || found->run != run) {
        found = runs_.insert(found, JournalWriteRun{});
        found->run = run;
    }
    return *found;
}

void TextWriteJournal::read() {
    QFile file;
    if (!file.open(::dup(descriptor_), QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        throwIoError(EIO);
    }
    const QByteArray bytes = file.readAll();
    qint64 highest = 0;
    for (const QByteArray& line : bytes.split('\n')) {
        const std::optional<QList<QByteArray>> fields = checkedJournalFields(line);
        if (!fields || fields->size() < 3 || (*fields)[0].size() != 1) {
            continue; // cut short or damaged: never a write
        }
        const std::optional<qint64> run = numberOf((*fields)[1]);
        const std::optional<qint64> number = numberOf((*fields)[2]);
        if (!run) {
            continue;
        }
        highest = std::max(highest, *run);
        JournalWriteRun& owner = runNumbered(*run);
        const char kind = (*fields)[0][0];
        if (kind == 'S') {
            owner.started = QDateTime::fromString(QString::fromLatin1((*fields)[2]), Qt::ISODate);
        } else if (kind == 'W' && fields->size() == 8 && number) {
            const std::optional<std::vector<ChangedRegion>> regions = parseRegions((*fields)[7]);
            if (regions) {
                owner.writes.push_back({int(*number), unescapeJournalField((*fields)[3]),
                                        unescapeJournalField((*fields)[4]), (*fields)[5],
                                        (*fields)[6], *regions});
            }
        } else if ((kind == 'F' || kind == 'U') && number) {
            if (JournalWrite* write = writeNumbered(owner, *number)) {
                (kind == 'F' ? write->failed : write->settled) = true;
            }
        }
    }
    run_ = highest + 1;
    if (!bytes.isEmpty() && !bytes.endsWith('\n')) {
        writeAll(descriptor_, "\n"); // a line cut short must not take the next into it
    }
}

void TextWriteJournal::append(const QByteArray& fields) {
    writeAll(descriptor_, checkedJournalLine(fields));
    unflushed_ = true;
    if (std::chrono::steady_clock::now() - lastFlush_ >= std::chrono::seconds(1)) {
        flush();
    }
}

void TextWriteJournal::flush() {
    if (flushes_ && ::fdatasync(descriptor_) != 0 && errno != EINVAL) {
        throwIoError(errno);
    }
    unflushed_ = false;
    lastFlush_ = std::chrono::steady_clock::now();
}

void TextWriteJournal::startRun(const QDateTime& started) {
    sequence_ = 0;
    unwrittenStart_ = started;
}

void TextWriteJournal::compact() {
    if (qsizetype(runs_.size()) <= keptRuns) {
        return;
    }
    // The newest runs stay, and every older one with something left to undo.
    std::vector<JournalWriteRun> kept;
    const std::size_t firstNewest = runs_.size() - keptRuns;
    for (std::size_t i = 0; i < runs_.size(); ++i) {
        if (i >= firstNewest || !runs_[i].pending().empty()) {
            kept.push_back(runs_[i]);
        }
    }
    QByteArray text;
    for (const JournalWriteRun& run : kept) {
        const QByteArray number = QByteArray::number(run.run);
        text += checkedJournalLine(
            QByteArray("S\t" + number + '\t' + run.started.toString(Qt::ISODate).toLatin1()));
        for (const JournalWrite& write : run.writes) {
            const QByteArray sequence = QByteArray::number(write.sequence);
            text += checkedJournalLine(QByteArray(
                "W\t" + number + '\t' + sequence + '\t' + escapeJournalField(write.path) + '\t' +
                escapeJournalField(write.temporaryName) + '\t' + write.oldSha256 + '\t' +
                write.newSha256 + '\t' + regionsField(write.regions)));
            if (write.failed || write.settled) {
                text += checkedJournalLine(
                    QByteArray((write.failed ? "F\t" : "U\t") + number + '\t' + sequence));
            }
        }
    }
    writeFileAtomically(path_, text);
    ::close(descriptor_);
    descriptor_ = openForAppending(path_);
    runs_ = std::move(kept);
}

int TextWriteJournal::recordWrite(const JournalWrite& write) {
    if (unwrittenStart_) {
        compact();
        append("S\t" + QByteArray::number(run_) + '\t' +
               unwrittenStart_->toString(Qt::ISODate).toLatin1());
        runNumbered(run_).started = *unwrittenStart_;
        unwrittenStart_.reset();
    }
    JournalWrite recorded = write;
    recorded.sequence = ++sequence_;
    append("W\t" + QByteArray::number(run_) + '\t' + QByteArray::number(recorded.sequence) + '\t' +
           escapeJournalField(write.path) + '\t' + escapeJournalField(write.temporaryName) + '\t' +
           write.oldSha256 + '\t' + write.newSha256 + '\t' + regionsField(write.regions));
    runNumbered(run_).writes.push_back(recorded);
    return recorded.sequence;
}

void TextWriteJournal::recordFailed(int sequence) {
    append("F\t" + QByteArray::number(run_) + '\t' + QByteArray::number(sequence));
    if (JournalWrite* write = writeNumbered(runNumbered(run_), sequence)) {
        write->failed = true;
    }
}

void TextWriteJournal::recordSettled(qint64 run, int sequence) {
    append("U\t" + QByteArray::number(run) + '\t' + QByteArray::number(sequence));
    if (JournalWrite* write = writeNumbered(runNumbered(run), sequence)) {
        write->settled = true;
    }
}

const JournalWriteRun* TextWriteJournal::runToUndo() const {
    for (auto run = runs_.rbegin(); run != runs_.rend(); ++run) {
        if (!run->pending().empty()) {
            return &*run;
        }
    }
    return nullptr;
}

} // namespace corvanteller
