// SPDX-License-Identifier: GPL-3.0-or-later
#include "rename/rename_primitive.h"

#include "common/file_names.h"

#include <QString>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace corvanteller {

namespace {

int resultOf(int returned) {
    return returned == 0 ? 0 : errno;
}

class SystemFileSystem final : public FileSystemCalls {
public:
    int renameNoReplace(int folder, const QByteArray& from, const QByteArray& to) override {
#if defined(__linux__) && defined(RENAME_NOREPLACE)
        return resultOf(
            ::renameat2(folder, from.constData(), folder, to.constData(), RENAME_NOREPLACE));
#else
        Q_UNUSED(folder);
        Q_UNUSED(from);
        Q_UNUSED(to);
        return ENOSYS;
#endif
    }

    int link(int folder, const QByteArray& from, const QByteArray& to) override {
        // Without AT_SYMLINK_FOLLOW a symbolic link itself gets the second name.
        return resultOf(::linkat(folder, from.constData(), folder, to.constData(), 0));
    }

    int unlink(int folder, const QByteArray& name) override {
        return resultOf(::unlinkat(folder, name.constData(), 0));
    }

    int rename(int folder, const QByteArray& from, const QByteArray& to) override {
        return resultOf(::renameat(folder, from.constData(), folder, to.constData()));
    }

    int status(int folder, const QByteArray& name, EntryStatus& status) override {
        struct stat info {};
        if (::fstatat(folder, name.constData(), &info, AT_SYMLINK_NOFOLLOW) != 0) {
            return errno;
        }
        status.device = static_cast<quint64>(info.st_dev);
        status.inode = static_cast<quint64>(info.st_ino);
        status.links = static_cast<quint64>(info.st_nlink);
        status.isFolder = S_ISDIR(info.st_mode);
        return 0;
    }
};

} // namespace

int FileSystemCalls::checkWritable(int folder) {
    // AT_EACCESS: the rights the rename itself will have.
    return resultOf(::faccessat(folder, ".", W_OK, AT_EACCESS));
}

int FileSystemCalls::exchange(int folder, const QByteArray& first, const QByteArray& second) {
#if defined(__linux__) && defined(RENAME_EXCHANGE)
    return resultOf(
        ::renameat2(folder, first.constData(), folder, second.constData(), RENAME_EXCHANGE));
#else
    Q_UNUSED(folder);
    Q_UNUSED(first);
    Q_UNUSED(second);
    return EINVAL;
#endif
}

namespace {

bool hardLinksRefused(int error) {
    return error == EPERM || error == EOPNOTSUPP || error == ENOTSUP;
}

// One move without replacing, through whichever way the file system allows.
int moveEntry(FileSystemCalls& calls, int folder, const QByteArray& from, const QByteArray& to) {
    const int renamed = calls.renameNoReplace(folder, from, to);
    if (renamed != EINVAL && renamed != ENOSYS) {
        return renamed;
    }
    const int linked = calls.link(folder, from, to);
    if (linked == 0) {
        const int unlinked = calls.unlink(folder, from);
        if (unlinked != 0) {
            // The file keeps only its old name.
            calls.unlink(folder, to);
        }
        return unlinked;
    }
    if (!hardLinksRefused(linked)) {
        return linked;
    }
    EntryStatus existing;
    const int looked = calls.status(folder, to, existing);
    if (looked == 0) {
        return EEXIST;
    }
    if (looked != ENOENT) {
        return looked;
    }
    return calls.rename(folder, from, to);
}

bool differOnlyInCase(const QByteArray& from, const QByteArray& to) {
    return from != to && decodeFileName(from).compare(decodeFileName(to), Qt::CaseInsensitive) == 0;
}

// The new name is the file itself under another spelling, not a second file.
bool namesTheSameFile(FileSystemCalls& calls, int folder, const QByteArray& from,
                      const QByteArray& to) {
    EntryStatus old;
    EntryStatus target;
    return calls.status(folder, from, old) == 0 && calls.status(folder, to, target) == 0 &&
           old.sameEntry(target) && old.links == 1;
}

QByteArray temporaryName(int attempt) {
    static int counter = 0;
    return ".corvanteller-rename-" + QByteArray::number(static_cast<qint64>(::getpid())) + '-' +
           QByteArray::number(++counter) + '-' + QByteArray::number(attempt);
}

RenameOutcome renameCaseOnly(FileSystemCalls& calls, int folder, const QByteArray& from,
                             const QByteArray& to) {
    constexpr int attempts = 20;
    QByteArray temporary;
    for (int attempt = 0;; ++attempt) {
        temporary = temporaryName(attempt);
        const int moved = moveEntry(calls, folder, from, temporary);
        if (moved == 0) {
            break;
        }
        if (moved != EEXIST || attempt + 1 == attempts) {
            return {moved, {}};
        }
    }
    const int finished = moveEntry(calls, folder, temporary, to);
    if (finished == 0) {
        return {};
    }
    if (moveEntry(calls, folder, temporary, from) == 0) {
        return {finished, {}};
    }
    return {finished, temporary};
}

} // namespace

FileSystemCalls& systemFileSystem() {
    static SystemFileSystem calls;
    return calls;
}

RenameOutcome renameWithoutReplacing(FileSystemCalls& calls, int folder, const QByteArray& from,
                                     const QByteArray& to) {
    if (from == to) {
        // As rename(2) does: the file already has that name.
        return {};
    }
    const int moved = moveEntry(calls, folder, from, to);
    if (moved == EEXIST && differOnlyInCase(from, to) &&
        namesTheSameFile(calls, folder, from, to)) {
        return renameCaseOnly(calls, folder, from, to);
    }
    return {moved, {}};
}

} // namespace corvanteller
