// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/rtf_reader.h"

#include "common/cp1251.h"

#include <QHash>
#include <QStringDecoder>

#include <algorithm>
#include <cstdint>
#include <limits>
#include <map>
#include <memory>
#include <string_view>
#include <unordered_map>

namespace corvanteller {

namespace {

constexpr std::size_t maxKeptGroups = 1024;
constexpr int maxHalfPoints = 3276; // 1,638 points, the largest size Word offers
constexpr int defaultHalfPoints = 24;
constexpr int noCodePage = 0;

// The Windows code page of an RTF character set; none for the default and symbol sets.
int codePageOfCharset(int charset) {
    switch (charset) {
    case 0:
        return 1252;
    case 77:
        return 10000;
    case 128:
        return 932;
    case 129:
        return 949;
    case 130:
        return 1361;
    case 134:
        return 936;
    case 136:
        return 950;
    case 161:
        return 1253;
    case 162:
        return 1254;
    case 163:
        return 1258;
    case 177:
        return 1255;
    case 178:
        return 1256;
    case 186:
        return 1257;
    case 204:
        return 1251;
    case 222:
        return 874;
    case 238:
        return 1250;
    case 255:
        return 437;
    default:
        return noCodePage;
    }
}

// Decodes the bytes of one code page: the program's own cp1251, ICU's decoders where Qt has
// one for the page, Latin-1 otherwise.
class CodePageDecoders {
public:
    QString decode(QByteArrayView bytes, int codePage) {
        if (codePage == 1251) {
            return decodeCp1251(bytes);
        }
        QStringDecoder* decoder = decoderFor(codePage);
        if (decoder == nullptr) {
            return QString::fromLatin1(bytes);
        }
        QString text = decoder->decode(bytes);
        decoder->resetState();
        return text;
    }

private:
    QStringDecoder* decoderFor(int codePage) {
        auto found = decoders_.find(codePage);
        if (found == decoders_.end()) {
            found = decoders_.emplace(codePage, makeDecoder(codePage)).first;
        }
        return found->second.get();
    }

    static std::unique_ptr<QStringDecoder> makeDecoder(int codePage) {
        const QByteArray number = QByteArray::number(codePage);
        QList<QByteArray> names;
        switch (codePage) {
        case 932:
            names = {"Shift_JIS"};
            break;
        case 936:
            names = {"GBK"};
            break;
        case 950:
            names = {"Big5"};
            break;
        case 10000:
            names = {"macintosh"};
            break;
        default:
            names = {"windows-" + number, "cp" + number, "IBM" + number};
            break;
        }
        for (const QByteArray& name : names) {
            auto decoder = std::make_unique<QStringDecoder>(name.constData(),
                                                            QStringConverter::Flag::Stateless);
            if (decoder->isValid()) {
                return decoder;
            }
        }
        return nullptr;
    }

