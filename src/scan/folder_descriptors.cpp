// SPDX-License-Identifier: GPL-3.0-or-later
#include "scan/folder_descriptors.h"

#include <QList>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>
#include <utility>

namespace corvanteller {
namespace {

constexpr int folderFlags = O_RDONLY | O_DIRECTORY | O_CLOEXEC;

int openComponentWise(const QByteArray& path) {
    int fd = ::open(path.startsWith('/') ? "/" : ".", folderFlags);
    for (const QByteArray& component : path.split('/')) {
        if (fd < 0 || component.isEmpty()) {
            continue;
        }
        const int next = ::openat(fd, component.constData(), folderFlags);
        const int error = errno;
        ::close(fd);
        fd = next;
        errno = error;
    }
    return fd;
}

} // namespace

FolderHandle::~FolderHandle() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

int openFolderPath(const QByteArray& path) {
    const int fd = ::open(path.constData(), folderFlags);
    if (fd < 0 && errno == ENAMETOOLONG) {
        return openComponentWise(path);
    }
    return fd;
}

bool isResourceError(int code) {
    return code == EMFILE || code == ENFILE || code == ENOMEM;
}

FolderOpener::FolderOpener(std::size_t keptOpen, OpenAt openAt)
    : keptOpen_(keptOpen), openAt_(std::move(openAt)) {
    if (!openAt_) {
        openAt_ = [](int parentFd, const char* name, int flags) {
            return ::openat(parentFd, name, flags);
        };
    }
}

std::shared_ptr<FolderHandle> FolderOpener::open(WalkFolder& folder) {
    std::vector<WalkFolder*> closed;
    WalkFolder* ancestor = &folder;
    while (ancestor != nullptr && !ancestor->handle) {
        closed.push_back(ancestor);
        ancestor = ancestor->parent.get();
    }
    if (ancestor != nullptr) {
        keep(*ancestor);
    }
    std::shared_ptr<FolderHandle> handle = ancestor != nullptr ? ancestor->handle : nullptr;
    for (auto next = closed.rbegin(); next != closed.rend(); ++next) {
        WalkFolder& step = **next;
        // A folder was queued as a folder, not as a link to one: a link that has taken its
        // place since is not followed.
        const int fd = step.parent
                           ? openAt_(handle->fd(), step.name.constData(), folderFlags | O_NOFOLLOW)
                           : openFolderPath(step.name);
        if (fd < 0) {
            error_ = errno;
            return nullptr;
        }
        handle = std::make_shared<FolderHandle>(fd);
        step.handle = handle;
        keep(step);
    }
    return handle;
}

void FolderOpener::keep(WalkFolder& folder) {
    const auto known = std::find_if(open_.begin(), open_.end(),
                                    [&](const auto& kept) { return kept.get() == &folder; });
    std::shared_ptr<WalkFolder> kept = known != open_.end() ? *known : folder.shared_from_this();
    if (known != open_.end()) {
        open_.erase(known);
    }
    while (open_.size() >= keptOpen_ && !open_.empty()) {
        open_.front()->handle.reset();
        open_.erase(open_.begin());
    }
    open_.push_back(std::move(kept));
}

} // namespace corvanteller
