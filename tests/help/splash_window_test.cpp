// SPDX-License-Identifier: GPL-3.0-or-later
#include "help/splash_window.h"

#include <QLabel>
#include <QTest>

namespace corvanteller {

class SplashWindowTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void aClickOnThePictureHidesThePrompt() {
        SplashWindow splash;
        splash.showPrompt();
        QVERIFY(QTest::qWaitForWindowExposed(&splash));

        // The thin blue margin and other buttons than the left one do nothing.
        QTest::mouseClick(&splash, Qt::LeftButton, {}, QPoint(1, 1));
        QTest::mouseClick(&splash, Qt::LeftButton, {}, QPoint(519, 392));
        QTest::mouseClick(splash.titlePicture, Qt::RightButton, {}, QPoint(10, 10));
        QVERIFY(splash.isVisible());

        QTest::mouseClick(splash.titlePicture, Qt::LeftButton, {}, QPoint(513, 385));
        QVERIFY(splash.isHidden());

        // "Prompt" shows it again, as often as asked.
        splash.showPrompt();
        QVERIFY(splash.isVisible());
        QTest::mouseClick(splash.titlePicture, Qt::LeftButton, {}, QPoint(0, 0));
        QVERIFY(splash.isHidden());
    }
};

} // namespace corvanteller

QTEST_MAIN(corvanteller::SplashWindowTest)
#include "splash_window_test.moc"
