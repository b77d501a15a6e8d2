// SPDX-License-Identifier: GPL-3.0-or-later
#include "office/xlsx_writer.h"

#include "common/error.h"
#include "common/file_io.h"
#include "office/office_texts.h"
#include "office/workbook.h"
#include "office/zip_archive.h"

#include <QFile>

#include <xlsxwriter.h>

#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <functional>
#include <limits>
#include <string>
#include <unordered_map>
#include <vector>

namespace corvanteller {

using namespace Qt::StringLiterals;

namespace {

std::size_t mix(std::size_t seed, std::size_t value) {
    return seed ^ (value + 0x9E3779B97F4A7C15ull + (seed << 6) + (seed >> 2));
}

std::size_t hashEdge(std::size_t seed, const BorderEdge& edge) {
    return mix(mix(seed, edge.weight), edge.colour);
}

struct FormatHash {
    std::size_t operator()(const CellFormat& format) const {
        std::size_t seed = static_cast<std::size_t>(format.alignment);
        seed = mix(seed, format.italic);
        seed = mix(seed, format.bold);
        seed = mix(seed, static_cast<std::size_t>(format.interiorColourIndex));
        seed = mix(seed, static_cast<std::size_t>(format.pattern));
        seed = mix(seed, static_cast<std::size_t>(format.patternColourIndex));
        seed = mix(seed, static_cast<std::size_t>(format.fontColour));
        seed = hashEdge(seed, format.left);
        seed = hashEdge(seed, format.top);
        seed = hashEdge(seed, format.right);
        return hashEdge(seed, format.bottom);
    }
};

[[noreturn]] void throwLibraryError(lxw_error error) {
    throw UserError(QString::fromUtf8(lxw_strerror(error)));
}

void check(lxw_error error) {
    if (error != LXW_NO_ERROR) {
        throwLibraryError(error);
    }
}

uint8_t borderStyle(std::uint8_t weight) {
    switch (weight) {
    case excel::weightHairline:
        return LXW_BORDER_HAIR;
    case excel::weightThin:
        return LXW_BORDER_THIN;
    case excel::weightMedium:
        return LXW_BORDER_MEDIUM;
    default:
        return LXW_BORDER_THICK;
    }
}

// Owns the library's workbook until it is closed: a workbook that is never closed writes
// nothing, so a failure frees it without a file.
class LibraryWorkbook {
public:
    explicit LibraryWorkbook(const QString& path) : path_(path) {
        lxw_workbook_options options{};
        // Row by row: the library writes each row when the next one starts, its texts in the
        // row, instead of keeping every cell and a table of all texts until the end.
        options.constant_memory = LXW_TRUE;
        book_ = workbook_new_opt(QFile::encodeName(path).constData(), &options);
        if (book_ == nullptr) {
            throwLibraryError(LXW_ERROR_MEMORY_MALLOC_FAILED);
        }
    }
    ~LibraryWorkbook() {
        if (book_ != nullptr) {
            lxw_workbook_free(book_);
        }
    }
    LibraryWorkbook(const LibraryWorkbook&) = delete;
    LibraryWorkbook& operator=(const LibraryWorkbook&) = delete;

    lxw_workbook* get() { return book_; }

    // A file that cannot be written (a full disk) is told by the system's error and the path,
    // not by the library's "Zip generic error".
    void close() {
        lxw_workbook* book = book_;
        book_ = nullptr;
        errno = 0;
        const lxw_error error = workbook_close(book);
        const int code = errno;
        if ((error == LXW_ERROR_ZIP_FILE_OPERATION || error == LXW_ERROR_ZIP_FILE_ADD ||
             error == LXW_ERROR_ZIP_CLOSE || error == LXW_ERROR_CREATING_TMPFILE) &&
            code != 0) {
            throw UserError(ioErrorText(code) + u": "_s + path_);
        }
        check(error);
    }

