// SPDX-License-Identifier: GPL-3.0-or-later
#include "table/list_file.h"

#include "common/cp1251.h"
#include "common/file_io.h"
#include "kar/row_store.h"
#include "table/song_table_model.h"
#include "table/table_texts.h"

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

// The lines of a file, ended by CR LF, LF or CR, read a chunk at a time: the file is read only
// as far as the lines taken from it reach (and at most one chunk beyond). Past the end every
// line reads as an empty text, as the runtime's line input does.
class LineStream {
public:
    explicit LineStream(FileReader& file) : file_(file) {}

    // Drops a byte-order mark at the start; true when there was one.
    bool skipUtf8Mark() {
        while (buffer_.size() - position_ < utf8Mark.size() && fill()) {
        }
        if (!QByteArrayView(buffer_).sliced(position_).startsWith(utf8Mark)) {
            return false;
        }
        position_ += utf8Mark.size();
        return true;
    }

    bool atEnd() { return position_ == buffer_.size() && !fill(); }

    // The next line without its end. A line longer than limit is cut there (cut is set) and
    // the rest of it is left unread.
    QByteArray next(qsizetype limit = std::numeric_limits<qsizetype>::max(), bool* cut = nullptr) {
        QByteArray line;
        const bool longer = take(&line, limit);
        if (longer) {
            line.truncate(limit);
        }
        if (cut) {
            *cut = longer;
        }
        return line;
    }

    // Reads past the next line without keeping it.
    void skip() { take(nullptr, 0); }

private:
    static constexpr qint64 chunkSize = 64 * 1024;

    // Appends the next chunk; false at the end of the file.
    bool fill() {
        if (ended_) {
            return false;
        }
        if (position_ > 0) {
            buffer_.remove(0, position_);
            position_ = 0;
        }
        const qsizetype before = buffer_.size();
        file_.readInto(buffer_, chunkSize);
        ended_ = buffer_.size() == before;
        return !ended_;
    }

    // Reads one line into line, or past it when line is null; true when the line is longer
    // than limit (a kept line then stops there).
    bool take(QByteArray* line, qsizetype limit) {
        for (;;) {
            const char* begin = buffer_.constData() + position_;
            const char* end = buffer_.constData() + buffer_.size();
            const char* stop =
                std::find_if(begin, end, [](char c) { return c == '\r' || c == '\n'; });
            if (line) {
                line->append(begin, stop - begin);
            }
            position_ += stop - begin;
            const bool longer = line && line->size() > limit;
            if (stop != end) {
                const bool carriageReturn = *stop == '\r';
                ++position_;
                if (carriageReturn && (position_ < buffer_.size() || fill()) &&
                    buffer_[position_] == '\n') {
                    ++position_;
                }
                return longer;
            }
            if (longer || !fill()) {
                return longer;
            }
        }
    }

    FileReader& file_;
    QByteArray buffer_;
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

// Count lines are short; the message shows at most this much of a longer line.
constexpr qsizetype countLineLimit = 256;
// A first line or count line longer than this is no list file's: the reading stops there, so
// that a large file of another kind is never read whole.
constexpr qsizetype headLineLimit = 4096;

// Reads the list file into model, which was reset for it; the rows end where the counts say.
ListOpenResult readList(const QString& path, SongTableModel& model, int originRowCount) {
    FileReader file(path);
    LineStream lines(file);
    const bool utf8 = lines.skipUtf8Mark();
    bool magicCut = false;
    if (lines.next(magicLine.size(), &magicCut) != magicLine || magicCut) {
        return {ListOpenResult::Outcome::NotAListFile, notListFileMessage()};
    }
    // No list the program writes holds a longer cell; a longer line is damage, and is never
    // read whole. UTF-8 takes up to three bytes for a character of a cell.
    const qsizetype cellLineLimit = (utf8 ? 3 : 1) * SongTableModel::maxCellLength;
    auto decode = [utf8](QByteArrayView line) {
        return utf8 ? QString::fromUtf8(line) : decodeCp1251(line);
    };
    struct CountLine {
        QByteArray text;
        std::optional<int> value;
    };
    auto countLine = [&] {
        bool cut = false;
        QByteArray line = lines.next(headLineLimit, &cut);
        std::optional<int> value = cut ? std::nullopt : integerValue(line);
        return CountLine{std::move(line), value};
    };
    auto conversionError = [&](QByteArrayView line) {
        // A long line is no count; the message shows its beginning.
        return ListOpenResult{
            ListOpenResult::Outcome::ConversionError,
            tableTexts::notAnInteger(decode(line.first(std::min(line.size(), countLineLimit))))};
    };

    const CountLine rows = countLine();
    if (!rows.value) {
        return conversionError(rows.text);
    }
    // The count includes the header row, so it is at least 1.
    if (*rows.value < 1) {
        return {ListOpenResult::Outcome::NotAListFile, notListFileMessage()};
    }
    if (*rows.value - 1 > SongTableModel::maxSongs) {
        return {ListOpenResult::Outcome::TooManyRows, tooManyRowsMessage()};
    }
    const int songs = *rows.value - 1;
    model.setSongCount(songs);

    const CountLine columns = countLine();
    if (!columns.value) {
        return conversionError(columns.text);
    }
    const int fileColumns = *columns.value;
    if (fileColumns < 1) {
        model.resetForList(originRowCount);
        return {ListOpenResult::Outcome::NotAListFile, notListFileMessage()};
    }
    // The table keeps its seven columns: cells beyond them are skipped, missing ones stay empty.
    const int keptColumns = std::min(fileColumns, columnCount);

    for (int row = 1; row <= songs; ++row) {
        if (lines.atEnd()) {
            for (int rest = row; rest <= songs; ++rest) {
                for (int column = 0; column < keptColumns; ++column) {
                    model.setCell(rest, column, QString());
                }
            }
            break;
        }
        for (int column = 0; column < fileColumns; ++column) {
            if (column < keptColumns) {
                bool cut = false;
                const QString text = decode(lines.next(cellLineLimit, &cut));
                if (cut || text.size() > SongTableModel::maxCellLength) {
                    return {ListOpenResult::Outcome::NotAListFile, notListFileMessage()};
                }
                model.setCell(row, column, text);
            } else if (lines.atEnd()) {
                break;
            } else {
                lines.skip();
            }
        }
        lines.skip();
    }
    model.setRowFilesFromCells();
    return {};
}

} // namespace

QString notListFileMessage() {
    return tableTexts::notListFile();
}

QString tooManyRowsMessage() {
    return tableTexts::tooManyRowsInList();
}

void writeListFile(const QString& path, const SongTableModel& model) {
    std::optional<QByteArray> bytes = listBytes(model, false);
    if (!bytes) {
        bytes = listBytes(model, true);
    }
    writeFileAtomically(path, *bytes);
}

ListOpenResult openListFile(const QString& path, SongTableModel& model, int originRowCount,
                            ListOpenFailure failure) {
    // The list is read into a table of its own and takes the table's place at the end.
    SongTableModel read;
    read.resetForList(originRowCount);
    ListOpenResult result;
    try {
        result = readList(path, read, originRowCount);
    } catch (...) {
        if (failure == ListOpenFailure::ResetTable) {
            model.resetForList(originRowCount);
        }
        throw;
    }
    if (result.opened() || failure == ListOpenFailure::ResetTable) {
        model.takeCellsFrom(read);
    }
    return result;
}

void copyDataRowsInto(const SongTableModel& model, RowStore& store) {
    model.copyRowsInto(store);
}

} // namespace corvanteller
