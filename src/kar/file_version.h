// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <sys/stat.h>

namespace corvanteller {

// A file and its state as the file system tells them without its content: the same version,
// time for time to the nanosecond, stands for the same bytes. The change time moves with
// every write and with every change of the times, so that a file rewritten with its old size
// and modification time is another version all the same.
struct FileVersion {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::int64_t size = 0;
    std::int64_t modifiedNs = 0;
    std::int64_t changedNs = 0;

    static FileVersion of(const struct stat& status) {
        const auto nanoseconds = [](const timespec& time) {
            return static_cast<std::int64_t>(time.tv_sec) * 1'000'000'000 + time.tv_nsec;
        };
        return {static_cast<std::uint64_t>(status.st_dev),
                static_cast<std::uint64_t>(status.st_ino),
                static_cast<std::int64_t>(status.st_size), nanoseconds(status.st_mtim),
                nanoseconds(status.st_ctim)};
    }

    bool operator==(const FileVersion&) const = default;
};

} // namespace corvanteller
