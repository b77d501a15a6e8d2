#include "table/save_changes_prompt.h"

#include "app/app_context.h"
#include "app/error_guard.h"
#include "app/settings_actions.h"
#include "table/main_window.h"

#include <QCloseEvent>
#include <QLabel>
#include <QPushButton>

namespace corvanteller {

using namespace Qt::StringLiterals;

TForm12::TForm12(AppContext& context, QWidget* parent) : ProgramDialog(context, parent) {
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
        button->setAutoDefault(false);
        left += 102;
    }
    UiServices& ui = context_.ui;
    connect(Button1, &QPushButton::clicked, this, guard(this, ui, [this] { Button1Click(); }));
    connect(Button2, &QPushButton::clicked, this, guard(this, ui, [this] { Button2Click(); }));
    connect(Button3, &QPushButton::clicked, this, guard(this, ui, [this] { Button3Click(); }));
}

void TForm12::FormActivate() {
    if (context_.table.promptPurpose != PromptPurpose::AskBeforeNewScan) {
        context_.table.promptPurpose = PromptPurpose::AskBeforeClosing;
    }
}

void TForm12::Button1Click() {
    TableSession& table = context_.table;
    if (table.promptPurpose != PromptPurpose::AskBeforeNewScan) {
        table.promptPurpose = PromptPurpose::CloseAfterSaving;
    }
    context_.mainWindow->N29Click();
}

void TForm12::Button2Click() {
    TableSession& table = context_.table;
    hide();
    if (table.promptPurpose == PromptPurpose::AskBeforeNewScan) {
        table.unsavedChanges = false;
        table.promptPurpose = PromptPurpose::AskBeforeClosing;
        context_.mainWindow->NewScanningClick();
        return;
    }
    endProgramFromMainWindow(context_, context_.mainWindow);
}

void TForm12::Button3Click() {
    context_.table.promptPurpose = PromptPurpose::AskBeforeClosing;
    hide();
}

void TForm12::closeEvent(QCloseEvent* event) {
    event->accept();
    hide();
}

// Escape closes the prompt like its close button.
void TForm12::reject() {
    hide();
}

} // namespace corvanteller
