// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "rename/rename_primitive.h"
#include "table/table_duplicates.h"

#include <QByteArray>
#include <QString>

#include <memory>
#include <optional>

namespace corvanteller {

struct RowFile;

// A folder opened for the calls relative to it, with its path as the file system spells it
// (ending with "/").
class OpenFolder {
public:
    OpenFolder(int descriptor, QByteArray path) : descriptor_(descriptor), path_(std::move(path)) {}
    ~OpenFolder();
    OpenFolder(const OpenFolder&) = delete;
    OpenFolder& operator=(const OpenFolder&) = delete;

    int descriptor() const { return descriptor_; }
    const QByteArray& path() const { return path_; }

private:
    int descriptor_;
    QByteArray path_;
};

// A row's file as found on disk.
struct FoundFile {
    std::shared_ptr<const OpenFolder> folder;
    QByteArray name;    // the entry's own bytes
    EntryStatus status; // the entry itself: for a symbolic link, the link

    QByteArray path() const { return folder->path() + name; }
};

// Finds the files that rows stand for. Each part of the path is tried as UTF-8 and then in its
// cp1251 form, so that an old cp1251 name inside a UTF-8 folder is found. The last folder stays
// open: the rows of one folder follow each other.
class FileLookup {
public:
    // The row's file when its folder text begins and ends with "/" and folder + name is a
    // regular file or a symbolic link to one; nothing for a folder, a device, a dangling link,
    // a relative folder or an empty name.
    std::optional<FoundFile> find(const RowFile& file);
    // The folder of an absolute folder text, or null.
    std::shared_ptr<const OpenFolder> findFolder(const QString& folderText);

private:
    QString cachedText_;
    std::shared_ptr<const OpenFolder> cachedFolder_;
    bool cached_ = false;
};

// The size and SHA-256 of the files that rows stand for, found as renaming finds them.
FileProbe rowFileProbe();

// Opens the folder that absolute path bytes name; null when it cannot be opened.
std::shared_ptr<const OpenFolder> openFolderBytes(const QByteArray& path);

// A path's bytes as the user sees them, each part decoded on its own.
QString displayPath(const QByteArray& path);

} // namespace corvanteller
