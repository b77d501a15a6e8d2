// SPDX-License-Identifier: GPL-3.0-or-later
#include "help/help_window.h"

#include "help/help_topics.h"
#include "help/long_item_hints.h"
#include "support_ui/scripted_ui_services.h"
#include "ui/form_activations.h"
#include "ui/hint_controller.h"

#include <QApplication>
#include <QCursor>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QToolTip>

#include <memory>

namespace corvanteller {

using namespace Qt::StringLiterals;

namespace {

const QColor crimson(220, 24, 98);

QWidget* shownTip() {
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->isVisible() && window->objectName() == "qtooltip_label"_L1) {
            return window;
        }
    }
    return nullptr;
}

} // namespace

class HelpWindowTest : public QObject {
    Q_OBJECT

private:
    ScriptedUiServices ui_;
    FormActivations activations_;
    std::unique_ptr<HintController> hints_;
    std::unique_ptr<QWidget> startWindow_;
    std::unique_ptr<HelpWindow> help_;

    HelpWindow& help() { return *help_; }

    void open() {
        help().showHelp();
        QVERIFY(QTest::qWaitForWindowActive(&help()));
    }

    // Where the window's centre lies once placed; the window system's frame comes on top.
    static QPoint placedCentre(const QWidget* window) {
        return window->pos() + window->rect().center();
    }

    // A click on a list's item as the user makes it, the list scrolled to it first.
    static void clickItem(QListWidget* list, int row) {
        list->scrollToItem(list->item(row));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->item(row)).center());
    }

    static QColor answerColour(const HelpWindow& help) {
        return help.answerText->palette().color(QPalette::Text);
    }

    static QStringList items(const QListWidget* list) {
        QStringList texts;
        for (int row = 0; row < list->count(); ++row) {
            texts.append(list->item(row)->text());
        }
        return texts;
    }

    // The mouse comes to rest on the middle of a list's item.
    static void restOn(QListWidget* list, int row) {
        QTest::mouseMove(list->viewport(), list->visualItemRect(list->item(row)).center());
    }

    void checkTopicShown(int topic) {
        const TopicPage expected = *pageForTopic(topic);
        QCOMPARE(help().questionLabel->text(), expected.page.questionLine);
        QCOMPARE(help().answerCaptionLabel->text(), expected.page.answerLabel);
        QVERIFY(help().answerCaptionLabel->isVisible());
        QCOMPARE(help().answerText->toPlainText(), expected.page.answerText);
        QCOMPARE(answerColour(help()), expected.page.answerIsPrompt ? crimson : QColor(Qt::black));
        QCOMPARE(help().answerText->palette().color(QPalette::Base),
                 help().palette().color(QPalette::Button));
        QCOMPARE(help().questionList->isVisible(), !expected.questions.isEmpty());
        QCOMPARE(help().chooseQuestionLabel->isVisible(), !expected.questions.isEmpty());
        QCOMPARE(items(help().questionList), expected.questions);
        QVERIFY(help().questionList->selectedItems().isEmpty());
    }

