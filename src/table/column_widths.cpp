// SPDX-License-Identifier: GPL-3.0-or-later
#include "table/column_widths.h"

#include <QHash>

#include <algorithm>
#include <climits>
#include <vector>

namespace corvanteller {
namespace {

// Measuring a text in a real font costs microseconds (shaping), so 45,002 rows of six columns
// take seconds when every cell is measured. Instead every cell first gets a cheap upper bound
// of its width, and only the cells whose bound can reach the widest measured width are
// measured. The result is the same as measuring every cell.
//
// The bound of a text of simple characters (Latin, Greek, Cyrillic, common punctuation and
// symbols) is the sum of its characters' widths measured alone, plus a quarter of that sum and
// one pixel per character for kerning between neighbours and the rounding of each width. (Over
// the fonts of a Debian desktop at 6 to 24 points, texts were at most half a pixel per
// character plus a tenth wider than their characters alone.) Texts with any other character
// (control characters, combining marks, other scripts, surrogate pairs), whose shaping may
// differ more, are always measured.
constexpr int unbounded = INT_MAX;

bool isSimpleCharacter(char16_t unit) {
    return (unit >= 0x20 && unit <= 0x7E) || (unit >= 0xA0 && unit <= 0x24F) ||
           (unit >= 0x370 && unit <= 0x3FF) || (unit >= 0x400 && unit <= 0x52F) ||
           (unit >= 0x2010 && unit <= 0x2027) || (unit >= 0x2030 && unit <= 0x205E) ||
           (unit >= 0x20A0 && unit <= 0x20C0) || (unit >= 0x2100 && unit <= 0x214F);
}

class WidthBound {
public:
    explicit WidthBound(const TextWidth& measure) : measure_(measure), widths_(0x10000, unknown) {}

    int of(const QString& text) {
        long long sum = 0;
        for (QChar ch : text) {
            int& width = widths_[ch.unicode()];
            if (width == unknown) {
                width = isSimpleCharacter(ch.unicode()) ? std::max(0, measure_(QString(ch)))
                                                        : notSimple;
            }
            if (width == notSimple) {
                return unbounded;
            }
            sum += width;
        }
        return static_cast<int>(std::min<long long>(sum + sum / 4 + text.size(), unbounded));
    }

private:
    static constexpr int unknown = -1;
    static constexpr int notSimple = -2;

    const TextWidth& measure_;
    std::vector<int> widths_;
};

struct Widest {
    int width = 0;
    int length = 0;
};

// The widest cell of one column, rows 0 (header) to N, as a walk in row order would find it:
// the first cell that reaches the largest width.
Widest widestOfColumn(const SongTableModel& model, int column, const TextWidth& measure,
                      WidthBound& bounds) {
    const int rows = model.songCount();
    auto textOf = [&](int row) -> const QString& {
        static const QString empty;
        return row == 0 ? empty : model.cellRef(row, column);
    };
    const QString header = model.headerText(column);

    struct Candidate {
        int bound;
        int row;
    };
    std::vector<Candidate> candidates;
    candidates.reserve(static_cast<std::size_t>(rows) + 1);
    candidates.push_back({unbounded, 0});
    for (int row = 1; row <= rows; ++row) {
        const QString& text = textOf(row);
        if (!text.isEmpty()) {
            candidates.push_back({bounds.of(text), row});
        }
    }

    QHash<QString, int> measured;
    auto widthOf = [&](int row) {
        const QString& text = row == 0 ? header : textOf(row);
        auto found = measured.constFind(text);
        return found != measured.cend() ? found.value()
                                        : measured.insert(text, measure(text)).value();
    };

    // The cell with the largest bound sets a first threshold: a cell whose bound lies below a
    // measured width can be neither the widest nor tie with it.
    const auto largest =
        std::max_element(candidates.begin() + 1, candidates.end(),
                         [](const Candidate& a, const Candidate& b) { return a.bound < b.bound; });
    const int threshold =
        std::max(widthOf(0), largest != candidates.end() ? widthOf(largest->row) : 0);
    candidates.erase(std::remove_if(candidates.begin() + 1, candidates.end(),
                                    [threshold](const Candidate& candidate) {
                                        return candidate.bound < threshold;
                                    }),
                     candidates.end());

    // Largest bound first; among equal bounds the earlier row first.
    std::sort(candidates.begin(), candidates.end(), [](const Candidate& a, const Candidate& b) {
        return a.bound != b.bound ? a.bound > b.bound : a.row < b.row;
    });

    int bestWidth = 0;
    int bestRow = -1;
    for (const Candidate& candidate : candidates) {
        if (bestRow >= 0) {
            // No later candidate can reach the best width.
            if (candidate.bound < bestWidth) {
                break;
            }
            // At best a tie, and ties keep the earlier row.
            if (candidate.bound == bestWidth && candidate.row > bestRow) {
                continue;
            }
        }
        const int width = widthOf(candidate.row);
        if (width > bestWidth || (width == bestWidth && bestRow >= 0 && candidate.row < bestRow)) {
            bestWidth = width;
            bestRow = candidate.row;
        }
    }
    if (bestRow < 0) {
        return {};
    }
    const QString& widest = bestRow == 0 ? header : textOf(bestRow);
    return {bestWidth, static_cast<int>(widest.size())};
}

} // namespace

WidestCellLengths widestCellLengths(const SongTableModel& model, const TextWidth& measure,
                                    const WidestCellLengths& previous) {
    WidestCellLengths lengths = previous;
    WidthBound bounds(measure);
    for (int column = SongColumn::FileName; column < SongTableModel::columnCountValue; ++column) {
        lengths[column] = widestOfColumn(model, column, measure, bounds).length;
    }
    return lengths;
}

ColumnLayout applyColumnWidthMode(ColumnWidthMode mode, const SongTableModel& model,
                                  const ColumnWidthList& current, const ColumnWidthList& saved,
                                  const TextWidth& measure, const WidestCellLengths& previous) {
    ColumnLayout layout;
    switch (mode) {
    case ColumnWidthMode::Fixed:
        layout.widths = fixedColumnWidths;
        layout.widest = widestCellLengths(model, measure, previous);
        break;
    case ColumnWidthMode::User:
        // A width of 0 was never saved (a first run): that column keeps its fixed width rather
        // than vanishing.
        for (std::size_t column = 0; column < layout.widths.size(); ++column) {
            layout.widths[column] = saved[column] > 0 ? saved[column] : fixedColumnWidths[column];
        }
        layout.widest = widestCellLengths(model, measure, previous);
        break;
    case ColumnWidthMode::WidestLine: {
        layout.widths = current;
        if (layout.widths[0] <= 0) {
            layout.widths[0] = fixedColumnWidths[0]; // the "#" column keeps a width it can show
        }
        layout.widest = previous;
        WidthBound bounds(measure);
        for (int column = SongColumn::FileName; column < SongTableModel::columnCountValue;
             ++column) {
            const Widest widest = widestOfColumn(model, column, measure, bounds);
            layout.widths[static_cast<std::size_t>(column)] = widest.width + gridLineWidth + 3;
            layout.widest[column] = widest.length;
        }
        break;
    }
    }
    return layout;
}

} // namespace corvanteller
