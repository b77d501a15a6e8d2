// SPDX-License-Identifier: GPL-3.0-or-later
#include "office/xlsx_reader.h"

#include "common/error.h"
#include "office/number_formats.h"
#include "office/workbook.h"
#include "office/workbook_reading.h"
#include "office/zip_archive.h"

#include <QDateTime>
#include <QList>

#include <expat.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace corvanteller {

using namespace Qt::StringLiterals;

namespace {

constexpr std::uint64_t maxPartSize = 256ull * 1024 * 1024;
constexpr char namespaceSeparator = '\x01';

constexpr std::string_view mainNamespace =
    "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
constexpr std::string_view strictMainNamespace = "http://purl.oclc.org/ooxml/spreadsheetml/main";
constexpr std::string_view relationshipAttributeNamespace =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
constexpr std::string_view strictRelationshipAttributeNamespace =
    "http://purl.oclc.org/ooxml/officeDocument/relationships";
constexpr std::string_view packageRelationshipsNamespace =
    "http://schemas.openxmlformats.org/package/2006/relationships";

[[noreturn]] void throwCannotRead() {
    throw UserError(cannotReadWorkbookMessage());
}

// An expanded element or attribute name: "namespace\x01local", or "local" without a namespace.
struct Name {
    std::string_view space;
    std::string_view local;
};

Name splitName(const char* expanded) {
    const std::string_view name(expanded);
    const std::size_t separator = name.find(namespaceSeparator);
    if (separator == std::string_view::npos) {
        return {{}, name};
    }
    return {name.substr(0, separator), name.substr(separator + 1)};
}

bool isMain(std::string_view space) {
    return space == mainNamespace || space == strictMainNamespace;
}

bool isMainElement(const Name& name, std::string_view local) {
    return isMain(name.space) && name.local == local;
}

const char* attribute(const char** attributes, std::string_view space, std::string_view local) {
    for (const char** at = attributes; at[0] != nullptr; at += 2) {
        const Name name = splitName(at[0]);
        if (name.space == space && name.local == local) {
            return at[1];
        }
    }
    return nullptr;
}

const char* plainAttribute(const char** attributes, std::string_view local) {
    return attribute(attributes, {}, local);
}

// Receives the elements of one part. Handlers return false to stop the reading as malformed.
class XmlHandler {
public:
    virtual ~XmlHandler() = default;
    virtual bool start(const Name& name, const char** attributes) = 0;
    virtual bool end(const Name& name) = 0;
    virtual void text(std::string_view) {}
};

class XmlParser {
public:
    explicit XmlParser(XmlHandler& handler)
        : parser_(XML_ParserCreateNS(nullptr, namespaceSeparator)), handler_(handler) {
        if (parser_ == nullptr) {
            throw std::bad_alloc();
        }
        XML_SetUserData(parser_, this);
        XML_SetElementHandler(parser_, &XmlParser::onStart, &XmlParser::onEnd);
        XML_SetCharacterDataHandler(parser_, &XmlParser::onText);
        // Workbook parts never declare a document type; refusing one leaves no entity to expand.
        XML_SetStartDoctypeDeclHandler(parser_, &XmlParser::onDoctype);
    }
    ~XmlParser() { XML_ParserFree(parser_); }
    XmlParser(const XmlParser&) = delete;
    XmlParser& operator=(const XmlParser&) = delete;