    lxw_format* format(const CellFormat& format) {
        if (format == CellFormat()) {
            return nullptr;
        }
        auto found = formats_.find(format);
        if (found != formats_.end()) {
            return found->second;
        }
        lxw_format* made = workbook_add_format(book_);
        if (made == nullptr) {
            throwLibraryError(LXW_ERROR_MEMORY_MALLOC_FAILED);
        }
        describe(made, format);
        formats_.emplace(format, made);
        return made;
    }

private:
    static void describe(lxw_format* made, const CellFormat& format) {
        switch (format.alignment) {
        case HorizontalAlignment::General:
            break;
        case HorizontalAlignment::Left:
            format_set_align(made, LXW_ALIGN_LEFT);
            break;
        case HorizontalAlignment::Centre:
            format_set_align(made, LXW_ALIGN_CENTER);
            break;
        case HorizontalAlignment::Right:
            format_set_align(made, LXW_ALIGN_RIGHT);
            break;
        }
        if (format.italic) {
            format_set_italic(made);
        }
        if (format.bold) {
            format_set_bold(made);
        }
        if (format.fontColour >= 0) {
            format_set_font_color(made, rgbFromColourValue(format.fontColour));
        }
        if (const std::optional<Rgb> fill = paletteColour(format.interiorColourIndex);
            fill && format.pattern != excel::patternNone) {
            // A solid fill is drawn in its background colour.
            format_set_pattern(made, LXW_PATTERN_SOLID);
            format_set_bg_color(made, *fill);
        }
        if (format.left.weight != 0) {
            format_set_left(made, borderStyle(format.left.weight));
            format_set_left_color(made, format.left.colour);
        }
        if (format.top.weight != 0) {
            format_set_top(made, borderStyle(format.top.weight));
            format_set_top_color(made, format.top.colour);
        }
        if (format.right.weight != 0) {
            format_set_right(made, borderStyle(format.right.weight));
            format_set_right_color(made, format.right.colour);
        }
        if (format.bottom.weight != 0) {
            format_set_bottom(made, borderStyle(format.bottom.weight));
            format_set_bottom_color(made, format.bottom.colour);
        }
    }

    QString path_;
    lxw_workbook* book_ = nullptr;
    std::unordered_map<CellFormat, lxw_format*, FormatHash> formats_;
};

bool isHex(QChar unit) {
    return (unit >= u'0' && unit <= u'9') || (unit >= u'A' && unit <= u'F') ||
           (unit >= u'a' && unit <= u'f');
}

// Whether XML 1.0 can hold the character: not the C0 controls other than TAB, LF and CR, nor
// U+FFFE and U+FFFF.
bool xmlCanHold(QChar unit) {
    const char16_t code = unit.unicode();
    return (code >= 0x20 && code < 0xFFFE) || code == u'\t' || code == u'\n' || code == u'\r';
}

// Whether the text holds "_xHHHH_" at i, which readers take for an escaped character.
bool looksEscaped(const QString& text, qsizetype i) {
    return text[i] == u'_' && i + 6 < text.size() && text[i + 1] == u'x' && text[i + 6] == u'_' &&
           isHex(text[i + 2]) && isHex(text[i + 3]) && isHex(text[i + 4]) && isHex(text[i + 5]);
}

bool needsEscapes(const QString& text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (!xmlCanHold(text[i]) || looksEscaped(text, i)) {
            return true;
        }
    }
    return false;
}

// A character XML cannot hold is written as the format's escape "_xHHHH_". Readers take
// "_xHHHH_" for an escaped character, so a text that holds one as it is gets its underscore
// escaped ("_x005F_"), as spreadsheet programs write it.
QString escapedText(const QString& text) {
    QString escaped;
    escaped.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (looksEscaped(text, i)) {
            escaped += u"_x005F_"_s;
            continue;
        }
        if (!xmlCanHold(text[i])) {
            escaped += u"_x"_s +
                       QString::number(text[i].unicode(), 16).toUpper().rightJustified(4, u'0') +
                       u'_';
            continue;
        }
        escaped += text[i];
    }
    return escaped;
}

// The text as the file can hold it: at most maxCellTextLength characters (a surrogate pair is
// not split), no NUL, which the library's C strings cannot carry, and the characters XML
// cannot hold escaped. Nearly every text of a table goes as it is.
QByteArray storableText(const QString& text, bool& cut) {
    if (text.size() <= maxCellTextLength && !needsEscapes(text)) {
        return text.toUtf8();
    }
    QString kept = text;
    if (kept.size() > maxCellTextLength) {
        qsizetype length = maxCellTextLength;
        if (kept[length - 1].isHighSurrogate()) {
            --length;
        }
        kept.truncate(length);
        cut = true;
    }
    if (kept.contains(QChar(0))) {
        kept.remove(QChar(0));
    }
    return escapedText(kept).toUtf8();
}

// Columns of the same width and format, written as one.
struct ColumnRun {
    int first = 0;
    int last = 0;
    double width = LXW_DEF_COL_WIDTH;
    lxw_format* format = nullptr;
};

