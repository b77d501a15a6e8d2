// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/hint_controller.h"

#include <QApplication>
#include <QHelpEvent>
#include <QLabel>
#include <QListWidget>
#include <QStandardItemModel>
#include <QTableView>
#include <QTest>
#include <QToolTip>
#include <QVBoxLayout>

#include <memory>

namespace corvanteller {

using namespace Qt::StringLiterals;

class HintControllerTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<HintController> hints_;
    std::unique_ptr<QWidget> window_;
    QLabel* greeting_ = nullptr;
    QListWidget* list_ = nullptr;
    QTableView* grid_ = nullptr;

    // What the toolkit sends when the mouse has rested on a widget.
    static void restMouseOn(QWidget* widget, QPoint local = QPoint(4, 4)) {
        QHelpEvent event(QEvent::ToolTip, local, widget->mapToGlobal(local));
        QApplication::sendEvent(widget, &event);
    }

    static bool hintShown() { return QToolTip::isVisible() && !QToolTip::text().isEmpty(); }

private Q_SLOTS:
    void init() {
        QToolTip::hideText();
        QTRY_VERIFY(!QToolTip::isVisible());
        hints_ = std::make_unique<HintController>();
        window_ = std::make_unique<QWidget>();
        auto* layout = new QVBoxLayout(window_.get());
        greeting_ = new QLabel(u"From Russia -- with love!"_s);
        greeting_->setToolTip(u":-)"_s);
        list_ = new QListWidget;
        auto* item = new QListWidgetItem(u"Advises"_s, list_);
        item->setToolTip(u"Advises, in full"_s);
        grid_ = new QTableView;
        grid_->setModel(new QStandardItemModel(3, 3, grid_));
        grid_->setToolTip(
            u"If you want to check any file (row), double click on the necessary row"_s);
        layout->addWidget(greeting_);
        layout->addWidget(list_);
        layout->addWidget(grid_);
        window_->show();
        QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
    }

    void cleanup() {
        window_.reset();
        hints_.reset();
    }

    void noHintAnywhereWhileHintsAreOff() {
        int handlerCalls = 0;
        hints_->setHintHandler(greeting_, [&](HintRequest&) { ++handlerCalls; });
        restMouseOn(greeting_);
        QCOMPARE(QToolTip::text(), u":-)"_s);
        // An item's hint stays the widget's own: no handler call.
        restMouseOn(list_->viewport(), list_->visualItemRect(list_->item(0)).center());
        QCOMPARE(QToolTip::text(), u"Advises, in full"_s);
        QCOMPARE(handlerCalls, 1);

        hints_->setHintsEnabled(false);
        QTRY_VERIFY(!QToolTip::isVisible()); // the one on the screen goes
        restMouseOn(greeting_);
        restMouseOn(list_->viewport(), list_->visualItemRect(list_->item(0)).center());
        restMouseOn(grid_->viewport());
        QVERIFY(!hintShown());
        QCOMPARE(handlerCalls, 1);

        hints_->setHintsEnabled(true);
        restMouseOn(greeting_);
        QVERIFY(hintShown());
        QCOMPARE(handlerCalls, 2);
    }

    void eachWidgetsHandlerAdjustsItsHintBeforeItIsShown() {
        QList<HintRequest> seen;
        hints_->setHintHandler(grid_, [&](HintRequest& request) {
            seen.append(request);
            request.text = u"Hi!!!! Don't worry, be happy!"_s;
            request.background = QColor(0, 255, 255);
        });
        hints_->setHintHandler(
            greeting_, [&](HintRequest& request) { request.show = request.text != u"refused"_s; });

        // The mouse rests on the grid's cells, which have no hint: the grid's own is adjusted.
        restMouseOn(grid_->viewport());
        QCOMPARE(seen.size(), 1);
        QCOMPARE(seen.at(0).text, grid_->toolTip());
        QCOMPARE(seen.at(0).pos, grid_->viewport()->mapToGlobal(QPoint(4, 4)));
        QCOMPARE(QToolTip::text(), u"Hi!!!! Don't worry, be happy!"_s);
        QCOMPARE(QToolTip::palette().color(QPalette::ToolTipBase), QColor(0, 255, 255));

        // Another widget's hint keeps the system's colour; the handler may refuse a hint.
        restMouseOn(greeting_);
        QCOMPARE(QToolTip::text(), u":-)"_s);
        QCOMPARE(QToolTip::palette().color(QPalette::ToolTipBase),
                 QApplication::palette().color(QPalette::ToolTipBase));
        greeting_->setToolTip(u"refused"_s);
        restMouseOn(greeting_);
        QVERIFY(QToolTip::text() != u"refused"_s);
        QCOMPARE(seen.size(), 1);
    }
};

} // namespace corvanteller

QTEST_MAIN(corvanteller::HintControllerTest)
#include "hint_controller_test.moc"
