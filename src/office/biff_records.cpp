// SPDX-License-Identifier: GPL-3.0-or-later
#include "office/biff_records.h"

#include "office/number_formats.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <unordered_map>

namespace corvanteller::biff {
namespace {

enum Record : std::uint16_t {
    formulaRecord = 0x0006,
    eofRecord = 0x000A,
    datemodeRecord = 0x0022,
    filepassRecord = 0x002F,
    continueRecord = 0x003C,
    boundsheetRecord = 0x0085,
    mulrkRecord = 0x00BD,
    mulblankRecord = 0x00BE,
    xfRecord = 0x00E0,
    sstRecord = 0x00FC,
    labelsstRecord = 0x00FD,
    blankRecord = 0x0201,
    numberRecord = 0x0203,
    labelRecord = 0x0204,
    boolerrRecord = 0x0205,
    stringRecord = 0x0207,
    rkRecord = 0x027E,
    formatRecord = 0x041E,
    bofRecord = 0x0809,
};

constexpr std::uint16_t biff8 = 0x0600;
constexpr std::uint16_t globalsKind = 0x0005;
constexpr std::uint16_t worksheetKind = 0x0010;

std::uint16_t u16(const std::uint8_t* at) {
    return static_cast<std::uint16_t>(at[0] | (at[1] << 8));
}

std::uint32_t u32(const std::uint8_t* at) {
    return static_cast<std::uint32_t>(u16(at)) | (static_cast<std::uint32_t>(u16(at + 2)) << 16);
}

double f64(const std::uint8_t* at) {
    std::uint64_t bits = 0;
    for (int i = 7; i >= 0; --i) {
        bits = (bits << 8) | at[i];
    }
    double number = 0;
    std::memcpy(&number, &bits, sizeof number);
    return number;
}

void appendUtf8(std::string& out, std::uint32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

// Turns UTF-16 units into UTF-8, a lone surrogate into U+FFFD.
class Utf16Sink {
public:
    explicit Utf16Sink(std::string& out) : out_(out) {}
    void unit(std::uint16_t unit) {
        if (high_ != 0) {
            if (unit >= 0xDC00 && unit <= 0xDFFF) {
                appendUtf8(out_, 0x10000 + ((high_ - 0xD800u) << 10) + (unit - 0xDC00u));
                high_ = 0;
                return;
            }
            appendUtf8(out_, 0xFFFD);
            high_ = 0;
        }
        if (unit >= 0xD800 && unit <= 0xDBFF) {
            high_ = unit;
        } else if (unit >= 0xDC00 && unit <= 0xDFFF) {
            appendUtf8(out_, 0xFFFD);
        } else {
            appendUtf8(out_, unit);
        }
    }
    void finish() {
        if (high_ != 0) {
            appendUtf8(out_, 0xFFFD);
            high_ = 0;
        }
    }

private:
    std::string& out_;
    std::uint16_t high_ = 0;
};

// tFuncVar in its three classes.
bool isFunctionWithArguments(std::uint8_t token) {
    return token == 0x22 || token == 0x42 || token == 0x62;
}

struct RecordView {
    std::uint16_t id = 0;
    std::span<const std::uint8_t> data;
};

// The records of the stream from a position on.
class Records {
public:
    Records(std::span<const std::uint8_t> stream, std::size_t at) : stream_(stream), at_(at) {}

    // False at the end of the stream or at a record that runs past it (then malformed()).
    bool next(RecordView& record) {
        if (at_ + 4 > stream_.size()) {
            return false;
        }
        const std::uint16_t length = u16(stream_.data() + at_ + 2);
        if (at_ + 4 + length > stream_.size()) {
            malformed_ = true;
            return false;
        }
        record.id = u16(stream_.data() + at_);
        record.data = stream_.subspan(at_ + 4, length);
        at_ += 4 + length;
        return true;
    }
    // The next record's id without taking it, 0 at the end.
    std::uint16_t peek() const { return at_ + 4 <= stream_.size() ? u16(stream_.data() + at_) : 0; }
    bool malformed() const { return malformed_; }

private:
    std::span<const std::uint8_t> stream_;
    std::size_t at_;
    bool malformed_ = false;
};

// A record's data and the CONTINUE records after it as one sequence of bytes, where the
// characters of a string that reach into a continuation start it with a new flag byte.
class ContinuedData {
public:
    explicit ContinuedData(std::vector<std::span<const std::uint8_t>> pieces)
        : pieces_(std::move(pieces)) {}

    bool atEnd() {
        skipFinishedPieces();
        return piece_ >= pieces_.size();
    }
    std::optional<std::uint8_t> byte() {
        skipFinishedPieces();
        if (piece_ >= pieces_.size()) {
            return std::nullopt;
        }
        return pieces_[piece_][at_++];
    }
    std::optional<std::uint16_t> word() {
        const auto low = byte();
        const auto high = byte();
        if (!low || !high) {
            return std::nullopt;
        }
        return static_cast<std::uint16_t>(*low | (*high << 8));
    }
    std::optional<std::uint32_t> dword() {
        const auto low = word();
        const auto high = word();
        if (!low || !high) {
            return std::nullopt;
        }
        return *low | (static_cast<std::uint32_t>(*high) << 16);
    }
    bool skip(std::uint64_t count) {
        while (count > 0) {
            skipFinishedPieces();
            if (piece_ >= pieces_.size()) {
                return false;
            }
            const std::size_t step =
                static_cast<std::size_t>(std::min<std::uint64_t>(count, left()));
            at_ += step;
            count -= step;
        }
        return true;
    }
    // count characters, 16-bit when wide; a continuation brings its own flag byte.
    bool characters(std::uint32_t count, bool wide, std::string& out) {
        Utf16Sink sink(out);
        while (count > 0) {
            if (piece_ >= pieces_.size()) {
                return false;
            }
            if (at_ >= pieces_[piece_].size()) {
                if (++piece_ >= pieces_.size()) {
                    return false;
                }
                at_ = 0;
                const auto flags = byte();
                if (!flags) {
                    return false;
                }
                wide = (*flags & 0x01) != 0;
                continue;
            }
            const std::span<const std::uint8_t> piece = pieces_[piece_];
            const std::size_t width = wide ? 2 : 1;
            const std::size_t fit = std::min<std::size_t>(count, (piece.size() - at_) / width);
            if (fit == 0) {
                return false; // half a character
            }
            for (std::size_t i = 0; i < fit; ++i) {
                const std::uint8_t* at = piece.data() + at_ + i * width;
                if (wide) {
                    sink.unit(u16(at));
                } else if (at[0] < 0x80) {
                    out += static_cast<char>(at[0]);
                } else {
                    appendUtf8(out, at[0]);
                }
            }
            at_ += fit * width;
            count -= static_cast<std::uint32_t>(fit);
        }
        sink.finish();
        return true;
    }

private:
    std::size_t left() const { return pieces_[piece_].size() - at_; }
    void skipFinishedPieces() {
        while (piece_ < pieces_.size() && at_ >= pieces_[piece_].size()) {
            ++piece_;
            at_ = 0;
        }
    }

    std::vector<std::span<const std::uint8_t>> pieces_;
    std::size_t piece_ = 0;
    std::size_t at_ = 0;
};

ContinuedData withContinuations(const RecordView& record, Records& records) {
    std::vector<std::span<const std::uint8_t>> pieces{record.data};
    RecordView continuation;
    while (records.peek() == continueRecord && records.next(continuation)) {
        pieces.push_back(continuation.data);
    }
    return ContinuedData(std::move(pieces));
}

// An XLUnicodeRichExtendedString (SST) or XLUnicodeString (LABEL, STRING, FORMAT).
std::optional<std::string> unicodeString(ContinuedData& in) {
    const auto count = in.word();
    const auto flags = in.byte();
    if (!count || !flags) {
        return std::nullopt;
    }
    std::uint16_t runs = 0;
    std::uint32_t extra = 0;
    if ((*flags & 0x08) != 0) {
        const auto value = in.word();
        if (!value) {
            return std::nullopt;
        }
        runs = *value;
    }
    if ((*flags & 0x04) != 0) {
        const auto value = in.dword();
        if (!value) {
            return std::nullopt;
        }
        extra = *value;
    }
    std::string text;
    if (!in.characters(*count, (*flags & 0x01) != 0, text) ||
        !in.skip(std::uint64_t(runs) * 4 + extra)) {
        return std::nullopt;
    }
    return text;
}

std::optional<std::string> unicodeString(std::span<const std::uint8_t> data) {
    ContinuedData in({data});
    return unicodeString(in);
}

struct Globals {
    bool date1904 = false;
    std::vector<std::string> strings;
    // By XF index: how the format shows a number, and an elapsed-time format's code.
    std::vector<NumberFormatKind> formatKinds;
    std::vector<std::string> elapsedCodes;
    // Where the sheets of the worksheet type begin, in the order of their tabs.
    std::vector<std::size_t> sheets;
};

bool isBof(const RecordView& record, std::uint16_t kind) {
    return record.id == bofRecord && record.data.size() >= 4 && u16(record.data.data()) == biff8 &&
           u16(record.data.data() + 2) == kind;
}

Status readGlobals(std::span<const std::uint8_t> stream, Globals& globals) {
    Records records(stream, 0);
    RecordView record;
    if (!records.next(record) || !isBof(record, globalsKind)) {
        return Status::Malformed;
    }
    std::unordered_map<std::uint16_t, std::string> customFormats;
    std::vector<std::uint16_t> formatOfXf;
    while (records.next(record)) {
        const std::uint8_t* data = record.data.data();
        const std::size_t size = record.data.size();
        switch (record.id) {
        case filepassRecord:
            return Status::Protected;
        case datemodeRecord:
            globals.date1904 = size >= 2 && u16(data) == 1;
            break;
        case formatRecord: {
            if (size < 2) {
                return Status::Malformed;
            }
            if (auto code = unicodeString(record.data.subspan(2))) {
                customFormats[u16(data)] = std::move(*code);
            }
            break;
        }
        case xfRecord:
            if (size < 4) {
                return Status::Malformed;
            }
            formatOfXf.push_back(u16(data + 2));
            break;
        case boundsheetRecord:
            if (size < 6) {
                return Status::Malformed;
            }
            // The sheet type: 0 a worksheet (or dialog), 1 a macro sheet, 2 a chart, 6 a module.
            if (data[5] == 0) {
                globals.sheets.push_back(u32(data));
            }
            break;
        case sstRecord: {
            ContinuedData in = withContinuations(record, records);
            if (!in.skip(8)) {
                return Status::Malformed;
            }
            while (!in.atEnd()) {
                auto text = unicodeString(in);
                if (!text) {
                    return Status::Malformed;
                }
                globals.strings.push_back(std::move(*text));
            }
            break;
        }
        case eofRecord: {
            for (const std::uint16_t format : formatOfXf) {
                const auto custom = customFormats.find(format);
                const std::string code = custom != customFormats.end()
                                             ? custom->second
                                             : std::string(builtInFormatCode(format));
                const NumberFormatKind kind = custom != customFormats.end()
                                                  ? formatCodeKind(code)
                                                  : builtInFormatKind(format);
                globals.formatKinds.push_back(kind);
                globals.elapsedCodes.push_back(
                    kind == NumberFormatKind::ElapsedTime ? code : std::string());
            }
            return globals.sheets.empty() ? Status::Malformed : Status::Read;
        }
        default:
            break;
        }
    }
    return Status::Malformed;
}

class SheetReader {
public:
    SheetReader(const Globals& globals, Sheet& sheet, std::uint32_t keptRows,
                std::uint32_t keptColumns)
        : globals_(globals), sheet_(sheet), keptRows_(keptRows), keptColumns_(keptColumns) {}

    // Notes a value of the 0-based cell and keeps it when it lies in the kept area.
    void put(std::uint32_t row, std::uint32_t column, Cell cell) {
        sheet_.lastRow = std::max(sheet_.lastRow, row + 1);
        sheet_.lastColumn = std::max(sheet_.lastColumn, column + 1);
        if (row < keptRows_ && column < keptColumns_) {
            cell.row = row + 1;
            cell.column = column + 1;
            sheet_.cells.push_back(std::move(cell));
        }
    }
    void number(std::uint32_t row, std::uint32_t column, std::uint16_t xf, double value) {
        Cell cell;
        cell.number = value;
        switch (xf < globals_.formatKinds.size() ? globals_.formatKinds[xf]
                                                 : NumberFormatKind::Number) {
        case NumberFormatKind::Number:
            break;
        case NumberFormatKind::Date:
            cell.kind = CellKind::Date;
            if (globals_.date1904) {
                cell.number += dateSystem1904Offset;
            }
            break;
        case NumberFormatKind::TimeOfDay:
            cell.kind = CellKind::Date;
            cell.number = timeOfDaySerial(value);
            break;
        case NumberFormatKind::ElapsedTime:
            cell.kind = CellKind::Text;
            cell.number = 0;
            cell.text = elapsedTimeText(value, globals_.elapsedCodes[xf]);
            break;
        }
        put(row, column, std::move(cell));
    }
    void text(std::uint32_t row, std::uint32_t column, std::string value) {
        Cell cell;
        cell.kind = CellKind::Text;
        cell.text = std::move(value);
        put(row, column, std::move(cell));
    }
    void boolean(std::uint32_t row, std::uint32_t column, bool value) {
        Cell cell;
        cell.kind = CellKind::Boolean;
        cell.number = value ? 1 : 0;
        put(row, column, std::move(cell));
    }
    void error(std::uint32_t row, std::uint32_t column, std::uint8_t code) {
        Cell cell;
        cell.kind = CellKind::Error;
        cell.text = errorText(code);
        put(row, column, std::move(cell));
    }

    Status read(Records& records) {
        RecordView record;
        while (records.next(record)) {
            const std::uint8_t* data = record.data.data();
            const std::size_t size = record.data.size();
            const std::uint32_t row = size >= 2 ? u16(data) : 0;
            const std::uint32_t column = size >= 4 ? u16(data + 2) : 0;
            switch (record.id) {
            case eofRecord:
                finish();
                return Status::Read;
            case numberRecord:
                if (size < 14) {
                    return Status::Malformed;
                }
                number(row, column, u16(data + 4), f64(data + 6));
                break;
            case rkRecord:
                if (size < 10) {
                    return Status::Malformed;
                }
                number(row, column, u16(data + 4), rkNumber(u32(data + 6)));
                break;
            case mulrkRecord: {
                if (size < 6 || (size - 6) % 6 != 0) {
                    return Status::Malformed;
                }
                const std::size_t count = (size - 6) / 6;
                for (std::size_t i = 0; i < count; ++i) {
                    const std::uint8_t* item = data + 4 + i * 6;
                    number(row, column + static_cast<std::uint32_t>(i), u16(item),
                           rkNumber(u32(item + 2)));
                }
                break;
            }
            case labelsstRecord: {
                if (size < 10) {
                    return Status::Malformed;
                }
                const std::uint32_t index = u32(data + 6);
                if (index >= globals_.strings.size()) {
                    return Status::Malformed;
                }
                text(row, column, globals_.strings[index]);
                break;
            }
            case labelRecord: {
                if (size < 6) {
                    return Status::Malformed;
                }
                auto value = unicodeString(record.data.subspan(6));
                if (!value) {
                    return Status::Malformed;
                }
                text(row, column, std::move(*value));
                break;
            }
            case boolerrRecord:
                if (size < 8) {
                    return Status::Malformed;
                }
                if (data[7] == 0) {
                    boolean(row, column, data[6] != 0);
                } else {
                    error(row, column, data[6]);
                }
                break;
            case formulaRecord:
                if (size < 20) {
                    return Status::Malformed;
                }
                if (!formula(records, row, column, data, size)) {
                    return Status::Malformed;
                }
                break;
            case blankRecord:
            case mulblankRecord:
                break;
            default:
                break;
            }
        }
        return Status::Malformed;
    }

private:
    // A text formula that a spreadsheet program saved with the number 0 as its result
    // (LibreOffice does): its text is worked out once the sheet is read, when it is a
    // concatenation of texts, numbers and cells.
    void noteTextFormula(std::uint32_t row, std::uint32_t column, const std::uint8_t* data,
                         std::size_t size) {
        const std::size_t length = u16(data + 20);
        if (f64(data + 6) != 0 || length == 0 || 22 + length > size) {
            return;
        }
        const std::uint8_t* last = data + 21 + length;
        const bool concatenation =
            *last == 0x08 ||
            (length >= 4 && isFunctionWithArguments(last[-3]) && u16(last - 1) == 336);
        if (!concatenation || sheet_.cells.empty() || sheet_.cells.back().row != row + 1 ||
            sheet_.cells.back().column != column + 1) {
            return;
        }
        pending_.push_back({sheet_.cells.size() - 1, {data + 22, data + 22 + length}});
    }

    std::optional<std::string> cellText(std::uint32_t row, std::uint32_t column) const {
        const auto found = kept_.find((std::uint64_t(row + 1) << 32) | (column + 1));
        if (found == kept_.end()) {
            return std::string();
        }
        const Cell& cell = sheet_.cells[found->second];
        switch (cell.kind) {
        case CellKind::Text:
            return cell.text;
        case CellKind::Number:
            return generalNumberText(cell.number);
        case CellKind::Boolean:
            return std::string(cell.number != 0 ? "TRUE" : "FALSE");
        default:
            return std::nullopt;
        }
    }

    std::optional<std::string> evaluate(const std::vector<std::uint8_t>& tokens) const {
        std::vector<std::string> stack;
        std::size_t at = 0;
        while (at < tokens.size()) {
            const std::uint8_t token = tokens[at];
            const std::size_t left = tokens.size() - at - 1;
            const std::uint8_t* operand = tokens.data() + at + 1;
            if (token == 0x17 && left >= 2) { // tStr
                const std::uint8_t count = operand[0];
                const bool wide = (operand[1] & 0x01) != 0;
                ContinuedData in({{operand + 2, left - 2}});
                std::string text;
                if (!in.characters(count, wide, text)) {
                    return std::nullopt;
                }
                stack.push_back(std::move(text));
                at += 3 + std::size_t(count) * (wide ? 2 : 1);
            } else if ((token == 0x24 || token == 0x44 || token == 0x64) && left >= 4) { // tRef
                auto text = cellText(u16(operand), u16(operand + 2) & 0x3FFF);
                if (!text) {
                    return std::nullopt;
                }
                stack.push_back(std::move(*text));
                at += 5;
            } else if (token == 0x1E && left >= 2) { // tInt
                stack.push_back(generalNumberText(u16(operand)));
                at += 3;
            } else if (token == 0x1F && left >= 8) { // tNum
                stack.push_back(generalNumberText(f64(operand)));
                at += 9;
            } else if (token == 0x15) { // tParen
                at += 1;
            } else if (isFunctionWithArguments(token) && left >= 3 && u16(operand + 1) == 336 &&
                       operand[0] >= 1 && operand[0] <= stack.size()) { // CONCATENATE(...)
                const std::size_t first = stack.size() - operand[0];
                for (std::size_t i = first + 1; i < stack.size(); ++i) {
                    stack[first] += stack[i];
                }
                stack.resize(first + 1);
                at += 4;
            } else if (token == 0x08 && stack.size() >= 2) { // tConcat
                std::string last = std::move(stack.back());
                stack.pop_back();
                stack.back() += last;
                at += 1;
            } else {
                return std::nullopt;
            }
        }
        if (stack.size() != 1) {
            return std::nullopt;
        }
        return std::move(stack.front());
    }

public:
    void finish() {
        if (pending_.empty()) {
            return;
        }
        for (std::size_t i = 0; i < sheet_.cells.size(); ++i) {
            const Cell& cell = sheet_.cells[i];
            kept_[(std::uint64_t(cell.row) << 32) | cell.column] = i;
        }
        for (const Pending& formula : pending_) {
            if (auto text = evaluate(formula.tokens)) {
                Cell& cell = sheet_.cells[formula.cell];
                cell.kind = CellKind::Text;
                cell.text = std::move(*text);
            }
        }
    }

private:
    bool formula(Records& records, std::uint32_t row, std::uint32_t column,
                 const std::uint8_t* data, std::size_t size) {
        const std::uint8_t* result = data + 6;
        if (u16(result + 6) != 0xFFFF) {
            number(row, column, u16(data + 4), f64(result));
            noteTextFormula(row, column, data, size);
            return true;
        }
        switch (result[0]) {
        case 0: {
            // The text follows in a STRING record, perhaps after the shared or array formula.
            RecordView string;
            while (records.next(string)) {
                if (string.id == stringRecord) {
                    ContinuedData in = withContinuations(string, records);
                    auto value = unicodeString(in);
                    if (!value) {
                        return false;
                    }
                    text(row, column, std::move(*value));
                    return true;
                }
                if (string.id != 0x04BC && string.id != 0x0221 && string.id != 0x0236) {
                    return false;
                }
            }
            return false;
        }
        case 1:
            boolean(row, column, result[2] != 0);
            return true;
        case 2:
            error(row, column, result[2]);
            return true;
        case 3:
            text(row, column, std::string());
            return true;
        default:
            return true;
        }
    }

    struct Pending {
        std::size_t cell;
        std::vector<std::uint8_t> tokens;
    };

    const Globals& globals_;
    Sheet& sheet_;
    std::uint32_t keptRows_;
    std::uint32_t keptColumns_;
    std::vector<Pending> pending_;
    std::unordered_map<std::uint64_t, std::size_t> kept_;
};

} // namespace

const char* errorText(std::uint8_t code) {
    switch (code) {
    case 0x00:
        return "#NULL!";
    case 0x07:
        return "#DIV/0!";
    case 0x0F:
        return "#VALUE!";
    case 0x17:
        return "#REF!";
    case 0x1D:
        return "#NAME?";
    case 0x24:
        return "#NUM!";
    default:
        return "#N/A";
    }
}

double rkNumber(std::uint32_t rk) {
    double number = 0;
    if ((rk & 0x02) != 0) {
        number = static_cast<double>(static_cast<std::int32_t>(rk) >> 2);
    } else {
        const std::uint64_t bits = static_cast<std::uint64_t>(rk & 0xFFFFFFFCu) << 32;
        std::memcpy(&number, &bits, sizeof number);
    }
    return (rk & 0x01) != 0 ? number / 100 : number;
}

Sheet readFirstWorksheet(std::span<const std::uint8_t> stream, std::uint32_t keptRows,
                         std::uint32_t keptColumns) {
    Sheet sheet;
    Globals globals;
    sheet.status = readGlobals(stream, globals);
    if (sheet.status != Status::Read) {
        return sheet;
    }
    // The first sheet that begins as a worksheet.
    std::optional<Records> records;
    for (const std::size_t start : globals.sheets) {
        Records candidate(stream, start);
        RecordView record;
        if (candidate.next(record) && isBof(record, worksheetKind)) {
            records = candidate;
            break;
        }
    }
    if (!records) {
        sheet.status = Status::Malformed;
        return sheet;
    }
    SheetReader reader(globals, sheet, keptRows, keptColumns);
    sheet.status = reader.read(*records);
    return sheet;
}

} // namespace corvanteller::biff
