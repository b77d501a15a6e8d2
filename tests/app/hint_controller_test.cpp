#include "app/hint_controller.h"

#include <QApplication>
#include <QHelpEvent>
#include <QLabel>
#include <QListWidget>
#include <QStandardItemModel>
#include <QStyle>
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

    void aWidgetsHintIsShown() {
        QCOMPARE(HintController::instance(), hints_.get());
        restMouseOn(greeting_);
        QVERIFY(hintShown());
        QCOMPARE(QToolTip::text(), u":-)"_s);
    }

    void noHintAnywhereWhileHintsAreOff() {
        restMouseOn(greeting_);
        QVERIFY(hintShown());

        hints_->setHintsEnabled(false);
        QVERIFY(!hints_->hintsEnabled());
        QTRY_VERIFY(!QToolTip::isVisible()); // the one on the screen goes

        int handlerCalls = 0;
        hints_->setHintShowHandler([&](HintRequest&) { ++handlerCalls; });
        restMouseOn(greeting_);
        restMouseOn(list_->viewport(), list_->visualItemRect(list_->item(0)).center());
        restMouseOn(grid_->viewport());
        QVERIFY(!hintShown());
        QCOMPARE(handlerCalls, 0);

        hints_->setHintsEnabled(true);
        restMouseOn(greeting_);
        QVERIFY(hintShown());
        QCOMPARE(handlerCalls, 1);
    }

    void itemHintsStayTheWidgetsOwnWhileHintsAreOn() {
        int handlerCalls = 0;
        hints_->setHintShowHandler([&](HintRequest&) { ++handlerCalls; });
        restMouseOn(list_->viewport(), list_->visualItemRect(list_->item(0)).center());
        QVERIFY(hintShown());
        QCOMPARE(QToolTip::text(), u"Advises, in full"_s);
        QCOMPARE(handlerCalls, 0);
    }

    void theHandlerAdjustsAHintBeforeItIsShown() {
        hints_->setHintHidePause(3000);
        QList<HintRequest> seen;
        hints_->setHintShowHandler([&](HintRequest& request) {
            seen.append(request);
            if (request.widget == grid_) {
                request.text = u"Hi!!!! Don't worry, be happy!"_s;
                request.background = QColor(0, 255, 255);
                request.pos.rx() += grid_->width() / 2;
            }
        });

        // The mouse rests on the grid's cells, which have no hint: the grid's own hint is
        // the one adjusted.
        restMouseOn(grid_->viewport());
        QCOMPARE(seen.size(), 1);
        QCOMPARE(seen.at(0).widget, grid_);
        QCOMPARE(seen.at(0).text, grid_->toolTip());
        QCOMPARE(seen.at(0).hidePauseMs, 3000);
        QCOMPARE(seen.at(0).pos, grid_->viewport()->mapToGlobal(QPoint(4, 4)));
        QVERIFY(!seen.at(0).background.isValid());
        QCOMPARE(seen.at(0).maxWidth, 0);
        QVERIFY(seen.at(0).show);
        QVERIFY(hintShown());
        QCOMPARE(QToolTip::text(), u"Hi!!!! Don't worry, be happy!"_s);
        QCOMPARE(QToolTip::palette().color(QPalette::ToolTipBase), QColor(0, 255, 255));

        // Another widget's hint keeps the system's colour.
        const QColor systemColour = QApplication::palette().color(QPalette::ToolTipBase);
        restMouseOn(greeting_);
        QCOMPARE(seen.size(), 2);
        QCOMPARE(QToolTip::text(), u":-)"_s);
        QCOMPARE(QToolTip::palette().color(QPalette::ToolTipBase), systemColour);
    }

    void theHandlerMayRefuseAHint() {
        hints_->setHintShowHandler([](HintRequest& request) { request.show = false; });
        restMouseOn(greeting_);
        QVERIFY(!hintShown());
    }

    void theHandlerCanBeReplacedAndPutBack() {
        QStringList calls;
        HintController::ShowHandler first = [&](HintRequest&) { calls.append(u"first"_s); };
        QVERIFY(!hints_->setHintShowHandler(first));
        HintController::ShowHandler previous =
            hints_->setHintShowHandler([&](HintRequest&) { calls.append(u"second"_s); });
        restMouseOn(greeting_);
        hints_->setHintShowHandler(previous);
        restMouseOn(greeting_);
        QCOMPARE(calls, QStringList({u"second"_s, u"first"_s}));
    }

    void aLongHintIsWrappedToTheMaximumWidth() {
        const QString longText =
            u"How are you?? I'm fine... very fine and happy!!! (Hello from Russia!)"_s;
        int maxWidth = 0;
        hints_->setHintShowHandler([&](HintRequest& request) {
            request.text = longText;
            request.maxWidth = maxWidth;
        });
        const QFontMetrics metrics(QToolTip::font());
        QVERIFY(metrics.horizontalAdvance(longText) > 120);

        maxWidth = 120;
        restMouseOn(greeting_);
        const QStringList lines = QToolTip::text().split(u'\n');
        QVERIFY(lines.size() > 1);
        for (const QString& line : lines) {
            QVERIFY2(metrics.horizontalAdvance(line) <= 120, qPrintable(line));
        }
        QCOMPARE(lines.join(u' '), longText); // nothing lost but the spaces at the breaks

        maxWidth = 0; // no limit
        restMouseOn(grid_);
        QCOMPARE(QToolTip::text(), longText);

        maxWidth = 120; // a short text stays as it is
        greeting_->setToolTip(u":-)  !!"_s);
        hints_->setHintShowHandler([](HintRequest& request) { request.maxWidth = 120; });
        restMouseOn(greeting_);
        QCOMPARE(QToolTip::text(), u":-)  !!"_s);
    }

    void theHintDelayIsWhatTheToolkitWaits() {
        const int toolkitDelay = QApplication::style()->styleHint(QStyle::SH_ToolTip_WakeUpDelay);
        hints_->setHintDelay(300);
        QCOMPARE(hints_->hintDelay(), 300);
        QCOMPARE(QApplication::style()->styleHint(QStyle::SH_ToolTip_WakeUpDelay), 300);
        QCOMPARE(greeting_->style()->styleHint(QStyle::SH_ToolTip_WakeUpDelay), 300);
        hints_->setHintDelay(-1);
        QCOMPARE(QApplication::style()->styleHint(QStyle::SH_ToolTip_WakeUpDelay), toolkitDelay);
    }
};

} // namespace corvanteller

QTEST_MAIN(corvanteller::HintControllerTest)
#include "hint_controller_test.moc"
