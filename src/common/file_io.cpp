// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/file_io.h"

#include "common/common_texts.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <array>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace corvanteller {

using namespace Qt::StringLiterals;

QString ioErrorText(int code) {
    switch (code) {
    case ENOENT:
        return commonTexts::fileNotFound();
    case ENOTDIR:
    case ENAMETOOLONG:
    case EINVAL:
        return commonTexts::invalidFileName();
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
        return commonTexts::fileAccessDenied();
    case EMFILE:
    case ENFILE:
        return commonTexts::tooManyOpenFiles();
    case ENOMEM:
        return commonTexts::outOfMemory();
    case ENOSPC:
    case EDQUOT:
        return commonTexts::diskFull();
    case EFBIG:
        return commonTexts::fileTooLarge();
    default:
        return commonTexts::ioError(code);
    }
}

void ignoreFileSizeLimitSignal() {
    std::signal(SIGXFSZ, SIG_IGN);
}

void throwIoError(int code) {
    throw IoError(code != 0 ? code : EIO);
}

FileReader::FileReader(const QString& path) {
    // O_NONBLOCK only lets the open of a pipe return at once instead of waiting for a writer;
    // reading a regular file ignores it.
    fd_ = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd_ < 0) {
        throwIoError(errno);
    }
    struct stat info {};
    int code = 0;
    if (::fstat(fd_, &info) != 0) {
        code = errno;
    } else if (S_ISDIR(info.st_mode)) {
        code = EISDIR;
    } else if (!S_ISREG(info.st_mode)) {
        code = EACCES;
    }
    if (code != 0) {
        ::close(fd_);
        throwIoError(code);
    }
    size_ = info.st_size;
}

FileReader::~FileReader() {
    ::close(fd_);
}

qint64 FileReader::readSome(char* into, qint64 wanted) {
    qint64 got = 0;
    while (got < wanted) {
        const ssize_t size = ::read(fd_, into + got, static_cast<std::size_t>(wanted - got));
        if (size < 0) {
            if (errno == EINTR) {
                continue;
            }
            throwIoError(errno);
        }
        if (size == 0) {
            break;
        }
        got += size;
    }
    position_ += got;
    return got;
}

void FileReader::readInto(QByteArray& bytes, qint64 maxBytes) {
    const qsizetype start = bytes.size();
    try {
        // What the file held at the open comes in one piece.
        const qint64 expected = std::clamp<qint64>(size_ - position_, 0, maxBytes);
        bytes.resize(start + static_cast<qsizetype>(expected));
        const qint64 got = readSome(bytes.data() + start, expected);
        bytes.resize(start + static_cast<qsizetype>(got));
        if (got < expected) {
            return;
        }
        // The file may hold more than its size said: it grew, or it is a system file whose
        // size reads as 0.
        std::array<char, 16 * 1024> chunk;
        for (qint64 left = maxBytes - expected; left > 0;) {
            const qint64 size =
                readSome(chunk.data(), std::min<qint64>(left, static_cast<qint64>(chunk.size())));
            if (size == 0) {
                break;
            }
            bytes.append(chunk.data(), static_cast<qsizetype>(size));
            left -= size;
        }
    } catch (const IoError&) {
        bytes.resize(start);
        throw;
    }
}

QByteArray FileReader::read(qint64 maxBytes) {
    QByteArray bytes;
    readInto(bytes, maxBytes);
    return bytes;
}

QByteArray readFileBounded(const QString& path, qint64 maxBytes) {
    return FileReader(path).read(maxBytes);
}

void writeFileAtomically(const QString& path, QByteArrayView bytes) {
    QSaveFile file(path);
    errno = 0;
    if (!file.open(QIODevice::WriteOnly)) {
        // Qt refuses a folder and an existing read-only file itself, without a system error.
        int code = errno;
        const QFileInfo existing(path);
        if (code == 0 && existing.isDir()) {
            code = EISDIR;
        } else if (code == 0 && existing.exists() && !existing.isWritable()) {
            code = EACCES;
        }
        throwIoError(code);
    }
    errno = 0;
    // Flushed here: a failed flush inside commit() would not stop the replacement.
    if (file.write(bytes.data(), bytes.size()) != bytes.size() || !file.flush()) {
        const int code = errno;
        file.cancelWriting();
        throwIoError(code);
    }
    errno = 0;
    if (!file.commit()) {
        throwIoError(errno);
    }
}

} // namespace corvanteller