// The runs of columns that have a width or a format; their formats are numbered in the file
// first, as the cells' formats are numbered in the order they are first used.
std::vector<ColumnRun> columnRuns(LibraryWorkbook& book, const Worksheet& source) {
    std::vector<ColumnRun> runs;
    int column = 1;
    while (column <= Worksheet::maxColumns) {
        if (!source.hasColumnWidth(column) && !source.hasColumnFormat(column)) {
            ++column;
            continue;
        }
        const bool hasWidth = source.hasColumnWidth(column);
        const double width = source.columnWidth(column);
        const bool hasFormat = source.hasColumnFormat(column);
        const CellFormat& format = source.columnFormat(column);
        int last = column;
        while (last < Worksheet::maxColumns && source.hasColumnWidth(last + 1) == hasWidth &&
               source.columnWidth(last + 1) == width &&
               source.hasColumnFormat(last + 1) == hasFormat &&
               source.columnFormat(last + 1) == format) {
            ++last;
        }
        ColumnRun& run = runs.emplace_back(ColumnRun{column, last});
        // The library turns widths above 255 into its default; the file format allows 0 to 255.
        if (hasWidth) {
            run.width = std::clamp(width, 0.0, Worksheet::maxColumnWidth);
        }
        if (hasFormat && (run.format = book.format(format)) != nullptr) {
            lxw_format_get_xf_index(run.format);
        }
        column = last + 1;
    }
    return runs;
}

void writeColumns(lxw_worksheet* sheet, const std::vector<ColumnRun>& runs) {
    for (const ColumnRun& run : runs) {
        check(worksheet_set_column(sheet, static_cast<lxw_col_t>(run.first - 1),
                                   static_cast<lxw_col_t>(run.last - 1), run.width, run.format));
    }
}

// Before the cells: the library writes the rows as they come and takes no range above them.
void writeView(lxw_worksheet* sheet, const Worksheet& source) {
    if (source.frozenRows() > 0) {
        worksheet_freeze_panes(sheet, static_cast<lxw_row_t>(source.frozenRows()), 0);
    }
    if (const CellPosition filter = source.autoFilter(); filter.row > 0 && filter.column > 0) {
        check(worksheet_autofilter(sheet, 0, 0, static_cast<lxw_row_t>(filter.row - 1),
                                   static_cast<lxw_col_t>(filter.column - 1)));
    }
}

// Where the cells go: through the library, or straight into the rows' XML.
class CellSink {
public:
    virtual ~CellSink() = default;
    virtual void blank(lxw_row_t row, lxw_col_t column, lxw_format* format) = 0;
    virtual void number(lxw_row_t row, lxw_col_t column, double value, lxw_format* format) = 0;
    virtual void boolean(lxw_row_t row, lxw_col_t column, bool value, lxw_format* format) = 0;
    virtual void text(lxw_row_t row, lxw_col_t column, const QByteArray& text,
                      lxw_format* format) = 0;
};

class LibraryCells : public CellSink {
public:
    explicit LibraryCells(lxw_worksheet* sheet) : sheet_(sheet) {}
    void blank(lxw_row_t row, lxw_col_t column, lxw_format* format) override {
        check(worksheet_write_blank(sheet_, row, column, format));
    }
    void number(lxw_row_t row, lxw_col_t column, double value, lxw_format* format) override {
        check(worksheet_write_number(sheet_, row, column, value, format));
    }
    void boolean(lxw_row_t row, lxw_col_t column, bool value, lxw_format* format) override {
        check(worksheet_write_boolean(sheet_, row, column, value ? 1 : 0, format));
    }
    void text(lxw_row_t row, lxw_col_t column, const QByteArray& text,
              lxw_format* format) override {
        check(worksheet_write_string(sheet_, row, column, text.constData(), format));
    }

private:
    lxw_worksheet* sheet_;
};

// The library's escape for a control character in a text: all but TAB and LF.
bool libraryEscapes(unsigned char byte) {
    return byte >= 0x01 && byte < 0x20 && byte != '\t' && byte != '\n';
}

bool needsXmlWork(const QByteArray& text) {
    return std::any_of(text.begin(), text.end(), [](char byte) {
        return static_cast<unsigned char>(byte) < 0x20 || byte == '&' || byte == '<' || byte == '>';
    });
}

// Code points of UTF-8 text, as the library counts them for its length limit.
qsizetype utf8Length(const QByteArray& text) {
    return std::count_if(text.begin(), text.end(), [](char byte) {
        return (static_cast<unsigned char>(byte) & 0xC0) != 0x80;
    });
}

