#include "write/text_write_run.h"

#include "common/file_io.h"
#include "common/seams.h"
#include "kar/kar_reader.h"
#include "kar/karaoke_name.h"
#include "rename/file_lookup.h"
#include "rename/rename_primitive.h"
#include "write/text_write_journal.h"
#include "write/text_writer.h"

#include <QCryptographicHash>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <memory>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

namespace corvanteller {

using namespace Qt::StringLiterals;

namespace {

QByteArray sha256(QByteArrayView bytes) {
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex();
}

// What tells that a file is still the one that was read.
struct FileState {
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    timespec modified{};
    mode_t mode = 0;
    nlink_t links = 0;
    uid_t owner = 0;
    gid_t group = 0;

    static FileState of(const struct stat& info) {
        return {info.st_dev,  info.st_ino,   info.st_size, info.st_mtim,
                info.st_mode, info.st_nlink, info.st_uid,  info.st_gid};
    }
    bool same(const FileState& other) const {
        return device == other.device && inode == other.inode && size == other.size &&
               modified.tv_sec == other.modified.tv_sec &&
               modified.tv_nsec == other.modified.tv_nsec;
    }
};

// A file found through its path: a symbolic link's target, split into its folder and name.
struct TargetFile {
    QByteArray path;
    std::shared_ptr<const OpenFolder> folder;
    QByteArray name;
    FileState state;
    QByteArray bytes;
};

class WriteFailure {
public:
    explicit WriteFailure(QString text, bool byRule = true)
        : reason(std::move(text)), refused(byRule) {}
    QString reason;
    bool refused;
};

QString fileNotWrittenMessage(const QString& path, const QString& reason) {
    return u"The file %1 was not written: %2."_s.arg(path, reason);
}

// Reads the file that path names, a symbolic link followed. Throws WriteFailure.
TargetFile readTarget(const QByteArray& path) {
    char resolved[PATH_MAX];
    if (::realpath(path.constData(), resolved) == nullptr) {
        throw WriteFailure(ioErrorText(errno), false);
    }
    TargetFile target;
    target.path = resolved;
    const qsizetype slash = target.path.lastIndexOf('/');
    target.name = target.path.mid(slash + 1);
    target.folder = openFolderBytes(target.path.left(slash + 1));
    if (!target.folder) {
        throw WriteFailure(ioErrorText(errno == 0 ? EIO : errno), false);
    }
    const int fd = ::openat(target.folder->descriptor(), target.name.constData(),
                            O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (fd < 0) {
        throw WriteFailure(ioErrorText(errno), false);
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        const int error = S_ISREG(info.st_mode) ? errno : EACCES;
        ::close(fd);
        throw WriteFailure(ioErrorText(error), false);
    }
    target.state = FileState::of(info);
    target.bytes.resize(static_cast<qsizetype>(info.st_size));
    qsizetype got = 0;
    while (got < target.bytes.size()) {
        const ssize_t size = ::pread(fd, target.bytes.data() + got,
                                     static_cast<std::size_t>(target.bytes.size() - got), got);
        if (size < 0 && errno == EINTR) {
            continue;
        }
        if (size <= 0) {
            const int error = size < 0 ? errno : EIO;
            ::close(fd);
            throw WriteFailure(ioErrorText(error), false);
        }
        got += size;
    }
    ::close(fd);
    return target;
}

QByteArray temporaryName() {
    static int counter = 0;
    return ".corvanteller-write-" + QByteArray::number(static_cast<qint64>(::getpid())) + '-' +
           QByteArray::number(++counter);
}

// Writes bytes under a new name in the target's folder, with the old file's permissions and,
// where allowed, owner. Returns the name. Throws WriteFailure.
QByteArray writeTemporary(const TargetFile& target, QByteArrayView bytes, bool flushes) {
    const int folder = target.folder->descriptor();
    QByteArray name;
    int fd = -1;
    for (int attempt = 0; fd < 0; ++attempt) {
        name = temporaryName();
        fd = ::openat(folder, name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd < 0 && (errno != EEXIST || attempt == 20)) {
            throw WriteFailure(ioErrorText(errno), false);
        }
    }
    int error = 0;
    qsizetype written = 0;
    while (error == 0 && written < bytes.size()) {
        const ssize_t size =
            ::write(fd, bytes.data() + written, static_cast<std::size_t>(bytes.size() - written));
        if (size < 0 && errno != EINTR) {
            error = errno;
        } else if (size > 0) {
            written += size;
        }
    }
    if (error == 0 && ::fchown(fd, target.state.owner, target.state.group) != 0) {
        // Only the owner's group or root may keep them: the file stays the writer's.
    }
    if (error == 0 && ::fchmod(fd, target.state.mode & 07777) != 0) {
        error = errno;
    }
    if (error == 0 && flushes && ::fsync(fd) != 0) {
        error = errno;
    }
    if (::close(fd) != 0 && error == 0) {
        error = errno;
    }
    if (error != 0) {
        ::unlinkat(folder, name.constData(), 0);
        throw WriteFailure(ioErrorText(error), false);
    }
    return name;
}

// Whether the target is still the file that was read.
bool unchangedSinceRead(const TargetFile& target) {
    struct stat info {};
    return ::fstatat(target.folder->descriptor(), target.name.constData(), &info,
                     AT_SYMLINK_NOFOLLOW) == 0 &&
           S_ISREG(info.st_mode) && FileState::of(info).same(target.state) && info.st_nlink == 1;
}

QString changedReason() {
    return u"changed since it was read"_s;
}

QString otherNamesReason() {
    return u"has other names, which would keep the old texts"_s;
}

std::unique_ptr<TextWriteJournal> openJournal(const TextWriteServices& services,
                                              TextWriteRunResult& result) {
    try {
        return std::make_unique<TextWriteJournal>(services.journalPath, services.flushes);
    } catch (const IoError& error) {
        result.notice =
            u"The text writing journal cannot be written: "_s + ioErrorText(error.code()) + u"."_s;
        return nullptr;
    }
}

void flushFolders(const std::set<std::shared_ptr<const OpenFolder>>& folders) {
    for (const auto& folder : folders) {
        ::fsync(folder->descriptor());
    }
}

QByteArray fileNameOf(const QByteArray& path) {
    return path.mid(path.lastIndexOf('/') + 1);
}

} // namespace

QString TextWriteRunResult::countMessage() const {
    return u"%1 file(s) was(were) written, %2 refused."_s.arg(written).arg(refused);
}

QString nothingToUndoWriteMessage() {
    return u"There is no text writing to undo."_s;
}

QString undoWriteQuestion(const QString& started, qsizetype files, const QString& firstFolder) {
    return u"Undo the text writing of %1: %2 file(s), the first in %3?"_s.arg(started)
        .arg(files)
        .arg(firstFolder);
}

TextWriteRunResult writeTextsIntoFiles(const std::vector<TextWriteRequest>& requests, RunSet runSet,
                                       TextWriteServices& services) {
    TextWriteRunResult result;
    std::unique_ptr<TextWriteJournal> journal;
    if (!services.dryRun) {
        journal = openJournal(services, result);
        if (!journal) {
            return result;
        }
        const SystemClock systemClock;
        journal->startRun((services.clock != nullptr ? services.clock : &systemClock)->now());
    }
    std::set<std::shared_ptr<const OpenFolder>> touchedFolders;
    for (const TextWriteRequest& request : requests) {
        TextWriteRowResult& row = result.rows.emplace_back();
        row.row = request.row;
        row.path = request.path;
        row.newTexts = request.texts;
        const QString shown = displayPath(request.path);
        try {
            if (!isKaraokeFileName(fileNameOf(request.path))) {
                throw WriteFailure(u"its name does not hold \"kar\" or \"KAR\""_s);
            }
            const TargetFile target = readTarget(request.path);
            row.oldTexts = readKaraokeBytes(target.bytes, runSet);
            if (row.oldTexts == request.texts) {
                continue;
            }
            if (target.state.links > 1) {
                throw WriteFailure(otherNamesReason());
            }
            TextWritePlan plan = planTextWrite(target.bytes, request.texts, runSet, shown);
            if (!plan.ok) {
                row.outcome = TextWriteOutcome::Refused;
                row.message = plan.refusal;
                ++result.refused;
                continue;
            }
            if (services.dryRun) {
                row.outcome = TextWriteOutcome::WouldWrite;
                ++result.written;
                continue;
            }
            const QByteArray temporary = writeTemporary(target, plan.newBytes, services.flushes);
            const int folder = target.folder->descriptor();
            if (!unchangedSinceRead(target)) {
                ::unlinkat(folder, temporary.constData(), 0);
                throw WriteFailure(changedReason());
            }
            int sequence = 0;
            try {
                sequence = journal->recordWrite({0, target.path, temporary, sha256(target.bytes),
                                                 sha256(plan.newBytes), plan.regions});
            } catch (const IoError& error) {
                ::unlinkat(folder, temporary.constData(), 0);
                result.notice = u"The text writing journal cannot be written: "_s +
                                ioErrorText(error.code()) + u"."_s;
                row.outcome = TextWriteOutcome::Failed;
                row.message = fileNotWrittenMessage(shown, ioErrorText(error.code()));
                ++result.refused;
                break;
            }
            const int renamed = services.fileSystem.rename(folder, temporary, target.name);
            if (renamed != 0) {
                ::unlinkat(folder, temporary.constData(), 0);
                journal->recordFailed(sequence);
                throw WriteFailure(ioErrorText(renamed), false);
            }
            touchedFolders.insert(target.folder);
            row.outcome = TextWriteOutcome::Written;
            ++result.written;
        } catch (const WriteFailure& failure) {
            row.outcome = failure.refused ? TextWriteOutcome::Refused : TextWriteOutcome::Failed;
            row.message = fileNotWrittenMessage(shown, failure.reason);
            ++result.refused;
        } catch (const IoError& error) {
            row.outcome = TextWriteOutcome::Failed;
            row.message = fileNotWrittenMessage(shown, error.text());
            ++result.refused;
        }
    }
    if (services.flushes) {
        flushFolders(touchedFolders);
    }
    if (journal) {
        try {
            journal->flush();
        } catch (const IoError& error) {
            result.notice = u"The text writing journal cannot be written: "_s +
                            ioErrorText(error.code()) + u"."_s;
        }
    }
    return result;
}

TextWriteRunResult undoLastTextWriting(TextWriteServices& services) {
    TextWriteRunResult result;
    std::unique_ptr<TextWriteJournal> journal = openJournal(services, result);
    if (!journal) {
        return result;
    }
    const JournalWriteRun* run = journal->runToUndo();
    if (run == nullptr) {
        result.notice = nothingToUndoWriteMessage();
        return result;
    }
    const std::vector<const JournalWrite*> pending = run->pending();
    const QByteArray& firstPath = run->writes.front().path;
    if (services.confirm && !services.confirm(undoWriteQuestion(
                                QLocale::system().toString(run->started, QLocale::ShortFormat),
                                qsizetype(pending.size()),
                                displayPath(firstPath.left(firstPath.lastIndexOf('/') + 1))))) {
        return result;
    }
    const qint64 runNumber = run->run;
    std::vector<JournalWrite> writes;
    for (const JournalWrite* write : pending) {
        writes.push_back(*write); // the journal's runs change as lines are added
    }
    std::set<std::shared_ptr<const OpenFolder>> touchedFolders;
    for (const JournalWrite& write : writes) {
        TextWriteRowResult& row = result.rows.emplace_back();
        row.path = write.path;
        const QString shown = displayPath(write.path);
        try {
            const TargetFile target = readTarget(write.path);
            // A run stopped between its journal line and the replacement leaves the new file.
            ::unlinkat(target.folder->descriptor(), write.temporaryName.constData(), 0);
            const QByteArray current = sha256(target.bytes);
            if (current == write.oldSha256) {
                journal->recordSettled(runNumber, write.sequence);
                continue; // never replaced: the old file is there
            }
            if (current != write.newSha256) {
                journal->recordSettled(runNumber, write.sequence);
                throw WriteFailure(u"changed since the writing"_s);
            }
            const QByteArray old = rebuildOldBytes(target.bytes, write.regions);
            if (sha256(old) != write.oldSha256) {
                throw WriteFailure(u"the old file cannot be rebuilt from the journal"_s);
            }
            row.oldTexts = readKaraokeBytes(target.bytes, RunSet::StartWindow);
            row.newTexts = readKaraokeBytes(old, RunSet::StartWindow);
            const QByteArray temporary = writeTemporary(target, old, services.flushes);
            const int folder = target.folder->descriptor();
            if (!unchangedSinceRead(target)) {
                ::unlinkat(folder, temporary.constData(), 0);
                throw WriteFailure(changedReason());
            }
            const int renamed = services.fileSystem.rename(folder, temporary, target.name);
            if (renamed != 0) {
                ::unlinkat(folder, temporary.constData(), 0);
                throw WriteFailure(ioErrorText(renamed), false);
            }
            journal->recordSettled(runNumber, write.sequence);
            touchedFolders.insert(target.folder);
            row.outcome = TextWriteOutcome::Written;
            ++result.written;
        } catch (const WriteFailure& failure) {
            row.outcome = failure.refused ? TextWriteOutcome::Refused : TextWriteOutcome::Failed;
            row.message = u"The file %1 was left alone: %2."_s.arg(shown, failure.reason);
            ++result.refused;
        } catch (const IoError& error) {
            row.outcome = TextWriteOutcome::Failed;
            row.message = u"The file %1 was left alone: %2."_s.arg(shown, error.text());
            ++result.refused;
        }
    }
    if (services.flushes) {
        flushFolders(touchedFolders);
    }
    try {
        journal->flush();
    } catch (const IoError& error) {
        result.notice =
            u"The text writing journal cannot be written: "_s + ioErrorText(error.code()) + u"."_s;
    }
    return result;
}

} // namespace corvanteller
