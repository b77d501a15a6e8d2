// SPDX-License-Identifier: GPL-3.0-or-later
// A scan held at a folder through the scan's seam, then stopped by the Stop button, Escape or
// the close box while the window waits for it.
#include "app/main_window.h"
#include "app/start_window.h"
#include "scan/scan_parameters_dialog.h"
#include "support/kar_builder.h"
#include "support_ui/program_fixture.h"
#include "support_ui/window_child.h"
#include "table/song_grid.h"

#include <QCheckBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include <atomic>
#include <chrono>
#include <thread>

using namespace corvanteller;
using namespace Qt::StringLiterals;

namespace {

// Holds the scan at one folder until released (a minute at most, so a failing test ends).
struct HeldFolder {
    std::function<void(const QString&)> seam() {
        return [this](const QString& reachedFolder) {
            if (reachedFolder == folder) {
                reached = true;
                for (int waited = 0; !released && waited < 60000; ++waited) {
                    std::this_thread::sleep_for(std::chrono::milliseconds(1));
                }
            }
        };
    }

    QString folder;
    std::atomic<bool> reached = false;
    std::atomic<bool> released = false;
};

// Runs the action from the event loop in which a window waits for its scan, once ready holds.
void whenReady(QObject* owner, const std::function<bool()>& ready,
               const std::function<void()>& action) {
    auto* timer = new QTimer(owner);
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, owner, [timer, ready, action] {
        if (ready()) {
            timer->stop();
            timer->deleteLater();
            action();
        }
    });
    timer->start();
}

// a.kar in the chosen folder, h.kar in "held" (where the scan is held), l.kar in "held/later".
struct HeldTree {
    HeldTree() {
        QVERIFY(QDir(music.path()).mkpath(u"held/later"_s));
        for (const char* name : {"a.kar", "held/h.kar", "held/later/l.kar"}) {
            QVERIFY(test::writeTestFile(music.filePath(QString::fromLatin1(name)),
                                        test::KarBuilder().trackName(name).bytes()));
        }
    }
    // A first, unheld scan into the main window, leaving nothing unsaved.
    void scanIntoMain(test::ProgramFixture& fixture) {
        fixture.ui.answerFolder(music.path());
        fixture.start().show();
        child<QPushButton>(fixture.start(), "startButton")->click();
        QVERIFY(test::ProgramFixture::activate(&fixture.main()));
        QCOMPARE(fixture.model().songCount(), 3);
        fixture.context().table.unsavedChanges = false;
    }

    // Starts the held scan by the start window's button or the main window's menu.
    void scan(test::ProgramFixture& fixture, bool fromStart) {
        fixture.context().scanFolderReached = held.seam();
        fixture.ui.answerFolder(music.path());
        if (fromStart) {
            QTest::mouseClick(child<QPushButton>(fixture.start(), "startButton"), Qt::LeftButton);
        } else {
            child<QAction>(fixture.main(), "newScanningAction")->trigger();
        }
    }
    ~HeldTree() { held.released = true; }

    QTemporaryDir music;
    HeldFolder held{music.path() + u"/held/"_s};
};

// Whether each menu entry that opens a menu of the window can be chosen.
QList<bool> menuEntriesEnabled(const QWidget& window) {
    QList<bool> enabled;
    for (const QMenu* menu : window.findChildren<QMenu*>()) {
        enabled << menu->menuAction()->isEnabled();
    }
    return enabled;
}

} // namespace

class ScanStopTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void stopKeepsTheRowsReadBeforeIt_data() {
        QTest::addColumn<bool>("fromStart");
        QTest::addColumn<bool>("byEscape");
        QTest::newRow("start window, Stop button") << true << false;
        QTest::newRow("start window, Escape") << true << true;
        QTest::newRow("new scan, Stop button") << false << false;
        QTest::newRow("new scan, Escape") << false << true;
    }

    void stopKeepsTheRowsReadBeforeIt() {
        QFETCH(bool, fromStart);
        QFETCH(bool, byEscape);
        test::ProgramFixture fixture;
        HeldTree tree;
        StartWindow& start = fixture.start();
        MainWindow& main = fixture.main();
        ScanParametersDialog& dialog = *fixture.context().scanParameters;
        QCheckBox* plenty = child<QCheckBox>(dialog, "plentyOfFilesCheckBox");
        const bool plentyBefore = plenty->isChecked();
        if (fromStart) {
            QVERIFY(test::ProgramFixture::activate(&start));
            dialog.showFor(&start); // a dialog of the program beside the scan takes no click
        } else {
            tree.scanIntoMain(fixture);
        }
        QWidget* window = fromStart ? static_cast<QWidget*>(&start) : &main;
        QPushButton* stop = fromStart ? child<QPushButton>(start, "stopScanButton")
                                      : child<QPushButton>(main, "stopScanButton");
        QLabel* label = fromStart ? child<QLabel>(start, "scanErrorLabel")
                                  : child<QLabel>(main, "scanProgressLabel");
        QWidget* progress =
            fromStart ? static_cast<QWidget*>(child<QProgressBar>(start, "scanProgressBar"))
                      : label;
        const QList<QWidget*> blocked =
            fromStart ? QList<QWidget*>{child<QPushButton>(start, "startButton"),
                                        child<QLabel>(start, "bannerPicture")}
                      : QList<QWidget*>{child<SongGrid>(main, "songGrid"),
                                        child<QCheckBox>(main, "checkAllBox")};
        const auto shown = [&] {
            return QList<bool>{!stop->isHidden(), !progress->isHidden(), blocked[0]->isEnabled(),
                               blocked[1]->isEnabled()};
        };

        QList<bool> whileHeld;
        QString heldLabel;
        int rowsAfterVisit = -1;
        whenReady(
            window, [&] { return tree.held.reached && label->text().endsWith(u"held/"_s); },
            [&] {
                whileHeld = shown() << stop->isEnabled();
                heldLabel = label->text();
                if (fromStart) {
                    QTest::mouseClick(plenty, Qt::LeftButton);
                    QTest::mouseClick(child<QPushButton>(start, "startButton"), Qt::LeftButton);
                } else {
                    // Another window of the program comes and goes: the table waits.
                    dialog.showFor(&main);
                    QVERIFY(QTest::qWaitForWindowActive(&dialog));
                    dialog.hide();
                    QVERIFY(test::ProgramFixture::activate(&main));
                    rowsAfterVisit = fixture.model().songCount();
                }
                if (byEscape) {
                    QTest::keyClick(window, Qt::Key_Escape);
                } else {
                    QTest::mouseClick(stop, Qt::LeftButton);
                }
                tree.held.released = true;
            });
        tree.scan(fixture, fromStart);

        QCOMPARE(whileHeld, (QList<bool>{true, true, false, false, true}));
        QVERIFY(heldLabel.contains(u" files seen"_s)); // the main window elides the middle
        QCOMPARE(plenty->isChecked(), plentyBefore);
        QCOMPARE(rowsAfterVisit, fromStart ? -1 : 3);
        // Only the folder dialogs of the real scans: the click during the scan went nowhere.
        QCOMPARE(fixture.ui.folderStarts.size(), fromStart ? 1 : 2);
        QCOMPARE(fixture.ui.messages,
                 QStringList{u"The scan was stopped at "_s + tree.music.path() +
                             u"/held/. The rows read before it are in the table."_s});
        QVERIFY(main.isVisible());
        QVERIFY(start.isHidden());
        QCOMPARE(fixture.model().songCount(), 1);
        QCOMPARE(fixture.model().cell(1, 2), tree.music.path() + u"/"_s);
        QCOMPARE(child<QLabel>(main, "statusLabel")->text(),
                 u"1 file(s) was(were) processed and placed in the table"_s);
        QCOMPARE(shown(), (QList<bool>{false, false, true, true}));
        QVERIFY(child<QLabel>(start, "scanErrorLabel")->text().isEmpty());
        // The hand-over hid the start window
        QVERIFY(!child<QTimer>(start, "pictureTimer")->isActive());
    }

    // While the main window's scan runs, its menus and shortcuts and the program's other windows
    // take nothing; afterwards every menu entry is as it was, the disabled ones too.
    void aScanLeavesTheOtherWindowsAndTheMenusAsTheyWere() {
        test::ProgramFixture fixture;
        HeldTree tree;
        tree.scanIntoMain(fixture);
        StartWindow& start = fixture.start();
        MainWindow& main = fixture.main();
        ScanParametersDialog& dialog = *fixture.context().scanParameters;
        const QList<bool> startEntries = menuEntriesEnabled(start);
        const QList<bool> mainEntries = menuEntriesEnabled(main);
        QList<bool> whileHeld;
        whenReady(
            &main, [&] { return tree.held.reached.load(); },
            [&] {
                whileHeld = {start.isEnabled(), dialog.isEnabled(), main.menuBar()->isEnabled(),
                             child<QPushButton>(main, "stopScanButton")->isEnabled()};
                QTest::keyClick(&main, Qt::Key_F5); // a new scan's shortcut
                QTest::keyClick(&main, Qt::Key_Escape);
                tree.held.released = true;
            });
        tree.scan(fixture, false);

        QCOMPARE(whileHeld, (QList<bool>{false, false, false, true}));
        QCOMPARE(fixture.ui.folderStarts.size(), 2);
        QCOMPARE(fixture.model().songCount(), 1);
        QVERIFY(start.isEnabled() && dialog.isEnabled() && main.menuBar()->isEnabled());
        QCOMPARE(menuEntriesEnabled(start), startEntries);
        QCOMPARE(menuEntriesEnabled(main), mainEntries);
        QVERIFY(startEntries.contains(false)); // "Rename files" of the start window
    }

    // The close box stops the scan first; the window then closes as it always does.
    void closingDuringAScanStopsItFirst() {
        for (const bool fromStart : {true, false}) {
            test::ProgramFixture fixture;
            HeldTree tree;
            if (!fromStart) {
                tree.scanIntoMain(fixture);
            }
            QWidget* window = fromStart ? static_cast<QWidget*>(&fixture.start()) : &fixture.main();
            window->show();
            int quitsWhileHeld = -1;
            whenReady(
                window, [&] { return tree.held.reached.load(); },
                [&] {
                    window->close();
                    quitsWhileHeld = fixture.quitCount;
                    tree.held.released = true;
                });
            tree.scan(fixture, fromStart);
            QCOMPARE(quitsWhileHeld, 0);
            QVERIFY(fixture.ui.messages.isEmpty());
            if (fromStart) {
                QCOMPARE(fixture.quitCount, 1);
                QVERIFY(fixture.main().isHidden());
                QCOMPARE(fixture.context().table.startStore().rowCount(), 1);
            } else { // the new scan's rows are unsaved: the close asks first
                QVERIFY(fixture.prompt().isVisible());
                QCOMPARE(fixture.quitCount, 0);
                QCOMPARE(fixture.model().songCount(), 1);
            }
        }
    }
};

QTEST_MAIN(ScanStopTest)
#include "scan_stop_test.moc"
