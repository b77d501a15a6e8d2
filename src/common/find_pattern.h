// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringView>

namespace corvanteller {

// What moved the find: the text typed into the find bar (the match may stay where it is),
// "Next" (Return, F3) or "Previous" (Shift+F3).
enum class FindStep { Typed, Next, Previous };

// Where a find ended: found or not, and whether it went past the end (or, backwards, past the
// beginning) and went on from the other end.
struct FindOutcome {
    bool found = false;
    bool wrapped = false;
    bool operator==(const FindOutcome&) const = default;
};

// The text shown in the find bar after a step: empty, "Not found", or a note that the find went
// on from the other end.
QString findMessage(FindOutcome outcome, FindStep step);

// A text typed into the find bar, ready for matching: spaces at either end do not count, case
// does not count, and "ё" matches "е". Every character keeps its place, so a match in the
// folded text is a match of the same length in the original.
// The text as the find bar matches it: each character case-folded, "ё" as "е".
QString foldedForMatching(QString text);

class FindPattern {
public:
    explicit FindPattern(const QString& typed);

    bool isEmpty() const { return folded_.isEmpty(); }
    qsizetype length() const { return folded_.size(); }

    bool foundIn(QStringView text) const { return indexIn(text, 0) >= 0; }
    // The first match that starts at from or later; -1 when there is none.
    qsizetype indexIn(QStringView text, qsizetype from) const;
    // The last match that starts at from or earlier; -1 when there is none.
    qsizetype lastIndexIn(QStringView text, qsizetype from) const;

private:
    bool matchesAt(QStringView text, qsizetype at) const;

    QString folded_;
};

// A find in a whole text from its selection; position is where the match starts.
struct TextFindResult {
    FindOutcome outcome;
    qsizetype position = -1;
};

// Typed: the first match from the selection's start on; Next: from its end on; Previous: the
// last match that starts before the selection. Each goes on from the other end of the text when
// its own end has none.
TextFindResult findInText(QStringView text, const FindPattern& pattern, qsizetype selectionStart,
                          qsizetype selectionEnd, FindStep step);

} // namespace corvanteller
