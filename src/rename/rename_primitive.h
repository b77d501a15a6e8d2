// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QtGlobal>

#include <compare>

namespace corvanteller {

// A file as the file system knows it, whatever its name.
struct FileIdentity {
    quint64 device = 0;
    quint64 inode = 0;
    auto operator<=>(const FileIdentity&) const = default;
};

// What the rename needs to know of a folder entry; a symbolic link is the link itself.
struct EntryStatus {
    quint64 device = 0;
    quint64 inode = 0;
    quint64 links = 0;
    bool isFolder = false;

    FileIdentity identity() const { return {device, inode}; }
    bool sameEntry(const EntryStatus& other) const { return identity() == other.identity(); }
};

// The system calls behind a rename, so that tests can refuse a flag, a hard link or a step.
// Names are the bytes of entries of one open folder; each call returns 0 or the system's error
// number.
class FileSystemCalls {
public:
    virtual ~FileSystemCalls() = default;
    // Fails with EEXIST when an entry of the new name exists.
    virtual int renameNoReplace(int folder, const QByteArray& from, const QByteArray& to) = 0;
    virtual int link(int folder, const QByteArray& from, const QByteArray& to) = 0;
    virtual int unlink(int folder, const QByteArray& name) = 0;
    // Replaces an existing entry of the new name.
    virtual int rename(int folder, const QByteArray& from, const QByteArray& to) = 0;
    // The entry itself, a symbolic link not followed.
    virtual int status(int folder, const QByteArray& name, EntryStatus& status) = 0;
    // Whether this user may create and remove entries in the folder, as access(2) tells it.
    virtual int checkWritable(int folder);
    // Swaps two entries of the folder in one step; EINVAL where the file system cannot.
    virtual int exchange(int folder, const QByteArray& first, const QByteArray& second);
};

// The running system's calls.
FileSystemCalls& systemFileSystem();

struct RenameOutcome {
    int error = 0; // the system's error number; 0 when the file has its new name
    // Set when a case-only rename could neither finish nor go back: the temporary name the file
    // is left under.
    QByteArray leftUnder;

    bool renamed() const { return error == 0; }
};

// Renames an entry of the folder and never replaces another file: where the file system
// refuses the no-replace flag it links and unlinks, and where it refuses hard links too it
// renames after checking that the new name is free. A new name that differs only in letter
// case and names the file itself (a case-insensitive file system) goes through a temporary
// name in the same folder.
RenameOutcome renameWithoutReplacing(FileSystemCalls& calls, int folder, const QByteArray& from,
                                     const QByteArray& to);

} // namespace corvanteller
