// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/file_io.h"

#include "common/error.h"
#include "support/file_faults.h"
#include "support/temp_tree.h"

#include <QDir>
#include <QFile>

#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

namespace corvanteller {
namespace {

using test::TempTree;
using namespace Qt::StringLiterals;

QByteArray readBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Writes beyond `bytes` fail while it lives, as on a full disk.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) : handler_(std::signal(SIGXFSZ, SIG_IGN)) {
        getrlimit(RLIMIT_FSIZE, &saved_);
        rlimit limit = saved_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, handler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit saved_{};
    void (*handler_)(int);
};

QString failureOf(const QString& path, const QByteArray& bytes) {
    try {
        writeFileAtomically(path, bytes);
    } catch (const UserError& error) {
        return error.text();
    }
    return {};
}

TEST(FileIo, AFailedWriteKeepsTheOldFileAndLeavesNothingBehind) {
    TempTree folder;
    const QString path = folder.root() + u"/list.sgl"_s;
    const QByteArray old(300, 'o');
    writeFileAtomically(path, old);
    // A short text stays in the write buffer and fails only when flushed; a long one fails
    // while it is written.
    for (const qsizetype size : {150, 100'000}) {
        FileSizeLimit limit(100);
        EXPECT_EQ(failureOf(path, QByteArray(size, 'n')), u"File too large"_s) << size;
    }
    EXPECT_EQ(readBytes(path), old);
    EXPECT_EQ(QDir(folder.root()).entryList(QDir::Files | QDir::Hidden),
              QStringList{u"list.sgl"_s});

    EXPECT_EQ(failureOf(path + u"/below.sgl"_s, "x"), u"Invalid filename"_s); // ENOTDIR
    EXPECT_EQ(failureOf(folder.root() + u"/missing/x.sgl"_s, "x"), u"File not found"_s);
    EXPECT_EQ(failureOf(folder.root(), "x"), u"File access denied"_s);
}

TEST(FileIo, AFailedReadKeepsTheRuntimesWordsAndItsErrorNumber) {
    TempTree folder;
    folder.writeFile("file", "bytes");
    folder.makeFolder("folder");
    test::linkToFailingRead(folder.root() + u"/unreadable"_s);
    ASSERT_EQ(::mkfifo(folder.path("pipe").constData(), 0644), 0);
    const struct {
        const char* name;
        int code;
        QString text;
    } cases[] = {
        {"missing", ENOENT, u"File not found"_s},
        {"file/below", ENOTDIR, u"Invalid filename"_s},
        {"folder", EISDIR, u"File access denied"_s},
        {"pipe", EACCES, u"File access denied"_s}, // refused without waiting for a writer
        {"unreadable", EIO, u"I/O error 5"_s},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        try {
            readFileBounded(folder.root() + u'/' + QLatin1StringView(c.name), 100);
            ADD_FAILURE() << "read";
        } catch (const IoError& error) {
            EXPECT_EQ(error.code(), c.code);
            EXPECT_EQ(error.text(), c.text);
        }
    }
}

TEST(FileIo, ABoundedReadGoesNoFurtherThanItsBound) {
    TempTree folder;
    const QString path = folder.root() + u"/big"_s;
    test::writeSparseFile(path, "head", 300'000'000);
    const qint64 before = test::bytesReadSoFar();
    const QByteArray start = readFileBounded(path, 4096);
    EXPECT_LT(test::bytesReadSoFar() - before, 100'000);
    EXPECT_EQ(start, "head" + QByteArray(4092, '\0'));

    // A shorter file comes whole; a reader goes on where it stopped.
    folder.writeFile("small", "0123456789");
    EXPECT_EQ(readFileBounded(folder.root() + u"/small"_s, 4096), "0123456789");
    FileReader reader(folder.root() + u"/small"_s);
    QByteArray bytes = reader.read(4);
    reader.readInto(bytes, 3);
    EXPECT_EQ(bytes, "0123456");
    reader.readInto(bytes, 100);
    EXPECT_EQ(bytes, "0123456789");
    EXPECT_EQ(reader.read(100), QByteArray());
}

} // namespace
} // namespace corvanteller
