#include "table/list_file.h"

#include "common/cp1251.h"
#include "common/error.h"
#include "table/row_store.h"
#include "table/song_table_model.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <optional>

namespace corvanteller {

using namespace Qt::StringLiterals;

namespace {

constexpr QByteArrayView magicLine = "Corvanteller file..";
constexpr QByteArrayView trailerLine = "Russia";
constexpr QByteArrayView lineEnd = "\r\n";
constexpr QByteArrayView utf8Mark = "\xEF\xBB\xBF";
constexpr int columnCount = SongTableModel::columnCountValue;

// The runtime's texts for failed file operations.
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

[[noreturn]] void throwIoError(int code) {
    throw UserError(ioErrorText(code != 0 ? code : EIO));
}

// A cell that holds a line break would split into several lines of the file; the breaks are
// written as spaces.
QString singleLine(const QString& text) {
    if (!text.contains(u'\r') && !text.contains(u'\n')) {
        return text;
    }
    QString line = text;
    line.replace(u"\r\n"_s, u" "_s);
    line.replace(u'\r', u' ');
    line.replace(u'\n', u' ');
    return line;
}

// The file's bytes in cp1251, or nothing when a text has no cp1251 form.
std::optional<QByteArray> listBytes(const SongTableModel& model, bool utf8) {
    const int rows = model.songCount();
    QByteArray bytes;
    bytes.reserve(static_cast<qsizetype>(rows) * 200 + 64);
    if (utf8) {
        bytes += utf8Mark;
    }
    bytes += magicLine;
    bytes += lineEnd;
    bytes += QByteArray::number(rows + 1);
    bytes += lineEnd;
    bytes += QByteArray::number(columnCount);
    bytes += lineEnd;
    for (int row = 1; row <= rows; ++row) {
        for (int column = 0; column < columnCount; ++column) {
            const QString text = singleLine(model.cellRef(row, column));
            if (utf8) {
                bytes += text.toUtf8();
            } else {
                const std::optional<QByteArray> encoded = encodeCp1251(text);
                if (!encoded) {
                    return std::nullopt;
                }
                bytes += *encoded;
            }
            bytes += lineEnd;
        }
        bytes += lineEnd;
    }
    bytes += trailerLine;
    bytes += lineEnd;
    return bytes;
}

// Lines of a file ended by CR LF, LF or CR, read in large blocks. Past the end every line
// reads as an empty text, as the runtime's line input does.
class LineReader {
public:
    explicit LineReader(QFile& file) : file_(file) {}

    // The next line without its end, valid until the next call. At most maxLength bytes of it
    // are kept; the rest of the line is skipped.
    QByteArrayView next(qsizetype maxLength = -1) {
        carried_.clear();
        bool carried = false;
        for (;;) {
            if (position_ == buffer_.size() && !fill()) {
                return carried_;
            }
            const char* data = buffer_.constData();
            const char* begin = data + position_;
            const char* end = data + buffer_.size();
            const char* stop =
                std::find_if(begin, end, [](char c) { return c == '\r' || c == '\n'; });
            QByteArrayView part(begin, stop - begin);
            position_ = stop - data;
            if (stop == end) {
                // The line goes on in the next block.
                keep(part, maxLength);
                carried = true;
                continue;
            }
            ++position_;
            const bool carriageReturn = *stop == '\r';
            if (carriageReturn && position_ == buffer_.size()) {
                // A line feed may follow in the next block.
                keep(part, maxLength);
                carried = true;
                part = {};
                fill();
            }
            if (carriageReturn && position_ < buffer_.size() && buffer_[position_] == '\n') {
                ++position_;
            }
            if (carried) {
                keep(part, maxLength);
                return carried_;
            }
            return maxLength >= 0 ? part.first(std::min(part.size(), maxLength)) : part;
        }
    }

    bool atEnd() { return position_ == buffer_.size() && !fill(); }

    // Whether the file begins with the UTF-8 byte-order mark; if so it is skipped.
    bool skipUtf8Mark() {
        while (buffer_.size() - position_ < utf8Mark.size() && fill(true)) {
        }
        if (QByteArrayView(buffer_).sliced(position_).startsWith(utf8Mark)) {
            position_ += utf8Mark.size();
            return true;
        }
        return false;
    }

private:
    void keep(QByteArrayView part, qsizetype maxLength) {
        if (maxLength >= 0) {
            part = part.first(
                std::min(part.size(), std::max<qsizetype>(0, maxLength - carried_.size())));
        }
        carried_ += part;
    }

    // Reads the next block; keep keeps the unread bytes in front of it.
    bool fill(bool keep = false) {
        if (ended_) {
            return false;
        }
        constexpr qsizetype blockSize = 1 << 18;
        const QByteArray rest = keep ? buffer_.sliced(position_) : QByteArray();
        buffer_.resize(rest.size() + blockSize);
        std::copy(rest.cbegin(), rest.cend(), buffer_.begin());
        errno = 0;
        const qint64 count = file_.read(buffer_.data() + rest.size(), blockSize);
        if (count < 0) {
            throwIoError(errno);
        }
        buffer_.resize(rest.size() + count);
        position_ = 0;
        if (count == 0) {
            ended_ = true;
        }
        return count > 0;
    }

