// SPDX-License-Identifier: GPL-3.0-or-later
#include "write/text_write_preview_window.h"

#include "rename/file_lookup.h"

#include <QAbstractTableModel>
#include <QColor>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>
#include <array>

namespace corvanteller {

using namespace Qt::StringLiterals;

namespace {

QString textsLine(const SongTexts& texts) {
    return QStringList{texts.first, texts.second, texts.third, texts.fourth}.join(u" | "_s);
}

bool refused(const TextWriteRowResult& row) {
    return row.outcome == TextWriteOutcome::Refused || row.outcome == TextWriteOutcome::Failed;
}

} // namespace

// The preview's rows for the view, without one item per cell.
class TextWriteRowsModel : public QAbstractTableModel {
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
        const TextWriteRowResult& row = rows_[static_cast<std::size_t>(index.row())];
        if (role == Qt::ForegroundRole) {
            return refused(row) ? QVariant(QColor(Qt::red)) : QVariant();
        }
        if (role != Qt::DisplayRole) {
            return {};
        }
        switch (index.column()) {
        case 0:
            return row.row;
        case 1:
            return displayPath(row.path);
        case 2:
            return textsLine(row.oldTexts);
        case 3:
            return textsLine(row.newTexts);
        default:
            return refused(row) ? row.message : u"to be written"_s;
        }
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole) {
            return {};
        }
        static const std::array<QString, columnCount_> captions = {
            u"Row"_s, u"File"_s, u"Texts of the file"_s, u"New texts"_s, u"Outcome"_s};
        return section >= 0 && section < columnCount_ ? captions[static_cast<std::size_t>(section)]
                                                      : QVariant();
    }

    void setRows(std::vector<TextWriteRowResult> rows) {
        beginResetModel();
        rows_ = std::move(rows);
        endResetModel();
    }
    const std::vector<TextWriteRowResult>& rows() const { return rows_; }

private:
    static constexpr int columnCount_ = 5;
    std::vector<TextWriteRowResult> rows_;
};

TextWritePreviewWindow::TextWritePreviewWindow(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint) {
    setWindowTitle(u"Preview of text writing"_s);
    setWindowModality(Qt::ApplicationModal);
    resize(980, 440);
    model_ = new TextWriteRowsModel(this);
    summaryLabel = new QLabel(this);
    summaryLabel->setObjectName(u"summaryLabel"_s);
    rowsView = new QTableView(this);
    rowsView->setObjectName(u"rowsView"_s);
    rowsView->setModel(model_);
    rowsView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    rowsView->setSelectionBehavior(QAbstractItemView::SelectRows);
    rowsView->setWordWrap(false);
    rowsView->verticalHeader()->hide();
    rowsView->horizontalHeader()->setStretchLastSection(true);
    writeButton = new QPushButton(u"Write"_s, this);
    writeButton->setObjectName(u"writeButton"_s);
    cancelButton = new QPushButton(u"Cancel"_s, this);
    cancelButton->setObjectName(u"cancelButton"_s);
    connect(writeButton, &QPushButton::clicked, this, [this] {
        hide();
        Q_EMIT writeChosen();
    });
    connect(cancelButton, &QPushButton::clicked, this, &QWidget::hide);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(writeButton);
    buttons->addWidget(cancelButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(summaryLabel);
    layout->addWidget(rowsView, 1);
    layout->addLayout(buttons);
}

void TextWritePreviewWindow::showRows(std::vector<TextWriteRowResult> rows) {
    const auto refusedRows = std::count_if(rows.begin(), rows.end(), refused);
    const auto toWrite = static_cast<qsizetype>(rows.size()) - refusedRows;
    summaryLabel->setText(
        u"%1 file(s) give other texts than their rows: %2 to be written, %3 "
        u"refused (in red). Nothing is written until \"Write\"."_s.arg(rows.size())
            .arg(toWrite)
            .arg(refusedRows));
    writeButton->setEnabled(toWrite > 0);
    model_->setRows(std::move(rows));
    rowsView->resizeColumnToContents(0);
    rowsView->setColumnWidth(1, 260);
    rowsView->setColumnWidth(2, 220);
    rowsView->setColumnWidth(3, 220);
    show();
    raise();
    activateWindow();
    (toWrite > 0 ? writeButton : cancelButton)->setFocus(Qt::OtherFocusReason);
}

const std::vector<TextWriteRowResult>& TextWritePreviewWindow::rows() const {
    return model_->rows();
}

} // namespace corvanteller
