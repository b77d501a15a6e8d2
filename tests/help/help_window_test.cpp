// SPDX-License-Identifier: GPL-3.0-or-later
#include "help/help_window.h"

#include "help/help_topics.h"
#include "help/long_item_hints.h"
#include "support_ui/scripted_ui_services.h"
#include "support_ui/window_child.h"
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
        return child<QPlainTextEdit>(help, "answerText")->palette().color(QPalette::Text);
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
        QCOMPARE(child<QLabel>(help(), "questionLabel")->text(), expected.page.questionLine);
        QCOMPARE(child<QLabel>(help(), "answerCaptionLabel")->text(), expected.page.answerLabel);
        QVERIFY(child<QLabel>(help(), "answerCaptionLabel")->isVisible());
        QCOMPARE(child<QPlainTextEdit>(help(), "answerText")->toPlainText(),
                 expected.page.answerText);
        QCOMPARE(answerColour(help()), expected.page.answerIsPrompt ? crimson : QColor(Qt::black));
        QCOMPARE(child<QPlainTextEdit>(help(), "answerText")->palette().color(QPalette::Base),
                 help().palette().color(QPalette::Button));
        QCOMPARE(child<QListWidget>(help(), "questionList")->isVisible(),
                 !expected.questions.isEmpty());
        QCOMPARE(child<QLabel>(help(), "chooseQuestionLabel")->isVisible(),
                 !expected.questions.isEmpty());
        QCOMPARE(items(child<QListWidget>(help(), "questionList")), expected.questions);
        QVERIFY(child<QListWidget>(help(), "questionList")->selectedItems().isEmpty());
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
        QVERIFY(!child<QLabel>(help(), "answerCaptionLabel")->isVisible());
        QVERIFY(!child<QListWidget>(help(), "questionList")->isVisible());
        // Each topic after each other kind: a topic with questions after one without and after
        // another with questions, and one without after one with.
        for (const int topic : {2, 3, 1, 4, 0, 2, 4, 3}) {
            clickItem(child<QListWidget>(help(), "topicList"), topic);
            checkTopicShown(topic);
            for (int question = 0; question < child<QListWidget>(help(), "questionList")->count();
                 ++question) {
                clickItem(child<QListWidget>(help(), "questionList"), question);
                const HelpPage expected = *pageForQuestion(topic, question);
                QCOMPARE(child<QLabel>(help(), "questionLabel")->text(), expected.questionLine);
                QCOMPARE(child<QLabel>(help(), "answerCaptionLabel")->text(), u"Answer:"_s);
                QCOMPARE(child<QPlainTextEdit>(help(), "answerText")->toPlainText(),
                         expected.answerText);
                QCOMPARE(answerColour(help()), QColor(Qt::black));
            }
        }
        // A click on the topic already picked asks for a question again.
        clickItem(child<QListWidget>(help(), "topicList"), 3);
        checkTopicShown(3);
        QVERIFY(ui_.errors.isEmpty());
    }

    void keysPickTopicsAndQuestionsAsClicksDo() {
        open();
        child<QListWidget>(help(), "topicList")->setFocus(Qt::TabFocusReason);
        QTest::keyClick(child<QListWidget>(help(), "topicList"), Qt::Key_Down);
        checkTopicShown(0);
        QTest::keyClick(child<QListWidget>(help(), "topicList"), Qt::Key_Down);
        checkTopicShown(1);
        QTest::keyClick(child<QListWidget>(help(), "topicList"), Qt::Key_Down);
        checkTopicShown(2);

        // Tabbing into the questions picks none; the arrows pick from the first.
        QTest::keyClick(child<QListWidget>(help(), "topicList"), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), child<QListWidget>(help(), "questionList"));
        checkTopicShown(2);
        QTest::keyClick(child<QListWidget>(help(), "questionList"), Qt::Key_Down);
        QCOMPARE(child<QLabel>(help(), "questionLabel")->text(),
                 u"Question: Main menu (general functions of the program) > About this help"_s);
        QTest::keyClick(child<QListWidget>(help(), "questionList"), Qt::Key_Down);
        QCOMPARE(
            child<QLabel>(help(), "questionLabel")->text(),
            u"Question: Main menu (general functions of the program) > File > New scanning..."_s);
        QCOMPARE(child<QPlainTextEdit>(help(), "answerText")->toPlainText(),
                 u"The new scanning of kar-files begins."_s);
        QCOMPARE(answerColour(help()), QColor(Qt::black));

        // Back to the topics: the questions follow the topic picked with the keys.
        QTest::keyClick(child<QListWidget>(help(), "questionList"), Qt::Key_Backtab);
        QTest::keyClick(child<QListWidget>(help(), "topicList"), Qt::Key_Down);
        checkTopicShown(3);
        QTest::keyClick(child<QListWidget>(help(), "topicList"), Qt::Key_Up);
        QTest::keyClick(child<QListWidget>(help(), "topicList"), Qt::Key_Up);
        checkTopicShown(1);
    }

    void okHidesAndTheNextOpeningShowsTheSameState() {
        open();
        QCOMPARE(placedCentre(&help()), startWindow_->geometry().center());
        clickItem(child<QListWidget>(help(), "topicList"), 4);
        clickItem(child<QListWidget>(help(), "questionList"), 2);
        const QString line = child<QLabel>(help(), "questionLabel")->text();
        const QString answer = child<QPlainTextEdit>(help(), "answerText")->toPlainText();

        child<QPushButton>(help(), "okButton")->click();
        QVERIFY(help().isHidden());
        startWindow_->move(400, 350);
        open();
        QCOMPARE(placedCentre(&help()), startWindow_->geometry().center());
        QCOMPARE(child<QListWidget>(help(), "topicList")->currentRow(), 4);
        QCOMPARE(child<QListWidget>(help(), "questionList")->currentRow(), 2);
        QCOMPARE(child<QLabel>(help(), "questionLabel")->text(), line);
        QCOMPARE(child<QPlainTextEdit>(help(), "answerText")->toPlainText(), answer);

        // Opened again while shown, it only comes forward, where the user left it.
        help().move(20, 30);
        const QPoint left = help().pos();
        help().showHelp();
        QCOMPARE(help().pos(), left);
        QVERIFY(help().isVisible());
    }

    void longItemsShowTheirWholeTextOverTheItem() {
        open();
        clickItem(child<QListWidget>(help(), "topicList"), 2);
        QVERIFY(!QToolTip::isVisible());

        struct Case {
            QListWidget* list;
            int row;
        };
        // The question list's longest item: which one is too long depends on the font.
        QListWidget* questions = child<QListWidget>(help(), "questionList");
        int longestQuestion = 0;
        const QFontMetrics questionFont(questions->font());
        for (int row = 1; row < questions->count(); ++row) {
            if (questionFont.horizontalAdvance(questions->item(row)->text()) >
                questionFont.horizontalAdvance(questions->item(longestQuestion)->text())) {
                longestQuestion = row;
            }
        }
        const Case cases[] = {
            {child<QListWidget>(help(), "topicList"), 2},
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
        QListWidget* topics = child<QListWidget>(help(), "topicList");
        QVERIFY(!child<LongItemHints>(help(), "topicHints")->needsHint(3)); // "Advises"
        restOn(topics, 3);
        QTRY_VERIFY(!child<LongItemHints>(help(), "topicHints")->restTimer().isActive());
        QVERIFY(!QToolTip::isVisible());
        QHelpEvent wakeUp(QEvent::ToolTip, QPoint(4, 4),
                          topics->viewport()->mapToGlobal(QPoint(4, 4)));
        QApplication::sendEvent(topics->viewport(), &wakeUp);
        QVERIFY(!QToolTip::isVisible());

        // Nothing while the hints are off.
        hints_->setHintsEnabled(false);
        restOn(topics, 2);
        QTRY_VERIFY(!child<LongItemHints>(help(), "topicHints")->restTimer().isActive());
        QVERIFY(!QToolTip::isVisible());
    }

    void theHintStaysWhileTheMouseStaysOnItsItem() {
        open();
        QListWidget* topics = child<QListWidget>(help(), "topicList");
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
        child<QPushButton>(help(), "okButton")->click();
        QCOMPARE(hints_->hintHidePause(), 1234);
    }
};

} // namespace corvanteller

QTEST_MAIN(corvanteller::HelpWindowTest)
#include "help_window_test.moc"