    QFile& file_;
    QByteArray buffer_;
    QByteArray carried_;
    qsizetype position_ = 0;
    bool ended_ = false;
};

// A decimal integer line, as the runtime's conversion accepts it.
std::optional<int> integerValue(QByteArrayView line) {
    const char* begin = line.data();
    const char* end = begin + line.size();
    if (begin != end && *begin == '+') {
        ++begin;
        if (begin != end && *begin == '-') {
            return std::nullopt;
        }
    }
    int value = 0;
    const auto [stop, error] = std::from_chars(begin, end, value);
    if (begin == end || error != std::errc() || stop != end) {
        return std::nullopt;
    }
    return value;
}

// Count lines are short; a longer line is no count and is cut for the message.
constexpr qsizetype countLineLimit = 256;

} // namespace

QString notListFileMessage() {
    return u"This file is not file of Corvanteller."_s + u"\n\r"_s + u"Or the file was damaged."_s;
}

QString tooManyRowsMessage() {
    return u"The list holds more rows than the table can take."_s;
}

void writeListFile(const QString& path, const SongTableModel& model) {
    std::optional<QByteArray> bytes = listBytes(model, false);
    if (!bytes) {
        bytes = listBytes(model, true);
    }
    QSaveFile file(path);
    errno = 0;
    if (!file.open(QIODevice::WriteOnly)) {
        // Qt refuses an existing read-only file itself, without a system error.
        const QFileInfo existing(path);
        throwIoError(errno == 0 && existing.exists() && !existing.isWritable() ? EACCES : errno);
    }
    errno = 0;
    if (file.write(*bytes) != bytes->size()) {
        const int code = errno;
        file.cancelWriting();
        throwIoError(code);
    }
    errno = 0;
    if (!file.commit()) {
        throwIoError(errno);
    }
}

ListOpenResult openListFile(const QString& path, SongTableModel& model, int originRowCount) {
    SongTableModel::BulkChange change(model);
    model.resetForList(originRowCount);

    QFile file(path);
    errno = 0;
    if (!file.open(QIODevice::ReadOnly)) {
        throwIoError(errno);
    }
    LineReader lines(file);
    const bool utf8 = lines.skipUtf8Mark();
    auto decode = [utf8](QByteArrayView line) {
        return utf8 ? QString::fromUtf8(line) : decodeCp1251(line);
    };

    if (lines.next(magicLine.size() + 1) != magicLine) {
        return {ListOpenResult::Outcome::NotAListFile, notListFileMessage()};
    }
    auto conversionError = [&](QByteArrayView line) {
        return ListOpenResult{ListOpenResult::Outcome::ConversionError,
                              u"'%1' is not a valid integer value"_s.arg(decode(line))};
    };

    const QByteArray rowLine = lines.next(countLineLimit).toByteArray();
    const std::optional<int> rowCount = integerValue(rowLine);
    if (!rowCount) {
        return conversionError(rowLine);
    }
    // The count includes the header row, so it is at least 1.
    if (*rowCount < 1) {
        return {ListOpenResult::Outcome::NotAListFile, notListFileMessage()};
    }
    if (*rowCount - 1 > SongTableModel::maxSongs) {
        return {ListOpenResult::Outcome::TooManyRows, tooManyRowsMessage()};
    }
    const int songs = *rowCount - 1;
    model.setSongCount(songs);

    const QByteArray columnLine = lines.next(countLineLimit).toByteArray();
    const std::optional<int> fileColumns = integerValue(columnLine);
    if (!fileColumns) {
        return conversionError(columnLine);
    }
    if (*fileColumns < 1) {
        model.resetForList(originRowCount);
        return {ListOpenResult::Outcome::NotAListFile, notListFileMessage()};
    }
    // The table keeps its seven columns: cells beyond them are skipped, missing ones stay empty.
    const int keptColumns = std::min(*fileColumns, columnCount);

    for (int row = 1; row <= songs; ++row) {
        if (lines.atEnd()) {
            for (int rest = row; rest <= songs; ++rest) {
                for (int column = 0; column < keptColumns; ++column) {
                    model.setCell(rest, column, QString());
                }
            }
            break;
        }
        for (int column = 0; column < *fileColumns; ++column) {
            if (column < keptColumns) {
                model.setCell(row, column, decode(lines.next()));
            } else if (lines.atEnd()) {
                break;
            } else {
                lines.next(0);
            }
        }
        lines.next(0);
    }
    return {};
}

void copyDataRowsInto(const SongTableModel& model, RowStore& store) {
    for (int column = 1; column < columnCount; ++column) {
        for (int row = 1; row <= model.songCount(); ++row) {
            store.setText(column, row, model.cellRef(row, column));
        }
    }
}

} // namespace corvanteller