    std::unordered_map<int, std::unique_ptr<QStringDecoder>> decoders_;
};

enum class Destination {
    Text,        // the document's text
    FieldCode,   // a field outside its result: text is dropped, \fldrslt brings it back
    Skipped,     // nothing inside counts
    FontTable,   // font entries
    ColourTable, // colour entries
};

struct CharacterState {
    int font = -1; // -1: the default font (\deff)
    int halfPoints = defaultHalfPoints;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    int colour = 0;
};

struct ParagraphState {
    int firstLineIndent = 0;
    int leftIndent = 0;
    int rightIndent = 0;
    ParagraphAlignment alignment = ParagraphAlignment::Left;
};

struct GroupState {
    Destination destination = Destination::Text;
    CharacterState characters;
    ParagraphState paragraph;
    int unicodeSkip = 1; // \ucN: fallback characters after \uN
};

struct FontEntry {
    QString name;
    int codePage = noCodePage;
};

struct ControlWord {
    std::string_view name;
    bool hasParameter = false;
    int parameter = 0;
};

bool isLetter(char ch) {
    return (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z');
}

bool isDigit(char ch) {
    return ch >= '0' && ch <= '9';
}

int hexValue(char ch) {
    if (ch >= '0' && ch <= '9') {
        return ch - '0';
    }
    if (ch >= 'a' && ch <= 'f') {
        return ch - 'a' + 10;
    }
    if (ch >= 'A' && ch <= 'F') {
        return ch - 'A' + 10;
    }
    return -1;
}

// Destinations whose content is never shown.
bool isSkippedDestination(std::string_view word) {
    static constexpr std::string_view skipped[] = {
        "stylesheet",        "info",    "pict",      "object",       "footnote",  "listtable",
        "listoverridetable", "rsidtbl", "themedata", "latentstyles", "datastore", "pgdsctbl",
        "fldinst",           "falt"};
    if (word.starts_with("header") || word.starts_with("footer")) {
        return true;
    }
    return std::find(std::begin(skipped), std::end(skipped), word) != std::end(skipped);
}

// Control words that stand for one character.
char16_t specialCharacter(std::string_view word) {
    static const std::map<std::string_view, char16_t> characters = {
        {"tab", u'\t'},          {"cell", u'\t'},       {"line", QChar::LineSeparator},
        {"emdash", u'\u2014'},   {"endash", u'\u2013'}, {"bullet", u'\u2022'},
        {"lquote", u'\u2018'},   {"rquote", u'\u2019'}, {"ldblquote", u'\u201C'},
        {"rdblquote", u'\u201D'}};
    const auto found = characters.find(word);
    return found == characters.end() ? 0 : found->second;
}

class RtfReader {
public:
    explicit RtfReader(QByteArrayView bytes) : in_(bytes) {}

    RichText read();

private:
    void openGroup();
    // False when the document's outermost group has closed.
    bool closeGroup();
    ControlWord readControlWord();
    void controlSymbol(char symbol);
    void controlWordAction(const ControlWord& word);
    bool characterProperty(const ControlWord& word);
    bool paragraphProperty(const ControlWord& word);
    // escaped: written as \'xx, so never a table's separator.
    void textByte(char byte, bool escaped = false);
    void hexByte();
    void unicodeCharacter(int parameter);
    void skipBinary(int length);

    void addCharacter(char16_t unit);
    void addText(QStringView text);
    void flushBytes();
    void endParagraph();
    void takeParagraphFormat();
    void finishFontEntry();
    void finishColourEntry();
    void formatChanged() { formatKnown_ = false; }
    void resolveFormat();
    int currentCodePage();

    QByteArrayView in_;
    qsizetype pos_ = 0;
    RichText text_{std::vector<RichParagraph>{}};
    RichParagraph paragraph_;

    GroupState state_;
    std::vector<GroupState> stack_;
    std::size_t sharedLevels_ = 0; // levels beyond maxKeptGroups, sharing state_
    std::size_t depth_ = 0;
    int fallbackToSkip_ = 0;

    int ansiCodePage_ = 1252;
    int defaultFont_ = 0;
    QHash<int, FontEntry> fonts_;
    int fontEntry_ = 0;
    QString fontName_;
    std::vector<std::optional<TextColour>> colours_;
    TextColour colour_;
    bool colourGiven_ = false;

    QByteArray pendingBytes_;
    int pendingCodePage_ = noCodePage;
    CodePageDecoders decoders_;

    bool formatKnown_ = false;
    RichRun format_;
    int codePage_ = 1252;
};

RichText RtfReader::read() {
    while (pos_ < in_.size()) {
        const char ch = in_[pos_++];
        switch (ch) {
        case '{':
            openGroup();
            break;
        case '}':
            if (!closeGroup()) {
                pos_ = in_.size();
            }
            break;
        case '\\': {
            if (pos_ >= in_.size()) {
                break;
            }
            if (!isLetter(in_[pos_])) {
                controlSymbol(in_[pos_++]);
                break;
            }
            const ControlWord word = readControlWord();
            if (word.name == "bin") {
                // The bytes are skipped wherever they stand, also as a fallback character.
                skipBinary(word.hasParameter ? word.parameter : 0);
            }
            if (fallbackToSkip_ > 0) {
                --fallbackToSkip_;
                break;
            }
            controlWordAction(word);
            break;
        }
        case '\r':
        case '\n':
            break;
        default:
            if (fallbackToSkip_ > 0) {
                --fallbackToSkip_;
                break;
            }
            textByte(ch);
            break;
        }
    }
    flushBytes();
    finishFontEntry();
    // The last paragraph has no \par: it takes the properties in force where the text ends.
    takeParagraphFormat();
    text_.paragraphs.push_back(std::move(paragraph_));
    return std::move(text_);
}

void RtfReader::openGroup() {
    flushBytes();
    fallbackToSkip_ = 0;
    ++depth_;
    if (stack_.size() < maxKeptGroups) {
        stack_.push_back(state_);
    } else {
        ++sharedLevels_;
    }
}

bool RtfReader::closeGroup() {
    flushBytes();
    fallbackToSkip_ = 0;
    if (depth_ == 0) {
        return true; // a stray closing brace
    }
    if (state_.destination == Destination::FontTable) {
        finishFontEntry();
    }
    --depth_;
    if (depth_ == 0) {
        return false; // the document ends here, in the state of its last text
    }
    if (sharedLevels_ > 0) {
        --sharedLevels_;
    } else {
        state_ = stack_.back();
        stack_.pop_back();
    }
    formatChanged();
    return true;
}

ControlWord RtfReader::readControlWord() {
    const qsizetype start = pos_;
    while (pos_ < in_.size() && isLetter(in_[pos_])) {
        ++pos_;
    }
    ControlWord word;
    word.name = std::string_view(in_.data() + start, static_cast<std::size_t>(pos_ - start));
    const bool negative = pos_ + 1 < in_.size() && in_[pos_] == '-' && isDigit(in_[pos_ + 1]);
    if (negative) {
        ++pos_;
    }
    if (pos_ < in_.size() && isDigit(in_[pos_])) {
        word.hasParameter = true;
        long long value = 0;
        while (pos_ < in_.size() && isDigit(in_[pos_])) {
            value = std::min<long long>(value * 10 + (in_[pos_] - '0'),
                                        std::numeric_limits<int>::max() + 1LL);
            ++pos_;
        }
        value = negative ? -value : value;
        word.parameter = static_cast<int>(std::clamp<long long>(
            value, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
    }
    if (pos_ < in_.size() && in_[pos_] == ' ') {
        ++pos_;
    }
    return word;
}

void RtfReader::controlSymbol(char symbol) {
    if (symbol == '\'') {
        hexByte();
        return;
    }
    if (fallbackToSkip_ > 0) {
        --fallbackToSkip_;
        return;
    }
    switch (symbol) {
    case '\\':
    case '{':
    case '}':
        textByte(symbol);
        break;
    case '~':
        addCharacter(u'\u00A0');
        break;
    case '_':
        addCharacter(u'\u2011');
        break;
    case '*':
        flushBytes();
        state_.destination = Destination::Skipped;
        break;
    case '\r':
    case '\n':
        flushBytes();
        endParagraph();
        break;
    default:
        break;
    }
}

void RtfReader::hexByte() {
    int value = 0;
    int digits = 0;
    while (digits < 2 && pos_ < in_.size()) {
        const int digit = hexValue(in_[pos_]);
        if (digit < 0) {
            break;
        }
        value = value * 16 + digit;
        ++digits;
        ++pos_;
    }
    if (fallbackToSkip_ > 0) {
        --fallbackToSkip_;
        return;
    }
    if (digits > 0) {
        textByte(static_cast<char>(value), true);
    }
}

void RtfReader::controlWordAction(const ControlWord& word) {
    flushBytes();
    const Destination destination = state_.destination;
    if (destination == Destination::Skipped) {
        return;
    }
    const std::string_view name = word.name;
    const int parameter = word.parameter;
    if (name == "fonttbl") {
        state_.destination = Destination::FontTable;
        fontName_.clear();
        return;
    }
    if (name == "colortbl") {
        state_.destination = Destination::ColourTable;
        colourGiven_ = false;
        return;
    }
    if (isSkippedDestination(name)) {
        state_.destination = Destination::Skipped;
        return;
    }
    if (name == "uc") {
        state_.unicodeSkip = std::max(0, parameter);
        return;
    }
    if (name == "u") {
        unicodeCharacter(parameter);
        return;
    }
    switch (destination) {
    case Destination::FontTable:
        if (name == "f") {
            finishFontEntry();
            fontEntry_ = parameter;
            fonts_.insert(fontEntry_, FontEntry{});
        } else if (name == "fcharset") {
            fonts_[fontEntry_].codePage = codePageOfCharset(parameter);
        }
        return;
    case Destination::ColourTable:
        if (name == "red" || name == "green" || name == "blue") {
            const int value = std::clamp(parameter, 0, 255);
            (name == "red" ? colour_.red : name == "green" ? colour_.green : colour_.blue) = value;
            colourGiven_ = true;
        }
        return;
    case Destination::Text:
    case Destination::FieldCode:
        break;
    case Destination::Skipped:
        return;
    }
    if (name == "field") {
        state_.destination = Destination::FieldCode;
    } else if (name == "fldrslt") {
        state_.destination = Destination::Text;
    } else if (name == "ansicpg") {
        ansiCodePage_ = parameter;
        formatChanged();
    } else if (name == "deff") {
        defaultFont_ = parameter;
        formatChanged();
    } else if (name == "par" || name == "row") {
        endParagraph();
    } else if (const char16_t character = specialCharacter(name)) {
        addCharacter(character);
    } else if (!characterProperty(word)) {
        paragraphProperty(word);
    }
}

bool RtfReader::characterProperty(const ControlWord& word) {
    const std::string_view name = word.name;
    const bool on = !word.hasParameter || word.parameter != 0;
    CharacterState& characters = state_.characters;
    if (name == "plain") {
        characters = CharacterState{};
    } else if (name == "b") {
        characters.bold = on;
    } else if (name == "i") {
        characters.italic = on;
    } else if (name == "ul") {
        characters.underline = on;
    } else if (name == "ulnone") {
        characters.underline = false;
    } else if (name == "strike") {
        characters.strikeOut = on;
    } else if (name == "fs") {
        characters.halfPoints =
            word.hasParameter ? std::clamp(word.parameter, 1, maxHalfPoints) : defaultHalfPoints;
    } else if (name == "f") {
        characters.font = word.parameter;
    } else if (name == "cf") {
        characters.colour = word.parameter;
    } else {
        return false;
    }
    formatChanged();
    return true;
}

bool RtfReader::paragraphProperty(const ControlWord& word) {
    const std::string_view name = word.name;
    ParagraphState& paragraph = state_.paragraph;
    if (name == "pard") {
        paragraph = ParagraphState{};
    } else if (name == "fi") {
        paragraph.firstLineIndent = word.parameter;
    } else if (name == "li") {
        paragraph.leftIndent = word.parameter;
    } else if (name == "ri") {
        paragraph.rightIndent = word.parameter;
    } else if (name == "ql") {
        paragraph.alignment = ParagraphAlignment::Left;
    } else if (name == "qc") {
        paragraph.alignment = ParagraphAlignment::Centre;
    } else if (name == "qr") {
        paragraph.alignment = ParagraphAlignment::Right;
    } else if (name == "qj") {
        paragraph.alignment = ParagraphAlignment::Justify;
    } else {
        return false;
    }
    return true;
}

void RtfReader::unicodeCharacter(int parameter) {
    // Signed 16-bit, as writers give it: \u-3913 is U+F0B7.
    addCharacter(static_cast<char16_t>(static_cast<std::uint16_t>(parameter)));
    fallbackToSkip_ = state_.unicodeSkip;
}

void RtfReader::skipBinary(int length) {
    pos_ += std::min<qsizetype>(std::max(length, 0), in_.size() - pos_);
}

void RtfReader::textByte(char byte, bool escaped) {
    const Destination destination = state_.destination;
    if (destination == Destination::Skipped || destination == Destination::FieldCode) {
        return;
    }
    if (destination == Destination::ColourTable) {
        if (byte == ';' && !escaped) {
            finishColourEntry();
        }
        return;
    }
    if (destination == Destination::FontTable && byte == ';' && !escaped) {
        flushBytes();
        finishFontEntry();
        return;
    }
    // Raw control bytes are layout, not text; written as \'xx they are characters.
    if (!escaped && static_cast<unsigned char>(byte) < 0x20) {
        if (byte == '\t') {
            addCharacter(u'\t');
        }
        return;
    }
    const int codePage = currentCodePage();
    if (!pendingBytes_.isEmpty() && codePage != pendingCodePage_) {
        flushBytes();
    }
    pendingCodePage_ = codePage;
    pendingBytes_.append(byte);
}

int RtfReader::currentCodePage() {
    if (state_.destination == Destination::FontTable) {
        const int own = fonts_.value(fontEntry_).codePage;
        return own != noCodePage ? own : ansiCodePage_;
    }
    resolveFormat();
    return codePage_;
}

void RtfReader::flushBytes() {
    if (pendingBytes_.isEmpty()) {
        return;
    }
    const QString decoded = decoders_.decode(pendingBytes_, pendingCodePage_);
    pendingBytes_.clear();
    addText(decoded);
}

void RtfReader::addCharacter(char16_t unit) {
    flushBytes();
    const QChar ch(unit);
    addText(QStringView(&ch, 1));
}

void RtfReader::addText(QStringView text) {
    switch (state_.destination) {
    case Destination::Text:
        break;
    case Destination::FontTable:
        fontName_ += text;
        return;
    case Destination::FieldCode:
    case Destination::Skipped:
    case Destination::ColourTable:
        return;
    }
    if (text.isEmpty()) {
        return;
    }
    resolveFormat();
    std::vector<RichRun>& runs = paragraph_.runs;
    if (!runs.empty() && runs.back().sameFormat(format_)) {
        runs.back().text += text;
        return;
    }
    runs.push_back(format_);
    runs.back().text = text.toString();
}

void RtfReader::resolveFormat() {
    if (formatKnown_) {
        return;
    }
    const CharacterState& characters = state_.characters;
    const int fontIndex = characters.font >= 0 ? characters.font : defaultFont_;
    const auto font = fonts_.constFind(fontIndex);
    format_.fontFamily = font != fonts_.cend() ? font->name : QString();
    codePage_ =
        font != fonts_.cend() && font->codePage != noCodePage ? font->codePage : ansiCodePage_;
    format_.halfPoints = characters.halfPoints;
    format_.bold = characters.bold;
    format_.italic = characters.italic;
    format_.underline = characters.underline;
    format_.strikeOut = characters.strikeOut;
    const auto colour = static_cast<std::size_t>(characters.colour);
    format_.colour =
        characters.colour >= 0 && colour < colours_.size() ? colours_[colour] : std::nullopt;
    formatKnown_ = true;
}

void RtfReader::endParagraph() {
    if (state_.destination != Destination::Text) {
        return;
    }
    takeParagraphFormat();
    text_.paragraphs.push_back(std::move(paragraph_));
    paragraph_ = RichParagraph{};
}

void RtfReader::takeParagraphFormat() {
    const ParagraphState& format = state_.paragraph;
    paragraph_.firstLineIndent = format.firstLineIndent;
    paragraph_.leftIndent = format.leftIndent;
    paragraph_.rightIndent = format.rightIndent;
    paragraph_.alignment = format.alignment;
}

void RtfReader::finishFontEntry() {
    if (!fontName_.isEmpty()) {
        fonts_[fontEntry_].name = fontName_;
        fontName_.clear();
    }
    formatChanged();
}

void RtfReader::finishColourEntry() {
    colours_.push_back(colourGiven_ ? std::optional<TextColour>(colour_) : std::nullopt);
    colour_ = TextColour{};
    colourGiven_ = false;
    formatChanged();
}

} // namespace

RichText readRtf(QByteArrayView bytes) {
    return RtfReader(bytes).read();
}

bool looksLikeRtf(QByteArrayView bytes) {
    if (bytes.startsWith("\xEF\xBB\xBF")) {
        bytes = bytes.sliced(3);
    }
    return bytes.startsWith("{\\rtf");
}

} // namespace corvanteller
