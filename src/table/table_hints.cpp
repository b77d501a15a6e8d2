// SPDX-License-Identifier: GPL-3.0-or-later
#include "table/table_hints.h"

#include "common/seams.h"
#include "table/song_table_model.h"
#include "table/table_texts.h"

namespace corvanteller {

using namespace Qt::StringLiterals;

bool CellTooltipTracker::movedToNewCell(QPoint position, int row, int column) {
    if (known_ && (position == position_ || (row == row_ && column == column_))) {
        return false;
    }
    known_ = true;
    position_ = position;
    row_ = row;
    column_ = column;
    return true;
}

void CellTooltipTracker::forget() {
    known_ = false;
    row_ = -1;
    column_ = -1;
}

bool cellMayShowTooltip(int row, int column, int rowHeight, const QString& text) {
    return row >= 1 && column >= 1 && column < SongTableModel::columnCountValue && rowHeight > 0 &&
           !text.isEmpty();
}

int tooltipWrapWidth(int columnWidth) {
    return columnWidth - 4;
}

bool cellTextFits(int rowHeight, int columnWidth, QSize wrappedTextSize) {
    return rowHeight >= wrappedTextSize.height() - 2 && columnWidth >= wrappedTextSize.width() - 2;
}

const std::array<QString, 3>& TableHint::greetings() {
    static const std::array<QString, 3> texts = tableTexts::hintGreetings();
    return texts;
}

QString TableHint::initialText() {
    return tableTexts::checkHint();
}

TableHint::TableHint(RandomSource& random) : random_(random), text_(initialText()) {}

TableHintShowing TableHint::beforeShow(int gridWidth) {
    TableHintShowing showing;
    if (!enabled_) {
        return showing;
    }
    showing.show = true;
    showing.hidePauseMs = 3000;
    showing.text = text_;
    ++counter_;
    if (counter_ > 2) {
        if (random_.bounded(70) == 0) {
            const int index = random_.bounded(3);
            showing.text = greetings()[static_cast<std::size_t>(index)];
            counter_ = 4 + index;
        } else {
            // This showing is still made; later ones are not.
            enabled_ = false;
        }
    }
    if (random_.bounded(2) == 0) {
        text_ += u"!!"_s;
    }
    showing.background = {0, 255, 255};
    showing.maxWidth = 120;
    showing.shiftRight = gridWidth / 2;
    return showing;
}

} // namespace corvanteller
