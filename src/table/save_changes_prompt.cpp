// SPDX-License-Identifier: GPL-3.0-or-later
#include "table/save_changes_prompt.h"

#include "table/table_texts.h"

#include <QCloseEvent>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>

namespace corvanteller {

using namespace Qt::StringLiterals;

SaveChangesPrompt::SaveChangesPrompt(const WindowServices& services, SaveChangesFlow& flow,
                                     QWidget* parent)
    : ProgramDialog(services, parent), flow_(flow) {
    setWindowTitle(tableTexts::saveChangesTitle());
    setFixedSize(clientWidth, clientHeight);
    questionLabel = new QLabel(tableTexts::saveChangesQuestion(), this);
    questionLabel->setObjectName(u"questionLabel"_s);
    questionLabel->adjustSize();
    questionLabel->move((clientWidth - questionLabel->width()) / 2, 10);
    yesButton = new QPushButton(tableTexts::yes(), this);
    yesButton->setObjectName(u"yesButton"_s);
    noButton = new QPushButton(tableTexts::no(), this);
    noButton->setObjectName(u"noButton"_s);
    cancelButton = new QPushButton(tableTexts::cancel(), this);
    cancelButton->setObjectName(u"cancelButton"_s);
    int left = 24;
    for (QPushButton* button : {yesButton, noButton, cancelButton}) {
        button->setGeometry(left, 38, 90, 25);
        left += 102;
    }
    // As in a message box: Return presses the focused button, and "Yes" until another has the
    // focus.
    yesButton->setDefault(true);
    connect(yesButton, &QPushButton::clicked, this, [this] { Q_EMIT answered(PromptAnswer::Yes); });
    connect(noButton, &QPushButton::clicked, this, [this] { Q_EMIT answered(PromptAnswer::No); });
    connect(cancelButton, &QPushButton::clicked, this,
            [this] { Q_EMIT answered(PromptAnswer::Cancel); });
}

void SaveChangesPrompt::onActivated() {
    flow_.promptActivated();
}

void SaveChangesPrompt::closeEvent(QCloseEvent* event) {
    event->accept();
    hide();
}

// Every showing starts at "Yes", as a message box does.
void SaveChangesPrompt::showEvent(QShowEvent* event) {
    yesButton->setFocus();
    ProgramDialog::showEvent(event);
}

// Escape closes the prompt like its close button.
void SaveChangesPrompt::reject() {
    hide();
}

} // namespace corvanteller
