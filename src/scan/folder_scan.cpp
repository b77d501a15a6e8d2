#include "scan/folder_scan.h"

#include "common/file_names.h"
#include "kar/kar_reader.h"
#include "table/row_store.h"

#include <QFile>

#include <cstring>
#include <deque>
#include <dirent.h>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>

namespace corvanteller {
namespace {

struct Folder {
    QByteArray bytes;
    QString text;
};

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

bool namesKaraokeFile(const char* name) {
    return std::strstr(name, "kar") != nullptr || std::strstr(name, "KAR") != nullptr;
}

class DirectoryListing {
public:
    explicit DirectoryListing(const QByteArray& path) : dir_(::opendir(path.constData())) {}
    ~DirectoryListing() {
        if (dir_ != nullptr) {
            ::closedir(dir_);
        }
    }
    DirectoryListing(const DirectoryListing&) = delete;
    DirectoryListing& operator=(const DirectoryListing&) = delete;

    int fd() const { return ::dirfd(dir_); }
    // The next entry, or null at the end; a folder that cannot be listed lists nothing.
    const dirent* next() { return dir_ == nullptr ? nullptr : ::readdir(dir_); }

private:
    DIR* dir_;
};

class Walk {
public:
    Walk(const ScanRequest& request, RowStore& rows, const std::function<void()>& progressStep)
        : request_(request), rows_(rows), progressStep_(progressStep) {}

    ScanOutcome run() {
        rows_.setRowCount(0);
        int pending = 1;
        std::optional<Folder> chosen = Folder{request_.folderBytes, request_.folderText};
        do {
            --pending;
            Folder folder = takeNextFolder(chosen);
            if (std::optional<ScanEnd> end = listFolder(folder, pending)) {
                outcome_.end = *end;
                return outcome_;
            }
            ++outcome_.listedFolders;
            if (guardCount_ > request_.guardLimit) {
                outcome_.end = ScanEnd::Guard;
                return outcome_;
            }
            if (outcome_.listedFolders > listedFolderLimit) {
                pending = 0;
                outcome_.end = ScanEnd::TooManyFolders;
            }
        } while (pending != 0);
        return outcome_;
    }

private:
    Folder takeNextFolder(std::optional<Folder>& chosen) {
        if (chosen) {
            Folder folder = std::move(*chosen);
            chosen.reset();
            return folder;
        }
        Folder folder = std::move(queue_.front());
        queue_.pop_front();
        return folder;
    }

    // The folder step; returns how the scan ends when it ends inside this folder.
    std::optional<ScanEnd> listFolder(const Folder& folder, int& pending) {
        DirectoryListing listing(folder.bytes);
        // A full path contains "/.." exactly when its folder does or its name begins with "..".
        const bool folderHasDotDot = folder.bytes.contains("/..");
        // One text for every row of this folder, shared by all of them.
        const QString storedFolder = folder.text + QLatin1Char('/');
        while (const dirent* entry = listing.next()) {
            const char* name = entry->d_name;
            if (isDotOrDotDot(name)) {
                continue;
            }
            const EntryKind kind = kindOf(listing.fd(), *entry);
            if (kind == EntryKind::Folder) {
                if (queue_.size() >= static_cast<std::size_t>(folderQueueLimit)) {
                    return ScanEnd::QueueLimit;
                }
                queue_.push_back(childFolder(folder, name));
                ++pending;
                continue;
            }
            countProgress();
            if (folderHasDotDot || (name[0] == '.' && name[1] == '.')) {
                ++guardCount_;
                continue;
            }
            if (kind != EntryKind::RegularFile || !namesKaraokeFile(name)) {
                continue;
            }
            guardCount_ = 0;
            if (std::optional<ScanEnd> end = readKaraokeEntry(storedFolder, listing.fd(), name)) {
                return end;
            }
        }
        return std::nullopt;
    }

    std::optional<ScanEnd> readKaraokeEntry(const QString& storedFolder, int folderFd,
                                            const char* name) {
        if (rows_.rowCount() >= RowStore::maxRows) {
            return ScanEnd::RowLimit;
        }
        const QString nameText = decodeFileName(name);
        const KarReadResult read = readKaraokeFileAt(folderFd, name, request_.runSet);
        if (!read.ok) {
            outcome_.errorText = karReadFailureText(storedFolder + nameText, read);
            return ScanEnd::ReadError;
        }
        const int row = rows_.rowCount() + 1;
        rows_.setRowCount(row);
        rows_.setText(1, row, nameText);
        rows_.setText(2, row, storedFolder);
        rows_.setText(3, row, read.texts.first);
        rows_.setText(4, row, read.texts.second);
        rows_.setText(5, row, read.texts.third);
        rows_.setText(6, row, read.texts.fourth);
        return std::nullopt;
    }

    static Folder childFolder(const Folder& parent, const char* name) {
        QByteArray bytes = parent.bytes;
        bytes.append('/').append(name);
        return Folder{std::move(bytes), parent.text + QLatin1Char('/') + decodeFileName(name)};
    }

    void countProgress() {
        if (++progressCount_ == entriesPerProgressStep) {
            progressCount_ = 0;
            if (progressStep_) {
                progressStep_();
            }
        }
    }

    const ScanRequest& request_;
    RowStore& rows_;
    const std::function<void()>& progressStep_;
    std::deque<Folder> queue_;
    int guardCount_ = 0;
    int progressCount_ = 0;
    ScanOutcome outcome_;
};

} // namespace

ScanRequest ScanRequest::forFolder(const QString& folder, RunSet runSet, bool plentyOfFiles) {
    return ScanRequest{QFile::encodeName(folder), folder, runSet, guardLimitFor(plentyOfFiles)};
}

ScanRequest ScanRequest::forFolderBytes(const QByteArray& folder, RunSet runSet,
                                        bool plentyOfFiles) {
    return ScanRequest{folder, decodeFileName(folder), runSet, guardLimitFor(plentyOfFiles)};
}

ScanOutcome scanFolder(const ScanRequest& request, RowStore& rows,
                       const std::function<void()>& progressStep) {
    return Walk(request, rows, progressStep).run();
}

} // namespace corvanteller
