// SPDX-License-Identifier: GPL-3.0-or-later
#include "write/text_write_preview_window.h"

#include "rename/file_lookup.h"
#include "ui/preview_model.h"
#include "write/write_texts.h"

#include <QLabel>
#include <QPushButton>
#include <QTableView>

#include <algorithm>

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

class TextWriteRowsModel final : public PreviewModel<TextWriteRowResult> {
public:
    explicit TextWriteRowsModel(QObject* parent)
        : PreviewModel({writeTexts::rowColumn(), writeTexts::fileColumn(),
                        writeTexts::fileTextsColumn(), writeTexts::newTextsColumn(),
                        writeTexts::outcomeColumn()},
                       parent) {}

private:
    bool standsOut(const TextWriteRowResult& row) const override { return refused(row); }
    QVariant cell(const TextWriteRowResult& row, int column) const override {
        switch (column) {
        case 0:
            return row.row;
        case 1:
            return displayPath(row.path);
        case 2:
            return textsLine(row.oldTexts);
        case 3:
            return textsLine(row.newTexts);
        default:
            return refused(row) ? row.message : writeTexts::toBeWritten();
        }
    }
};

TextWritePreviewWindow::TextWritePreviewWindow(QWidget* parent) : PreviewWindow(parent) {
    setWindowTitle(writeTexts::previewTitle());
    setWindowModality(Qt::ApplicationModal);
    model_ = new TextWriteRowsModel(this);
    summaryLabel = new QLabel(this);
    summaryLabel->setObjectName(u"summaryLabel"_s);
    rowsView = new QTableView(this);
    rowsView->setObjectName(u"rowsView"_s);
    writeButton = new QPushButton(writeTexts::write(), this);
    writeButton->setObjectName(u"writeButton"_s);
    cancelButton = new QPushButton(writeTexts::cancel(), this);
    cancelButton->setObjectName(u"cancelButton"_s);
    connect(writeButton, &QPushButton::clicked, this, [this] {
        hide();
        Q_EMIT writeChosen();
    });
    connect(cancelButton, &QPushButton::clicked, this, &QWidget::hide);
    layOut(summaryLabel, rowsView, model_, {writeButton, cancelButton});
}

void TextWritePreviewWindow::showRows(std::vector<TextWriteRowResult> rows) {
    const auto refusedRows = std::count_if(rows.begin(), rows.end(), refused);
    const auto toWrite = static_cast<qsizetype>(rows.size()) - refusedRows;
    summaryLabel->setText(
        writeTexts::previewSummary(static_cast<qsizetype>(rows.size()), toWrite, refusedRows));
    writeButton->setEnabled(toWrite > 0);
    model_->setRows(std::move(rows));
    showTable(rowsView, {260, 220, 220});
    (toWrite > 0 ? writeButton : cancelButton)->setFocus(Qt::OtherFocusReason);
}

const std::vector<TextWriteRowResult>& TextWritePreviewWindow::rows() const {
    return model_->rows();
}

} // namespace corvanteller
