// A scan the user stops: held at a folder through the scan's seam, then stopped by the Stop
// button, Escape or the close box while the window waits for it.
#include "app/main_window.h"
#include "app/start_window.h"
#include "scan/scan_parameters_dialog.h"
#include "support/kar_builder.h"
#include "support_ui/program_fixture.h"
#include "table/song_grid.h"

#include <QCheckBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include <chrono>
#include <condition_variable>
#include <mutex>

using namespace corvanteller;
using namespace Qt::StringLiterals;

namespace {

// Holds the scan where it begins taking the rows of one folder until the test releases it.
class HeldFolder {
public:
    explicit HeldFolder(const QString& storedFolder) : folder_(storedFolder) {}
    ~HeldFolder() { release(); }

    std::function<void(const QString&)> seam() {
        return [this](const QString& folder) {
            if (folder != folder_) {
                return;
            }
            std::unique_lock lock(mutex_);
            reached_ = true;
            // A test that fails before it releases the scan still ends.
            released_.wait_for(lock, std::chrono::seconds(60), [this] { return free_; });
        };
    }
    bool reached() {
        const std::lock_guard lock(mutex_);
        return reached_;
    }
    void release() {
        const std::lock_guard lock(mutex_);
        free_ = true;
        released_.notify_all();
    }

private:
    QString folder_;
    std::mutex mutex_;
    std::condition_variable released_;
    bool reached_ = false;
    bool free_ = false;
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

// Three folders: the chosen one with a.kar, "held" with h.kar (where the scan is held) and
// "later" with l.kar below it.
struct HeldTree {
    HeldTree() {
        QVERIFY(test::writeTestFile(music.filePath(u"a.kar"_s), kar("Alpha")));
        QVERIFY(QDir(music.path()).mkpath(u"held/later"_s));
        QVERIFY(test::writeTestFile(music.filePath(u"held/h.kar"_s), kar("Held")));
        QVERIFY(test::writeTestFile(music.filePath(u"held/later/l.kar"_s), kar("Later")));
    }
    static QByteArray kar(const QByteArray& title) {
        return test::KarBuilder().trackName(title).bytes();
    }
    QString heldFolder() const { return music.path() + u"/held/"_s; }
    QString stoppedMessage() const {
        return u"The scan was stopped at "_s + heldFolder() +
               u". The rows read before it are in the table."_s;
    }

    QTemporaryDir music;
};

// What the window showed while its scan was held.
struct WhileHeld {
    bool seen = false;
    bool stopShown = false;
    bool stopEnabled = false;
    bool barShown = false;
    QString label;
    QList<bool> othersEnabled;
};

enum class StopBy { Button, Escape };

void stopScan(QPushButton* stopButton, QWidget* window, StopBy by) {
    if (by == StopBy::Button) {
        QTest::mouseClick(stopButton, Qt::LeftButton);
    } else {
        QTest::keyClick(window, Qt::Key_Escape);
    }
}

} // namespace

class ScanStopTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void startScanStopsAtTheHeldFolder_data() {
        QTest::addColumn<StopBy>("by");
        QTest::newRow("Stop button") << StopBy::Button;
        QTest::newRow("Escape") << StopBy::Escape;
    }

    void startScanStopsAtTheHeldFolder() {
        QFETCH(StopBy, by);
        test::ProgramFixture fixture;
        HeldTree tree;
        HeldFolder held(tree.heldFolder());
        fixture.context().scanFolderReached = held.seam();
        StartWindow& start = fixture.start();
        QVERIFY(test::ProgramFixture::activate(&start));
        // A dialog of the program open beside the scan takes no click either.
        fixture.context().scanParameters->showFor(&start);
        QCheckBox* plenty = fixture.context().scanParameters->plentyOfFilesCheckBox;
        QVERIFY(plenty != nullptr);
        const bool plentyBefore = plenty->isChecked();

        WhileHeld whileHeld;
        whenReady(
            &start,
            [&] { return held.reached() && start.scanErrorLabel->text().endsWith(u"held/"_s); },
            [&] {
                whileHeld.seen = true;
                whileHeld.stopShown = start.stopScanButton->isVisible();
                whileHeld.stopEnabled = start.stopScanButton->isEnabled();
                whileHeld.barShown = start.scanProgressBar->isVisible();
                whileHeld.label = start.scanErrorLabel->text();
                whileHeld.othersEnabled = {start.startButton->isEnabled(),
                                           start.bannerPicture->isEnabled()};
                QTest::mouseClick(plenty, Qt::LeftButton);
                QTest::mouseClick(start.startButton, Qt::LeftButton);
                stopScan(start.stopScanButton, &start, by);
                held.release();
            });
        fixture.ui.answerFolder(tree.music.path());
        QTest::mouseClick(start.startButton, Qt::LeftButton);

        QVERIFY(whileHeld.seen);
        QVERIFY(whileHeld.stopShown);
        QVERIFY(whileHeld.stopEnabled);
        QVERIFY(whileHeld.barShown);
        // The walk may have counted the files of the folders below already.
        QVERIFY(whileHeld.label.contains(u" files seen, listing "_s));
        QVERIFY(whileHeld.label.endsWith(u"held/"_s));
        QCOMPARE(whileHeld.othersEnabled, (QList<bool>{false, false}));
        QCOMPARE(plenty->isChecked(), plentyBefore);
        // Only the folder dialog of the first click: the click during the scan went nowhere.
        QCOMPARE(fixture.ui.folderStarts.size(), 1);

        QVERIFY(fixture.main().isVisible());
        QVERIFY(start.isHidden());
        const SongTableModel& model = fixture.model();
        QCOMPARE(model.songCount(), 1);
        QCOMPARE(model.cell(1, 1), u"a.kar"_s);
        QCOMPARE(fixture.ui.messages, QStringList{tree.stoppedMessage()});
        QCOMPARE(fixture.main().statusLabel->text(),
                 u"1 file(s) was(were) processed and placed in the table"_s);
        QVERIFY(start.startButton->isEnabled());
        QVERIFY(start.bannerPicture->isEnabled());
        QVERIFY(start.stopScanButton->isHidden());
        QVERIFY(start.scanProgressBar->isHidden());
        QVERIFY(start.scanErrorLabel->text().isEmpty());
        // The moving picture runs only while the start window shows; the hand-over hid it.
        QVERIFY(!start.pictureTimer->isActive());
    }

