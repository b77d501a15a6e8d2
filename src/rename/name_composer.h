// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "settings/options.h"

#include <QDateTime>
#include <QString>

#include <array>
#include <vector>

namespace corvanteller {

// The extension every composed name gets.
inline constexpr QStringView composedExtension = u".kar";
// The most bytes a name may have on this platform.
inline constexpr int maxNameBytes = 255;

// What the checked name parts of complex renaming are, read from the dialog's options.
struct NameRecipe {
    std::vector<NamePart> parts; // the checked parts, top to bottom
    QString separator;
    QString yourString;
    QString wordListText;
    DateTimeChoice dateChoice = DateTimeChoice::DateAndTime;

    static NameRecipe from(const RenamingOptions& options);
};

// The texts of one row that parts can take.
struct RowTexts {
    QString fileName;               // the file's present name, extension included
    std::array<QString, 4> columns; // table columns 3 to 6
};

struct ComposedName {
    QString name; // without the extension; empty when no rename may happen
    bool cut = false;
};

// "dd.mm.yyy", "hh.mm.ss" or "dd.mm.yyy  hh.mm.ss" of the moment, never in a locale's form.
QString dateTimeText(DateTimeChoice choice, const QDateTime& moment);

// The new name of a row without its extension: each checked part's text followed by the
// separator, the last separator taken off; forbidden characters and control characters become
// spaces and leading dots go, so that the file neither fails nor hides. A name whose parts all
// gave empty texts is empty. A name too long for the file system with its extension keeps its
// first characters and its last one.
ComposedName composeName(const NameRecipe& recipe, const RowTexts& row, const QDateTime& now);

// The name's first characters and its last one, as many as fit into maxBytes UTF-8 bytes together
// with the extension; never splits a character or a grapheme. A name that fits is unchanged.
QString fitNameBytes(const QString& name, QStringView extension, int maxBytes, bool* cut = nullptr);

} // namespace corvanteller
