// SPDX-License-Identifier: GPL-3.0-or-later
#include "table/table_pane.h"

#include "common/find_pattern.h"
#include "table/filter_bar.h"
#include "table/song_table_model.h"
#include "table/table_filter.h"
#include "table/table_find.h"
#include "ui/find_bar.h"

#include <QHeaderView>

#include <algorithm>

namespace corvanteller {

using namespace Qt::StringLiterals;

TablePane::TablePane(SongTableModel& model, QWidget* parent) : QWidget(parent), model_(model) {
    setObjectName(u"tablePane"_s);
    songGrid = new SongGrid(model, this);
    songGrid->setObjectName(u"songGrid"_s);
    QHeaderView* header = songGrid->horizontalHeader();
    header->setSectionsClickable(true);
    // A header click sorts; it does not select the column as well.
    disconnect(header, &QHeaderView::sectionPressed, songGrid, nullptr);
    disconnect(header, &QHeaderView::sectionEntered, songGrid, nullptr);
    connect(header, &QHeaderView::sectionClicked, this, &TablePane::sortRequested);

    QStringList columns;
    for (int column = 0; column < tableColumnCount; ++column) {
        columns << model.headerText(column);
    }
    filterBar = new FilterBar(columns, this);
    filterBar->setObjectName(u"filterBar"_s);
    filterBar->hide();
    connect(filterBar, &FilterBar::filterChanged, this, &TablePane::filterChanged);
    connect(filterBar, &FilterBar::markShownRequested, this, &TablePane::markShownRequested);
    connect(filterBar, &FilterBar::closed, this, [this] {
        layoutBars();
        songGrid->setFocus(Qt::OtherFocusReason);
    });

    findBar = new FindBar(this);
    findBar->setObjectName(u"findBar"_s);
    findBar->setSearchedWidget(songGrid);
    findBar->hide();
    connect(findBar, &FindBar::findRequested, this, &TablePane::findInTable);
    connect(findBar, &FindBar::closed, this, [this] { layoutBars(); });
}

void TablePane::openFindBar() {
    findBar->open();
    layoutBars();
}

void TablePane::openFilterBar() {
    filterBar->open();
    layoutBars();
}

int TablePane::applyFilter() {
    const std::vector<bool> shown =
        rowsShownByFilter(model_, FindPattern(filterBar->text()), filterBar->column());
    const bool filtering = std::find(shown.begin(), shown.end(), false) != shown.end();
    if (!filtering && shownRows_ < 0) {
        return shownRows_; // nothing hidden, nothing to hide
    }
    songGrid->setUpdatesEnabled(false);
    for (std::size_t row = 0; row < shown.size(); ++row) {
        songGrid->setRowHidden(static_cast<int>(row), !shown[row]);
    }
    songGrid->setUpdatesEnabled(true);
    shownRows_ = filtering ? static_cast<int>(std::count(shown.begin(), shown.end(), true)) : -1;
    return shownRows_;
}

std::vector<int> TablePane::selectedRows() const {
    std::vector<int> rows;
    for (const QItemSelectionRange& range : songGrid->selectionModel()->selection()) {
        for (int row = range.top(); row <= range.bottom(); ++row) {
            rows.push_back(row + 1);
        }
    }
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    if (rows.empty() && currentRow() > 0) {
        rows.push_back(currentRow());
    }
    return rows;
}

std::vector<int> TablePane::shownRows() const {
    std::vector<int> rows;
    for (int row = 1; row <= model_.songCount(); ++row) {
        if (!songGrid->isRowHidden(row - 1)) {
            rows.push_back(row);
        }
    }
    return rows;
}

int TablePane::currentRow() const {
    const QModelIndex current = songGrid->currentIndex();
    return current.isValid() ? current.row() + 1 : 0;
}

void TablePane::keepCurrentCellThrough(const std::function<void()>& change) {
    const QModelIndex current = songGrid->currentIndex();
    change();
    if (model_.songCount() > 0 && !songGrid->currentIndex().isValid()) {
        const int row =
            std::clamp(current.isValid() ? current.row() : 0, 0, model_.songCount() - 1);
        songGrid->setCurrentIndex(model_.index(row, current.isValid() ? current.column() : 1));
    }
}

void TablePane::showSort(std::optional<SortKey> sort) {
    QHeaderView* header = songGrid->horizontalHeader();
    header->setSortIndicatorShown(sort.has_value());
    if (sort) {
        header->setSortIndicator(sort->column,
                                 sort->descending ? Qt::DescendingOrder : Qt::AscendingOrder);
    }
}

void TablePane::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    layoutBars();
}

void TablePane::layoutBars() {
    const int findBarHeight = findBar->isHidden() ? 0 : findBar->sizeHint().height();
    const int filterBarHeight = filterBar->isHidden() ? 0 : filterBar->sizeHint().height();
    filterBar->setGeometry(0, 0, width(), filterBarHeight);
    const int gridHeight = height() - findBarHeight - filterBarHeight;
    songGrid->setGeometry(0, filterBarHeight, width(), gridHeight);
    findBar->setGeometry(0, filterBarHeight + gridHeight, width(), findBarHeight);
}

void TablePane::findInTable(const QString& text, FindStep step) {
    songGrid->commitOpenEditor();
    const FindPattern pattern(text);
    if (pattern.isEmpty()) {
        findBar->showMessage(QString());
        return;
    }
    const QModelIndex current = songGrid->currentIndex();
    const TableCell from =
        current.isValid() ? TableCell{current.row() + 1, current.column()} : TableCell{};
    const CellFindResult result = findCell(model_, pattern, from, step);
    if (result.outcome.found) {
        const QModelIndex index = model_.index(result.cell.row - 1, result.cell.column);
        songGrid->setCurrentIndex(index);
        songGrid->scrollTo(index);
    }
    findBar->showMessage(findMessage(result.outcome, step));
}

} // namespace corvanteller
