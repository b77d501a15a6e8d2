// SPDX-License-Identifier: GPL-3.0-or-later
#include "help/help_window.h"

#include "help/help_texts.h"
#include "help/help_topics.h"
#include "help/long_item_hints.h"
#include "ui/error_guard.h"
#include "ui/hint_controller.h"

#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>

namespace corvanteller {

using namespace Qt::StringLiterals;

namespace {

const QColor navy(0, 0, 128);
const QColor maroon(128, 0, 0);
const QColor crimson(220, 24, 98);

void setTextColour(QWidget* widget, QPalette::ColorRole role, const QColor& colour) {
    QPalette palette = widget->palette();
    palette.setColor(role, colour);
    widget->setPalette(palette);
}

QFont pixelFont(const QFont& base, int pixels, bool bold = false) {
    QFont font = base;
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

// The picked row; a list whose current row is only focused, not picked, has none.
int pickedRow(const QListWidget* list) {
    const QList<QListWidgetItem*> picked = list->selectedItems();
    return picked.isEmpty() ? -1 : list->row(picked.front());
}

// No current item either: a list reached with Tab would make its first item current, and the
// first arrow key would then pass over it.
void leaveUnpicked(QListWidget* list) {
    list->setCurrentIndex(QModelIndex());
}

} // namespace

HelpWindow::HelpWindow(const WindowServices& services, QWidget* centreOver)
    : ProgramDialog(services), centreOver_(centreOver) {
    setWindowTitle(helpTexts::helpTitle());
    setFixedSize(clientWidth, clientHeight);
    buildControls();
}

void HelpWindow::buildControls() {
    chooseTopicLabel = new QLabel(helpTexts::chooseTopic(), this);
    chooseTopicLabel->setObjectName(QStringLiteral("chooseTopicLabel"));
    chooseTopicLabel->setGeometry(8, 8, 200, 16);

    topicList = new QListWidget(this);
    topicList->setObjectName(QStringLiteral("topicList"));
    topicList->setGeometry(8, 26, 200, 112);
    for (const HelpTopic& topic : helpTopics()) {
        topicList->addItem(topic.title);
    }
    leaveUnpicked(topicList);

    chooseQuestionLabel = new QLabel(helpTexts::specifyChoice(), this);
    chooseQuestionLabel->setObjectName(QStringLiteral("chooseQuestionLabel"));
    chooseQuestionLabel->setGeometry(220, 8, 308, 16);
    chooseQuestionLabel->hide();

    questionList = new QListWidget(this);
    questionList->setObjectName(QStringLiteral("questionList"));
    questionList->setGeometry(220, 26, 308, 112);
    questionList->hide();

    // Room for two lines: a question deep in the main menu does not fit in one.
    questionLabel = new QLabel(this);
    questionLabel->setObjectName(QStringLiteral("questionLabel"));
    questionLabel->setGeometry(8, 144, 520, 32);
    questionLabel->setFont(pixelFont(font(), 12));
    questionLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    questionLabel->setWordWrap(true);
    setTextColour(questionLabel, QPalette::WindowText, navy);

    answerCaptionLabel = new QLabel(helpTexts::answer(), this);
    answerCaptionLabel->setObjectName(QStringLiteral("answerCaptionLabel"));
    answerCaptionLabel->setGeometry(8, 178, 520, 18);
    answerCaptionLabel->setFont(pixelFont(font(), 13, true));
    setTextColour(answerCaptionLabel, QPalette::WindowText, maroon);
    answerCaptionLabel->hide();

    answerText = new QPlainTextEdit(this);
    answerText->setObjectName(QStringLiteral("answerText"));
    answerText->setGeometry(8, 198, 520, 236);
    answerText->setReadOnly(true);

    okButton = new QPushButton(helpTexts::ok(), this);
    okButton->setObjectName(QStringLiteral("okButton"));
    okButton->setGeometry(clientWidth / 2 - 40, 444, 80, 25);

    UiServices& ui = services_.ui;
    // A topic or question picked with the keyboard counts as much as a click; a click on the
    // topic already picked shows its page again.
    connect(topicList, &QListWidget::itemSelectionChanged, this,
            guard(this, ui, [this] { showTopicQuestions(); }));
    connect(topicList, &QListWidget::itemClicked, this,
            guard(this, ui, [this] { showTopicQuestions(); }));
    connect(questionList, &QListWidget::itemSelectionChanged, this,
            guard(this, ui, [this] { showQuestionAnswer(); }));
    connect(okButton, &QPushButton::clicked, this, guard(this, ui, [this] { hideHelp(); }));

    topicHints = new LongItemHints(topicList, services_.hints);
    topicHints->setObjectName(QStringLiteral("topicHints"));
    questionHints = new LongItemHints(questionList, services_.hints);
    questionHints->setObjectName(QStringLiteral("questionHints"));
}

void HelpWindow::showHelp() {
    showFor(isVisible() ? nullptr : centreOver_);
}

void HelpWindow::onActivated() {
    notePause();
}

void HelpWindow::showTopicQuestions() {
    const int topic = pickedRow(topicList);
    const std::optional<TopicPage> picked = pageForTopic(topic);
    if (!picked) {
        return;
    }
    shownTopic_ = topic;
    answerCaptionLabel->show();
    setTextColour(answerText, QPalette::Base, palette().color(QPalette::Button));
    questionList->clear();
    questionList->addItems(picked->questions);
    leaveUnpicked(questionList);
    chooseQuestionLabel->setVisible(!picked->questions.isEmpty());
    questionList->setVisible(!picked->questions.isEmpty());
    answerCaptionLabel->setText(picked->page.answerLabel);
    questionLabel->setText(picked->page.questionLine);
    showAnswer(picked->page.answerText, picked->page.answerIsPrompt ? crimson : Qt::black);
}

void HelpWindow::showQuestionAnswer() {
    const std::optional<HelpPage> page = pageForQuestion(shownTopic_, pickedRow(questionList));
    if (!page) {
        return;
    }
    answerCaptionLabel->setText(page->answerLabel);
    questionLabel->setText(page->questionLine);
    showAnswer(page->answerText, Qt::black);
}

void HelpWindow::showAnswer(const QString& text, const QColor& colour) {
    setTextColour(answerText, QPalette::Text, colour);
    answerText->setPlainText(text);
}

void HelpWindow::hideHelp() {
    hide();
}

bool HelpWindow::event(QEvent* event) {
    // The list hints' pause holds while this window is the active one.
    if (event->type() == QEvent::WindowActivate) {
        notePause();
    } else if (event->type() == QEvent::WindowDeactivate) {
        putPauseBack();
    }
    return ProgramDialog::event(event);
}

void HelpWindow::hideEvent(QHideEvent* event) {
    putPauseBack();
    ProgramDialog::hideEvent(event);
}

void HelpWindow::notePause() {
    if (!pauseNoted_) {
        pauseNoted_ = true;
        notedPause_ = services_.hints.hintHidePause();
    }
    services_.hints.setHintHidePause(LongItemHints::hidePauseMs);
}

void HelpWindow::putPauseBack() {
    if (pauseNoted_) {
        pauseNoted_ = false;
        services_.hints.setHintHidePause(notedPause_);
    }
}

} // namespace corvanteller
