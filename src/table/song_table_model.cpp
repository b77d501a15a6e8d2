// SPDX-License-Identifier: GPL-3.0-or-later
#include "table/song_table_model.h"

#include "table/table_texts.h"

#include <algorithm>

namespace corvanteller {

using namespace Qt::StringLiterals;

namespace {

const QString checkMark = u"V "_s;

std::size_t at(int index) {
    return static_cast<std::size_t>(index);
}

} // namespace

SongTableModel::BulkChange::BulkChange(SongTableModel& model) : model_(model) {
    if (model_.bulkDepth_++ == 0) {
        model_.beginResetModel();
    }
}

SongTableModel::BulkChange::~BulkChange() {
    if (--model_.bulkDepth_ == 0) {
        model_.endResetModel();
    }
}

SongTableModel::SongTableModel(QObject* parent) : QAbstractTableModel(parent) {
    writeHeader(false);
}

int SongTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : songCount_;
}

int SongTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : columnCountValue;
}

QVariant SongTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole)) {
        return {};
    }
    return cellRef(index.row() + 1, index.column());
}

bool SongTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || role != Qt::EditRole || index.column() == 0) {
        return false;
    }
    const int row = index.row() + 1;
    const QString before = cellRef(row, index.column());
    setCell(row, index.column(), value.toString());
    if (cellRef(row, index.column()) != before) {
        Q_EMIT cellEdited(row, index.column(), before);
    }
    return true;
}

Qt::ItemFlags SongTableModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) {
        return Qt::NoItemFlags;
    }
    const Qt::ItemFlags base = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    return index.column() == 0 ? base : base | Qt::ItemIsEditable;
}

QVariant SongTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        section >= columnCountValue) {
        return {};
    }
    return header_[at(section)];
}

QString SongTableModel::cell(int row, int column) const {
    return cellRef(row, column);
}

const QString& SongTableModel::cellRef(int row, int column) const {
    static const QString empty;
    if (row < 1 || row > songCount_ || column < 0 || column >= columnCountValue) {
        return empty;
    }
    return columns_[at(column)][at(row - 1)];
}

void SongTableModel::setCell(int row, int column, const QString& text) {
    if (row < 1 || row > songCount_ || column < 0 || column >= columnCountValue) {
        return;
    }
    QString& cell = columns_[at(column)][at(row - 1)];
    if (text.size() > maxCellLength) {
        cell = text.first(maxCellLength);
        ++cutCells_;
    } else {
        cell = text;
    }
    emitCellChanged(row, column);
}

const RowFile& SongTableModel::rowFile(int row) const {
    static const RowFile none;
    return row >= 1 && row <= songCount_ ? files_[at(row - 1)] : none;
}

void SongTableModel::setRowFile(int row, const RowFile& file) {
    if (row >= 1 && row <= songCount_) {
        files_[at(row - 1)] = file;
    }
}

void SongTableModel::setRowFilesFromCells() {
    for (int row = 1; row <= songCount_; ++row) {
        files_[at(row - 1)] = {columns_[SongColumn::Folder][at(row - 1)],
                               columns_[SongColumn::FileName][at(row - 1)]};
    }
}

void SongTableModel::setSongCount(int count) {
    BulkChange change(*this);
    resizeRows(count);
}

QString SongTableModel::headerText(int column) const {
    return column >= 0 && column < columnCountValue ? header_[at(column)] : QString();
}

void SongTableModel::setHeaderText(int column, const QString& text) {
    if (column < 0 || column >= columnCountValue) {
        return;
    }
    header_[at(column)] = text;
    if (bulkDepth_ == 0) {
        Q_EMIT headerDataChanged(Qt::Horizontal, column, column);
    }
}

void SongTableModel::rebuildFrom(const RowStore& origin) {
    BulkChange change(*this);
    const int songs = origin.rowCount();
    resizeRows(songs);
    writeHeader(false);
    numberRows(1);
    for (int column = SongColumn::FileName; column < columnCountValue; ++column) {
        std::vector<QString>& cells = columns_[at(column)];
        for (int row = 1; row <= songs; ++row) {
            const QString& text = origin.text(column, row);
            cells[at(row - 1)] = text.size() > maxCellLength ? text.first(maxCellLength) : text;
        }
    }
    for (int row = 1; row <= songs; ++row) {
        files_[at(row - 1)] = origin.file(row);
    }
}

void SongTableModel::refreshInto(RowStore& mainStore, RowStore& startStore) const {
    copyRowsInto(mainStore);
    copyRowsInto(startStore);
    mainStore.setRowCount(songCount_);
    startStore.setRowCount(songCount_);
}

void SongTableModel::copyRowsInto(RowStore& store) const {
    for (int column = SongColumn::FileName; column < columnCountValue; ++column) {
        const std::vector<QString>& cells = columns_[at(column)];
        for (int row = 1; row <= songCount_; ++row) {
            store.setText(column, row, cells[at(row - 1)]);
        }
    }
    for (int row = 1; row <= songCount_; ++row) {
        store.setFile(row, files_[at(row - 1)]);
    }
}

