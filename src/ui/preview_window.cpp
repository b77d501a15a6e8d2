// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/preview_window.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace corvanteller {

PreviewWindow::PreviewWindow(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint) {
    resize(980, 440);
}

void PreviewWindow::layOut(QLabel* summary, QTableView* view, QAbstractItemModel* model,
                           const QList<QPushButton*>& buttons) {
    view->setModel(model);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setWordWrap(false);
    view->verticalHeader()->hide();
    view->horizontalHeader()->setStretchLastSection(true);

    auto* buttonRow = new QHBoxLayout;
    buttonRow->addStretch();
    for (QPushButton* button : buttons) {
        buttonRow->addWidget(button);
    }
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(summary);
    layout->addWidget(view, 1);
    layout->addLayout(buttonRow);
}

void PreviewWindow::showTable(QTableView* view, const std::array<int, 3>& widths) {
    view->resizeColumnToContents(0);
    for (int column = 1; column <= 3; ++column) {
        view->setColumnWidth(column, widths[static_cast<std::size_t>(column - 1)]);
    }
    show();
    raise();
    activateWindow();
}

} // namespace corvanteller
