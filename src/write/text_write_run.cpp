// SPDX-License-Identifier: GPL-3.0-or-later
#include "write/text_write_run.h"

#include "common/file_io.h"
#include "common/seams.h"
#include "kar/kar_reader.h"
#include "kar/karaoke_name.h"
#include "rename/file_lookup.h"
#include "rename/rename_primitive.h"
#include "write/ordered_work.h"
#include "write/text_write_journal.h"
#include "write/text_writer.h"
#include "write/write_texts.h"

#include <QCryptographicHash>

#include <openssl/evp.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <linux/fs.h>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <sched.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <thread>
#include <unistd.h>

namespace corvanteller {

using namespace Qt::StringLiterals;

namespace {

// A run hashes every file twice: libcrypto's SHA-256 uses the processor's own instructions,
// several times faster than Qt's.
QByteArray sha256(QByteArrayView bytes) {
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int size = 0;
    if (EVP_Digest(bytes.data(), static_cast<std::size_t>(bytes.size()), digest, &size,
                   EVP_sha256(), nullptr) != 1) {
        return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex();
    }
    return QByteArray(reinterpret_cast<const char*>(digest), static_cast<qsizetype>(size)).toHex();
}

// The files replaced together: their journal lines are flushed once before the first of them is
// replaced, their new files are flushed side by side, and their folders once after.
constexpr std::size_t batchFiles = 512;
constexpr qsizetype batchBytes = 64 * 1024 * 1024;
// Flushes waiting side by side go out in one commit of the file system's journal.
constexpr std::size_t flushThreads = 16;

// Runs flush(i) for i below count, several at a time. Returns each one's error (0: flushed).
std::vector<int> flushSideBySide(std::size_t count, const std::function<int(std::size_t)>& flush) {
    std::vector<int> errors(count, 0);
    std::atomic<std::size_t> next{0};
    const auto work = [&] {
        for (std::size_t i = next++; i < count; i = next++) {
            errors[i] = flush(i);
        }
    };
    std::vector<std::thread> helpers;
    const std::size_t threads = std::min(flushThreads, count);
    for (std::size_t t = 1; t < threads; ++t) {
        helpers.emplace_back(work);
    }
    work();
    for (std::thread& helper : helpers) {
        helper.join();
    }
    return errors;
}

int fsyncError(int descriptor) {
    return ::fsync(descriptor) == 0 ? 0 : errno;
}

// The folders of a run: the files of one folder follow each other, so the last one opened is
// kept.
class RunFolders {
public:
    std::shared_ptr<const OpenFolder> open(const QByteArray& path) {
        if (!last_ || lastPath_ != path) {
            errno = 0;
            last_ = openFolderBytes(path);
            lastPath_ = path;
        }
        return last_;
    }

