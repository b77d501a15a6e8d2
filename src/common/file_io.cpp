#include "common/file_io.h"

#include "common/error.h"

#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>

namespace corvanteller {

using namespace Qt::StringLiterals;

QString ioErrorText(int code) {
    switch (code) {
    case ENOENT:
        return u"File not found"_s;
    case ENOTDIR:
    case ENAMETOOLONG:
    case EINVAL:
        return u"Invalid filename"_s;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
        return u"File access denied"_s;
    case EMFILE:
    case ENFILE:
        return u"Too many open files"_s;
    case ENOSPC:
    case EDQUOT:
        return u"Disk full"_s;
    default:
        return u"I/O error %1"_s.arg(code);
    }
}

void throwIoError(int code) {
    throw UserError(ioErrorText(code != 0 ? code : EIO));
}

void writeFileAtomically(const QString& path, QByteArrayView bytes) {
    QSaveFile file(path);
    errno = 0;
    if (!file.open(QIODevice::WriteOnly)) {
        // Qt refuses an existing read-only file itself, without a system error.
        const QFileInfo existing(path);
        throwIoError(errno == 0 && existing.exists() && !existing.isWritable() ? EACCES : errno);
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
