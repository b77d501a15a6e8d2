// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <functional>
#include <memory>
#include <vector>

namespace corvanteller {

// An open folder descriptor, closed with its last owner.
class FolderHandle {
public:
    explicit FolderHandle(int fd) : fd_(fd) {}
    ~FolderHandle();
    FolderHandle(const FolderHandle&) = delete;
    FolderHandle& operator=(const FolderHandle&) = delete;

    int fd() const { return fd_; }

private:
    int fd_;
};

// A folder of a walk, known by its name in its parent (the chosen folder by its path), so that
// it is reached however long its full path grows.
struct WalkFolder : std::enable_shared_from_this<WalkFolder> {
    std::shared_ptr<WalkFolder> parent; // null for the chosen folder
    QByteArray name;
    QString text;        // the folder as the user sees it, until it has been listed
    bool dotDot = false; // its path contains "/.."
    std::shared_ptr<FolderHandle> handle; // while it is open
};

// Opens the folders of a walk relative to their parent's descriptor and keeps at most a few
// of them open: a folder whose descriptor has been closed is opened again from its nearest
// open ancestor, so that a tree of any width or depth needs a bounded number of descriptors.
class FolderOpener {
public:
    // Opens a folder below an open one, as openat does; replaceable so that tests fail it.
    using OpenAt = std::function<int(int parentFd, const char* name, int flags)>;

    explicit FolderOpener(std::size_t keptOpen, OpenAt openAt = {});

    // The folder's descriptor, or null when it cannot be opened; then error() tells why.
    std::shared_ptr<FolderHandle> open(WalkFolder& folder);
    // The system's error number of the last open that failed.
    int error() const { return error_; }

private:
    void keep(WalkFolder& folder);

    std::size_t keptOpen_;
    OpenAt openAt_;
    int error_ = 0;
    std::vector<std::shared_ptr<WalkFolder>> open_; // least recently used first
};

// Opens a folder by its path, also a path longer than the system takes at once (then one
// component at a time, as the system would resolve it). Returns the descriptor or -1.
int openFolderPath(const QByteArray& path);

// An error that says the process is out of descriptors or memory, not that the folder is
// unreadable: a folder that fails with it has not been looked at.
bool isResourceError(int code);

} // namespace corvanteller
