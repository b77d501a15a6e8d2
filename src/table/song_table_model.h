// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "kar/row_store.h"
#include "table/column_layout.h"

#include <QAbstractTableModel>
#include <QString>

#include <array>
#include <utility>
#include <vector>

namespace corvanteller {

// Length in characters of the widest cell of each table column 1 to 6, and a slot for a
// column 7 that the table does not have (only the Excel import writes it). The Excel export
// reads them for its column widths.
struct WidestCellLengths {
    static constexpr int slotCount = 7;

    std::array<int, slotCount> lengths{};

    // column 1 to 7.
    int& operator[](int column) { return lengths[static_cast<std::size_t>(column - 1)]; }
    int operator[](int column) const { return lengths[static_cast<std::size_t>(column - 1)]; }
    bool operator==(const WidestCellLengths&) const = default;
};

// The cells of the song table: data rows 1 to N of seven texts ("#", file name, folder and the
// four descriptive texts); the header row is the model's horizontal header. Row r of the
// table is model row r - 1. Cells are kept column by column, so that inserting a row moves
// the six data columns while the "#" column stays where it is.
class SongTableModel : public QAbstractTableModel {
    Q_OBJECT

public:
    static constexpr int columnCountValue = tableColumnCount;
    static constexpr int maxSongs = RowStore::maxRows;
    // The longest text a cell holds: a longer one is cut there.
    static constexpr qsizetype maxCellLength = 1024 * 1024;

    explicit SongTableModel(QObject* parent = nullptr);

    // Many cell writes inside one model reset: no signal per cell. Nests.
    class BulkChange {
    public:
        explicit BulkChange(SongTableModel& model);
        ~BulkChange();
        BulkChange(const BulkChange&) = delete;
        BulkChange& operator=(const BulkChange&) = delete;

    private:
        SongTableModel& model_;
    };

    // QAbstractTableModel
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    // The number of data rows, N.
    int songCount() const { return songCount_; }
    // row 1 to N as the table numbers them, column 0 to 6; an empty text outside the table.
    QString cell(int row, int column) const;
    const QString& cellRef(int row, int column) const;
    // Writes outside the table are ignored; a text longer than maxCellLength is cut there.
    void setCell(int row, int column, const QString& text);
    // The cells cut since the last call, so that the command that wrote them says so once.
    int takeCutCellCount() { return std::exchange(cutCells_, 0); }

    // The file that row 1 to N stands for; an empty one outside the table.
    const RowFile& rowFile(int row) const;
    void setRowFile(int row, const RowFile& file);
    // After a list or a workbook was read into the cells: every row stands for the file its
    // "Way" and "Name of file" cells name.
    void setRowFilesFromCells();
    // Grows with empty rows or cuts at the end; at most maxSongs.
    void setSongCount(int count);

    QString headerText(int column) const;
    // The import writes a sheet's first row into the header.
    void setHeaderText(int column, const QString& text);

    // Rebuilds the table from a row store: plain numbers, the origin's texts and files, header
    // with "Made..." (check marks are cleared).
    void rebuildFrom(const RowStore& origin);
    // Copies cells 1 to 6 and the file of every data row into both row stores and sets both row
    // counts.
    void refreshInto(RowStore& mainStore, RowStore& startStore) const;
    // Copies cells 1 to 6 and the file of every data row into slots 1 to N; the row count stays.
    void copyRowsInto(RowStore& store) const;
    // The reset before a list file is read: songs empty rows, plain numbers, header with
    // "Made by...".
    void resetForList(int songs);
    // Takes the cells, files, header and row count of a table read apart (a list file read to
    // its end); other is left with this table's. The widest-cell lengths stay.
    void takeCellsFrom(SongTableModel& other);

    // The check mark "V " in front of the row number.
    static bool isChecked(const QString& hashCell);
    bool isRowChecked(int row) const { return isChecked(cellRef(row, SongColumn::Number)); }
    void toggleCheck(int row);
    // The "Check all" box: checking marks every unmarked row, unchecking unmarks every marked
    // row.
    void setAllChecked(bool checked);

    // "&Add row": an empty row that stands for no file at selectedRow, that row and all below it
    // move down with their texts and files; the "#" column stays, so the numbers stay
    // consecutive. A selectedRow outside
    // 1..N adds the empty row at the end. False, and nothing changes, when the table is full.
    bool insertEmptyRowAt(int selectedRow);

    // Puts the rows in order (element i is the row that becomes row i + 1, a permutation of 1
    // to N): cells, check marks and files move with their rows, and the "#" column counts 1 to
    // N again.
    void reorderRows(const std::vector<int>& order);

    // The rows taken out of a table, with what puts them back where they were.
    struct TakenRows {
        std::vector<int> rows; // ascending row numbers before they were taken
        std::vector<std::array<QString, columnCountValue>> cells;
        std::vector<RowFile> files;
    };
    // Takes the given rows out (each row number once, 1 to N); the rows below move up with
    // their marks and "#" counts 1 to N again.
    TakenRows takeRows(std::vector<int> rows);
    // Puts taken rows back at their old numbers.
    void putRowsBack(const TakenRows& taken);
    // The exact reverse of insertEmptyRowAt(row) for the row it inserted.
    void removeInsertedRowAt(int row);

    // One mark per row 1 to N (element 0 is row 1).
    std::vector<bool> rowMarks() const;
    // Sets the marks of rows 1 to marks.size().
    void setRowMarks(const std::vector<bool>& marks);
    // Flips the check marks of the given rows.
    void toggleChecks(const std::vector<int>& rows);
    // True when the store holds this table's rows: as many, each standing for the same file.
    bool hasSameRowsAs(const RowStore& store) const;

    // Column 6's header: "Made by..." after a list open, "Made..." after a rebuild.
    void setMadeByHeader(bool madeBy);

    const WidestCellLengths& widestCellLengths() const { return widestCellLengths_; }
    void setWidestCellLengths(const WidestCellLengths& lengths) { widestCellLengths_ = lengths; }

Q_SIGNALS:
    // A cell was changed through the grid (typed or pasted), before: its text until then.
    void cellEdited(int row, int column, const QString& before);

private:
    void writeHeader(bool madeBy);
    void numberRows(int from);
    // Row i + 1 becomes the row order[i] was: a permutation or a subset of 1 to N.
    void placeRows(const std::vector<int>& order);
    void numberRowsKeepingMarks();
    void resizeRows(int count);
    void emitCellChanged(int row, int column);

    std::array<std::vector<QString>, columnCountValue> columns_;
    std::vector<RowFile> files_;
    std::array<QString, columnCountValue> header_;
    int songCount_ = 0;
    int bulkDepth_ = 0;
    int cutCells_ = 0;
    WidestCellLengths widestCellLengths_;
};

// Said once after a command that cut cells to SongTableModel::maxCellLength.
QString longCellsCutMessage();

} // namespace corvanteller