    void newScanStopsAtTheHeldFolderWithoutRebuildingMidway_data() {
        startScanStopsAtTheHeldFolder_data();
    }

    void newScanStopsAtTheHeldFolderWithoutRebuildingMidway() {
        QFETCH(StopBy, by);
        test::ProgramFixture fixture;
        HeldTree first;
        fixture.ui.answerFolder(first.music.path());
        fixture.start().show();
        fixture.start().startButton->click();
        MainWindow& main = fixture.main();
        QVERIFY(test::ProgramFixture::activate(&main));
        QCOMPARE(fixture.model().songCount(), 3);
        fixture.context().table.unsavedChanges = false;

        HeldTree tree;
        HeldFolder held(tree.heldFolder());
        fixture.context().scanFolderReached = held.seam();
        WhileHeld whileHeld;
        int rowsAfterVisit = -1;
        bool visited = false;
        whenReady(
            &main,
            [&] { return held.reached() && main.scanProgressLabel->text().endsWith(u"held/"_s); },
            [&] {
                whileHeld.seen = true;
                whileHeld.stopShown = main.stopScanButton->isVisible();
                whileHeld.label = main.scanProgressLabel->text();
                whileHeld.othersEnabled = {main.songGrid->isEnabled(),
                                           main.checkAllBox->isEnabled()};
                // Another window of the program comes and goes: the table waits for the scan.
                fixture.context().scanParameters->showFor(&main);
                visited = QTest::qWaitForWindowActive(fixture.context().scanParameters);
                fixture.context().scanParameters->hide();
                visited = visited && test::ProgramFixture::activate(&main);
                rowsAfterVisit = fixture.model().songCount();
                stopScan(main.stopScanButton, &main, by);
                held.release();
            });
        fixture.ui.answerFolder(tree.music.path());
        main.newScanningAction->trigger();

        QVERIFY(whileHeld.seen);
        QVERIFY(whileHeld.stopShown);
        QVERIFY(whileHeld.label.contains(u" files seen"_s)); // elided in the middle
        QCOMPARE(whileHeld.othersEnabled, (QList<bool>{false, false}));
        QVERIFY(visited);
        QCOMPARE(rowsAfterVisit, 3);
        QCOMPARE(fixture.model().songCount(), 1);
        QCOMPARE(fixture.model().cell(1, 2), tree.music.path() + u"/"_s);
        QCOMPARE(fixture.ui.messages, QStringList{tree.stoppedMessage()});
        QCOMPARE(main.statusLabel->text(),
                 u"1 file(s) was(were) processed and placed in the table"_s);
        QVERIFY(main.songGrid->isEnabled());
        QVERIFY(main.checkAllBox->isEnabled());
        QVERIFY(main.stopScanButton->isHidden());
        QVERIFY(main.scanProgressLabel->isHidden());
    }

    // The close box stops the scan first; the window then closes as it always does.
    void closingDuringAScanStopsItFirst() {
        {
            test::ProgramFixture fixture;
            HeldTree tree;
            HeldFolder held(tree.heldFolder());
            fixture.context().scanFolderReached = held.seam();
            StartWindow& start = fixture.start();
            start.show();
            int quitsWhileHeld = -1;
            whenReady(
                &start, [&] { return held.reached(); },
                [&] {
                    start.close();
                    quitsWhileHeld = fixture.quitCount;
                    held.release();
                });
            fixture.ui.answerFolder(tree.music.path());
            start.startButton->click();
            QCOMPARE(quitsWhileHeld, 0);
            QCOMPARE(fixture.quitCount, 1);
            QVERIFY(fixture.main().isHidden());
            QVERIFY(fixture.ui.messages.isEmpty());
            QCOMPARE(fixture.context().table.startStore().rowCount(), 1);
        }
        {
            test::ProgramFixture fixture;
            HeldTree tree;
            fixture.ui.answerFolder(tree.music.path());
            fixture.start().show();
            fixture.start().startButton->click();
            MainWindow& main = fixture.main();
            fixture.context().table.unsavedChanges = false;
            HeldFolder held(tree.heldFolder());
            fixture.context().scanFolderReached = held.seam();
            whenReady(
                &main, [&] { return held.reached(); },
                [&] {
                    main.close();
                    held.release();
                });
            fixture.ui.answerFolder(tree.music.path());
            main.newScanningAction->trigger();
            // The new scan's rows are unsaved: the close asks first.
            QVERIFY(fixture.prompt().isVisible());
            QCOMPARE(fixture.quitCount, 0);
            QVERIFY(fixture.ui.messages.isEmpty());
            QCOMPARE(fixture.model().songCount(), 1);
        }
    }
};

QTEST_MAIN(ScanStopTest)
#include "scan_stop_test.moc"
