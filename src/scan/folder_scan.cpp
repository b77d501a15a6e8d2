// SPDX-License-Identifier: GPL-3.0-or-later
#include "scan/folder_scan.h"

#include "common/common_texts.h"
#include "common/file_io.h"
#include "common/file_names.h"
#include "kar/kar_reader.h"
#include "kar/karaoke_name.h"
#include "kar/row_store.h"
#include "scan/folder_descriptors.h"
#include "scan/read_ahead.h"
#include "scan/scan_cache.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <deque>
#include <dirent.h>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace corvanteller {
namespace {

using namespace Qt::StringLiterals;

// Folders kept open for their sub-folders; more are opened again from an open ancestor.
constexpr std::size_t foldersKeptOpen = 8;
// How far the walk may run ahead of the rows: files waiting for a helper, files listed and
// not yet in the table, and steps of any kind not yet taken.
constexpr std::size_t waitingFilesPerHelper = 8;
constexpr std::size_t filesAhead = 64;
constexpr std::size_t stepsAhead = 4096;
// Each folder with files not yet read stays open; this bounds their number.
constexpr std::size_t foldersAhead = 16;
// Entries the walk lists in one go before it looks at the rows again.
constexpr int entriesPerWalkStep = 64;

enum class EntryKind { Folder, RegularFile, Other };

// Symbolic links to folders are not followed; only regular files, directly or through a link,
// are ever opened. Anything else (FIFOs, devices, sockets, dangling links) must not be opened:
// opening a FIFO would block the scan for good.
EntryKind kindOf(int folderFd, const dirent& entry) {
    switch (entry.d_type) {
    case DT_DIR:
        return EntryKind::Folder;
    case DT_REG:
        return EntryKind::RegularFile;
    case DT_LNK:
    case DT_UNKNOWN:
        break;
    default:
        return EntryKind::Other;
    }
    struct stat status {};
    if (entry.d_type == DT_UNKNOWN) {
        if (::fstatat(folderFd, entry.d_name, &status, AT_SYMLINK_NOFOLLOW) != 0) {
            return EntryKind::Other;
        }
        if (S_ISDIR(status.st_mode)) {
            return EntryKind::Folder;
        }
        if (!S_ISLNK(status.st_mode)) {
            return S_ISREG(status.st_mode) ? EntryKind::RegularFile : EntryKind::Other;
        }
    }
    if (::fstatat(folderFd, entry.d_name, &status, 0) != 0) {
        return EntryKind::Other;
    }
    return S_ISREG(status.st_mode) ? EntryKind::RegularFile : EntryKind::Other;
}

bool isDotOrDotDot(const char* name) {
    return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

bool beginsWithDotDot(const char* name) {
    return name[0] == '.' && name[1] == '.';
}

// The listing of one folder, on a descriptor of its own: the folder's handle stays free for
// opening its entries, also after the listing has ended.
class DirectoryListing {
public:
    explicit DirectoryListing(const FolderHandle* folder) {
        if (folder == nullptr) {
            return;
        }
        const int fd = ::fcntl(folder->fd(), F_DUPFD_CLOEXEC, 0);
        dir_ = fd >= 0 ? ::fdopendir(fd) : nullptr;
        if (dir_ == nullptr) {
            error_ = errno;
            if (fd >= 0) {
                ::close(fd);
            }
        }
    }
    ~DirectoryListing() {
        if (dir_ != nullptr) {
            ::closedir(dir_);
        }
    }
    DirectoryListing(const DirectoryListing&) = delete;
    DirectoryListing& operator=(const DirectoryListing&) = delete;

    // The next entry, or null at the end; a folder that cannot be listed lists nothing.
    const dirent* next() {
        if (dir_ == nullptr) {
            return nullptr;
        }
        errno = 0;
        const dirent* entry = ::readdir(dir_);
        if (entry == nullptr && errno != 0) {
            error_ = errno;
        }
        return entry;
    }
    // The system's error number when the listing could not be started or ended early.
    int error() const { return error_; }

private:
    DIR* dir_ = nullptr;
    int error_ = 0;
};

// What the walk has found, in the order in which the scan takes it into account.
struct WalkStep {
    enum class Kind { Progress, Row, FolderStarted, FolderListed, End };

    Kind kind = Kind::Progress;
    std::shared_ptr<ReadJob> job; // Row
    QString storedFolder;         // Row, FolderStarted; End at the row or queue limit
    ScanEnd end = ScanEnd::Complete;
    // End at a folder that could not be opened, or FolderListed for one that could not be
    // listed (whole or in part).
    QString failedFolder;
    int errorCode = 0;
};

// The breadth-first walk. It decides everything but the reading of the karaoke files, whose
// results only end a scan when a file cannot be read: so it may run ahead of the rows, and
// what it finds goes into a list of steps that the scan takes in order.
class FolderWalk {
public:
    FolderWalk(const ScanRequest& request, ReadAhead& readAhead)
        : request_(request), readAhead_(readAhead), opener_(foldersKeptOpen, request.openFolderAt) {
        auto chosen = std::make_shared<WalkFolder>();
        chosen->name = request.folderBytes;
        chosen->text = request.folderText;
        chosen->dotDot = request.folderBytes.contains("/..");
        queue_.push_back(std::move(chosen));
    }

    bool ended() const { return ended_; }

    // Lists up to entriesPerWalkStep entries, and no further than the next karaoke file.
    void step(std::deque<WalkStep>& steps) {
        if (ended_) {
            return;
        }
        if (!listing_ && !startNextFolder(steps)) {
            return;
        }
        for (int entries = 0; entries < entriesPerWalkStep; ++entries) {
            const dirent* entry = listing_->next();
            if (entry == nullptr) {
                endFolder(steps);
                break;
            }
            const char* name = entry->d_name;
            if (isDotOrDotDot(name)) {
                continue;
            }
            if (handleEntry(*entry, steps)) {
                break;
            }
        }
        if (request_.control != nullptr) {
            request_.control->setFilesSeen(filesSeen_);
        }
    }

private:
    // Returns false when the walk has ended at a folder that could not be opened for want of
    // descriptors or memory: listing it as empty would pass over what it holds unseen. A
    // folder that cannot be opened for any other reason lists nothing.
    bool startNextFolder(std::deque<WalkStep>& steps) {
        --pending_;
        folder_ = std::move(queue_.front());
        queue_.pop_front();
        handle_ = opener_.open(*folder_);
        listing_.emplace(handle_.get());
        const int error = handle_ ? listing_->error() : opener_.error();
        if (isResourceError(error)) {
            endWalk(steps, ScanEnd::ReadError);
            steps.back().failedFolder = folder_->text;
            steps.back().errorCode = error;
            return false;
        }
        // Listed as empty (a folder the user may not read, or one renamed or removed since
        // its parent was listed), and told after the scan.
        openError_ = error;
        // One text for every row of this folder, shared by all of them.
        storedFolder_ = folder_->text + QLatin1Char('/');
        folderDevice_ = 0;
        struct stat status {};
        if (request_.cache != nullptr && handle_ && ::fstat(handle_->fd(), &status) == 0) {
            folderDevice_ = static_cast<std::uint64_t>(status.st_dev);
        }
        if (request_.control != nullptr) {
            WalkStep& started = steps.emplace_back();
            started.kind = WalkStep::Kind::FolderStarted;
            started.storedFolder = storedFolder_;
        }
        return true;
    }

    // Returns true when the walk should look at the rows again: after a karaoke file or at
    // the end of the walk.
    bool handleEntry(const dirent& entry, std::deque<WalkStep>& steps) {
        const char* name = entry.d_name;
        const EntryKind kind = kindOf(handle_->fd(), entry);
        if (kind == EntryKind::Folder) {
            if (queue_.size() >= static_cast<std::size_t>(folderQueueLimit)) {
                return endWalk(steps, ScanEnd::QueueLimit, storedFolder_);
            }
            auto child = std::make_shared<WalkFolder>();
            child->parent = folder_;
            child->name = name;
            child->text = folder_->text + QLatin1Char('/') + decodeFileName(name);
            child->dotDot = folder_->dotDot || beginsWithDotDot(name);
            queue_.push_back(std::move(child));
            ++pending_;
            return false;
        }
        ++filesSeen_;
        if (++progressCount_ == entriesPerProgressStep) {
            progressCount_ = 0;
            steps.emplace_back().kind = WalkStep::Kind::Progress;
        }
        // A full path contains "/.." exactly when its folder does or its name begins with "..".
        if (folder_->dotDot || beginsWithDotDot(name)) {
            ++guardCount_;
            return false;
        }
        if (kind != EntryKind::RegularFile || !isKaraokeFileName(name)) {
            return false;
        }
        guardCount_ = 0;
        if (rowsAhead_ >= RowStore::maxRows) {
            return endWalk(steps, ScanEnd::RowLimit, storedFolder_);
        }
        ++rowsAhead_;
        WalkStep& row = steps.emplace_back();
        row.kind = WalkStep::Kind::Row;
        row.storedFolder = storedFolder_;
        row.job = std::make_shared<ReadJob>();
        row.job->folder = handle_;
        std::memcpy(row.job->name.data(), name, std::strlen(name) + 1);
        if (takeFromCache(entry, *row.job)) {
            row.job->nameText = decodeFileName(name);
        } else {
            readAhead_.submit(row.job);
        }
        return true;
    }

    // A file that the cache may know is looked at here: the look costs about what handing it
    // to a helper costs both threads. The inode of the listing tells first whether a record
    // may stand for it, so that a file the cache does not know costs no look.
    bool takeFromCache(const dirent& entry, ReadJob& job) const {
        job.record = folderDevice_ == 0
                         ? nullptr
                         : request_.cache->recordFor(request_.runSet, folderDevice_, entry.d_ino);
        if (job.record == nullptr) {
            return false;
        }
        if (!isRecordedVersion(handle_->fd(), entry.d_name, *job.record, job.result)) {
            job.record = nullptr; // looked at already: the file is read
            return false;
        }
        job.cached = true;
        job.done.store(true, std::memory_order_release);
        return true;
    }

    void endFolder(std::deque<WalkStep>& steps) {
        WalkStep& listed = steps.emplace_back();
        listed.kind = WalkStep::Kind::FolderListed;
        listed.errorCode = openError_ != 0 ? openError_ : listing_->error();
        if (listed.errorCode != 0) {
            listed.failedFolder = folder_->text;
        }
        openError_ = 0;
        listing_.reset();
        handle_.reset();
        // Its rows hold the text already; its sub-folders hold theirs.
        folder_->text.clear();
        folder_.reset();
        ++listedAhead_;
        if (guardCount_ > request_.guardLimit) {
            endWalk(steps, ScanEnd::Guard);
        } else if (listedAhead_ > listedFolderLimit) {
            endWalk(steps, ScanEnd::TooManyFolders);
        } else if (pending_ == 0) {
            endWalk(steps, ScanEnd::Complete);
        }
    }

    bool endWalk(std::deque<WalkStep>& steps, ScanEnd end, const QString& folder = {}) {
        WalkStep& last = steps.emplace_back();
        last.kind = WalkStep::Kind::End;
        last.end = end;
        last.storedFolder = folder;
        ended_ = true;
        listing_.reset();
        return true;
    }

    const ScanRequest& request_;
    ReadAhead& readAhead_;
    FolderOpener opener_;
    std::deque<std::shared_ptr<WalkFolder>> queue_;
    std::shared_ptr<WalkFolder> folder_; // the folder being listed
    std::shared_ptr<FolderHandle> handle_;
    std::optional<DirectoryListing> listing_;
    QString storedFolder_;
    int pending_ = 1;
    int listedAhead_ = 0;
    int rowsAhead_ = 0;
    int guardCount_ = 0;
    int progressCount_ = 0;
    int filesSeen_ = 0;
    int openError_ = 0;              // why the folder being listed could not be opened
    std::uint64_t folderDevice_ = 0; // with a cache: the device of the folder being listed
    bool ended_ = false;
};

class Scan {
public:
    Scan(const ScanRequest& request, const ScanRowSink& addRow,
         const std::function<void()>& progressStep)
        : control_(request.control), cache_(request.cache), runSet_(request.runSet),
          addRow_(addRow), progressStep_(progressStep),
          readAhead_(request.runSet, helpersFor(request),
                     request.control != nullptr ? &request.control->stopFlag() : nullptr,
                     request.readAheadHelpers >= 0 ? 0 : defaultDiskHelpers(helpersFor(request))),
          walk_(request, readAhead_) {
        if (control_ != nullptr) {
            folderTaken_ = request.folderText + QLatin1Char('/');
        }
    }

    ScanOutcome run() {
        while (true) {
            const std::size_t waitingWanted =
                waitingFilesPerHelper * static_cast<std::size_t>(readAhead_.readingHelpers());
            if (stopped()) {
                return outcome_;
            }
            while (!steps_.empty()) {
                if (stopped()) {
                    return outcome_;
                }
                WalkStep& next = steps_.front();
                if (next.kind == WalkStep::Kind::Row) {
                    if (!ReadAhead::isDone(*next.job)) {
                        break;
                    }
                    --filesAhead_;
                } else if (next.kind == WalkStep::Kind::FolderListed) {
                    --foldersAhead_;
                }
                if (take(next)) {
                    return outcome_;
                }
                steps_.pop_front();
            }
            if (steps_.empty() && walk_.ended()) {
                return outcome_; // the walk always ends with an end step; nothing is left
            }
            // The walk goes on while the helpers want files and the rows are not too far
            // behind; otherwise the next row is read here or awaited.
            if (steps_.empty() || (!walk_.ended() && readAhead_.waiting() < waitingWanted &&
                                   filesAhead_ < filesAhead && foldersAhead_ < foldersAhead &&
                                   steps_.size() < stepsAhead)) {
                const std::size_t before = steps_.size();
                walk_.step(steps_);
                for (std::size_t i = before; i < steps_.size(); ++i) {
                    filesAhead_ += steps_[i].kind == WalkStep::Kind::Row ? 1 : 0;
                    foldersAhead_ += steps_[i].kind == WalkStep::Kind::FolderListed ? 1 : 0;
                }
                continue;
            }
            readAhead_.advance(steps_.front().job);
        }
    }

private:
    // A scan that asks for no helper reads every file on its own thread, in order.
    static int helpersFor(const ScanRequest& request) {
        return request.readAheadHelpers >= 0 ? request.readAheadHelpers : defaultReadAheadHelpers();
    }

    // A stop asked for ends the scan at the folder whose rows are being taken.
    bool stopped() {
        if (control_ == nullptr || !control_->stopRequested()) {
            return false;
        }
        outcome_.end = ScanEnd::Stopped;
        outcome_.stoppedInFolder = folderTaken_;
        return true;
    }

    // Takes one step into account; returns true when the scan ends with it.
    bool take(WalkStep& step) {
        switch (step.kind) {
        case WalkStep::Kind::Progress:
            if (control_ != nullptr) {
                control_->addProgressStep();
            }
            if (progressStep_) {
                progressStep_();
            }
            return false;
        case WalkStep::Kind::FolderStarted:
            folderTaken_ = step.storedFolder;
            control_->setFolder(folderTaken_);
            if (control_->folderReached) {
                control_->folderReached(folderTaken_);
            }
            return false;
        case WalkStep::Kind::FolderListed:
            ++outcome_.listedFolders;
            if (step.errorCode != 0 && ++outcome_.unreadableFolders == 1) {
                outcome_.unreadableFolder = step.failedFolder;
                outcome_.unreadableReason = ioErrorText(step.errorCode);
            }
            return false;
        case WalkStep::Kind::End:
            outcome_.end = step.end;
            outcome_.stoppedInFolder = step.storedFolder;
            if (step.end == ScanEnd::ReadError) {
                setReadError(
                    step.failedFolder, step.errorCode,
                    commonTexts::cannotListFolder(
                        step.failedFolder, QString::fromLocal8Bit(std::strerror(step.errorCode))));
            }
            return true;
        case WalkStep::Kind::Row:
            return takeRow(step);
        }
        return false;
    }

    bool takeRow(WalkStep& step) {
        if (step.job->exception) {
            std::rethrow_exception(step.job->exception);
        }
        const KarReadResult& read = step.job->result;
        if (read.stopped) {
            return stopped();
        }
        if (!read.ok) {
            const QString path = step.storedFolder + step.job->nameText;
            setReadError(path, read.errorCode, karReadFailureText(path, read));
            return true;
        }
        const SongTexts& texts = step.job->texts();
        if (cache_ != nullptr) {
            cache_->remember(runSet_, read.version, texts,
                             step.job->cached ? step.job->record : nullptr);
        }
        addRow_(step.job->nameText, step.storedFolder, texts);
        return false;
    }

    void setReadError(const QString& path, int code, const QString& text) {
        outcome_.end = ScanEnd::ReadError;
        outcome_.errorPath = path;
        outcome_.errorCode = code;
        outcome_.errorReason = ioErrorText(code);
        outcome_.errorText = text;
    }

    ScanControl* control_;
    ScanCache* cache_;
    RunSet runSet_;
    QString folderTaken_; // with a control: the folder whose rows are being taken
    const ScanRowSink& addRow_;
    const std::function<void()>& progressStep_;
    ScanOutcome outcome_;
    std::deque<WalkStep> steps_;
    std::size_t filesAhead_ = 0;
    std::size_t foldersAhead_ = 0;
    ReadAhead readAhead_;
    FolderWalk walk_;
};

} // namespace

ScanRequest ScanRequest::forFolder(const QString& folder, RunSet runSet, bool plentyOfFiles) {
    return ScanRequest{QFile::encodeName(folder), folder, runSet, guardLimitFor(plentyOfFiles)};
}

ScanRequest ScanRequest::forFolderBytes(const QByteArray& folder, RunSet runSet,
                                        bool plentyOfFiles) {
    return ScanRequest{folder, decodeFilePath(folder), runSet, guardLimitFor(plentyOfFiles)};
}

ScanOutcome scanFolder(const ScanRequest& request, const ScanRowSink& addRow,
                       const std::function<void()>& progressStep) {
    if (request.cache == nullptr) {
        return Scan(request, addRow, progressStep).run();
    }
    request.cache->loadOnce();
    request.cache->beginScan();
    // The helpers that look records up have ended with the scan before the records change.
    const ScanOutcome outcome = Scan(request, addRow, progressStep).run();
    request.cache->endScan();
    return outcome;
}

ScanOutcome scanFolder(const ScanRequest& request, RowStore& rows,
                       const std::function<void()>& progressStep) {
    rows.setRowCount(0);
    return scanFolder(
        request,
        [&rows](const QString& name, const QString& storedFolder, const SongTexts& texts) {
            appendScannedRow(rows, name, storedFolder, texts);
        },
        progressStep);
}

ScanOutcome scanFolder(const ScanRequest& request, std::vector<ScannedRow>& rows) {
    return scanFolder(
        request, [&rows](const QString& name, const QString& storedFolder, const SongTexts& texts) {
            rows.push_back({name, storedFolder, texts});
        });
}

void storeScannedRows(RowStore& store, const std::vector<ScannedRow>& rows) {
    store.setRowCount(0);
    for (const ScannedRow& row : rows) {
        appendScannedRow(store, row.name, row.storedFolder, row.texts);
    }
}

void appendScannedRow(RowStore& rows, const QString& name, const QString& storedFolder,
                      const SongTexts& texts) {
    const int row = rows.rowCount() + 1;
    rows.setRowCount(row);
    rows.setText(SongColumn::FileName, row, name);
    rows.setText(SongColumn::Folder, row, storedFolder);
    rows.setText(SongColumn::Title, row, texts.first);
    rows.setText(SongColumn::TextD, row, texts.second);
    rows.setText(SongColumn::TextE, row, texts.third);
    rows.setText(SongColumn::Maker, row, texts.fourth);
    rows.setFile(row, {storedFolder, name});
}

} // namespace corvanteller