    bool feed(QByteArrayView piece) {
        return parse(piece.data(), static_cast<int>(piece.size()), XML_FALSE);
    }
    bool finish() { return parse(nullptr, 0, XML_TRUE); }

private:
    bool parse(const char* bytes, int size, XML_Bool last) {
        const bool parsed = XML_Parse(parser_, bytes, size, last) == XML_STATUS_OK;
        if (failure_) {
            std::rethrow_exception(std::exchange(failure_, nullptr));
        }
        return parsed && !stopped_;
    }
    static void stop(void* data) {
        auto* self = static_cast<XmlParser*>(data);
        self->stopped_ = true;
        XML_StopParser(self->parser_, XML_FALSE);
    }
    // An exception must not unwind through the C parser: it is kept, the parser stopped, and
    // the exception thrown again once the parser has returned. Once stopped, the parser may
    // still report what it had in hand (the end of an empty element whose start stopped it):
    // the handler hears nothing more.
    template <typename Call> static void call(void* data, Call&& handle) {
        auto* self = static_cast<XmlParser*>(data);
        if (self->stopped_) {
            return;
        }
        try {
            if (!handle(self->handler_)) {
                stop(data);
            }
        } catch (...) {
            self->failure_ = std::current_exception();
            stop(data);
        }
    }
    static void XMLCALL onStart(void* data, const XML_Char* name, const XML_Char** attributes) {
        call(data, [&](XmlHandler& handler) { return handler.start(splitName(name), attributes); });
    }
    static void XMLCALL onEnd(void* data, const XML_Char* name) {
        call(data, [&](XmlHandler& handler) { return handler.end(splitName(name)); });
    }
    static void XMLCALL onText(void* data, const XML_Char* text, int length) {
        call(data, [&](XmlHandler& handler) {
            handler.text(std::string_view(text, static_cast<std::size_t>(length)));
            return true;
        });
    }
    static void XMLCALL onDoctype(void* data, const XML_Char*, const XML_Char*, const XML_Char*,
                                  int) {
        stop(data);
    }

    XML_Parser parser_;
    XmlHandler& handler_;
    std::exception_ptr failure_;
    bool stopped_ = false;
};

class Package {
public:
    explicit Package(QByteArrayView bytes) : zip_(bytes) {
        if (!zip_.isOpen()) {
            throwCannotRead();
        }
    }

    bool has(const QByteArray& part) const { return zip_.find(part).has_value(); }

    // Reads a part through the handler; a missing part is malformed.
    void parse(const QByteArray& part, XmlHandler& handler) const {
        const std::optional<std::uint64_t> entry = zip_.find(part);
        if (!entry) {
            throwCannotRead();
        }
        const std::optional<std::uint64_t> size = zip_.declaredSize(*entry);
        if (!size) {
            throwCannotRead();
        }
        if (*size > maxPartSize) {
            throw UserError(workbookTooLargeMessage());
        }
        XmlParser parser(handler);
        if (!zip_.read(*entry, [&parser](QByteArrayView piece) { return parser.feed(piece); }) ||
            !parser.finish()) {
            throwCannotRead();
        }
    }

private:
    ZipReader zip_;
};

// --- Relationships ---------------------------------------------------------------------------

struct Relationship {
    std::string id;
    std::string type;
    std::string target;
    bool external = false;
};

class RelationshipsHandler final : public XmlHandler {
public:
    bool start(const Name& name, const char** attributes) override {
        if (name.space == packageRelationshipsNamespace && name.local == "Relationship") {
            Relationship relationship;
            const char* id = plainAttribute(attributes, "Id");
            const char* type = plainAttribute(attributes, "Type");
            const char* target = plainAttribute(attributes, "Target");
            const char* mode = plainAttribute(attributes, "TargetMode");
            if (id == nullptr || type == nullptr || target == nullptr) {
                return false;
            }
            relationship.id = id;
            relationship.type = type;
            relationship.target = target;
            relationship.external = mode != nullptr && std::string_view(mode) == "External";
            relationships.push_back(std::move(relationship));
        }
        return true;
    }
    bool end(const Name&) override { return true; }

