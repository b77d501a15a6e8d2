// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractTableModel>
#include <QColor>
#include <QStringList>

#include <utility>
#include <vector>

namespace corvanteller {

// The rows of a preview for its view, without one item per cell: one column per caption, the
// rows that stand out in red.
template <typename Row> class PreviewModel : public QAbstractTableModel {
public:
    PreviewModel(QStringList captions, QObject* parent)
        : QAbstractTableModel(parent), captions_(std::move(captions)) {}

    int rowCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : static_cast<int>(rows_.size());
    }
    int columnCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : static_cast<int>(captions_.size());
    }
    QVariant data(const QModelIndex& index, int role) const override {
        if (!index.isValid()) {
            return {};
        }
        const Row& row = rows_[static_cast<std::size_t>(index.row())];
        if (role == Qt::ForegroundRole) {
            return standsOut(row) ? QVariant(QColor(Qt::red)) : QVariant();
        }
        return role == Qt::DisplayRole ? cell(row, index.column()) : QVariant();
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole) {
            return {};
        }
        return section >= 0 && section < captions_.size() ? captions_[section] : QVariant();
    }

    void setRows(std::vector<Row> rows) {
        beginResetModel();
        rows_ = std::move(rows);
        endResetModel();
    }
    const std::vector<Row>& rows() const { return rows_; }

private:
    virtual bool standsOut(const Row& row) const = 0;
    virtual QVariant cell(const Row& row, int column) const = 0;

    QStringList captions_;
    std::vector<Row> rows_;
};

} // namespace corvanteller
