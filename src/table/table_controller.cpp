// SPDX-License-Identifier: GPL-3.0-or-later
#include "table/table_controller.h"

#include "common/tab_fields.h"
#include "table/table_history.h"
#include "table/table_session.h"
#include "table/table_texts.h"

#include <numeric>

namespace corvanteller {

namespace {

std::vector<int> inverseOrder(const std::vector<int>& order) {
    std::vector<int> inverse(order.size());
    for (std::size_t i = 0; i < order.size(); ++i) {
        inverse[static_cast<std::size_t>(order[i] - 1)] = static_cast<int>(i) + 1;
    }
    return inverse;
}

} // namespace

QString sortStepName(SortKey key) {
    return tableTexts::sortStep(key.column, key.descending);
}

TableController::TableController(TableSession& session, const QLocale& locale)
    : session_(session), locale_(locale) {
    cellEdits_ = QObject::connect(&session_.model(), &SongTableModel::cellEdited,
                                  [this](int row, int column, const QString& before) {
                                      recordCellEdit(row, column, before);
                                  });
}

TableController::~TableController() {
    QObject::disconnect(cellEdits_);
}

std::optional<SortKey> TableController::shownSort() const {
    const TableHistory& history = session_.history;
    return history.canUndo() || history.canRedo() ? shownSort_ : std::nullopt;
}

TableHistory& TableController::history() {
    return session_.history;
}

void TableController::changed() {
    session_.refreshStores();
    session_.unsavedChanges = true;
}

SortKey TableController::sortBy(int column) {
    SortKey key{column, false};
    if (shownSort_ && shownSort_->column == column && !shownSort_->descending) {
        key.descending = true;
    }
    SongTableModel& model = session_.model();
    const std::vector<int> order = sortedRowOrder(model, {key}, locale_);
    const std::optional<SortKey> before = shownSort_;
    model.reorderRows(order);
    shownSort_ = key;
    changed();
    history().push({sortStepName(key),
                    [this, order, before] {
                        session_.model().reorderRows(inverseOrder(order));
                        shownSort_ = before;
                        changed();
                    },
                    [this, order, key] {
                        session_.model().reorderRows(order);
                        shownSort_ = key;
                        changed();
                    }});
    return key;
}

void TableController::recordCellEdit(int row, int column, const QString& before) {
    const QString after = session_.model().cellRef(row, column);
    changed();
    history().push({tableTexts::typingStep(row),
                    [this, row, column, before] {
                        session_.model().setCell(row, column, before);
                        changed();
                    },
                    [this, row, column, after] {
                        session_.model().setCell(row, column, after);
                        changed();
                    }});
}

void TableController::toggleMarks(const std::vector<int>& rows) {
    if (rows.empty()) {
        return;
    }
    // Marks are no unsaved change, as a double-click never was one.
    const auto toggle = [this, rows] { session_.model().toggleChecks(rows); };
    toggle();
    history().push({tableTexts::markingStep(rows.size(), rows.front()), toggle, toggle});
}

void TableController::setAllMarks(bool checked) {
    SongTableModel& model = session_.model();
    std::vector<int> flips;
    for (int row = 1; row <= model.songCount(); ++row) {
        if (model.isRowChecked(row) != checked) {
            flips.push_back(row);
        }
    }
    if (flips.empty()) {
        return;
    }
    const auto toggle = [this, flips] { session_.model().toggleChecks(flips); };
    toggle();
    history().push({tableTexts::allMarksStep(checked), toggle, toggle});
}

bool TableController::addRowAt(int selectedRow) {
    SongTableModel& model = session_.model();
    const int row =
        selectedRow >= 1 && selectedRow <= model.songCount() ? selectedRow : model.songCount() + 1;
    if (!model.insertEmptyRowAt(row)) {
        return false;
    }
    changed();
    history().push({tableTexts::addingStep(row),
                    [this, row] {
                        session_.model().removeInsertedRowAt(row);
                        changed();
                    },
                    [this, row] {
                        session_.model().insertEmptyRowAt(row);
                        changed();
                    }});
    return true;
}

int TableController::removeRows(const std::vector<int>& rows) {
    auto taken = std::make_shared<SongTableModel::TakenRows>(session_.model().takeRows(rows));
    const auto count = taken->rows.size();
    if (count == 0) {
        return 0;
    }
    shownSort_.reset();
    changed();
    const QString name = tableTexts::removingStep(count, taken->rows.front());
    history().push({name,
                    [this, taken] {
                        session_.model().putRowsBack(*taken);
                        changed();
                    },
                    [this, taken] {
                        session_.model().takeRows(taken->rows);
                        changed();
                    }});
    return static_cast<int>(count);
}

void TableController::undo() {
    history().undo();
}

void TableController::redo() {
    history().redo();
}

void TableController::startFreshHistory() {
    history().clear();
    shownSort_.reset();
}

void TableController::setMarks(const std::vector<int>& rows, std::optional<bool> checked) {
    const SongTableModel& model = session_.model();
    std::vector<int> flips;
    for (const int row : rows) {
        if (!checked || model.isRowChecked(row) != *checked) {
            flips.push_back(row);
        }
    }
    toggleMarks(flips);
}

ListOpenResult TableController::openList(const QString& path, int originRowCount,
                                         ListOpenFailure failure) {
    const ListOpenResult result = openListFile(path, session_.model(), originRowCount, failure);
    if (result.opened() || failure == ListOpenFailure::ResetTable) {
        startFreshHistory();
    }
    if (result.outcome == ListOpenResult::Outcome::Opened) {
        session_.shownListFile = path;
    }
    return result;
}

void TableController::saveListAs(const QString& path) {
    writeListFile(path, session_.model());
    session_.currentListFile = path;
    session_.shownListFile = path;
    session_.hasCurrentListFile = true;
    session_.unsavedChanges = false;
}

void TableController::saveListToCurrentFile() {
    writeListFile(session_.currentListFile, session_.model());
    session_.unsavedChanges = false;
}

std::vector<int> checkedRows(const SongTableModel& model) {
    std::vector<int> rows;
    for (int row = 1; row <= model.songCount(); ++row) {
        if (model.isRowChecked(row)) {
            rows.push_back(row);
        }
    }
    return rows;
}

QString rowsAsScanLines(const SongTableModel& model, const std::vector<int>& rows) {
    QByteArray lines;
    for (const int row : rows) {
        for (int column = SongColumn::FileName; column <= SongColumn::Maker; ++column) {
            if (column != SongColumn::FileName) {
                lines.append('\t');
            }
            appendEscapedField(lines, model.cellRef(row, column));
        }
        lines.append('\n');
    }
    return QString::fromUtf8(lines);
}

QString rowFolder(const SongTableModel& model, int row) {
    const RowFile& file = model.rowFile(row);
    return file.folder.isEmpty() ? model.cell(row, SongColumn::Folder) : file.folder;
}

} // namespace corvanteller