void SongTableModel::resetForList(int songs) {
    BulkChange change(*this);
    resizeRows(songs);
    for (int column = SongColumn::FileName; column < columnCountValue; ++column) {
        std::fill(columns_[at(column)].begin(), columns_[at(column)].end(), QString());
    }
    std::fill(files_.begin(), files_.end(), RowFile());
    writeHeader(true);
    numberRows(1);
}

void SongTableModel::takeCellsFrom(SongTableModel& other) {
    BulkChange change(*this);
    BulkChange otherChange(other);
    std::swap(columns_, other.columns_);
    std::swap(files_, other.files_);
    std::swap(header_, other.header_);
    std::swap(songCount_, other.songCount_);
}

bool SongTableModel::isChecked(const QString& hashCell) {
    return hashCell.contains(u'V');
}

void SongTableModel::toggleCheck(int row) {
    if (row < 1 || row > songCount_) {
        return;
    }
    QString& hash = columns_[SongColumn::Number][at(row - 1)];
    hash = isChecked(hash) ? hash.mid(2) : checkMark + hash;
    emitCellChanged(row, 0);
}

void SongTableModel::setAllChecked(bool checked) {
    for (QString& hash : columns_[SongColumn::Number]) {
        if (checked && !isChecked(hash)) {
            hash.prepend(checkMark);
        } else if (!checked && isChecked(hash)) {
            hash.remove(0, 2);
        }
    }
    if (bulkDepth_ == 0 && songCount_ > 0) {
        Q_EMIT dataChanged(index(0, 0), index(songCount_ - 1, 0), {Qt::DisplayRole});
    }
}

bool SongTableModel::insertEmptyRowAt(int selectedRow) {
    if (songCount_ >= maxSongs) {
        return false;
    }
    const int oldCount = songCount_;
    const int target = selectedRow >= 1 && selectedRow <= oldCount ? selectedRow : oldCount + 1;
    if (bulkDepth_ == 0) {
        beginInsertRows({}, oldCount, oldCount);
    }
    for (int column = SongColumn::FileName; column < columnCountValue; ++column) {
        std::vector<QString>& cells = columns_[at(column)];
        cells.insert(cells.begin() + (target - 1), QString());
    }
    files_.insert(files_.begin() + (target - 1), RowFile());
    columns_[SongColumn::Number].push_back(QString::number(oldCount + 1));
    songCount_ = oldCount + 1;
    if (bulkDepth_ == 0) {
        endInsertRows();
        if (target <= oldCount) {
            Q_EMIT dataChanged(index(target - 1, 1), index(oldCount, columnCountValue - 1),
                               {Qt::DisplayRole, Qt::EditRole});
        }
    }
    return true;
}

void SongTableModel::reorderRows(const std::vector<int>& order) {
    if (order.size() != at(songCount_)) {
        return;
    }
    BulkChange change(*this);
    placeRows(order);
}

void SongTableModel::placeRows(const std::vector<int>& order) {
    for (std::vector<QString>& cells : columns_) {
        std::vector<QString> placed;
        placed.reserve(order.size());
        for (const int row : order) {
            placed.push_back(std::move(cells[at(row - 1)]));
        }
        cells = std::move(placed);
    }
    std::vector<RowFile> placedFiles;
    placedFiles.reserve(order.size());
    for (const int row : order) {
        placedFiles.push_back(std::move(files_[at(row - 1)]));
    }
    files_ = std::move(placedFiles);
    songCount_ = static_cast<int>(order.size());
    numberRowsKeepingMarks();
}

void SongTableModel::numberRowsKeepingMarks() {
    std::vector<QString>& hash = columns_[SongColumn::Number];
    for (int row = 1; row <= songCount_; ++row) {
        QString& cell = hash[at(row - 1)];
        cell = isChecked(cell) ? checkMark + QString::number(row) : QString::number(row);
    }
}

void SongTableModel::setMadeByHeader(bool madeBy) {
    writeHeader(madeBy);
    if (bulkDepth_ == 0) {
        Q_EMIT headerDataChanged(Qt::Horizontal, 0, columnCountValue - 1);
    }
}