    std::vector<Relationship> relationships;
};

bool endsWith(std::string_view text, std::string_view tail) {
    return text.size() >= tail.size() && text.substr(text.size() - tail.size()) == tail;
}

// "xl/workbook.xml" -> "xl/_rels/workbook.xml.rels".
QByteArray relationshipsPart(const QByteArray& part) {
    const qsizetype slash = part.lastIndexOf('/');
    return part.left(slash + 1) + "_rels/" + part.mid(slash + 1) + ".rels";
}

// A relationship's target as a part name: absolute from the package root, or relative to the
// folder of the part that names it.
QByteArray resolveTarget(const QByteArray& sourcePart, const std::string& target) {
    QByteArray path;
    if (!target.empty() && target.front() == '/') {
        path = QByteArray::fromStdString(target.substr(1));
    } else {
        const qsizetype slash = sourcePart.lastIndexOf('/');
        path = sourcePart.left(slash + 1) + QByteArray::fromStdString(target);
    }
    QList<QByteArray> kept;
    for (const QByteArray& segment : path.split('/')) {
        if (segment.isEmpty() || segment == ".") {
            continue;
        }
        if (segment == "..") {
            if (!kept.isEmpty()) {
                kept.removeLast();
            }
            continue;
        }
        kept.append(segment);
    }
    return kept.join('/');
}

std::vector<Relationship> readRelationships(const Package& package, const QByteArray& part) {
    RelationshipsHandler handler;
    const QByteArray rels = relationshipsPart(part);
    if (package.has(rels)) {
        package.parse(rels, handler);
    }
    return std::move(handler.relationships);
}

// --- Workbook part ---------------------------------------------------------------------------

class WorkbookHandler final : public XmlHandler {
public:
    bool start(const Name& name, const char** attributes) override {
        if (isMainElement(name, "sheet")) {
            const char* id = attribute(attributes, relationshipAttributeNamespace, "id");
            if (id == nullptr) {
                id = attribute(attributes, strictRelationshipAttributeNamespace, "id");
            }
            if (id == nullptr || *id == '\0') {
                return false;
            }
            sheetIds.emplace_back(id);
        } else if (isMainElement(name, "workbookPr")) {
            const char* system = plainAttribute(attributes, "date1904");
            date1904 = system != nullptr &&
                       (std::string_view(system) == "1" || std::string_view(system) == "true");
        }
        return true;
    }
    bool end(const Name&) override { return true; }

    // The sheets' relationships in the order of their tabs.
    std::vector<std::string> sheetIds;
    bool date1904 = false;
};

// --- Styles ----------------------------------------------------------------------------------

// How each cell format (the "s" of a cell, an index into cellXfs) shows numbers.
struct CellStyle {
    NumberFormatKind kind = NumberFormatKind::Number;
    std::string elapsedCode;
};

class StylesHandler final : public XmlHandler {
public:
    bool start(const Name& name, const char** attributes) override {
        if (!isMain(name.space)) {
            return true;
        }
        if (name.local == "numFmt") {
            const char* id = plainAttribute(attributes, "numFmtId");
            const char* code = plainAttribute(attributes, "formatCode");
            if (id != nullptr && code != nullptr) {
                customFormats_.emplace_back(std::atoi(id), code);
            }
        } else if (name.local == "cellXfs") {
            inCellFormats_ = true;
        } else if (inCellFormats_ && name.local == "xf") {
            const char* id = plainAttribute(attributes, "numFmtId");
            const int format = id != nullptr ? std::atoi(id) : 0;
            const auto custom =
                std::find_if(customFormats_.begin(), customFormats_.end(),
                             [format](const auto& entry) { return entry.first == format; });
            CellStyle style;
            const std::string code = custom != customFormats_.end()
                                         ? custom->second
                                         : std::string(builtInFormatCode(format));
            style.kind =
                custom != customFormats_.end() ? formatCodeKind(code) : builtInFormatKind(format);
            if (style.kind == NumberFormatKind::ElapsedTime) {
                style.elapsedCode = code;
            }
            styles.push_back(std::move(style));
        }
        return true;
    }
    bool end(const Name& name) override {
        if (isMainElement(name, "cellXfs")) {
            inCellFormats_ = false;
        }
        return true;
    }

