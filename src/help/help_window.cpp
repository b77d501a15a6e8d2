#include "help/help_window.h"

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

THelp::THelp(const WindowServices& services, QWidget* centreOver)
    : ProgramDialog(services), centreOver_(centreOver) {
    setWindowTitle(u"Help"_s);
    setFixedSize(clientWidth, clientHeight);
    buildControls();
}

void THelp::buildControls() {
    Label1 = new QLabel(u"Choose theme:"_s, this);
    Label1->setGeometry(8, 8, 200, 16);

    ListBox1 = new QListWidget(this);
    ListBox1->setGeometry(8, 26, 200, 112);
    for (const HelpTopic& topic : helpTopics()) {
        ListBox1->addItem(topic.title);
    }
    leaveUnpicked(ListBox1);

    Label2 = new QLabel(u"Specify the choice:"_s, this);
    Label2->setGeometry(220, 8, 308, 16);
    Label2->hide();

    ListBox2 = new QListWidget(this);
    ListBox2->setGeometry(220, 26, 308, 112);
    ListBox2->hide();

    // Room for two lines: a question deep in the main menu does not fit in one.
    Label3 = new QLabel(this);
    Label3->setGeometry(8, 144, 520, 32);
    Label3->setFont(pixelFont(font(), 12));
    Label3->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label3->setWordWrap(true);
    setTextColour(Label3, QPalette::WindowText, navy);

    Label4 = new QLabel(u"Answer:"_s, this);
    Label4->setGeometry(8, 178, 520, 18);
    Label4->setFont(pixelFont(font(), 13, true));
    setTextColour(Label4, QPalette::WindowText, maroon);
    Label4->hide();

    Memo1 = new QPlainTextEdit(this);
    Memo1->setGeometry(8, 198, 520, 236);
    Memo1->setReadOnly(true);

    Button1 = new QPushButton(u"OK"_s, this);
    Button1->setGeometry(clientWidth / 2 - 40, 444, 80, 25);

    UiServices& ui = services_.ui;
    // A topic or question picked with the keyboard counts as much as a click; a click on the
    // topic already picked shows its page again.
    connect(ListBox1, &QListWidget::itemSelectionChanged, this,
            guard(this, ui, [this] { ListBox1Click(); }));
    connect(ListBox1, &QListWidget::itemClicked, this,
            guard(this, ui, [this] { ListBox1Click(); }));
    connect(ListBox2, &QListWidget::itemSelectionChanged, this,
            guard(this, ui, [this] { ListBox2Click(); }));
    connect(Button1, &QPushButton::clicked, this, guard(this, ui, [this] { Button1Click(); }));

    topicHints = new LongItemHints(ListBox1, services_.hints);
    questionHints = new LongItemHints(ListBox2, services_.hints);
}

void THelp::showHelp() {
    showFor(isVisible() ? nullptr : centreOver_);
}

void THelp::FormActivate() {
    notePause();
}

void THelp::ListBox1Click() {
    const int topic = pickedRow(ListBox1);
    const std::optional<TopicPage> picked = pageForTopic(topic);
    if (!picked) {
        return;
    }
    shownTopic_ = topic;
    Label4->show();
    setTextColour(Memo1, QPalette::Base, palette().color(QPalette::Button));
    ListBox2->clear();
    ListBox2->addItems(picked->questions);
    leaveUnpicked(ListBox2);
    Label2->setVisible(!picked->questions.isEmpty());
    ListBox2->setVisible(!picked->questions.isEmpty());
    Label4->setText(picked->page.answerLabel);
    Label3->setText(picked->page.questionLine);
    showAnswer(picked->page.answerText, picked->page.answerIsPrompt ? crimson : Qt::black);
}

void THelp::ListBox2Click() {
    const std::optional<HelpPage> page = pageForQuestion(shownTopic_, pickedRow(ListBox2));
    if (!page) {
        return;
    }
    Label4->setText(page->answerLabel);
    Label3->setText(page->questionLine);
    showAnswer(page->answerText, Qt::black);
}

void THelp::showAnswer(const QString& text, const QColor& colour) {
    setTextColour(Memo1, QPalette::Text, colour);
    Memo1->setPlainText(text);
}

void THelp::Button1Click() {
    hide();
}

bool THelp::event(QEvent* event) {
    // The list hints' pause holds while this window is the active one.
    if (event->type() == QEvent::WindowActivate) {
        notePause();
    } else if (event->type() == QEvent::WindowDeactivate) {
        putPauseBack();
    }
    return ProgramDialog::event(event);
}

void THelp::hideEvent(QHideEvent* event) {
    putPauseBack();
    ProgramDialog::hideEvent(event);
}

void THelp::notePause() {
    if (!pauseNoted_) {
        pauseNoted_ = true;
        notedPause_ = services_.hints.hintHidePause();
    }
    services_.hints.setHintHidePause(LongItemHints::hidePauseMs);
}

void THelp::putPauseBack() {
    if (pauseNoted_) {
        pauseNoted_ = false;
        services_.hints.setHintHidePause(notedPause_);
    }
}

} // namespace corvanteller
