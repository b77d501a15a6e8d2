// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace corvanteller::test {

// Drops the file's contents from the page cache, so that its next reading waits for the
// disk. Returns false where the file system keeps them all the same (a tmpfs, say).
inline bool dropFromMemory(const QByteArray& path) {
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    ::fdatasync(fd);
    ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
    struct stat status {};
    bool dropped = ::fstat(fd, &status) == 0 && status.st_size > 0;
    if (dropped) {
        const auto size = static_cast<std::size_t>(status.st_size);
        void* map = ::mmap(nullptr, size, PROT_READ, MAP_SHARED, fd, 0);
        std::vector<unsigned char> resident((size + 4095) / 4096);
        dropped = map != MAP_FAILED && ::mincore(map, size, resident.data()) == 0 &&
                  (resident[0] & 1) == 0;
        if (map != MAP_FAILED) {
            ::munmap(map, size);
        }
    }
    ::close(fd);
    return dropped;
}

} // namespace corvanteller::test