    std::vector<CellStyle> styles;

private:
    std::vector<std::pair<int, std::string>> customFormats_;
    bool inCellFormats_ = false;
};

// --- Texts -----------------------------------------------------------------------------------

int hexDigit(char16_t unit) {
    if (unit >= u'0' && unit <= u'9') {
        return unit - u'0';
    }
    if (unit >= u'A' && unit <= u'F') {
        return unit - u'A' + 10;
    }
    if (unit >= u'a' && unit <= u'f') {
        return unit - u'a' + 10;
    }
    return -1;
}

// A workbook writes characters that XML cannot hold as "_xHHHH_".
QString decodeEscapes(const QString& text) {
    if (!text.contains(u"_x"_s)) {
        return text;
    }
    QString decoded;
    decoded.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'_' && i + 6 < text.size() && text[i + 1] == u'x' && text[i + 6] == u'_') {
            int code = 0;
            bool hex = true;
            for (qsizetype k = i + 2; k < i + 6; ++k) {
                const int digit = hexDigit(text[k].unicode());
                hex = hex && digit >= 0;
                code = code * 16 + std::max(digit, 0);
            }
            if (hex) {
                decoded += QChar(static_cast<char16_t>(code));
                i += 6;
                continue;
            }
        }
        decoded += text[i];
    }
    return decoded;
}

QString textOf(const std::string& utf8) {
    return decodeEscapes(QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())));
}

