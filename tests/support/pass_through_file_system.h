// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "rename/rename_primitive.h"

namespace corvanteller::test {

// The system's own calls, for a test's file system that changes one or two of them.
class PassThroughFileSystem : public FileSystemCalls {
public:
    int renameNoReplace(int folder, const QByteArray& from, const QByteArray& to) override {
        return system_.renameNoReplace(folder, from, to);
    }
    int link(int folder, const QByteArray& from, const QByteArray& to) override {
        return system_.link(folder, from, to);
    }
    int unlink(int folder, const QByteArray& name) override { return system_.unlink(folder, name); }
    int rename(int folder, const QByteArray& from, const QByteArray& to) override {
        return system_.rename(folder, from, to);
    }
    int status(int folder, const QByteArray& name, EntryStatus& status) override {
        return system_.status(folder, name, status);
    }
    int checkWritable(int folder) override { return system_.checkWritable(folder); }
    int exchange(int folder, const QByteArray& first, const QByteArray& second) override {
        return system_.exchange(folder, first, second);
    }

private:
    FileSystemCalls& system_ = systemFileSystem();
};

} // namespace corvanteller::test
