// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPoint>
#include <QSize>
#include <QString>

#include <array>

namespace corvanteller {

class RandomSource;

// --- Cell tooltip over the grid --------------------------------------------------------------

// Remembers the last mouse position and cell over the grid, so that a tooltip is considered only
// when the mouse has moved onto another cell.
class CellTooltipTracker {
public:
    // False when the position or the cell is the same as at the last move; otherwise remembers
    // both and returns true. row and column as the table numbers them (row 0 is the header).
    bool movedToNewCell(QPoint position, int row, int column);
    // The mouse left the grid: the next move over any cell counts as new.
    void forget();

private:
    bool known_ = false;
    QPoint position_;
    int row_ = -1;
    int column_ = -1;
};

// Whether a cell may have a tooltip at all: never for the header row, the "#" column, a hidden
// (zero-height) row, a cell outside the table or an empty cell.
bool cellMayShowTooltip(int row, int column, int rowHeight, const QString& text);

// The width to which the text is wrapped before it is measured.
int tooltipWrapWidth(int columnWidth);

// Whether the cell text, measured wrapped to tooltipWrapWidth, fits its cell; a text that fits
// shows no tooltip.
bool cellTextFits(int rowHeight, int columnWidth, QSize wrappedTextSize);

// Where the tooltip goes, from the cell's top-left corner on the screen.
inline constexpr QPoint tooltipOffset{2, 2};

// --- Table hint ---------------------------------------------------------------------------------

struct RgbColour {
    int red;
    int green;
    int blue;
};

// How one showing of the grid's own hint is made.
struct TableHintShowing {
    bool show = false;   // false once the grid's hint is switched off
    QString text;        // the text shown this time
    int hidePauseMs = 0; // how long the hint stays
    RgbColour background{0, 0, 0};
    int maxWidth = 0;
    int shiftRight = 0; // pixels to move the hint to the right
};

// The grid's own hint ("If you want to check any file (row), double click on the necessary
// row"): after the first two showings it either greets the user once in 70 times or switches
// itself off for the rest of the run, and now and then grows by "!!".
class TableHint {
public:
    static const std::array<QString, 3>& greetings();
    static QString initialText();

    explicit TableHint(RandomSource& random);

    // Called before the grid's hint is shown. The random draws, in this order: bounded(70) when
    // the counter exceeds 2 (0 means a greeting), bounded(3) for the greeting, bounded(2)
    // (0 means "!!" is appended).
    TableHintShowing beforeShow(int gridWidth);

    bool enabled() const { return enabled_; }
    const QString& text() const { return text_; }
    int counter() const { return counter_; }

private:
    RandomSource& random_;
    QString text_;
    int counter_ = 0;
    bool enabled_ = true;
};

} // namespace corvanteller