std::string_view trimmed(std::string_view text) {
    const auto space = [](char ch) { return ch == ' ' || ch == '\t' || ch == '\r' || ch == '\n'; };
    while (!text.empty() && space(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && space(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

// The serial (1900 date system) of an ISO 8601 date, date and time, or time ("2023-12-31",
// "2023-12-31T23:05:09.5Z", "23:05:09"); nothing for another text.
std::optional<double> isoDateSerial(std::string_view text) {
    const QString iso = QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
    QDate date;
    QTime time(0, 0);
    if (const QTime alone = QTime::fromString(iso, Qt::ISODateWithMs); alone.isValid()) {
        time = alone;
    } else if (const QDateTime moment = QDateTime::fromString(iso, Qt::ISODateWithMs);
               moment.isValid()) {
        date = moment.date();
        time = moment.time();
    } else {
        return std::nullopt;
    }
    double days = 0;
    if (date.isValid()) {
        // A spreadsheet counts a 29 February 1900: dates before March 1900 are one day less.
        const qint64 sinceBase = QDate(1899, 12, 30).daysTo(date);
        if (sinceBase < 0) {
            return std::nullopt; // before any serial
        }
        days = static_cast<double>(sinceBase < 61 ? std::max<qint64>(sinceBase - 1, 0) : sinceBase);
    }
    return days + time.msecsSinceStartOfDay() / 86'400'000.0;
}

// Where the text of a rich string lies (an <si> of the shared strings, the <is> of an inline
// cell): its <t> elements, alone or in runs (<r>), but not those of the phonetic runs (<rPh>).
// Hears the main namespace's elements inside the string.
class RichText {
public:
    void start(std::string_view local) {
        if (local == "rPh") {
            ++phoneticDepth_;
        } else if (local == "t" && phoneticDepth_ == 0) {
            inText_ = true;
        }
    }
    void end(std::string_view local) {
        if (local == "rPh") {
            --phoneticDepth_;
        } else if (local == "t") {
            inText_ = false;
        }
    }
    bool inText() const { return inText_; }

private:
    int phoneticDepth_ = 0;
    bool inText_ = false;
};

// --- Shared strings --------------------------------------------------------------------------

// Keeps the strings at the wanted indexes only (those of kept cells), sorted ascending.
class SharedStringsHandler final : public XmlHandler {
public:
    explicit SharedStringsHandler(const std::vector<std::uint32_t>& wanted) : wanted_(wanted) {
        found.resize(wanted.size());
    }

    bool start(const Name& name, const char**) override {
        if (!isMain(name.space)) {
            ++foreignDepth_;
            return true;
        }
        if (name.local == "si") {
            item_ = RichText();
            buffer_.clear();
        } else if (item_) {
            item_->start(name.local);
        }
        return true;
    }

    bool end(const Name& name) override {
        if (!isMain(name.space)) {
            --foreignDepth_;
            return true;
        }
        if (name.local == "si") {
            while (next_ < wanted_.size() && wanted_[next_] == index_) {
                found[next_] = textOf(buffer_);
                ++next_;
            }
            ++index_;
            item_.reset();
        } else if (item_) {
            item_->end(name.local);
        }
        return true;
    }

    void text(std::string_view piece) override {
        if (item_ && item_->inText() && foreignDepth_ == 0 && next_ < wanted_.size() &&
            wanted_[next_] == index_) {
            buffer_.append(piece);
        }
    }

    // True when every wanted string was there.
    bool complete() const { return next_ == wanted_.size(); }

    std::vector<QString> found;

private:
    const std::vector<std::uint32_t>& wanted_;
    std::size_t next_ = 0;
    std::uint32_t index_ = 0;
    std::optional<RichText> item_;
    int foreignDepth_ = 0;
    std::string buffer_;
};

// --- Worksheet part --------------------------------------------------------------------------

struct SharedCell {
    int row;
    int column;
    std::uint32_t index;
};

// "B25" -> row 25, column 2; nothing for text that names no cell of a worksheet.
std::optional<CellPosition> cellReference(std::string_view reference) {
    std::size_t i = 0;
    long long column = 0;
    while (i < reference.size() && i < 4 &&
           ((reference[i] >= 'A' && reference[i] <= 'Z') ||
            (reference[i] >= 'a' && reference[i] <= 'z'))) {
        column = column * 26 + ((reference[i] & ~0x20) - 'A' + 1);
        ++i;
    }
    if (i == 0 || column > Worksheet::maxColumns) {
        return std::nullopt;
    }
    long long row = 0;
    const std::size_t digits = i;
    while (i < reference.size() && i - digits < 8 && reference[i] >= '0' && reference[i] <= '9') {
        row = row * 10 + (reference[i] - '0');
        ++i;
    }
    if (i == digits || i != reference.size() || row < 1 || row > Worksheet::maxRows) {
        return std::nullopt;
    }
    return CellPosition{static_cast<int>(row), static_cast<int>(column)};
}

class SheetHandler final : public XmlHandler {
public:
    SheetHandler(Worksheet& sheet, const std::vector<CellStyle>& styles, bool date1904)
        : sheet_(sheet), styles_(styles), date1904_(date1904) {}

    bool start(const Name& name, const char** attributes) override {
        if (!isMain(name.space)) {
            ++foreignDepth_;
            return true;
        }
        if (foreignDepth_ > 0) {
            return true;
        }
        if (name.local == "sheetData") {
            inData_ = true;
        } else if (!inData_) {
            return true;
        } else if (name.local == "row") {
            return startRow(attributes);
        } else if (name.local == "c") {
            return startCell(attributes);
        } else if (inline_) {
            inline_->start(name.local);
        } else if (inCell_ && name.local == "v") {
            inValue_ = true;
            hasValue_ = true;
        } else if (inCell_ && name.local == "is") {
            inline_ = RichText();
            hasValue_ = true;
        }
        return true;
    }

    bool end(const Name& name) override {
        if (!isMain(name.space)) {
            --foreignDepth_;
            return true;
        }
        if (foreignDepth_ > 0 || !inData_) {
            return true;
        }
        if (name.local == "sheetData") {
            inData_ = false;
        } else if (name.local == "c") {
            inCell_ = false;
            inline_.reset();
            return endCell();
        } else if (name.local == "is") {
            inline_.reset();
        } else if (inline_) {
            inline_->end(name.local);
        } else if (name.local == "v") {
            inValue_ = false;
        }
        return true;
    }

    void text(std::string_view piece) override {
        if ((inValue_ || (inline_ && inline_->inText())) && foreignDepth_ == 0) {
            value_.append(piece);
        }
    }

    std::vector<SharedCell> sharedCells;

private:
    bool startRow(const char** attributes) {
        // A row inside a cell would leave the cell without its column.
        if (inCell_) {
            return false;
        }
        if (const char* r = plainAttribute(attributes, "r")) {
            int row = 0;
            const std::string_view text(r);
            const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), row);
            if (error != std::errc() || end != text.data() + text.size() || row < 1 ||
                row > Worksheet::maxRows) {
                return false;
            }
            row_ = row;
        } else {
            ++row_;
            if (row_ > Worksheet::maxRows) {
                return false;
            }
        }
        column_ = 0;
        return true;
    }

    bool startCell(const char** attributes) {
        if (inCell_) {
            return false;
        }
        if (const char* r = plainAttribute(attributes, "r")) {
            const std::optional<CellPosition> position = cellReference(r);
            if (!position) {
                return false;
            }
            row_ = position->row;
            column_ = position->column;
        } else {
            ++column_;
            if (column_ > Worksheet::maxColumns || row_ < 1) {
                return false;
            }
        }
        const char* type = plainAttribute(attributes, "t");
        type_ = type != nullptr ? type : "n";
        const char* style = plainAttribute(attributes, "s");
        const int styleIndex = style != nullptr ? std::atoi(style) : 0;
        style_ = styleIndex >= 0 && static_cast<std::size_t>(styleIndex) < styles_.size()
                     ? &styles_[static_cast<std::size_t>(styleIndex)]
                     : nullptr;
        inCell_ = true;
        hasValue_ = false;
        value_.clear();
        return true;
    }

    bool endCell() {
        if (!hasValue_) {
            return true;
        }
        const bool kept = row_ <= keptRows && column_ <= keptColumns;
        if (type_ == "s") {
            std::uint32_t index = 0;
            const std::string_view text = trimmed(value_);
            const auto [end, error] =
                std::from_chars(text.data(), text.data() + text.size(), index);
            if (error != std::errc() || end != text.data() + text.size() || text.empty()) {
                return false;
            }
            if (kept) {
                sharedCells.push_back({row_, column_, index});
            }
        } else if (type_ == "d") {
            if (kept) {
                const std::optional<double> serial = isoDateSerial(trimmed(value_));
                sheet_.setValue(row_, column_,
                                serial ? shownNumber(*serial, true)
                                       : CellValue::ofText(textOf(value_)));
            }
        } else if (type_ == "str" || type_ == "inlineStr") {
            if (kept) {
                sheet_.setValue(row_, column_, CellValue::ofText(textOf(value_)));
            }
        } else if (type_ == "e") {
            if (kept) {
                sheet_.setValue(row_, column_, CellValue::ofError(textOf(value_)));
            }
        } else if (type_ == "b") {
            const std::string_view text = trimmed(value_);
            bool truth = false;
            if (text == "1" || text == "true") {
                truth = true;
            } else if (text != "0" && text != "false") {
                return false;
            }
            if (kept) {
                sheet_.setValue(row_, column_, CellValue::ofBoolean(truth));
            }
        } else if (type_ == "n") {
            const std::string_view text = trimmed(value_);
            double number = 0;
            const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(),
                                                      number, std::chars_format::general);
            if (text.empty() || error != std::errc() || end != text.data() + text.size() ||
                !std::isfinite(number)) {
                return false;
            }
            if (kept) {
                sheet_.setValue(row_, column_, shownNumber(number, false));
            }
        } else {
            return false;
        }
        sheet_.noteUsedCell(row_, column_);
        return true;
    }

    // A number as the cell's format shows it. An ISO date is one in any format, its serial
    // already of the 1900 date system.
    CellValue shownNumber(double number, bool isoDate) const {
        switch (style_ != nullptr ? style_->kind : NumberFormatKind::Number) {
        case NumberFormatKind::Number:
            return isoDate ? CellValue::ofDate(number) : CellValue::ofNumber(number);
        case NumberFormatKind::Date:
            return CellValue::ofDate(date1904_ && !isoDate ? number + dateSystem1904Offset
                                                           : number);
        case NumberFormatKind::TimeOfDay:
            return CellValue::ofDate(timeOfDaySerial(number));
        case NumberFormatKind::ElapsedTime:
            return CellValue::ofText(
                QString::fromStdString(elapsedTimeText(number, style_->elapsedCode)));
        }
        return CellValue::ofNumber(number);
    }

    Worksheet& sheet_;
    const std::vector<CellStyle>& styles_;
    bool date1904_ = false;
    const CellStyle* style_ = nullptr;
    int row_ = 0;
    int column_ = 0;
    int foreignDepth_ = 0;
    bool inData_ = false;
    bool inCell_ = false;
    std::optional<RichText> inline_;
    bool inValue_ = false;
    bool hasValue_ = false;
    std::string type_;
    std::string value_;
};

const Relationship* findRelationship(const std::vector<Relationship>& relationships,
                                     std::string_view typeTail) {
    for (const Relationship& relationship : relationships) {
        if (!relationship.external && endsWith(relationship.type, typeTail)) {
            return &relationship;
        }
    }
    return nullptr;
}

} // namespace

