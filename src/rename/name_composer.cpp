// SPDX-License-Identifier: GPL-3.0-or-later
#include "rename/name_composer.h"

#include "common/date_patterns.h"

#include <QLocale>
#include <QTextBoundaryFinder>

#include <optional>

namespace corvanteller {

using namespace Qt::StringLiterals;

namespace {

bool isForbidden(QChar character) {
    return QStringView(u"\\/:*?\"<>|").contains(character);
}

bool isControl(QChar character) {
    return character.unicode() < 0x20 || character.unicode() == 0x7F;
}

qsizetype utf8Size(QStringView text) {
    return text.toUtf8().size();
}

// Positions from 0 to the text's size where the text may be cut: between graphemes, or between
// whole characters.
std::vector<qsizetype> cutPositions(const QString& text, bool graphemes) {
    std::vector<qsizetype> positions{0};
    if (graphemes) {
        QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
        for (qsizetype position = finder.toNextBoundary(); position > 0;
             position = finder.toNextBoundary()) {
            positions.push_back(position);
        }
    } else {
        for (qsizetype i = 0; i < text.size();) {
            i += text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()
                     ? 2
                     : 1;
            positions.push_back(i);
        }
    }
    if (positions.back() != text.size()) {
        positions.push_back(text.size());
    }
    return positions;
}

std::optional<QString> fitAt(const QString& name, const std::vector<qsizetype>& positions,
                             qsizetype budget) {
    const qsizetype lastStart = positions[positions.size() - 2];
    const QStringView last = QStringView(name).mid(lastStart);
    qsizetype left = budget - utf8Size(last);
    if (left < 0) {
        return std::nullopt;
    }
    qsizetype prefixEnd = 0;
    for (std::size_t i = 1; i + 1 < positions.size(); ++i) {
        const qsizetype size = utf8Size(QStringView(name).mid(prefixEnd, positions[i] - prefixEnd));
        if (size > left) {
            break;
        }
        left -= size;
        prefixEnd = positions[i];
    }
    return name.left(prefixEnd) + last;
}

} // namespace

NameRecipe NameRecipe::from(const RenamingOptions& options) {
    NameRecipe recipe;
    for (std::size_t position = 0; position < options.partOrder.size(); ++position) {
        if (options.nameParts[position]) {
            recipe.parts.push_back(options.partOrder[position]);
        }
    }
    const auto separator = static_cast<std::size_t>(options.separatorIndex);
    if (options.separatorIndex >= 0 && separator < renameSeparators.size()) {
        recipe.separator = renameSeparators[separator].toString();
    }
    const auto entry = static_cast<std::size_t>(options.wordListIndex);
    if (options.wordListIndex >= 0 && entry < renameWordListEntries.size()) {
        recipe.wordListText = renameWordListEntries[entry].toString();
    }
    recipe.yourString = options.yourString;
    recipe.dateChoice = options.dateChoice;
    return recipe;
}

QString dateTimeText(DateTimeChoice choice, const QDateTime& moment) {
    const QString pattern = choice == DateTimeChoice::Date   ? u"dd.mm.yyy"_s
                            : choice == DateTimeChoice::Time ? timePattern()
                                                             : dateAndTimePattern();
    // The patterns use no month names, so the locale does not matter.
    return formatDatePattern(pattern, moment, QLocale::c());
}

ComposedName composeName(const NameRecipe& recipe, const RowTexts& row, const QDateTime& now) {
    QString name;
    bool anyText = false;
    for (const NamePart part : recipe.parts) {
        QString text;
        switch (part) {
        case NamePart::InitialName:
            text = row.fileName;
            break;
        case NamePart::Column3:
        case NamePart::Column4:
        case NamePart::Column5:
        case NamePart::Column6:
            text = row.columns[static_cast<std::size_t>(part) - 1];
            break;
        case NamePart::YourString:
            if (recipe.yourString.isEmpty()) {
                continue; // not even the separator
            }
            text = recipe.yourString;
            break;
        case NamePart::ChooseFromList:
            text = recipe.wordListText;
            break;
        case NamePart::DateAndTime:
            text = dateTimeText(recipe.dateChoice, now);
            break;
        }
        anyText = anyText || !text.isEmpty();
        name += text + recipe.separator;
    }
    if (!anyText) {
        return {};
    }
    name.chop(std::min(recipe.separator.size(), name.size()));
    for (QChar& character : name) {
        if (isForbidden(character) || isControl(character)) {
            character = u' ';
        }
    }
    qsizetype dots = 0;
    while (dots < name.size() && name[dots] == u'.') {
        ++dots;
    }
    name.remove(0, dots);
    ComposedName composed;
    composed.name = fitNameBytes(name, composedExtension, maxNameBytes, &composed.cut);
    return composed;
}

QString fitNameBytes(const QString& name, QStringView extension, int maxBytes, bool* cut) {
    const qsizetype budget = maxBytes - utf8Size(extension);
    if (cut != nullptr) {
        *cut = false;
    }
    if (utf8Size(name) <= budget || name.isEmpty()) {
        return name;
    }
    if (cut != nullptr) {
        *cut = true;
    }
    // A last grapheme too long on its own is kept as its last character.
    std::optional<QString> fitted = fitAt(name, cutPositions(name, true), budget);
    if (!fitted) {
        fitted = fitAt(name, cutPositions(name, false), budget);
    }
    return fitted.value_or(QString());
}

} // namespace corvanteller