// The cells' rows as the library writes them when it keeps one row in memory, in the same
// bytes: its cell forms, style numbers, escapes and whitespace rule. The library itself then
// writes only what surrounds them, which is fast; its deflating of all the rows was not.
class SheetRows : public CellSink {
public:
    void blank(lxw_row_t row, lxw_col_t column, lxw_format* format) override {
        if (format == nullptr) {
            return;
        }
        open(row, column, format);
        xml_ += "/>";
    }
    void number(lxw_row_t row, lxw_col_t column, double value, lxw_format* format) override {
        open(row, column, format);
        std::array<char, 32> digits{};
        const int length = std::snprintf(digits.data(), digits.size(), "%.16G", value);
        xml_ += "><v>";
        xml_.append(digits.data(), std::clamp(length, 0, int(digits.size()) - 1));
        xml_ += "</v></c>";
    }
    void boolean(lxw_row_t row, lxw_col_t column, bool value, lxw_format* format) override {
        open(row, column, format);
        xml_ += value ? R"( t="b"><v>1</v></c>)" : R"( t="b"><v>0</v></c>)";
    }
    void text(lxw_row_t row, lxw_col_t column, const QByteArray& text,
              lxw_format* format) override {
        if (text.isEmpty()) {
            blank(row, column, format);
            return;
        }
        if (utf8Length(text) > maxCellTextLength) {
            throwLibraryError(LXW_ERROR_MAX_STRING_LENGTH_EXCEEDED);
        }
        open(row, column, format);
        xml_ += preserves(text) ? R"( t="inlineStr"><is><t xml:space="preserve">)"
                                : R"( t="inlineStr"><is><t>)";
        appendEscaped(text);
        xml_ += "</t></is></c>";
    }

    // Room for the whole XML, taken in large pages where the system offers them: the rows
    // reach tens of megabytes, each small page of them a fault of its own.
    void reserve(std::size_t bytes) {
        xml_.reserve(bytes);
        constexpr std::uintptr_t largePage = 2 * 1024 * 1024;
        const auto start = reinterpret_cast<std::uintptr_t>(xml_.data());
        const std::uintptr_t first = (start + largePage - 1) & ~(largePage - 1);
        const std::uintptr_t end = (start + xml_.capacity()) & ~(largePage - 1);
        if (first < end) {
            ::madvise(reinterpret_cast<void*>(first), end - first, MADV_HUGEPAGE);
        }
    }

    // The rows, each ended.
    std::string finish() {
        if (!xml_.empty()) {
            xml_ += "</row>";
        }
        return std::move(xml_);
    }

