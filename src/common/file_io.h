// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "common/error.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace corvanteller {

// The runtime's text for a failed file operation with the system's error number: "File not
// found", "File access denied", "Disk full", ... otherwise "I/O error %d".
QString ioErrorText(int code);

// A failed file operation: the runtime's text, and the system's error number behind it.
class IoError : public UserError {
public:
    explicit IoError(int code) : UserError(ioErrorText(code)), code_(code) {}

    int code() const { return code_; }

private:
    int code_;
};

// A write past the file-size limit (ulimit -f) would end the process by SIGXFSZ, with every
// unsaved edit; ignored, the write fails with EFBIG ("File too large") as any other.
void ignoreFileSizeLimitSignal();

// Throws IoError with code, or with EIO when code is 0.
[[noreturn]] void throwIoError(int code);

// A file opened for reading with the system's own calls, so that every failure keeps its error
// number. Only regular files are read: a folder is refused as EISDIR, a pipe, device or socket
// as EACCES, before anything is read (a pipe would wait for a writer for good). The file is
// closed with the object.
class FileReader {
public:
    // Throws IoError.
    explicit FileReader(const QString& path);
    ~FileReader();
    FileReader(const FileReader&) = delete;
    FileReader& operator=(const FileReader&) = delete;

    // Appends the file's next bytes to `bytes`, at most maxBytes of them; fewer only where the
    // file ends. Throws IoError.
    void readInto(QByteArray& bytes, qint64 maxBytes);
    QByteArray read(qint64 maxBytes);

private:
    qint64 readSome(char* into, qint64 wanted);

    int fd_ = -1;
    // The file's size at the open: the buffer is sized by it, never by what the bytes claim.
    qint64 size_ = 0;
    qint64 position_ = 0;
};

// The first maxBytes bytes of the file at path, or all of a shorter file. Throws IoError.
QByteArray readFileBounded(const QString& path, qint64 maxBytes);

// Writes bytes to path. An existing file is replaced only once the new one is complete, so a
// failed save never destroys the old file. Throws IoError.
void writeFileAtomically(const QString& path, QByteArrayView bytes);

} // namespace corvanteller
