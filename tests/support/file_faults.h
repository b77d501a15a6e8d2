// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

namespace corvanteller::test {

// Bytes this process has read through read(2) and its kin so far ("rchar" of /proc/self/io);
// a sparse file's holes count as read too, so this shows how far a reader went.
inline qint64 bytesReadSoFar() {
    QFile io(QStringLiteral("/proc/self/io"));
    if (!io.open(QIODevice::ReadOnly)) {
        ADD_FAILURE() << "no /proc/self/io";
        return 0;
    }
    const QByteArray text = io.readAll();
    const qsizetype at = text.indexOf("rchar: ");
    if (at < 0) {
        ADD_FAILURE() << "no rchar in /proc/self/io";
        return 0;
    }
    const qsizetype end = text.indexOf('\n', at);
    return text.mid(at + 7, end - at - 7).toLongLong();
}

// A file of `size` bytes that begins with `head`; the rest is a hole that takes no disk space.
inline void writeSparseFile(const QString& path, const QByteArray& head, qint64 size) {
    const int fd =
        ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    ASSERT_GE(fd, 0);
    EXPECT_EQ(::write(fd, head.constData(), static_cast<std::size_t>(head.size())), head.size());
    EXPECT_EQ(::ftruncate(fd, size), 0);
    ::close(fd);
}

// A link whose target opens but fails at its first read with EIO ("I/O error 5"), even for
// root, whom no permission stops.
inline void linkToFailingRead(const QString& path) {
    ASSERT_EQ(::symlink("/proc/self/mem", QFile::encodeName(path).constData()), 0);
}

} // namespace corvanteller::test
