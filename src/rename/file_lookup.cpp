// SPDX-License-Identifier: GPL-3.0-or-later
#include "rename/file_lookup.h"

#include "common/file_names.h"
#include "kar/row_store.h"

#include <QCryptographicHash>
#include <QStringList>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace corvanteller {

namespace {

#ifdef O_PATH
constexpr int folderFlags = O_PATH | O_DIRECTORY | O_CLOEXEC;
#else
constexpr int folderFlags = O_RDONLY | O_DIRECTORY | O_CLOEXEC;
#endif

// The system's calls end a name at its first zero byte: such a text names another file.
bool holdsZero(const QString& text) {
    return text.contains(QChar(0));
}

int openRoot() {
    return ::open("/", folderFlags);
}

} // namespace

OpenFolder::~OpenFolder() {
    if (descriptor_ >= 0) {
        ::close(descriptor_);
    }
}

std::shared_ptr<const OpenFolder> FileLookup::findFolder(const QString& folderText) {
    if (cached_ && folderText == cachedText_) {
        return cachedFolder_;
    }
    cachedFolder_.reset();
    cached_ = true;
    cachedText_ = folderText;
    if (!folderText.startsWith(QLatin1Char('/')) || !folderText.endsWith(QLatin1Char('/')) ||
        holdsZero(folderText)) {
        return nullptr;
    }
    int descriptor = openRoot();
    if (descriptor < 0) {
        return nullptr;
    }
    QByteArray path = "/";
    for (QStringView part : QStringView(folderText).split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        int next = -1;
        for (const QByteArray& candidate : fileNameCandidates(part)) {
            next = ::openat(descriptor, candidate.constData(), folderFlags);
            if (next >= 0) {
                path += candidate + '/';
                break;
            }
        }
        ::close(descriptor);
        if (next < 0) {
            return nullptr;
        }
        descriptor = next;
    }
    cachedFolder_ = std::make_shared<const OpenFolder>(descriptor, path);
    return cachedFolder_;
}

std::optional<FoundFile> FileLookup::find(const RowFile& file) {
    if (file.name.isEmpty() || file.name.contains(QLatin1Char('/')) || holdsZero(file.name)) {
        return std::nullopt;
    }
    std::shared_ptr<const OpenFolder> folder = findFolder(file.folder);
    if (!folder) {
        return std::nullopt;
    }
    const int descriptor = folder->descriptor();
    for (const QByteArray& candidate : fileNameCandidates(file.name)) {
        struct stat entry {};
        if (::fstatat(descriptor, candidate.constData(), &entry, AT_SYMLINK_NOFOLLOW) != 0) {
            continue;
        }
        bool isFile = S_ISREG(entry.st_mode);
        if (S_ISLNK(entry.st_mode)) {
            struct stat target {};
            isFile = ::fstatat(descriptor, candidate.constData(), &target, 0) == 0 &&
                     S_ISREG(target.st_mode);
        }
        if (isFile) {
            EntryStatus status;
            status.device = static_cast<quint64>(entry.st_dev);
            status.inode = static_cast<quint64>(entry.st_ino);
            status.links = static_cast<quint64>(entry.st_nlink);
            return FoundFile{folder, candidate, status};
        }
    }
    return std::nullopt;
}

std::shared_ptr<const OpenFolder> openFolderBytes(const QByteArray& path) {
    if (!path.startsWith('/') || path.contains('\0')) {
        return nullptr;
    }
    const int descriptor = ::open(path.constData(), folderFlags);
    if (descriptor < 0) {
        return nullptr;
    }
    return std::make_shared<const OpenFolder>(descriptor, path.endsWith('/') ? path : path + '/');
}

QString displayPath(const QByteArray& path) {
    QStringList parts;
    for (const QByteArray& part : path.split('/')) {
        parts.append(decodeFileName(part));
    }
    return parts.join(QLatin1Char('/'));
}

FileProbe rowFileProbe() {
    // One lookup for both calls, so that the rows of one folder keep it open.
    auto lookup = std::make_shared<FileLookup>();
    const auto openRowFile = [lookup](const RowFile& file) {
        const std::optional<FoundFile> found = lookup->find(file);
        return found ? ::open(found->path().constData(), O_RDONLY | O_CLOEXEC) : -1;
    };
    return {[openRowFile](const RowFile& file) {
                const int descriptor = openRowFile(file);
                struct stat status {};
                const bool known =
                    descriptor >= 0 && ::fstat(descriptor, &status) == 0 && S_ISREG(status.st_mode);
                if (descriptor >= 0) {
                    ::close(descriptor);
                }
                return known ? static_cast<long long>(status.st_size) : -1LL;
            },
            [openRowFile](const RowFile& file) {
                const int descriptor = openRowFile(file);
                if (descriptor < 0) {
                    return QByteArray();
                }
                QCryptographicHash hash(QCryptographicHash::Sha256);
                QByteArray block(1 << 16, Qt::Uninitialized);
                ssize_t got = 0;
                while ((got = ::read(descriptor, block.data(), block.size())) > 0) {
                    hash.addData(QByteArrayView(block.constData(), got));
                }
                ::close(descriptor);
                return got < 0 ? QByteArray() : hash.result();
            }};
}

} // namespace corvanteller
