#include "table/save_changes_prompt.h"

#include <QCloseEvent>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>

namespace corvanteller {

using namespace Qt::StringLiterals;

TForm12::TForm12(const WindowServices& services, SaveChangesFlow& flow, QWidget* parent)
    : ProgramDialog(services, parent), flow_(flow) {
    setWindowTitle(u"Attention"_s);
    setFixedSize(clientWidth, clientHeight);
    Label1 = new QLabel(u"Do you want save changes?"_s, this);
    Label1->adjustSize();
    Label1->move((clientWidth - Label1->width()) / 2, 10);
    Button1 = new QPushButton(u"Yes"_s, this);
    Button2 = new QPushButton(u"No"_s, this);
    Button3 = new QPushButton(u"Cancel"_s, this);
    int left = 24;
    for (QPushButton* button : {Button1, Button2, Button3}) {
        button->setGeometry(left, 38, 90, 25);
        left += 102;
    }
    // As in a message box: Return presses the focused button, and "Yes" until another has the
    // focus.
    Button1->setDefault(true);
    connect(Button1, &QPushButton::clicked, this, [this] { Q_EMIT answered(PromptAnswer::Yes); });
    connect(Button2, &QPushButton::clicked, this, [this] { Q_EMIT answered(PromptAnswer::No); });
    connect(Button3, &QPushButton::clicked, this,
            [this] { Q_EMIT answered(PromptAnswer::Cancel); });
}

void TForm12::FormActivate() {
    flow_.promptActivated();
}

void TForm12::closeEvent(QCloseEvent* event) {
    event->accept();
    hide();
}

// Every showing starts at "Yes", as a message box does.
void TForm12::showEvent(QShowEvent* event) {
    Button1->setFocus();
    ProgramDialog::showEvent(event);
}

// Escape closes the prompt like its close button.
void TForm12::reject() {
    hide();
}

} // namespace corvanteller
