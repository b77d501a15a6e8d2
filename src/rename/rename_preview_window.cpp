// SPDX-License-Identifier: GPL-3.0-or-later
#include "rename/rename_preview_window.h"

#include "rename/rename_texts.h"
#include "ui/preview_model.h"

#include <QLabel>
#include <QPushButton>
#include <QTableView>

#include <algorithm>

namespace corvanteller {

using namespace Qt::StringLiterals;

namespace {

QStringList columnCaptions() {
    QStringList captions;
    for (std::size_t column = 0; column < 5; ++column) {
        captions.append(renameTexts::previewColumn(column));
    }
    return captions;
}

} // namespace

// The preview's rows: the rows the run would not rename stand out.
class PreviewRowsModel final : public PreviewModel<PreviewRow> {
public:
    explicit PreviewRowsModel(QObject* parent) : PreviewModel(columnCaptions(), parent) {}

private:
    bool standsOut(const PreviewRow& row) const override {
        return row.outcome == RowOutcome::Failed;
    }
    QVariant cell(const PreviewRow& row, int column) const override {
        switch (column) {
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
};

RenamePreviewWindow::RenamePreviewWindow(QWidget* parent) : PreviewWindow(parent) {
    setWindowTitle(renameTexts::previewTitle());
    setModal(false);
    model_ = new PreviewRowsModel(this);
    summaryLabel = new QLabel(this);
    summaryLabel->setObjectName(u"summaryLabel"_s);
    namesView = new QTableView(this);
    namesView->setObjectName(u"namesView"_s);
    closeButton = new QPushButton(renameTexts::closePreview(), this);
    closeButton->setObjectName(u"closeButton"_s);
    connect(closeButton, &QPushButton::clicked, this, &QWidget::hide);
    layOut(summaryLabel, namesView, model_, {closeButton});
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
    showTable(namesView, {220, 180, 260});
}

const std::vector<PreviewRow>& RenamePreviewWindow::rows() const {
    return model_->rows();
}

} // namespace corvanteller