private Q_SLOTS:
    void init() {
        // Away from every window: the first move of a test is a move.
        QCursor::setPos(QPoint(0, 0));
        hints_ = std::make_unique<HintController>();
        startWindow_ = std::make_unique<QWidget>();
        startWindow_->setGeometry(300, 300, 356, 108);
        help_ = std::make_unique<HelpWindow>(WindowServices{ui_, activations_, *hints_},
                                             startWindow_.get());
        activations_.addForm(startWindow_.get());
    }

    void cleanup() {
        help_.reset();
        startWindow_.reset();
        hints_.reset();
        QToolTip::hideText();
    }

    void everyTopicAndQuestionThroughClicks() {
        open();
        QVERIFY(!help().answerCaptionLabel->isVisible());
        QVERIFY(!help().questionList->isVisible());
        // Each topic after each other kind: a topic with questions after one without and after
        // another with questions, and one without after one with.
        for (const int topic : {2, 3, 1, 4, 0, 2, 4, 3}) {
            clickItem(help().topicList, topic);
            checkTopicShown(topic);
            for (int question = 0; question < help().questionList->count(); ++question) {
                clickItem(help().questionList, question);
                const HelpPage expected = *pageForQuestion(topic, question);
                QCOMPARE(help().questionLabel->text(), expected.questionLine);
                QCOMPARE(help().answerCaptionLabel->text(), u"Answer:"_s);
                QCOMPARE(help().answerText->toPlainText(), expected.answerText);
                QCOMPARE(answerColour(help()), QColor(Qt::black));
            }
        }
        // A click on the topic already picked asks for a question again.
        clickItem(help().topicList, 3);
        checkTopicShown(3);
        QVERIFY(ui_.errors.isEmpty());
    }

    void keysPickTopicsAndQuestionsAsClicksDo() {
        open();
        help().topicList->setFocus(Qt::TabFocusReason);
        QTest::keyClick(help().topicList, Qt::Key_Down);
        checkTopicShown(0);
        QTest::keyClick(help().topicList, Qt::Key_Down);
        checkTopicShown(1);
        QTest::keyClick(help().topicList, Qt::Key_Down);
        checkTopicShown(2);

        // Tabbing into the questions picks none; the arrows pick from the first.
        QTest::keyClick(help().topicList, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), help().questionList);
        checkTopicShown(2);
        QTest::keyClick(help().questionList, Qt::Key_Down);
        QCOMPARE(help().questionLabel->text(),
                 u"Question: Main menu (general functions of the program) > About this help"_s);
        QTest::keyClick(help().questionList, Qt::Key_Down);
        QCOMPARE(
            help().questionLabel->text(),
            u"Question: Main menu (general functions of the program) > File > New scanning..."_s);
        QCOMPARE(help().answerText->toPlainText(), u"The new scanning of kar-files begins."_s);
        QCOMPARE(answerColour(help()), QColor(Qt::black));

        // Back to the topics: the questions follow the topic picked with the keys.
        QTest::keyClick(help().questionList, Qt::Key_Backtab);
        QTest::keyClick(help().topicList, Qt::Key_Down);
        checkTopicShown(3);
        QTest::keyClick(help().topicList, Qt::Key_Up);
        QTest::keyClick(help().topicList, Qt::Key_Up);
        checkTopicShown(1);
    }

    void okHidesAndTheNextOpeningShowsTheSameState() {
        open();
        QCOMPARE(placedCentre(&help()), startWindow_->geometry().center());
        clickItem(help().topicList, 4);
        clickItem(help().questionList, 2);
        const QString line = help().questionLabel->text();
        const QString answer = help().answerText->toPlainText();

        help().okButton->click();
        QVERIFY(help().isHidden());
        startWindow_->move(400, 350);
        open();
        QCOMPARE(placedCentre(&help()), startWindow_->geometry().center());
        QCOMPARE(help().topicList->currentRow(), 4);
        QCOMPARE(help().questionList->currentRow(), 2);
        QCOMPARE(help().questionLabel->text(), line);
        QCOMPARE(help().answerText->toPlainText(), answer);

        // Opened again while shown, it only comes forward, where the user left it.
        help().move(20, 30);
        const QPoint left = help().pos();
        help().showHelp();
        QCOMPARE(help().pos(), left);
        QVERIFY(help().isVisible());
    }

    void longItemsShowTheirWholeTextOverTheItem() {
        open();
        clickItem(help().topicList, 2);
        QVERIFY(!QToolTip::isVisible());

        struct Case {
            QListWidget* list;
            int row;
        };
        // The question list's longest item: which one is too long depends on the font.
        QListWidget* questions = help().questionList;
        int longestQuestion = 0;
        const QFontMetrics questionFont(questions->font());
        for (int row = 1; row < questions->count(); ++row) {
            if (questionFont.horizontalAdvance(questions->item(row)->text()) >
                questionFont.horizontalAdvance(questions->item(longestQuestion)->text())) {
                longestQuestion = row;
            }
        }
        const Case cases[] = {
            {help().topicList, 2},
            {questions, longestQuestion},
        };
        for (const Case& c : cases) {
            QListWidgetItem* item = c.list->item(c.row);
            c.list->scrollToItem(item);
            const int room = c.list->viewport()->width() - 2;
            QVERIFY2(QFontMetrics(c.list->font()).horizontalAdvance(item->text()) > room,
                     qPrintable(item->text()));

            restOn(c.list, c.row);
            QTRY_VERIFY(QToolTip::isVisible());
            QCOMPARE(QToolTip::text(), item->text());
            const QRect itemRect = c.list->visualItemRect(item);
            QCOMPARE(shownTip()->pos(),
                     QPoint(c.list->mapToGlobal(QPoint(0, 0)).x() + 1,
                            c.list->viewport()->mapToGlobal(itemRect.topLeft()).y() - 1));
            // The mouse moving within the item's row keeps the hint; leaving the row takes it.
            QTest::mouseMove(c.list->viewport(), itemRect.topLeft() + QPoint(2, 1));
            QVERIFY(QToolTip::isVisible());
            QTest::mouseMove(c.list->viewport(), itemRect.bottomLeft() + QPoint(2, 3));
            QTRY_VERIFY(!QToolTip::isVisible());
        }

        // A short item, and the list itself between its items, have no hint.
        QListWidget* topics = help().topicList;
        QVERIFY(!help().topicHints->needsHint(3)); // "Advises"
        restOn(topics, 3);
        QTRY_VERIFY(!help().topicHints->restTimer().isActive());
        QVERIFY(!QToolTip::isVisible());
        QHelpEvent wakeUp(QEvent::ToolTip, QPoint(4, 4),
                          topics->viewport()->mapToGlobal(QPoint(4, 4)));
        QApplication::sendEvent(topics->viewport(), &wakeUp);
        QVERIFY(!QToolTip::isVisible());

        // Nothing while the hints are off.
        hints_->setHintsEnabled(false);
        restOn(topics, 2);
        QTRY_VERIFY(!help().topicHints->restTimer().isActive());
        QVERIFY(!QToolTip::isVisible());
    }

    void theHintStaysWhileTheMouseStaysOnItsItem() {
        open();
        QListWidget* topics = help().topicList;
        const QRect item = topics->visualItemRect(topics->item(2));
        QCursor::setPos(topics->viewport()->mapToGlobal(item.center()));
        QTRY_VERIFY(QToolTip::isVisible());

        // The hint lies over the item, under the mouse: the window system tells the list that
        // the mouse has left it for the hint. The hint stays, past the toolkit's own pause
        // before it hides a tip whose control the mouse leaves.
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(topics->viewport(), &leave);
        QTest::qWait(2 * LongItemHints::restMs);
        QVERIFY(QToolTip::isVisible());

        // Leaving for real takes it away.
        QCursor::setPos(help().mapToGlobal(QPoint(help().width() / 2, help().height() - 4)));
        QApplication::sendEvent(topics->viewport(), &leave);
        QTRY_VERIFY(!QToolTip::isVisible());
    }

    void theHidePauseHoldsOnlyWhileTheWindowIsActive() {
        hints_->setHintHidePause(1234);
        open();
        QCOMPARE(hints_->hintHidePause(), LongItemHints::hidePauseMs);

        startWindow_->show();
        startWindow_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(startWindow_.get()));
        QCOMPARE(hints_->hintHidePause(), 1234);
        open();
        QCOMPARE(hints_->hintHidePause(), LongItemHints::hidePauseMs);

        help().close(); // the close box
        QCOMPARE(hints_->hintHidePause(), 1234);
        open();
        help().okButton->click();
        QCOMPARE(hints_->hintHidePause(), 1234);
    }
};

} // namespace corvanteller

QTEST_MAIN(corvanteller::HelpWindowTest)
#include "help_window_test.moc"
