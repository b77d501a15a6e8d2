// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/find_bar.h"

#include "ui/ui_texts.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QStyle>
#include <QToolButton>

namespace corvanteller {

using namespace Qt::StringLiterals;

FindBar::FindBar(QWidget* parent) : QWidget(parent) {
    setObjectName(u"findBar"_s);
    findEdit = new QLineEdit(this);
    findEdit->setObjectName(u"findEdit"_s);
    findEdit->setObjectName(u"findEdit"_s);
    findEdit->setClearButtonEnabled(true);
    nextButton = new QPushButton(uiTexts::findNext(), this);
    nextButton->setObjectName(u"nextButton"_s);
    previousButton = new QPushButton(uiTexts::findPrevious(), this);
    previousButton->setObjectName(u"previousButton"_s);
    messageLabel = new QLabel(this);
    messageLabel->setObjectName(u"messageLabel"_s);
    closeButton = new QToolButton(this);
    closeButton->setObjectName(u"closeButton"_s);
    closeButton->setIcon(style()->standardIcon(QStyle::SP_TitleBarCloseButton));
    closeButton->setAutoRaise(true);
    closeButton->setToolTip(uiTexts::closeFindBar());

    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(4, 2, 4, 2);
    row->addWidget(findEdit, 1);
    row->addWidget(nextButton);
    row->addWidget(previousButton);
    row->addWidget(messageLabel, 1);
    row->addWidget(closeButton);

    connect(findEdit, &QLineEdit::textEdited, this, [this] { request(FindStep::Typed); });
    connect(findEdit, &QLineEdit::returnPressed, this, [this] { request(FindStep::Next); });
    connect(nextButton, &QPushButton::clicked, this, [this] { request(FindStep::Next); });
    connect(previousButton, &QPushButton::clicked, this, [this] { request(FindStep::Previous); });
    connect(closeButton, &QToolButton::clicked, this, &FindBar::closeBar);

    // Shortcuts of a hidden widget do not fire: F3 works only while the bar is shown.
    auto* next = new QShortcut(QKeySequence(Qt::Key_F3), this);
    connect(next, &QShortcut::activated, this, [this] { request(FindStep::Next); });
    auto* previous = new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F3), this);
    connect(previous, &QShortcut::activated, this, [this] { request(FindStep::Previous); });
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    escape->setContext(Qt::WidgetWithChildrenShortcut);
    connect(escape, &QShortcut::activated, this, &FindBar::closeBar);
}

void FindBar::open() {
    show();
    findEdit->setFocus(Qt::ShortcutFocusReason);
    findEdit->selectAll();
}

void FindBar::closeBar() {
    // Before hiding: a hidden bar would hand the focus on as a Tab does, and the song grid
    // counts a Tab into it as the user's.
    if (searched_ != nullptr) {
        searched_->setFocus(Qt::OtherFocusReason);
    }
    hide();
    Q_EMIT closed();
}

void FindBar::showMessage(const QString& text) {
    messageLabel->setText(text);
}

void FindBar::request(FindStep step) {
    Q_EMIT findRequested(findEdit->text(), step);
}

} // namespace corvanteller
