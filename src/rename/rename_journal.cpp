#include "rename/rename_journal.h"

#include "common/file_io.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QList>

#include <cerrno>
#include <fcntl.h>
#include <functional>
#include <optional>
#include <set>
#include <unistd.h>

namespace corvanteller {

using namespace Qt::StringLiterals;

namespace {

constexpr qint64 readChunk = 64 * 1024;
const QByteArray undoMark = "undo";

struct JournalLine {
    qint64 run = 0;
    bool undo = false;
    qint64 undoneRun = 0;
    QByteArray oldPath;
    QByteArray newPath;
};

std::optional<JournalLine> parseLine(const QByteArray& line) {
    const QList<QByteArray> fields = line.split('\t');
    if (fields.size() != 3) {
        return std::nullopt;
    }
    JournalLine parsed;
    bool ok = false;
    parsed.run = fields[0].toLongLong(&ok);
    if (!ok) {
        return std::nullopt;
    }
    if (fields[1] == undoMark) {
        parsed.undo = true;
        parsed.undoneRun = fields[2].toLongLong(&ok);
        return ok ? std::optional(parsed) : std::nullopt;
    }
    parsed.oldPath = unescapeJournalField(fields[1]);
    parsed.newPath = unescapeJournalField(fields[2]);
    return parsed;
}

// Calls visit for each line from the last to the first until it returns false.
void forEachLineBackward(int descriptor, const std::function<bool(const QByteArray&)>& visit) {
    const off_t end = ::lseek(descriptor, 0, SEEK_END);
    if (end < 0) {
        throwIoError(errno);
    }
    qint64 position = end;
    QByteArray rest; // the start of a line that began in an earlier chunk
    while (position > 0) {
        const qint64 size = std::min(readChunk, position);
        position -= size;
        QByteArray chunk(static_cast<qsizetype>(size), Qt::Uninitialized);
        qint64 got = 0;
        while (got < size) {
            const ssize_t read = ::pread(descriptor, chunk.data() + got,
                                         static_cast<std::size_t>(size - got), position + got);
            if (read < 0 && errno == EINTR) {
                continue;
            }
            if (read <= 0) {
                throwIoError(read < 0 ? errno : EIO);
            }
            got += read;
        }
        QByteArray text = chunk + rest;
        qsizetype lineEnd = text.size();
        for (qsizetype newline = text.lastIndexOf('\n', lineEnd - 1); newline >= 0;
             newline = lineEnd > 0 ? text.lastIndexOf('\n', lineEnd - 1) : -1) {
            const QByteArray line = text.mid(newline + 1, lineEnd - newline - 1);
            if (!line.isEmpty() && !visit(line)) {
                return;
            }
            lineEnd = newline;
        }
        rest = text.left(lineEnd);
    }
    if (!rest.isEmpty()) {
        visit(rest);
    }
}

char hexDigit(int value) {
    return "0123456789ABCDEF"[value & 15];
}

} // namespace

QString renameJournalPath(const QString& settingsPath) {
    return QFileInfo(settingsPath).dir().filePath(u"rename-journal.txt"_s);
}

QString journalUnavailableMessage(int error) {
    return u"The renaming journal cannot be written: "_s + ioErrorText(error) + u"."_s;
}

QByteArray escapeJournalField(QByteArrayView bytes) {
    QByteArray field;
    field.reserve(bytes.size());
    for (const char byte : bytes) {
        const auto code = static_cast<unsigned char>(byte);
        if (code >= 0x20 && code < 0x7F && byte != '%') {
            field.append(byte);
        } else {
            field.append('%');
            field.append(hexDigit(code >> 4));
            field.append(hexDigit(code));
        }
    }
    return field;
}

QByteArray unescapeJournalField(QByteArrayView field) {
    return QByteArray::fromPercentEncoding(field.toByteArray());
}

RenameJournal::RenameJournal(const QString& path) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    descriptor_ =
        ::open(QFile::encodeName(path).constData(), O_RDWR | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
    if (descriptor_ < 0) {
        throwIoError(errno);
    }
    try {
        bool endsWithLineBreak = true;
        forEachLineBackward(descriptor_, [this](const QByteArray& line) {
            if (const std::optional<JournalLine> parsed = parseLine(line)) {
                run_ = parsed->run + 1;
                return false;
            }
            return true;
        });
        const off_t size = ::lseek(descriptor_, 0, SEEK_END);
        if (size > 0) {
            char last = 0;
            if (::pread(descriptor_, &last, 1, size - 1) == 1) {
                endsWithLineBreak = last == '\n';
            }
        }
        // A line cut short by a crash must not take the next line into it.
        if (!endsWithLineBreak) {
            append("\n");
        }
    } catch (...) {
        ::close(descriptor_);
        throw;
    }
}

RenameJournal::~RenameJournal() {
    if (descriptor_ >= 0) {
        ::close(descriptor_);
    }
}

void RenameJournal::append(const QByteArray& line) {
    qsizetype written = 0;
    while (written < line.size()) {
        const ssize_t size = ::write(descriptor_, line.constData() + written,
                                     static_cast<std::size_t>(line.size() - written));
        if (size < 0) {
            if (errno == EINTR) {
                continue;
            }
            throwIoError(errno);
        }
        written += size;
    }
}

void RenameJournal::recordRename(const QByteArray& oldPath, const QByteArray& newPath) {
    append(QByteArray::number(run_) + '\t' + escapeJournalField(oldPath) + '\t' +
           escapeJournalField(newPath) + '\n');
}

void RenameJournal::recordUndo(qint64 undoneRun) {
    append(QByteArray::number(run_) + '\t' + undoMark + '\t' + QByteArray::number(undoneRun) +
           '\n');
}

std::vector<JournalRename> RenameJournal::lastRunToUndo() const {
    std::vector<JournalRename> renames;
    std::set<qint64> undone;
    std::optional<qint64> target;
    forEachLineBackward(descriptor_, [&](const QByteArray& line) {
        const std::optional<JournalLine> parsed = parseLine(line);
        if (!parsed) {
            return true;
        }
        if (parsed->undo) {
            undone.insert(parsed->undoneRun);
            return !target.has_value();
        }
        if (undone.contains(parsed->run)) {
            return !target.has_value();
        }
        if (!target) {
            target = parsed->run;
        }
        if (parsed->run != *target) {
            return false;
        }
        renames.push_back({parsed->run, parsed->oldPath, parsed->newPath});
        return true;
    });
    return renames;
}

} // namespace corvanteller
