#include "common/file_io.h"

#include "common/error.h"
#include "support/temp_tree.h"

#include <QDir>
#include <QFile>

#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>

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
        EXPECT_EQ(failureOf(path, QByteArray(size, 'n')), u"I/O error 27"_s) << size; // EFBIG
    }
    EXPECT_EQ(readBytes(path), old);
    EXPECT_EQ(QDir(folder.root()).entryList(QDir::Files | QDir::Hidden),
              QStringList{u"list.sgl"_s});

    EXPECT_EQ(failureOf(path + u"/below.sgl"_s, "x"), u"Invalid filename"_s); // ENOTDIR
    EXPECT_EQ(failureOf(folder.root() + u"/missing/x.sgl"_s, "x"), u"File not found"_s);
}

} // namespace
} // namespace corvanteller
