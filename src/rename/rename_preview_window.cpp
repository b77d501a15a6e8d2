// SPDX-License-Identifier: GPL-3.0-or-later
#include "rename/rename_preview_window.h"

#include "rename/rename_texts.h"

#include <QAbstractTableModel>
#include <QColor>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

namespace corvanteller {

using namespace Qt::StringLiterals;

// The preview's rows for the view, without one item per cell.
class PreviewRowsModel : public QAbstractTableModel {
public:
    using QAbstractTableModel::QAbstractTableModel;

    int rowCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : static_cast<int>(rows_.size());
    }
    int columnCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : columnCount_;
    }
    QVariant data(const QModelIndex& index, int role) const override {
        if (!index.isValid()) {
            return {};
        }
        const PreviewRow& row = rows_[static_cast<std::size_t>(index.row())];
        if (role == Qt::ForegroundRole) {
            // The rows the run would not rename stand out.
            return row.outcome == RowOutcome::Failed ? QVariant(QColor(Qt::red)) : QVariant();
        }
        if (role != Qt::DisplayRole) {
            return {};
        }
        switch (index.column()) {
        case 0:
            return row.row;
        case 1:
            return row.folder;
        case 2:
            return row.oldName;
        case 3:
            return row.outcome == RowOutcome::Failed ? QString() : row.newName;
        default:
            return row.remarks.join(u"; "_s);
        }
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole) {
            return {};
        }
        return section >= 0 && section < columnCount_
                   ? renameTexts::previewColumn(static_cast<std::size_t>(section))
                   : QVariant();
    }

    void setRows(std::vector<PreviewRow> rows) {
        beginResetModel();
        rows_ = std::move(rows);
        endResetModel();
    }
    const std::vector<PreviewRow>& rows() const { return rows_; }

private:
    static constexpr int columnCount_ = 5;
    std::vector<PreviewRow> rows_;
};

RenamePreviewWindow::RenamePreviewWindow(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint) {
    setWindowTitle(renameTexts::previewTitle());
    setModal(false);
    resize(980, 440);
    model_ = new PreviewRowsModel(this);
    summaryLabel = new QLabel(this);
    summaryLabel->setObjectName(u"summaryLabel"_s);
    Table = new QTableView(this);
    Table->setObjectName(u"Table"_s);
    Table->setModel(model_);
    Table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Table->setSelectionBehavior(QAbstractItemView::SelectRows);
    Table->setWordWrap(false);
    Table->verticalHeader()->hide();
    Table->horizontalHeader()->setStretchLastSection(true);
    closeButton = new QPushButton(renameTexts::closePreview(), this);
    closeButton->setObjectName(u"closeButton"_s);
    connect(closeButton, &QPushButton::clicked, this, &QWidget::hide);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(closeButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(summaryLabel);
    layout->addWidget(Table, 1);
    layout->addLayout(buttons);
}

void RenamePreviewWindow::showRows(std::vector<PreviewRow> rows) {
    const auto renamed = std::count_if(rows.begin(), rows.end(), [](const PreviewRow& row) {
        return row.outcome == RowOutcome::Renamed;
    });
    const auto failed = std::count_if(rows.begin(), rows.end(), [](const PreviewRow& row) {
        return row.outcome == RowOutcome::Failed;
    });
    summaryLabel->setText(renameTexts::previewSummary(rows.size(), renamed, failed));
    model_->setRows(std::move(rows));
    Table->resizeColumnToContents(0);
    Table->setColumnWidth(1, 220);
    Table->setColumnWidth(2, 180);
    Table->setColumnWidth(3, 260);
    show();
    raise();
    activateWindow();
}

const std::vector<PreviewRow>& RenamePreviewWindow::rows() const {
    return model_->rows();
}

} // namespace corvanteller