    // Gives the library the range of the cells, which it writes before the rows.
    void setDimension(lxw_worksheet* sheet) const {
        if (rowMin_ == LXW_ROW_MAX) {
            return;
        }
        sheet->dim_rowmin = std::min(sheet->dim_rowmin, rowMin_);
        sheet->dim_rowmax = std::max(sheet->dim_rowmax, rowMax_);
        sheet->dim_colmin = std::min(sheet->dim_colmin, colMin_);
        sheet->dim_colmax = std::max(sheet->dim_colmax, colMax_);
    }

private:
    // Writes "<c r=... s=..." of a cell, after the start of its row when it is the row's first.
    void open(lxw_row_t row, lxw_col_t column, lxw_format* format) {
        rowMin_ = std::min(rowMin_, row);
        rowMax_ = std::max(rowMax_, row);
        colMin_ = std::min(colMin_, column);
        colMax_ = std::max(colMax_, column);
        if (row != row_ || xml_.empty()) {
            if (!xml_.empty()) {
                xml_ += "</row>";
            }
            row_ = row;
            rowNumber_ = std::to_string(row + 1);
            xml_ += R"(<row r=")";
            xml_ += rowNumber_;
            xml_ += R"(">)";
        }
        xml_ += R"(<c r=")";
        appendColumnName(column);
        xml_ += rowNumber_;
        xml_ += '"';
        if (const int32_t style = format == nullptr ? 0 : lxw_format_get_xf_index(format)) {
            xml_ += R"( s=")";
            appendNumber(style);
            xml_ += '"';
        }
    }
    void appendNumber(int32_t number) {
        std::array<char, 16> digits{};
        const auto end = std::to_chars(digits.data(), digits.data() + digits.size(), number).ptr;
        xml_.append(digits.data(), end);
    }
    void appendColumnName(lxw_col_t column) {
        std::array<char, 4> letters{};
        std::size_t count = 0;
        for (unsigned number = column + 1u; number > 0; number = (number - 1) / 26) {
            letters[count++] = static_cast<char>('A' + (number - 1) % 26);
        }
        while (count > 0) {
            xml_ += letters[--count];
        }
    }
    // The library keeps leading or trailing whitespace of the text as it writes it (after its
    // escapes), asking the C library what whitespace is.
    static bool preserves(const QByteArray& text) {
        const auto first = static_cast<unsigned char>(text.front());
        const auto last = static_cast<unsigned char>(text.back());
        return (std::isspace(first) != 0 && !libraryEscapes(first)) ||
               (std::isspace(last) != 0 && !libraryEscapes(last));
    }
    void appendEscaped(const QByteArray& text) {
        if (!needsXmlWork(text)) {
            xml_.append(text.constData(), static_cast<std::size_t>(text.size()));
            return;
        }
        for (const char byte : text) {
            const auto code = static_cast<unsigned char>(byte);
            if (libraryEscapes(code)) {
                std::array<char, 8> escape{};
                std::snprintf(escape.data(), escape.size(), "_x%04X_", code);
                xml_.append(escape.data(), 7);
            } else if (byte == '&') {
                xml_ += "&amp;";
            } else if (byte == '<') {
                xml_ += "&lt;";
            } else if (byte == '>') {
                xml_ += "&gt;";
            } else {
                xml_ += byte;
            }
        }
    }

    std::string xml_;
    lxw_row_t row_ = 0;
    std::string rowNumber_;
    lxw_row_t rowMin_ = LXW_ROW_MAX;
    lxw_row_t rowMax_ = 0;
    lxw_col_t colMin_ = LXW_COL_MAX;
    lxw_col_t colMax_ = 0;
};

// A cell of the plain format is written in its column's: the library gave it that when the
// columns came before the cells. A blank cell of the plain format is not written at all.
void writeCell(LibraryWorkbook& book, CellSink& cells, const Worksheet& source, int row, int column,
               XlsxWriteReport& report) {
    const auto libraryRow = static_cast<lxw_row_t>(row - 1);
    const auto libraryColumn = static_cast<lxw_col_t>(column - 1);
    const CellValue& value = source.value(row, column);
    lxw_format* format = book.format(source.format(row, column));
    if (value.isEmpty()) {
        if (format != nullptr) {
            cells.blank(libraryRow, libraryColumn, format);
        }
        return;
    }
    if (format == nullptr && source.hasColumnFormat(column)) {
        format = book.format(source.columnFormat(column));
    }
    switch (value.kind()) {
    case CellValue::Kind::Empty:
        break;
    case CellValue::Kind::Number:
        cells.number(libraryRow, libraryColumn, value.number(), format);
        break;
    case CellValue::Kind::Boolean:
        cells.boolean(libraryRow, libraryColumn, value.number() != 0, format);
        break;
    case CellValue::Kind::Text:
    case CellValue::Kind::Error: {
        bool cut = false;
        const QByteArray text = storableText(value.text(), cut);
        if (cut) {
            ++report.cutCells;
        }
        // Always a string: a text that begins with "=" or looks like a number stays a text.
        cells.text(libraryRow, libraryColumn, text, format);
        break;
    }
    }
}

void writeCells(LibraryWorkbook& book, CellSink& cells, const Worksheet& source,
                XlsxWriteReport& report) {
    for (int row = 1; row <= source.rowCount(); ++row) {
        for (int column = 1; column <= source.cellCount(row); ++column) {
            if (source.hasCell(row, column)) {
                writeCell(book, cells, source, row, column, report);
            }
        }
    }
}

// More than the rows' XML takes: the buffer then never moves, and the pages it does not
// reach are never touched.
std::size_t roomForRows(const Worksheet& source) {
    std::size_t bytes = 64;
    for (int row = 1; row <= source.rowCount(); ++row) {
        bytes += 32;
        for (int column = 1; column <= source.cellCount(row); ++column) {
            bytes += 64 + 3 * static_cast<std::size_t>(source.value(row, column).text().size());
        }
    }
    return bytes;
}

enum class CellWriting { ThroughLibrary, Direct };

