// SPDX-License-Identifier: GPL-3.0-or-later
#include "help/about_window.h"

#include "settings/settings_file.h"
#include "support_ui/program_fixture.h"
#include "support_ui/window_child.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>

namespace corvanteller {

using namespace Qt::StringLiterals;

namespace {

// The program with its start window active, as after start-up.
struct StartedProgram : test::ProgramFixture {
    StartedProgram() { QVERIFY(activate(&start())); }
    AboutWindow& about() { return *context().about; }
};

int centred(const QWidget* control) {
    return AboutWindow::clientWidth / 2 - control->width() / 2;
}

// Where the window's centre lies once placed; the window system's frame comes on top.
QPoint placedCentre(const QWidget* window) {
    return window->pos() + window->rect().center();
}

} // namespace

class AboutWindowTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void aDialogComesBackWhenMinimisedOnItsOwnAndGoesWithItsWindow() {
        StartedProgram program;
        AboutWindow& about = program.about();
        child<QAction>(program.start(), "informationAction")->trigger();
        about.showMinimized(); // the window manager's minimise button
        QTRY_VERIFY(!about.isMinimized());

        program.start().showMinimized();
        about.showMinimized();
        QApplication::processEvents();
        QVERIFY(about.isMinimized());
    }

    void everyActivationCentresFillsTheLastCloseAndStartsTheStrip() {
        StartedProgram program;
        AboutWindow& about = program.about();
        program.context().runTimes.lastCloseTime = QDateTime(QDate(2026, 12, 6), QTime(21, 5, 9));
        program.context().locale = QLocale(QLocale::Russian, QLocale::Russia);
        // The window shows and runs its activation at once, before the strip's timer can tick.
        child<QAction>(program.start(), "informationAction")->trigger();
        for (const QWidget* control : std::initializer_list<const QWidget*>{
                 child<QLabel>(about, "movingStrip"), child<QLabel>(about, "versionLabel"),
                 child<QLabel>(about, "yearLabel"), child<QPushButton>(about, "okButton")}) {
            QCOMPARE(control->x(), centred(control));
        }
        QCOMPARE(child<QLabel>(about, "lastCloseLabel")->text(),
                 u"Time of last close of the program: 06.12.2026 21:05:09"_s);
        QVERIFY(child<QTimer>(about, "stripTimer")->isActive());
        QCOMPARE(placedCentre(&about), about.screen()->availableGeometry().center());

        // The strip starts from the centre to the right.
        const int centre = child<QLabel>(about, "movingStrip")->x();
        about.moveStrip();
        about.moveStrip();
        QCOMPARE(child<QLabel>(about, "movingStrip")->x(), centre + 4);
        QVERIFY(QTest::qWaitForWindowActive(&about));

        // Back from another window of the program: the strip is centred again and the line
        // follows the locale.
        QVERIFY(test::ProgramFixture::activate(&program.start()));
        program.context().locale = QLocale(QLocale::English, QLocale::UnitedStates);
        program.context().runTimes.lastCloseTime = RunTimes::defaultCloseTime();
        about.move(10, 20);
        child<QAction>(program.start(), "informationAction")->trigger();
        QCOMPARE(child<QLabel>(about, "movingStrip")->x(), centre);
        QCOMPARE(child<QLabel>(about, "lastCloseLabel")->text(),
                 u"Time of last close of the program: 12/30/1899"_s);
        // A window already shown only comes forward.
        QCOMPARE(about.pos(), QPoint(10, 20));
    }

    void theStripStopsWheneverTheWindowGoes() {
        StartedProgram program;
        AboutWindow& about = program.about();
        child<QAction>(program.start(), "informationAction")->trigger();
        QVERIFY(child<QTimer>(about, "stripTimer")->isActive());
        child<QPushButton>(about, "okButton")->click();
        QVERIFY(about.isHidden());
        QVERIFY(!child<QTimer>(about, "stripTimer")->isActive());

        child<QAction>(program.start(), "informationAction")->trigger();
        QVERIFY(child<QTimer>(about, "stripTimer")->isActive());
        QVERIFY(QTest::qWaitForWindowActive(&about));
        about.close(); // the close box
        QVERIFY(about.isHidden());
        QVERIFY(!child<QTimer>(about, "stripTimer")->isActive());

        child<QAction>(program.start(), "informationAction")->trigger();
        QVERIFY(child<QTimer>(about, "stripTimer")->isActive());
    }
};

} // namespace corvanteller

QTEST_MAIN(corvanteller::AboutWindowTest)
#include "about_window_test.moc"