    // The real path of a folder (its path ending in '/'), symbolic links followed, ending in '/';
    // the last one is kept.
    std::optional<QByteArray> realFolder(const QByteArray& folder) {
        if (!lastReal_ || lastNamed_ != folder) {
            char resolved[PATH_MAX];
            if (::realpath(folder.constData(), resolved) == nullptr) {
                return std::nullopt;
            }
            lastNamed_ = folder;
            lastReal_ = QByteArray(resolved);
            if (!lastReal_->endsWith('/')) {
                lastReal_->append('/');
            }
        }
        return lastReal_;
    }

private:
    QByteArray lastPath_;
    std::shared_ptr<const OpenFolder> last_;
    QByteArray lastNamed_;
    std::optional<QByteArray> lastReal_;
};

// The folders whose entries a run changed, each flushed once.
class TouchedFolders {
public:
    void add(const std::shared_ptr<const OpenFolder>& folder) { folders_[folder->path()] = folder; }
    void flush() {
        std::vector<int> descriptors;
        for (const auto& [path, folder] : folders_) {
            descriptors.push_back(folder->descriptor());
        }
        flushSideBySide(descriptors.size(),
                        [&descriptors](std::size_t i) { return fsyncError(descriptors[i]); });
        folders_.clear();
    }

private:
    std::map<QByteArray, std::shared_ptr<const OpenFolder>> folders_;
};

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
    return writeTexts::fileNotWritten(path, reason);
}

QString leftAloneMessage(const QString& path, const QString& reason) {
    return writeTexts::leftAlone(path, reason);
}

// Opens the file of target.path without following a link; -1 with errno set otherwise.
int openTarget(TargetFile& target, RunFolders& folders) {
    const qsizetype slash = target.path.lastIndexOf('/');
    target.name = target.path.mid(slash + 1);
    target.folder = folders.open(target.path.left(slash + 1));
    if (!target.folder) {
        errno = errno == 0 ? EIO : errno;
        return -1;
    }
    return ::openat(target.folder->descriptor(), target.name.constData(),
                    O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
}

// Opens the file that path names, a symbolic link followed. The files of a folder follow each
// other: its real path is found once, and only a file that is a link has its own path resolved.
// Throws WriteFailure.
int openFollowed(const QByteArray& path, TargetFile& target, RunFolders& folders) {
    const qsizetype slash = path.lastIndexOf('/');
    if (slash >= 0 && slash + 1 < path.size()) {
        if (const std::optional<QByteArray> folder = folders.realFolder(path.left(slash + 1))) {
            target.path = *folder + path.mid(slash + 1);
            const int fd = openTarget(target, folders);
            if (fd >= 0) {
                return fd;
            }
        }
    }
    char resolved[PATH_MAX];
    if (::realpath(path.constData(), resolved) == nullptr) {
        throw WriteFailure(ioErrorText(errno), false);
    }
    target.path = resolved;
    const int fd = openTarget(target, folders);
    if (fd < 0) {
        throw WriteFailure(ioErrorText(errno), false);
    }
    return fd;
}

// Reads the file that path names, a symbolic link followed, into buffer's memory where it has
// room. Throws WriteFailure.
TargetFile readTarget(const QByteArray& path, RunFolders& folders, QByteArray buffer = {}) {
    TargetFile target;
    target.bytes = std::move(buffer);
    const int fd = openFollowed(path, target, folders);
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
    static std::atomic<int> counter{0};
    return ".corvanteller-write-" + QByteArray::number(static_cast<qint64>(::getpid())) + '-' +
           QByteArray::number(++counter);
}

// The old files that a run's replacements set aside, to hold new files again. Without a journal
// ext4 passes over every inode freed in the last minute (six, while their table is unwritten)
// each time it hands out one: a run that freed and took one for every file slowed down file by
// file. An old file is set aside only once the swap that made it one is on disk.
class SpareFiles {
public:
    struct Spare {
        std::shared_ptr<const OpenFolder> folder;
        QByteArray name;
    };

    SpareFiles() = default;
    ~SpareFiles() {
        for (const Spare& spare : spares_) {
            ::unlinkat(spare.folder->descriptor(), spare.name.constData(), 0);
        }
    }
    SpareFiles(const SpareFiles&) = delete;
    SpareFiles& operator=(const SpareFiles&) = delete;

    void add(std::vector<Spare>& spares) {
        const std::lock_guard lock(mutex_);
        for (Spare& spare : spares) {
            spares_.push_back(std::move(spare));
        }
        spares.clear();
    }
    std::optional<Spare> take() {
        const std::lock_guard lock(mutex_);
        if (spares_.empty()) {
            return std::nullopt;
        }
        Spare spare = std::move(spares_.back());
        spares_.pop_back();
        return spare;
    }

private:
    std::mutex mutex_;
    std::vector<Spare> spares_;
};

// The inode flags that a new file takes from its folder or that would keep an old one from
// serving as new.
constexpr long keptInodeFlags = FS_SYNC_FL | FS_IMMUTABLE_FL | FS_APPEND_FL | FS_NODUMP_FL |
                                FS_NOATIME_FL | FS_JOURNAL_DATA_FL | FS_NOTAIL_FL | FS_DIRSYNC_FL |
                                FS_TOPDIR_FL | FS_NOCOW_FL | FS_PROJINHERIT_FL | FS_COMPR_FL |
                                FS_NOCOMP_FL;

// Where the file system keeps no flags, there are none.
bool inodeFlagsClear(int fd) {
    int flags = 0;
    return ::ioctl(fd, FS_IOC_GETFLAGS, &flags) != 0 || (flags & keptInodeFlags) == 0;
}

bool mayTakeGroup(gid_t group) {
    if (::geteuid() == 0 || group == ::getegid()) {
        return true;
    }
    std::vector<gid_t> groups(static_cast<std::size_t>(std::max(::getgroups(0, nullptr), 0)));
    groups.resize(static_cast<std::size_t>(
        std::max(::getgroups(static_cast<int>(groups.size()), groups.data()), 0)));
    return std::find(groups.begin(), groups.end(), group) != groups.end();
}

// Whether the folder gives the files created in it no access list and no inode flag. Its
// descriptor only names it: the folder is opened for the flags.
bool folderGivesNothing(const OpenFolder& folder) {
    if (::getxattr(folder.path().constData(), "system.posix_acl_default", nullptr, 0) >= 0) {
        return false;
    }
    const int fd = ::openat(folder.descriptor(), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    const bool clear = fd >= 0 && inodeFlagsClear(fd);
    if (fd >= 0) {
        ::close(fd);
    }
    return clear;
}

// Whether an old file, opened, ends as a file created afresh for the target would: this
// user's, of the target's group, with no extended attribute, access list or inode flag.
bool servesAsNew(int fd, const TargetFile& target) {
    struct stat info {};
    return ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_nlink == 1 &&
           info.st_uid == ::geteuid() && target.state.owner == info.st_uid &&
           info.st_gid == target.state.group && mayTakeGroup(info.st_gid) &&
           ::flistxattr(fd, nullptr, 0) == 0 && inodeFlagsClear(fd);
}

// Whether no other descriptor has the file open: a program that is still reading the old
// file (a player, say) must keep its bytes, as it would after a plain replacement. A write
// lease is granted only then; where leases are not offered, the file is not reused.
bool openedNowhereElse(int fd) {
    if (::fcntl(fd, F_SETLEASE, F_WRLCK) != 0) {
        return false;
    }
    ::fcntl(fd, F_SETLEASE, F_UNLCK);
    return true;
}

// A spare old file moved into the target's folder under name and emptied; -1 when there is
// none that serves.
int reuseSpare(const TargetFile& target, SpareFiles* spares, QByteArray& name) {
    const int folder = target.folder->descriptor();
    while (spares != nullptr && folderGivesNothing(*target.folder)) {
        const std::optional<SpareFiles::Spare> spare = spares->take();
        if (!spare) {
            return -1;
        }
        name = temporaryName();
        if (::renameat2(spare->folder->descriptor(), spare->name.constData(), folder,
                        name.constData(), RENAME_NOREPLACE) != 0) {
            ::unlinkat(spare->folder->descriptor(), spare->name.constData(), 0);
            continue;
        }
        const int fd = ::openat(folder, name.constData(), O_WRONLY | O_CLOEXEC | O_NOFOLLOW);
        if (fd >= 0 && servesAsNew(fd, target) && openedNowhereElse(fd) &&
            ::ftruncate(fd, 0) == 0) {
            return fd;
        }
        if (fd >= 0) {
            ::close(fd);
        }
        ::unlinkat(folder, name.constData(), 0);
    }
    return -1;
}

// A file under a new name in the target's folder, opened for writing. Throws WriteFailure.
int openNewFile(const TargetFile& target, SpareFiles* spares, QByteArray& name) {
    int fd = reuseSpare(target, spares, name);
    for (int attempt = 0; fd < 0; ++attempt) {
        name = temporaryName();
        fd = ::openat(target.folder->descriptor(), name.constData(),
                      O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd < 0 && (errno != EEXIST || attempt == 20)) {
            throw WriteFailure(ioErrorText(errno), false);
        }
    }
    return fd;
}

// Gives the new file the old one's permissions and, where allowed, owner; a change that is not
// needed is not made, as each one is written to disk. Returns the error.
int takeOwnerAndMode(int fd, const TargetFile& target) {
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        return errno;
    }
    if ((info.st_uid != target.state.owner || info.st_gid != target.state.group) &&
        ::fchown(fd, target.state.owner, target.state.group) != 0) {
        // Only the owner's group or root may keep them: the file stays the writer's.
    }
    if ((info.st_mode & 07777) != (target.state.mode & 07777) &&
        ::fchmod(fd, target.state.mode & 07777) != 0) {
        return errno;
    }
    return 0;
}

// Writes bytes under a new name in the target's folder, with the old file's permissions and,
// where allowed, owner, and begins its writing to disk; with flushes flushNewFiles waits for it.
// Returns the name. Throws WriteFailure.
QByteArray writeTemporary(const TargetFile& target, QByteArrayView bytes, SpareFiles* spares) {
    const int folder = target.folder->descriptor();
    QByteArray name;
    const int fd = openNewFile(target, spares, name);
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
    if (error == 0) {
        error = takeOwnerAndMode(fd, target);
    }
    // Its writing to disk begins here also without flushes: ext4 begins it at the replacement
    // otherwise (auto_da_alloc), on the run's own thread, one file after the other.
    if (error == 0) {
        ::sync_file_range(fd, 0, 0, SYNC_FILE_RANGE_WRITE);
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
    return writeTexts::changedSinceRead();
}

QString otherNamesReason() {
    return writeTexts::otherNames();
}

std::unique_ptr<TextWriteJournal> openJournal(const TextWriteServices& services,
                                              TextWriteRunResult& result) {
    try {
        return std::make_unique<TextWriteJournal>(services.journalPath, services.flushes);
    } catch (const IoError& error) {
        result.notice = writeTexts::journalNotWritable(ioErrorText(error.code()));
        return nullptr;
    }
}

// A new file written and waiting to replace its target.
struct NewFile {
    std::size_t row = 0; // in the run's rows
    TargetFile target;
    QByteArray temporary;
    QByteArray oldSha256;
    QByteArray newSha256;
    std::vector<ChangedRegion> regions;
    int sequence = 0; // its journal line
};

// fsync of every new file, side by side. Returns each one's error (0: flushed).
std::vector<int> flushNewFiles(const std::vector<NewFile>& files) {
    return flushSideBySide(files.size(), [&files](std::size_t i) {
        const NewFile& file = files[i];
        const int fd = ::openat(file.target.folder->descriptor(), file.temporary.constData(),
                                O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
        if (fd < 0) {
            return errno;
        }
        const int error = fsyncError(fd);
        ::close(fd);
        return error;
    });
}

QString journalFailureNotice(const IoError& error) {
    return writeTexts::journalNotWritable(ioErrorText(error.code()));
}

QByteArray fileNameOf(const QByteArray& path) {
    return path.mid(path.lastIndexOf('/') + 1);
}

// The new files of a writing run, replacing their targets a batch at a time: the journal lines of
// a batch are written and flushed once, then its new files are flushed side by side, each one
// is checked and renamed over its target, and the folders are flushed once.
class WriteBatches {
public:
    // An undo's batches record each file as settled once it is put back; its journal lines are
    // there already.
    WriteBatches(TextWriteServices& services, TextWriteJournal* journal, TextWriteRunResult& result,
                 SpareFiles& spares, std::optional<qint64> undoneRun = std::nullopt)
        : services_(services), journal_(journal), result_(result), spares_(spares),
          undoneRun_(undoneRun) {}
    ~WriteBatches() { dropFrom(0); }
    WriteBatches(const WriteBatches&) = delete;
    WriteBatches& operator=(const WriteBatches&) = delete;

    // False when the journal cannot be written: the run ends.
    bool add(NewFile file, qsizetype size) {
        files_.push_back(std::move(file));
        bytes_ += size;
        return (files_.size() < batchFiles && bytes_ < batchBytes) || replace();
    }

    // Replaces the targets of the batch; false when the journal cannot be written.
    bool replace() {
        const bool recorded = record();
        if (recorded) {
            const std::vector<int> errors =
                services_.flushes ? flushNewFiles(files_) : std::vector<int>(files_.size(), 0);
            for (std::size_t i = 0; i < files_.size(); ++i) {
                replaceOne(files_[i], errors[i]);
            }
            if (services_.flushes) {
                touched_.flush();
            }
            spares_.add(displaced_);
            files_.clear();
        }
        bytes_ = 0;
        return recorded;
    }

private:
    // The batch's lines, flushed; on a failure its files are dropped and the notice set.
    bool record() {
        if (files_.empty() || undoneRun_) {
            return true;
        }
        try {
            for (NewFile& file : files_) {
                file.sequence =
                    journal_->recordWrite({0, file.target.path, file.temporary, file.oldSha256,
                                           file.newSha256, file.regions});
            }
            journal_->flush();
            return true;
        } catch (const IoError& error) {
            result_.notice = journalFailureNotice(error);
            dropFrom(0, &error);
            return false;
        }
    }

    void replaceOne(const NewFile& file, int flushError) {
        TextWriteRowResult& row = result_.rows[file.row];
        const int folder = file.target.folder->descriptor();
        int error = flushError;
        bool refused = false;
        if (error == 0 && !unchangedSinceRead(file.target)) {
            refused = true;
        } else if (error == 0) {
            error = swapIn(file);
        }
        const bool replaced = error == 0 && !refused;
        if (replaced) {
            touched_.add(file.target.folder);
            row.outcome = TextWriteOutcome::Written;
            ++result_.written;
        } else {
            ::unlinkat(folder, file.temporary.constData(), 0);
            row.outcome = refused ? TextWriteOutcome::Refused : TextWriteOutcome::Failed;
            row.message = failureMessage(row, refused ? changedReason() : ioErrorText(error));
            ++result_.refused;
        }
        // A file an undo could not put back stays for the next undo.
        if (undoneRun_ && !replaced) {
            return;
        }
        try {
            if (undoneRun_) {
                journal_->recordSettled(*undoneRun_, file.sequence);
            } else if (!replaced) {
                journal_->recordFailed(file.sequence);
            }
        } catch (const IoError& failure) {
            result_.notice = journalFailureNotice(failure);
        }
    }

    // Puts the new file in the target's place. The old file, swapped out to the new one's name
    // where the file system can, is kept to hold a new file again. Returns the error.
    int swapIn(const NewFile& file) {
        const int folder = file.target.folder->descriptor();
        const int error = services_.fileSystem.exchange(folder, file.temporary, file.target.name);
        if (error == 0) {
            displaced_.push_back({file.target.folder, file.temporary});
            return 0;
        }
        if (error == EINVAL || error == ENOSYS || error == EOPNOTSUPP) {
            return services_.fileSystem.rename(folder, file.temporary, file.target.name);
        }
        return error;
    }

    QString failureMessage(const TextWriteRowResult& row, const QString& reason) const {
        return undoneRun_ ? leftAloneMessage(displayPath(row.path), reason)
                          : fileNotWrittenMessage(displayPath(row.path), reason);
    }

    // The new files from first on are removed, their rows failed with the journal's error.
    void dropFrom(std::size_t first, const IoError* error = nullptr) {
        for (std::size_t i = first; i < files_.size(); ++i) {
            const NewFile& file = files_[i];
            ::unlinkat(file.target.folder->descriptor(), file.temporary.constData(), 0);
            if (error != nullptr) {
                TextWriteRowResult& row = result_.rows[file.row];
                row.outcome = TextWriteOutcome::Failed;
                row.message = failureMessage(row, ioErrorText(error->code()));
                ++result_.refused;
            }
        }
        files_.clear();
    }

    TextWriteServices& services_;
    TextWriteJournal* journal_;
    TextWriteRunResult& result_;
    SpareFiles& spares_;
    std::vector<SpareFiles::Spare> displaced_; // until the folders' flush puts the swaps on disk
    std::vector<NewFile> files_;
    std::optional<qint64> undoneRun_;
    qsizetype bytes_ = 0;
    TouchedFolders touched_;
};

// What the work on one row gave: its row, and the new file that is to replace its target.
struct PreparedRow {
    TextWriteRowResult row;
    std::optional<NewFile> file;
    qsizetype newSize = 0;
};

// Reads, plans and proves one row and writes its new file, on a helper thread with folders and
// a spare buffer of its own; the replacement is left to the run.
PreparedRow prepareRow(const TextWriteRequest& request, RunSet runSet,
                       const TextWriteServices& services, RunFolders& folders, QByteArray& spare,
                       SpareFiles& spareFiles) {
    PreparedRow prepared;
    TextWriteRowResult& row = prepared.row;
    row.row = request.row;
    row.path = request.path;
    row.newTexts = request.texts;
    const QString shown = displayPath(request.path);
    try {
        if (!isKaraokeFileName(fileNameOf(request.path))) {
            throw WriteFailure(writeTexts::notKaraokeName());
        }
        TargetFile target = readTarget(request.path, folders, std::move(spare));
        row.oldTexts = readKaraokeBytes(target.bytes, runSet);
        if (row.oldTexts == request.texts) {
            spare = std::move(target.bytes);
            return prepared;
        }
        if (target.state.links > 1) {
            throw WriteFailure(otherNamesReason());
        }
        TextWritePlan plan = planTextWrite(target.bytes, request.texts, runSet, shown);
        if (!plan.ok) {
            row.outcome = TextWriteOutcome::Refused;
            row.message = plan.refusal;
            return prepared;
        }
        if (services.dryRun) {
            row.outcome = TextWriteOutcome::WouldWrite;
            return prepared;
        }
        NewFile file{0, std::move(target), {}, {}, sha256(plan.newBytes), std::move(plan.regions)};
        file.temporary = writeTemporary(file.target, plan.newBytes, &spareFiles);
        file.oldSha256 = sha256(file.target.bytes);
        // The batch keeps only what its journal lines need.
        spare = std::move(file.target.bytes);
        prepared.newSize = plan.newBytes.size();
        prepared.file = std::move(file);
    } catch (const WriteFailure& failure) {
        row.outcome = failure.refused ? TextWriteOutcome::Refused : TextWriteOutcome::Failed;
        row.message = fileNotWrittenMessage(shown, failure.reason);
    } catch (const IoError& error) {
        row.outcome = TextWriteOutcome::Failed;
        row.message = fileNotWrittenMessage(shown, error.text());
    }
    return prepared;
}

// Helper threads of a writing run: one for each core the process may run on, at most four.
// The run's own thread mostly waits for the flushes and renames.
int writeHelpers() {
    cpu_set_t allowed;
    CPU_ZERO(&allowed);
    const int cores = ::sched_getaffinity(0, sizeof allowed, &allowed) == 0
                          ? CPU_COUNT(&allowed)
                          : static_cast<int>(std::thread::hardware_concurrency());
    return std::clamp(cores, 1, 4);
}

} // namespace

QString TextWriteRunResult::countMessage() const {
    return writeTexts::writtenCount(written, refused);
}

QString nothingToUndoWriteMessage() {
    return writeTexts::nothingToUndo();
}

QString undoWriteQuestion(const QString& started, qsizetype files, const QString& firstFolder) {
    return writeTexts::undoQuestion(started, files, firstFolder);
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
    SpareFiles spareFiles;
    WriteBatches batches(services, journal.get(), result, spareFiles);
    OrderedWork<PreparedRow> work(requests.size(), writeHelpers(), 2 * batchFiles, [&] {
        return [&, folders = std::make_shared<RunFolders>(),
                spare = std::make_shared<QByteArray>()](std::size_t i) {
            return prepareRow(requests[i], runSet, services, *folders, *spare, spareFiles);
        };
    });
    for (std::size_t index = 0; index < requests.size(); ++index) {
        PreparedRow prepared = work.takeNext();
        result.rows.push_back(std::move(prepared.row));
        if (prepared.file) {
            prepared.file->row = index;
            if (!batches.add(std::move(*prepared.file), prepared.newSize)) {
                break;
            }
            continue;
        }
        const TextWriteOutcome outcome = result.rows.back().outcome;
        if (outcome == TextWriteOutcome::WouldWrite) {
            ++result.written;
        } else if (outcome != TextWriteOutcome::Unchanged) {
            ++result.refused;
        }
    }
    for (const PreparedRow& left : work.stop()) {
        if (left.file) {
            ::unlinkat(left.file->target.folder->descriptor(), left.file->temporary.constData(), 0);
        }
    }
    batches.replace();
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
    SpareFiles spareFiles;
    WriteBatches batches(services, journal.get(), result, spareFiles, runNumber);
    RunFolders folders;
    for (const JournalWrite& write : writes) {
        const std::size_t index = result.rows.size();
        TextWriteRowResult& row = result.rows.emplace_back();
        row.path = write.path;
        const QString shown = displayPath(write.path);
        try {
            TargetFile target = readTarget(write.path, folders);
            // A run stopped between its journal line and the replacement leaves the new file.
            ::unlinkat(target.folder->descriptor(), write.temporaryName.constData(), 0);
            const QByteArray current = sha256(target.bytes);
            if (current == write.oldSha256) {
                journal->recordSettled(runNumber, write.sequence);
                continue; // never replaced: the old file is there
            }
            if (current != write.newSha256) {
                journal->recordSettled(runNumber, write.sequence);
                throw WriteFailure(writeTexts::changedSinceWriting());
            }
            const QByteArray old = rebuildOldBytes(target.bytes, write.regions);
            if (sha256(old) != write.oldSha256) {
                throw WriteFailure(writeTexts::cannotRebuildOld());
            }
            row.oldTexts = readKaraokeBytes(target.bytes, RunSet::StartWindow);
            row.newTexts = readKaraokeBytes(old, RunSet::StartWindow);
            NewFile file{index, std::move(target), {}, {}, {}, {}, write.sequence};
            file.temporary = writeTemporary(file.target, old, &spareFiles);
            file.target.bytes.clear();
            batches.add(std::move(file), old.size());
        } catch (const WriteFailure& failure) {
            row.outcome = failure.refused ? TextWriteOutcome::Refused : TextWriteOutcome::Failed;
            row.message = leftAloneMessage(shown, failure.reason);
            ++result.refused;
        } catch (const IoError& error) {
            row.outcome = TextWriteOutcome::Failed;
            row.message = leftAloneMessage(shown, error.text());
            ++result.refused;
        }
    }
    batches.replace();
    try {
        journal->flush();
    } catch (const IoError& error) {
        result.notice = journalFailureNotice(error);
    }
    return result;
}

} // namespace corvanteller