std::unique_ptr<Worksheet> readXlsxFirstWorksheet(QByteArrayView bytes) {
    const Package package(bytes);

    QByteArray workbookPart = "xl/workbook.xml";
    const std::vector<Relationship> packageRelationships = readRelationships(package, QByteArray());
    if (const Relationship* office = findRelationship(packageRelationships, "/officeDocument")) {
        workbookPart = resolveTarget(QByteArray(), office->target);
    }
    WorkbookHandler workbook;
    package.parse(workbookPart, workbook);
    // The first worksheet: chart sheets (and dialog or macro sheets) before it are passed.
    const std::vector<Relationship> relationships = readRelationships(package, workbookPart);
    const Relationship* sheetRelationship = nullptr;
    for (const std::string& id : workbook.sheetIds) {
        const auto found =
            std::find_if(relationships.begin(), relationships.end(),
                         [&](const Relationship& r) { return r.id == id && !r.external; });
        if (found == relationships.end()) {
            throwCannotRead();
        }
        if (endsWith(found->type, "/worksheet")) {
            sheetRelationship = &*found;
            break;
        }
    }
    if (sheetRelationship == nullptr) {
        throwCannotRead();
    }

    StylesHandler styles;
    // Without its styles a workbook still reads, its dates as numbers.
    if (const Relationship* stylesPart = findRelationship(relationships, "/styles")) {
        const QByteArray part = resolveTarget(workbookPart, stylesPart->target);
        if (package.has(part)) {
            package.parse(part, styles);
        }
    }
    auto sheet = std::make_unique<Worksheet>(QString());
    SheetHandler cells(*sheet, styles.styles, workbook.date1904);
    package.parse(resolveTarget(workbookPart, sheetRelationship->target), cells);

    if (!cells.sharedCells.empty()) {
        std::vector<std::uint32_t> wanted;
        wanted.reserve(cells.sharedCells.size());
        for (const SharedCell& cell : cells.sharedCells) {
            wanted.push_back(cell.index);
        }
        std::sort(wanted.begin(), wanted.end());
        wanted.erase(std::unique(wanted.begin(), wanted.end()), wanted.end());
        const Relationship* strings = findRelationship(relationships, "/sharedStrings");
        if (strings == nullptr) {
            throwCannotRead();
        }
        SharedStringsHandler table(wanted);
        package.parse(resolveTarget(workbookPart, strings->target), table);
        if (!table.complete()) {
            throwCannotRead();
        }
        for (const SharedCell& cell : cells.sharedCells) {
            const auto at = std::lower_bound(wanted.begin(), wanted.end(), cell.index);
            sheet->setValue(
                cell.row, cell.column,
                CellValue::ofText(table.found[static_cast<std::size_t>(at - wanted.begin())]));
        }
    }
    return sheet;
}

} // namespace corvanteller