// Replaces the content of the file the library wrote, in place as the library writes it: the
// callers move the finished file to its target themselves.
void overwrite(const QString& path, const QByteArray& bytes) {
    const auto fail = [&path](int code) {
        throw UserError(ioErrorText(code != 0 ? code : EIO) + u": "_s + path);
    };
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    if (fd < 0) {
        fail(errno);
    }
    errno = 0;
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t wrote =
            ::write(fd, bytes.constData() + done, static_cast<std::size_t>(bytes.size() - done));
        if (wrote < 0 && errno == EINTR) {
            continue;
        }
        if (wrote <= 0) {
            break;
        }
        done += wrote;
    }
    const int code = done < bytes.size() ? errno : 0;
    if (::close(fd) != 0 || code != 0) {
        fail(code != 0 ? code : errno);
    }
}

// The library's file with the rows of each sheet put into the empty "<sheetData>" it wrote
// for them; every part deflated again at the fast level.
void spliceRows(const QString& path, const std::vector<std::string>& sheetRows) {
    const QByteArray written = readFileBounded(path, std::numeric_limits<qint64>::max());
    const ZipReader reader(written);
    if (!reader.isOpen()) {
        throw UserError(officeTexts::archiveNotReadBack());
    }
    std::vector<ZipEntry> entries;
    const std::vector<QByteArray> names = reader.names();
    for (std::uint64_t index = 0; index < names.size(); ++index) {
        ZipEntry& entry = entries.emplace_back(ZipEntry{names[index], {}});
        if (!reader.read(index, [&](QByteArrayView piece) {
                entry.content.append(piece);
                return true;
            })) {
            throw UserError(officeTexts::archiveNotReadBack());
        }
    }
    std::vector<QByteArray> ends(sheetRows.size());
    for (std::size_t sheet = 0; sheet < sheetRows.size(); ++sheet) {
        if (sheetRows[sheet].empty()) {
            continue;
        }
        const QByteArray name = "xl/worksheets/sheet" + QByteArray::number(sheet + 1) + ".xml";
        const auto entry = std::find_if(entries.begin(), entries.end(),
                                        [&](const ZipEntry& each) { return each.name == name; });
        static constexpr QByteArrayView emptyData = "<sheetData></sheetData>";
        const qsizetype at = entry == entries.end() ? -1 : entry->content.indexOf(emptyData);
        if (at < 0) {
            throw UserError(officeTexts::archiveNotReadBack());
        }
        const qsizetype split = at + qsizetype(sizeof("<sheetData>") - 1);
        ends[sheet] = entry->content.mid(split);
        entry->content.truncate(split);
        entry->more = {QByteArrayView(sheetRows[sheet]), QByteArrayView(ends[sheet])};
    }
    overwrite(path, zipArchive(entries));
}

XlsxWriteReport writeXlsxFile(const Workbook& workbook, const QString& path, CellWriting writing) {
    XlsxWriteReport report;
    LibraryWorkbook book(path);
    std::vector<std::string> sheetRows;
    for (int index = 1; index <= workbook.worksheetCount(); ++index) {
        const Worksheet& source = workbook.worksheet(index);
        const QByteArray name = source.name().toUtf8();
        check(workbook_validate_sheet_name(book.get(), name.constData()));
        lxw_worksheet* sheet = workbook_add_worksheet(book.get(), name.constData());
        if (sheet == nullptr) {
            throwLibraryError(LXW_ERROR_MEMORY_MALLOC_FAILED);
        }
        const std::vector<ColumnRun> runs = columnRuns(book, source);
        writeView(sheet, source);
        if (writing == CellWriting::Direct) {
            SheetRows rows;
            rows.reserve(roomForRows(source));
            writeCells(book, rows, source, report);
            rows.setDimension(sheet);
            sheetRows.push_back(rows.finish());
        } else {
            LibraryCells cells(sheet);
            writeCells(book, cells, source, report);
        }
        // Only now: the library writes each row as it ends, going over every column that the
        // columns' widths and formats reach, up to the last column of the sheet.
        writeColumns(sheet, runs);
    }
    book.close();
    if (writing == CellWriting::Direct) {
        spliceRows(path, sheetRows);
    }
    return report;
}

} // namespace

QString cutCellsMessage() {
    return officeTexts::cutCells();
}

XlsxWriteReport writeXlsx(const Workbook& workbook, const QString& path) {
    return writeXlsxFile(workbook, path, CellWriting::Direct);
}

XlsxWriteReport writeXlsxThroughLibrary(const Workbook& workbook, const QString& path) {
    return writeXlsxFile(workbook, path, CellWriting::ThroughLibrary);
}

} // namespace corvanteller
