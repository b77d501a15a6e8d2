// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/start_up.h"
#include "support_ui/window_child.h"

#include "app/main_window.h"
#include "app/start_window.h"
#include "settings/settings_file.h"
#include "support/kar_builder.h"
#include "support_ui/program_fixture.h"
#include "support_ui/window_child.h"

#include <QLabel>
#include <QtTest>

using namespace corvanteller;
using namespace Qt::StringLiterals;

// The program started with a list file or a folder on its command line, through the same
// start-up that main() runs: the start window comes up, its first activation loads the settings,
// and then the argument is carried out as the start window's own commands would do it.
class StartUpTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void aListFileIsOpenedAndHandedToTheMainWindow() {
        test::ProgramFixture fixture;
        QTemporaryDir folder;
        const QString path = folder.filePath(u"songs.sgl"_s);
        QVERIFY(test::writeTestFile(path, "Corvanteller file..\r\n3\r\n7\r\n"
                                          "V 1\r\na.kar\r\n/m/\r\nFirst\r\nD\r\nE\r\nM\r\n\r\n"
                                          "2\r\nb.kar\r\n/m/s/\r\nSecond\r\n\r\n\r\n\r\n\r\n"
                                          "Russia\r\n"));

        startUp(*fixture.program, {path});

        MainWindow& main = fixture.main();
        QTRY_VERIFY(main.isVisible());
        QVERIFY(fixture.start().isHidden());
        QVERIFY(fixture.context().settingsLoaded);
        QVERIFY(fixture.ui.openDialogs.isEmpty());
        QVERIFY(fixture.ui.unansweredDialogs.isEmpty());
        // The main window's activations keep the table that was read.
        QVERIFY(test::ProgramFixture::activate(&main));
        const SongTableModel& model = fixture.model();
        QCOMPARE(model.songCount(), 2);
        QCOMPARE(model.cell(1, 0), u"V 1"_s);
        QCOMPARE(model.cell(1, 3), u"First"_s);
        QCOMPARE(model.cell(2, 1), u"b.kar"_s);
        QCOMPARE(model.cell(2, 2), u"/m/s/"_s);
        QCOMPARE(model.headerText(6), u"Made by..."_s);
    }

    void aFolderIsScannedAfterTheSettingsAreLoaded() {
        test::ProgramFixture fixture;
        QTemporaryDir music;
        QVERIFY(test::writeTestFile(music.filePath(u"one.kar"_s),
                                    test::KarBuilder().trackName("Song <live>").bytes()));
        QVERIFY(QDir(music.path()).mkdir(u"sub"_s));
        QVERIFY(test::writeTestFile(music.filePath(u"sub/two.kar"_s),
                                    test::KarBuilder().trackName("Second").bytes()));
        // Had the scan run before the settings were read, they would have put this back.
        Options saved = fixture.context().options;
        saved.lastFolder = u"/elsewhere"_s;
        saveSettings(fixture.context().settingsPath, saved, saved.savedColumnWidths,
                     fixture.context().runTimes, fixture.clock, fixture.random);

        startUp(*fixture.program, {music.path() + u"/"_s});

        MainWindow& main = fixture.main();
        QTRY_VERIFY(main.isVisible());
        QVERIFY(fixture.start().isHidden());
        QVERIFY(fixture.ui.folderStarts.isEmpty());
        QVERIFY(fixture.context().settingsLoaded);
        QCOMPARE(fixture.context().options.lastFolder, music.path());
        QVERIFY(test::ProgramFixture::activate(&main));
        QCOMPARE(child<QLabel>(main, "statusLabel")->text(),
                 u"2 file(s) was(were) processed and placed in the table"_s);
        const SongTableModel& model = fixture.model();
        QCOMPARE(model.songCount(), 2);
        // The start window's scan keeps < and >.
        QCOMPARE(model.cell(1, 3), u"Song <live>"_s);
        QCOMPARE(model.cell(2, 2), music.path() + u"/sub/"_s);
        QVERIFY(fixture.ui.messages.isEmpty());
    }

    // The message, then the start window as before: no empty table that asks to be saved.
    void aForeignListIsJudgedAsTheListOpenJudgesIt() {
        test::ProgramFixture fixture;
        QTemporaryDir folder;
        const QString path = folder.filePath(u"other.sgl"_s);
        QVERIFY(test::writeTestFile(path, "Corvanteller file.\r\n"));
        startUp(*fixture.program, {path});
        QTRY_COMPARE(
            fixture.ui.messages,
            QStringList{u"This file is not file of Corvanteller.\n\rOr the file was damaged."_s});
        QVERIFY(fixture.start().isVisible());
        QVERIFY(fixture.main().isHidden());
    }

    void anythingElseGetsAMessageAndTheStartWindow_data() {
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QString>("message");
        QTest::newRow("text file") << QStringList{u"notes.txt"_s}
                                   << u"\"%1/notes.txt\" is neither a Corvanteller list (*.sgl) "
                                      u"nor a folder."_s;
        QTest::newRow("missing") << QStringList{u"gone.sgl"_s}
                                 << u"There is no file or folder \"%1/gone.sgl\"."_s;
        QTest::newRow("two lists")
            << QStringList{u"a.sgl"_s, u"b.sgl"_s}
            << u"Corvanteller opens one list file (*.sgl) or one folder at a time."_s;
    }

    void anythingElseGetsAMessageAndTheStartWindow() {
        QFETCH(QStringList, names);
        QFETCH(QString, message);
        test::ProgramFixture fixture;
        QTemporaryDir folder;
        QVERIFY(test::writeTestFile(folder.filePath(u"notes.txt"_s), "Songs to find\n"));
        QStringList arguments;
        for (const QString& name : names) {
            arguments.append(folder.filePath(name));
        }

        startUp(*fixture.program, arguments);

        QTRY_COMPARE(fixture.ui.messages, QStringList{message.replace(u"%1"_s, folder.path())});
        StartWindow& start = fixture.start();
        QVERIFY(start.isVisible());
        QVERIFY(fixture.main().isHidden());
        QVERIFY(child<QTimer>(start, "pictureTimer")->isActive());
        // The start window still works as usual.
        fixture.ui.answerOpenFile(QString());
        child<QAction>(start, "openListAction")->trigger();
        QCOMPARE(fixture.ui.openDialogs.size(), 1);
    }
};

QTEST_MAIN(StartUpTest)
#include "start_up_test.moc"
