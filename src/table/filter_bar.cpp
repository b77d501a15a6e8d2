// SPDX-License-Identifier: GPL-3.0-or-later
#include "table/filter_bar.h"

#include "table/table_filter.h"
#include "table/table_texts.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

namespace corvanteller {

FilterBar::FilterBar(const QStringList& columns, QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("filterBar"));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 2, 4, 2);
    auto* label = new QLabel(tableTexts::filterLabel(), this);
    filterEdit_ = new QLineEdit(this);
    filterEdit_->setObjectName(QStringLiteral("filterEdit"));
    label->setBuddy(filterEdit_);
    columnBox_ = new QComboBox(this);
    columnBox_->setObjectName(QStringLiteral("filterColumnBox"));
    columnBox_->addItem(tableTexts::allColumns(), anyFilterColumn);
    for (int column = 1; column < columns.size(); ++column) {
        columnBox_->addItem(columns[column], column);
    }
    markShownButton_ = new QPushButton(tableTexts::markShown(), this);
    markShownButton_->setObjectName(QStringLiteral("markShownButton"));
    closeButton_ = new QToolButton(this);
    closeButton_->setObjectName(QStringLiteral("filterCloseButton"));
    closeButton_->setText(tableTexts::closeFilter());
    closeButton_->setAutoRaise(true);
    layout->addWidget(label);
    layout->addWidget(filterEdit_, 1);
    layout->addWidget(columnBox_);
    layout->addWidget(markShownButton_);
    layout->addWidget(closeButton_);
    connect(filterEdit_, &QLineEdit::textChanged, this, &FilterBar::filterChanged);
    connect(columnBox_, &QComboBox::currentIndexChanged, this, &FilterBar::filterChanged);
    connect(markShownButton_, &QPushButton::clicked, this, &FilterBar::markShownRequested);
    connect(closeButton_, &QToolButton::clicked, this, &FilterBar::closeBar);
}

void FilterBar::open() {
    show();
    filterEdit_->setFocus(Qt::ShortcutFocusReason);
    filterEdit_->selectAll();
}

void FilterBar::closeBar() {
    const bool filtered = !filterEdit_->text().isEmpty();
    hide();
    filterEdit_->clear(); // every row shown again
    if (!filtered) {
        Q_EMIT filterChanged();
    }
    Q_EMIT closed();
}

QString FilterBar::text() const {
    return isHidden() ? QString() : filterEdit_->text();
}

int FilterBar::column() const {
    return columnBox_->currentData().toInt();
}

void FilterBar::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        closeBar();
        return;
    }
    QWidget::keyPressEvent(event);
}

} // namespace corvanteller
