// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "table/table_hints.h"

#include <QTableView>

class QLabel;

namespace corvanteller {

class SongTableModel;

// The song table's grid: a view over the table model drawn like a string grid, with in-place
// editing that starts on any typed key but Space (which asks for the row's check mark to be
// toggled), and the cell tooltip, a hint window of its own that shows a cell's whole text when
// it does not fit.
class SongGrid final : public QTableView {
    Q_OBJECT

public:
    static constexpr int defaultRowHeight = 18;

    SongGrid(SongTableModel& model, QWidget* parent = nullptr);
    ~SongGrid() override;

    // Writes the text of an open in-place editor into the table and closes the editor. Called
    // before anything reads the table: a menu opened with the mouse, or the window losing
    // activation, leaves the editor open with its text not yet in the table.
    void commitOpenEditor();

    // Shows the table from its first row and column: a new table never opens where the old one
    // was scrolled to.
    void showFromTopLeft();

    // The grid has no keyboard search: a typed character always goes into the current cell.
    void keyboardSearch(const QString& search) override;

    QLabel* cellTooltip() const { return cellTooltip_; }
    // forget: the next move over any cell counts as new.
    void hideCellTooltip(bool forget);

Q_SIGNALS:
    // The user gave the grid the focus (a click, Tab), not the focus coming back with the
    // window or after a closing pop-up.
    void focusedByUser();
    // A character key was typed into the grid or its in-place editor.
    void characterTyped();
    // Space was pressed on the grid outside the in-place editor: the current row's check mark
    // is to be toggled, as a double-click does.
    void checkToggleRequested(const QModelIndex& current);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void showCellTooltip(QPoint viewportPos);
    bool pointerOverViewport() const;

    SongTableModel& model_;
    QLabel* cellTooltip_;
    CellTooltipTracker tooltipTracker_;
};

} // namespace corvanteller