SongTableModel::TakenRows SongTableModel::takeRows(std::vector<int> rows) {
    std::sort(rows.begin(), rows.end());
    rows.erase(std::remove_if(rows.begin(), rows.end(),
                              [this](int row) { return row < 1 || row > songCount_; }),
               rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    TakenRows taken;
    taken.rows = rows;
    std::vector<bool> gone(at(songCount_), false);
    for (const int row : rows) {
        std::array<QString, columnCountValue> cells;
        for (int column = 0; column < columnCountValue; ++column) {
            cells[at(column)] = columns_[at(column)][at(row - 1)];
        }
        taken.cells.push_back(std::move(cells));
        taken.files.push_back(files_[at(row - 1)]);
        gone[at(row - 1)] = true;
    }
    std::vector<int> kept;
    kept.reserve(at(songCount_) - rows.size());
    for (int row = 1; row <= songCount_; ++row) {
        if (!gone[at(row - 1)]) {
            kept.push_back(row);
        }
    }
    BulkChange change(*this);
    placeRows(kept);
    return taken;
}

void SongTableModel::putRowsBack(const TakenRows& taken) {
    BulkChange change(*this);
    const int total = songCount_ + static_cast<int>(taken.rows.size());
    std::array<std::vector<QString>, columnCountValue> columns;
    std::vector<RowFile> files;
    std::size_t next = 0;
    int keptRow = 0;
    for (int row = 1; row <= total; ++row) {
        const bool wasTaken = next < taken.rows.size() && taken.rows[next] == row;
        for (int column = 0; column < columnCountValue; ++column) {
            columns[at(column)].push_back(wasTaken ? taken.cells[next][at(column)]
                                                   : columns_[at(column)][at(keptRow)]);
        }
        files.push_back(wasTaken ? taken.files[next] : files_[at(keptRow)]);
        wasTaken ? ++next : ++keptRow;
    }
    columns_ = std::move(columns);
    files_ = std::move(files);
    songCount_ = total;
    numberRowsKeepingMarks();
}

void SongTableModel::removeInsertedRowAt(int row) {
    if (row < 1 || row > songCount_) {
        return;
    }
    BulkChange change(*this);
    for (int column = SongColumn::FileName; column < columnCountValue; ++column) {
        std::vector<QString>& cells = columns_[at(column)];
        cells.erase(cells.begin() + (row - 1));
    }
    files_.erase(files_.begin() + (row - 1));
    columns_[SongColumn::Number].pop_back();
    --songCount_;
}

std::vector<bool> SongTableModel::rowMarks() const {
    std::vector<bool> marks;
    marks.reserve(at(songCount_));
    for (int row = 1; row <= songCount_; ++row) {
        marks.push_back(isRowChecked(row));
    }
    return marks;
}

void SongTableModel::setRowMarks(const std::vector<bool>& marks) {
    std::vector<int> flips;
    for (int row = 1; row <= std::min<int>(songCount_, static_cast<int>(marks.size())); ++row) {
        if (isRowChecked(row) != marks[at(row - 1)]) {
            flips.push_back(row);
        }
    }
    toggleChecks(flips);
}

void SongTableModel::toggleChecks(const std::vector<int>& rows) {
    for (const int row : rows) {
        if (row >= 1 && row <= songCount_) {
            QString& hash = columns_[SongColumn::Number][at(row - 1)];
            hash = isChecked(hash) ? hash.mid(2) : checkMark + hash;
        }
    }
    if (bulkDepth_ == 0 && songCount_ > 0 && !rows.empty()) {
        Q_EMIT dataChanged(index(0, 0), index(songCount_ - 1, 0), {Qt::DisplayRole});
    }
}

bool SongTableModel::hasSameRowsAs(const RowStore& store) const {
    if (store.rowCount() != songCount_) {
        return false;
    }
    for (int row = 1; row <= songCount_; ++row) {
        if (!(store.file(row) == files_[at(row - 1)])) {
            return false;
        }
    }
    return true;
}

void SongTableModel::writeHeader(bool madeBy) {
    header_[SongColumn::Number] = u"#"_s;
    // Every header build writes the letters first; columns 4 and 5 keep theirs ("D", "E").
    for (int column = SongColumn::FileName; column < columnCountValue; ++column) {
        header_[at(column)] = QString(QChar(64 + column));
    }
    header_[SongColumn::FileName] = tableTexts::fileNameColumn();
    header_[SongColumn::Folder] = tableTexts::folderColumn();
    header_[SongColumn::Title] = tableTexts::titleColumn();
    header_[SongColumn::Maker] = tableTexts::makerColumn(madeBy);
}

void SongTableModel::numberRows(int from) {
    std::vector<QString>& hash = columns_[SongColumn::Number];
    for (int row = from; row <= songCount_; ++row) {
        hash[at(row - 1)] = QString::number(row);
    }
}

void SongTableModel::resizeRows(int count) {
    count = std::clamp(count, 0, maxSongs);
    for (std::vector<QString>& cells : columns_) {
        cells.resize(at(count));
    }
    files_.resize(at(count));
    songCount_ = count;
}

void SongTableModel::emitCellChanged(int row, int column) {
    if (bulkDepth_ == 0) {
        const QModelIndex changed = index(row - 1, column);
        Q_EMIT dataChanged(changed, changed, {Qt::DisplayRole, Qt::EditRole});
    }
}

QString longCellsCutMessage() {
    return tableTexts::longCellsCut(SongTableModel::maxCellLength);
}

} // namespace corvanteller
