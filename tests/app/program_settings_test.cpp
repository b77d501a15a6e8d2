// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/start_window.h"
#include "support_ui/window_child.h"

#include "app/main_window.h"
#include "settings/general_settings_dialog.h"
#include "settings/settings_file.h"
#include "support/kar_builder.h"
#include "support_ui/program_fixture.h"
#include "support_ui/window_child.h"
#include "table/save_changes_prompt.h"
#include "table/song_grid.h"
#include "ui/hint_controller.h"

#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QPushButton>
#include <QTableView>
#include <QtTest>

using namespace corvanteller;
using namespace Qt::StringLiterals;

namespace {

// Runs of the program that share one settings file.
struct Run : test::ProgramFixture {
    explicit Run(const QString& settingsPath, const QDateTime& startTime) {
        context().settingsPath = settingsPath;
        clock.now_ = startTime;
        QVERIFY(activate(&start()));
    }
    void scan(const QString& folder) {
        ui.answerFolder(folder);
        child<QPushButton>(start(), "startButton")->click();
    }
};

} // namespace

class ProgramSettingsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void runTimeAccumulatesWhicheverWindowCloses() {
        QTemporaryDir folder;
        const QString path = folder.filePath(u"prop.dat"_s);
        const QDateTime day(QDate(2026, 3, 1), QTime(10, 0, 0));
        {
            Run first(path, day);
            first.clock.now_ = day.addSecs(3600);
            first.start().close();
            QCOMPARE(first.quitCount, 1);
        }
        {
            Run second(path, day.addDays(1));
            QCOMPARE(second.context().runTimes.lastCloseTime, day.addSecs(3600));
            QVERIFY(second.ui.errors.isEmpty());
            second.context().table.unsavedChanges = false;
            second.main().show();
            second.clock.now_ = day.addDays(1).addSecs(1800);
            QVERIFY(second.main().close());
            QCOMPARE(second.quitCount, 1);
        }
        Run third(path, day.addDays(2));
        QCOMPARE(third.context().runTimes.accumulatedRunDays * 86400.0, 5400.0);
    }

    void exitDoesNotWriteTheSettings() {
        QTemporaryDir folder;
        const QString path = folder.filePath(u"prop.dat"_s);
        const QDateTime day(QDate(2026, 3, 1), QTime(10, 0, 0));
        {
            Run first(path, day);
            first.context().options.lastFolder = u"/music"_s;
            first.start().close();
        }
        {
            Run second(path, day);
            second.context().options.lastFolder = u"/elsewhere"_s;
            child<QAction>(second.start(), "exitAction")->trigger();
        }
        Run third(path, day);
        QCOMPARE(third.context().options.lastFolder, u"/music"_s);
    }

    void userWidthsComeBackOnlyInUserSettingsMode() {
        QTemporaryDir folder;
        QTemporaryDir music;
        {
            QFile song(music.filePath(u"a.kar"_s));
            QVERIFY(song.open(QIODevice::WriteOnly));
            song.write(test::KarBuilder().trackName("Title").bytes());
        }
        const QString path = folder.filePath(u"prop.dat"_s);
        const QDateTime day(QDate(2026, 3, 1), QTime(10, 0, 0));
        {
            Run first(path, day);
            first.context().options.general.columnWidthMode = ColumnWidthMode::User;
            first.scan(music.path());
            child<SongGrid>(first.main(), "songGrid")->setColumnWidth(3, 333);
            first.context().table.unsavedChanges = false;
            QVERIFY(first.main().close());
        }
        {
            Run second(path, day);
            QCOMPARE(second.context().options.savedColumnWidths[3], 333);
            second.scan(music.path());
            QCOMPARE(child<SongGrid>(second.main(), "songGrid")->columnWidth(3), 333);
            // In another mode the dragged widths are not kept.
            second.context().options.general.columnWidthMode = ColumnWidthMode::Fixed;
            child<SongGrid>(second.main(), "songGrid")->setColumnWidth(3, 444);
            second.context().table.unsavedChanges = false;
            QVERIFY(second.main().close());
        }
        Run third(path, day);
        QCOMPARE(third.context().options.savedColumnWidths[3], 333);
    }

    void generalSettingsReachTheTableAndTheHints() {
        QTemporaryDir folder;
        QTemporaryDir music;
        {
            QFile song(music.filePath(u"a.kar"_s));
            QVERIFY(song.open(QIODevice::WriteOnly));
            song.write(test::KarBuilder().trackName("Title").bytes());
        }
        Run run(folder.filePath(u"prop.dat"_s), QDateTime(QDate(2026, 3, 1), QTime(10, 0, 0)));
        run.scan(music.path());
        MainWindow& main = run.main();
        GeneralSettingsDialog& dialog = *run.context().generalSettings;
        child<QAction>(main, "generalSettingsAction")->trigger();
        QVERIFY(dialog.isVisible());
        child<QPushButton>(dialog, "defaultSettingsButton")->click(); // "&Default settings"
        QVERIFY(dialog.isHidden());
        child<QAction>(main, "generalSettingsAction")->trigger();
        child<RadioGroupBox>(dialog, "columnWidthGroup")->setItemIndex(1); // "User settings"
        child<QCheckBox>(dialog, "hintsCheckBox")->setChecked(false);      // "Hints"
        QVERIFY(!run.context().hints.hintsEnabled());
        child<QPushButton>(dialog, "okButton")->click(); // OK
        QVERIFY(test::ProgramFixture::activate(&main));
        const ColumnWidthList expected{60, 60, 75, 60, 60, 60, 60};
        QCOMPARE(main.widthsAtClose().widths, expected);
        QCOMPARE(run.context().options.lastFolder, u"/"_s);
    }

    void damagedSettingsAreReported() {
        QTemporaryDir folder;
        const QString path = folder.filePath(u"prop.dat"_s);
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(1, char(251)));
        file.close();
        {
            Run run(path, QDateTime(QDate(2026, 3, 1), QTime(10, 0, 0)));
            QCOMPARE(run.ui.errors, QStringList{u"Error while loading settings"_s});
        }

        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray("\xFA\x01\x00", 3));
        file.close();
        Run shortFile(path, QDateTime(QDate(2026, 3, 1), QTime(10, 0, 0)));
        QCOMPARE(shortFile.ui.errors, QStringList{u"Read beyond end of file"_s});
        QVERIFY(shortFile.context().options.scanning.plentyOfFiles);
    }

    void unwritableWindowSettingsAreReportedOnceAtTheEnd() {
        QTemporaryDir folder;
        Run run(folder.filePath(u"prop.dat"_s), QDateTime(QDate(2026, 3, 1), QTime(10, 0, 0)));
        // A folder where the settings file should be: it cannot be written.
        const QString conf = folder.filePath(u"Corvanteller.conf"_s);
        QVERIFY(QDir().mkpath(conf + u"/inside"_s));
        run.context().desktopSettingsPath = conf;
        run.start().close();
        QCOMPARE(run.quitCount, 1);
        QCOMPARE(run.ui.messages.size(), 1);
        QVERIFY(run.ui.messages.first().contains(conf));
    }
};

QTEST_MAIN(ProgramSettingsTest)
#include "program_settings_test.moc"
