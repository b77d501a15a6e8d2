#include "help/splash_window.h"

#include <QLabel>
#include <QScreen>
#include <QTest>

namespace corvanteller {

using namespace Qt::StringLiterals;

class SplashWindowTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void looksAsDescribed() {
        TSplashForm splash;
        QCOMPARE(splash.windowTitle(), u"Prompt"_s);
        QVERIFY(splash.windowFlags().testFlag(Qt::FramelessWindowHint));
        QCOMPARE(splash.size(), QSize(520, 393));
        QCOMPARE(splash.minimumSize(), splash.maximumSize()); // cannot be resized
        QVERIFY(splash.autoFillBackground());
        QCOMPARE(splash.palette().color(QPalette::Window), QColor(21, 90, 234));
        QCOMPARE(splash.Image1->geometry(), QRect(3, 4, 514, 386));
        QCOMPARE(splash.Image1->pixmap().size(), QSize(514, 386));
        QCOMPARE(splash.Image1->toolTip(), u"Click to close that window"_s);
        QVERIFY(splash.isHidden()); // created hidden, for the Prompt commands
    }

    void isCentredOnTheScreen() {
        TSplashForm splash;
        splash.showPrompt();
        QVERIFY(QTest::qWaitForWindowExposed(&splash));
        const QRect screen = splash.screen()->geometry();
        QCOMPARE(splash.pos(), QPoint(screen.x() + (screen.width() - 520) / 2,
                                      screen.y() + (screen.height() - 393) / 2));
    }

    void aClickOnThePictureHidesThePrompt() {
        TSplashForm splash;
        splash.showPrompt();
        QVERIFY(QTest::qWaitForWindowExposed(&splash));

        // The thin blue margin does nothing.
        QTest::mouseClick(&splash, Qt::LeftButton, {}, QPoint(1, 1));
        QTest::mouseClick(&splash, Qt::LeftButton, {}, QPoint(519, 392));
        QVERIFY(splash.isVisible());
        // Other buttons than the left one do nothing either.
        QTest::mouseClick(splash.Image1, Qt::RightButton, {}, QPoint(10, 10));
        QVERIFY(splash.isVisible());

        QTest::mouseClick(splash.Image1, Qt::LeftButton, {}, QPoint(513, 385));
        QVERIFY(splash.isHidden());

        // "Prompt" shows it again, as often as asked.
        splash.showPrompt();
        QVERIFY(splash.isVisible());
        QTest::mouseClick(splash.Image1, Qt::LeftButton, {}, QPoint(0, 0));
        QVERIFY(splash.isHidden());
    }

    void atStartUpItIsPaintedAtOnceAndCannotBeClickedAway() {
        TSplashForm splash;
        splash.showAtStartUp();
        QVERIFY(splash.isVisible());
        QVERIFY(splash.Image1->isVisible());
        QTest::mouseClick(splash.Image1, Qt::LeftButton, {}, QPoint(200, 200));
        QVERIFY(splash.isVisible());
    }
};

} // namespace corvanteller

QTEST_MAIN(corvanteller::SplashWindowTest)
#include "splash_window_test.moc"
