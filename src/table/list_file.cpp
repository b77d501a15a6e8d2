#include "table/list_file.h"

#include "common/cp1251.h"
#include "common/file_io.h"
#include "kar/row_store.h"
#include "table/song_table_model.h"

#include <algorithm>
#include <charconv>
#include <limits>
#include <optional>

namespace corvanteller {

using namespace Qt::StringLiterals;

namespace {

constexpr QByteArrayView magicLine = "Corvanteller file..";
constexpr QByteArrayView trailerLine = "Russia";
constexpr QByteArrayView lineEnd = "\r\n";
constexpr QByteArrayView utf8Mark = "\xEF\xBB\xBF";
constexpr int columnCount = SongTableModel::columnCountValue;

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

// The lines of a file's text, ended by CR LF, LF or CR. Past the end every line reads as an
// empty text, as the runtime's line input does.
class LineCursor {
public:
    explicit LineCursor(QByteArrayView text) : rest_(text) {}

    bool atEnd() const { return rest_.isEmpty(); }
    // Whether the last line read ran to the end of the text without a line end.
    bool lastLineOpen() const { return lastLineOpen_; }

    QByteArrayView next() {
        const char* begin = rest_.data();
        const char* end = begin + rest_.size();
        const char* stop = std::find_if(begin, end, [](char c) { return c == '\r' || c == '\n'; });
        const QByteArrayView line(begin, stop - begin);
        qsizetype used = line.size();
        lastLineOpen_ = stop == end;
        if (stop != end) {
            used += (*stop == '\r' && stop + 1 != end && stop[1] == '\n') ? 2 : 1;
        }
        rest_ = rest_.sliced(used);
        return line;
    }

private:
    QByteArrayView rest_;
    bool lastLineOpen_ = false;
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

// Count lines are short; the message shows at most this much of a longer line.
constexpr qsizetype countLineLimit = 256;
// The first line and the two counts are judged from this much of the file, so that a large
// file of another kind, or one with counts the table cannot take, is never read whole.
constexpr qint64 headSize = 4096;

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
    writeFileAtomically(path, *bytes);
}

ListOpenResult openListFile(const QString& path, SongTableModel& model, int originRowCount) {
    SongTableModel::BulkChange change(model);
    model.resetForList(originRowCount);

    FileReader file(path);
    QByteArray text = file.read(headSize);
    const bool utf8 = text.startsWith(utf8Mark);
    const qsizetype start = utf8 ? utf8Mark.size() : 0;
    // A head line that runs to the end of a full head goes on in the file: far too long to be
    // a count.
    const bool headIsWholeFile = text.size() < headSize;
    LineCursor head(QByteArrayView(text).sliced(start));
    if (head.next() != magicLine) {
        return {ListOpenResult::Outcome::NotAListFile, notListFileMessage()};
    }
    auto decode = [utf8](QByteArrayView line) {
        return utf8 ? QString::fromUtf8(line) : decodeCp1251(line);
    };
    struct CountLine {
        QByteArrayView text;
        std::optional<int> value;
    };
    auto countLine = [&] {
        const QByteArrayView line = head.next();
        const bool cut = head.lastLineOpen() && !headIsWholeFile;
        return CountLine{line, cut ? std::nullopt : integerValue(line)};
    };
    auto conversionError = [&](QByteArrayView line) {
        // A long line is no count; the message shows its beginning.
        return ListOpenResult{ListOpenResult::Outcome::ConversionError,
                              u"'%1' is not a valid integer value"_s.arg(
                                  decode(line.first(std::min(line.size(), countLineLimit))))};
    };

    const auto [rowLine, rowCount] = countLine();
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

    const auto [columnLine, fileColumns] = countLine();
    if (!fileColumns) {
        return conversionError(columnLine);
    }
    if (*fileColumns < 1) {
        model.resetForList(originRowCount);
        return {ListOpenResult::Outcome::NotAListFile, notListFileMessage()};
    }
    // The table keeps its seven columns: cells beyond them are skipped, missing ones stay empty.
    const int keptColumns = std::min(*fileColumns, columnCount);

    // The rows: the rest of the file, as much as it holds whatever the counts say.
    if (!headIsWholeFile) {
        file.readInto(text, std::numeric_limits<qint64>::max());
    }
    LineCursor lines(QByteArrayView(text).sliced(start));
    for (int line = 0; line < 3; ++line) {
        lines.next();
    }
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
                lines.next();
            }
        }
        lines.next();
    }
    model.setRowFilesFromCells();
    return {};
}

void copyDataRowsInto(const SongTableModel& model, RowStore& store) {
    model.copyRowsInto(store);
}

} // namespace corvanteller
