// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/find_pattern.h"

#include "common/common_texts.h"

#include <QChar>

#include <algorithm>
#include <array>

namespace corvanteller {

using namespace Qt::StringLiterals;

namespace {

using FoldTable = std::array<char16_t, 0x10000>;

// Every UTF-16 unit to the one it matches as: its simple case folding, with "ё" as "е". One
// table, so a step through a full table stays a lookup per character.
const FoldTable& foldTable() {
    static const FoldTable table = [] {
        FoldTable folds{};
        for (char32_t unit = 0; unit < 0x10000; ++unit) {
            const char32_t folded = QChar::toCaseFolded(unit);
            folds[unit] =
                folded < 0x10000 ? static_cast<char16_t>(folded) : static_cast<char16_t>(unit);
        }
        folds[u'ё'] = u'е';
        folds[u'Ё'] = u'е';
        return folds;
    }();
    return table;
}

} // namespace

QString findMessage(FindOutcome outcome, FindStep step) {
    if (!outcome.found) {
        return commonTexts::notFound();
    }
    if (!outcome.wrapped) {
        return {};
    }
    return step == FindStep::Previous ? commonTexts::continuedFromBottom()
                                      : commonTexts::continuedFromTop();
}

FindPattern::FindPattern(const QString& typed) : folded_(foldedForMatching(typed.trimmed())) {}

QString foldedForMatching(QString text) {
    const FoldTable& folds = foldTable();
    for (QChar& character : text) {
        character = QChar(folds[character.unicode()]);
    }
    return text;
}

bool FindPattern::matchesAt(QStringView text, qsizetype at) const {
    const FoldTable& folds = foldTable();
    const char16_t* haystack = text.utf16() + at;
    const char16_t* needle = QStringView(folded_).utf16();
    for (qsizetype i = 0; i < folded_.size(); ++i) {
        if (folds[haystack[i]] != needle[i]) {
            return false;
        }
    }
    return true;
}

qsizetype FindPattern::indexIn(QStringView text, qsizetype from) const {
    if (folded_.isEmpty()) {
        return -1;
    }
    const FoldTable& folds = foldTable();
    const char16_t first = folded_.front().unicode();
    const char16_t* units = text.utf16();
    const qsizetype last = text.size() - folded_.size();
    for (qsizetype at = std::max<qsizetype>(from, 0); at <= last; ++at) {
        if (folds[units[at]] == first && matchesAt(text, at)) {
            return at;
        }
    }
    return -1;
}

qsizetype FindPattern::lastIndexIn(QStringView text, qsizetype from) const {
    if (folded_.isEmpty()) {
        return -1;
    }
    for (qsizetype at = std::min(from, text.size() - folded_.size()); at >= 0; --at) {
        if (matchesAt(text, at)) {
            return at;
        }
    }
    return -1;
}

TextFindResult findInText(QStringView text, const FindPattern& pattern, qsizetype selectionStart,
                          qsizetype selectionEnd, FindStep step) {
    TextFindResult result;
    if (pattern.isEmpty()) {
        return result;
    }
    // Round from the other end only as far as the first pass began: no text is read twice.
    if (step == FindStep::Previous) {
        const qsizetype from = selectionStart - 1;
        result.position = pattern.lastIndexIn(text, from);
        if (result.position < 0) {
            const qsizetype after = std::clamp<qsizetype>(from + 1, 0, text.size());
            const qsizetype position = pattern.lastIndexIn(text.sliced(after), text.size());
            result.position = position < 0 ? -1 : after + position;
            result.outcome.wrapped = result.position >= 0;
        }
    } else {
        const qsizetype from = step == FindStep::Typed ? selectionStart : selectionEnd;
        result.position = pattern.indexIn(text, from);
        if (result.position < 0) {
            const qsizetype before =
                std::clamp<qsizetype>(from + pattern.length() - 1, 0, text.size());
            result.position = pattern.indexIn(text.first(before), 0);
            result.outcome.wrapped = result.position >= 0;
        }
    }
    result.outcome.found = result.position >= 0;
    return result;
}

} // namespace corvanteller
