// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/start_window.h"
#include "support_ui/window_child.h"

#include "app/main_window.h"
#include "scan/scan_parameters_dialog.h"
#include "settings/general_settings_dialog.h"
#include "support/kar_builder.h"
#include "support_ui/program_fixture.h"
#include "support_ui/window_child.h"

#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QTableView>
#include <QTimer>
#include <QtTest>

#include <unistd.h>

using namespace corvanteller;
using namespace Qt::StringLiterals;

namespace {

QByteArray kar(const QByteArray& title) {
    return test::KarBuilder().trackName(title).bytes();
}

} // namespace

class StartWindowTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void permanentlyDisabledEntriesStaySo() {
        test::ProgramFixture fixture;
        StartWindow& start = fixture.start();
        QTemporaryDir folder;
        const QString path = folder.filePath(u"list.sgl"_s);
        QVERIFY(test::writeTestFile(path, "Corvanteller file..\r\n1\r\n7\r\nRussia\r\n"));
        fixture.ui.answerOpenFile(path);
        child<QAction>(start, "openListAction")->trigger();
        QCOMPARE(start.permanentlyDisabled.size(), 7);
        for (QAction* action : start.permanentlyDisabled) {
            QVERIFY(!action->isEnabled());
        }
    }

    void theKeyboardOpensTheMenus() {
        test::ProgramFixture fixture;
        StartWindow& start = fixture.start();
        const QList<QAction*> titles = start.menuBar()->actions();
        const std::pair<QKeyCombination, QAction*> cases[] = {
            {Qt::ALT | Qt::Key_F, titles[0]},
            {Qt::ALT | Qt::Key_S, titles[1]},
            {Qt::ALT | Qt::Key_H, titles[2]},
            {QKeyCombination(Qt::Key_F10), titles[0]}};
        for (const auto& [keys, title] : cases) {
            QVERIFY(test::ProgramFixture::activate(&start));
            QTest::keyClick(&start, keys.key(), keys.keyboardModifiers());
            QTRY_COMPARE(QApplication::activePopupWidget(), title->menu());
            QApplication::activePopupWidget()->close();
        }
    }

    void activationCentresAndLoadsSettingsOnce() {
        test::ProgramFixture fixture;
        StartWindow& start = fixture.start();
        QVERIFY(test::ProgramFixture::activate(&start));
        QCOMPARE(child<QPushButton>(start, "startButton")->x(),
                 start.width() / 2 - child<QPushButton>(start, "startButton")->width() / 2);
        QCOMPARE(child<QLabel>(start, "bannerPicture")->x(),
                 start.width() / 2 - child<QLabel>(start, "bannerPicture")->width() / 2);
        QVERIFY(fixture.context().settingsLoaded);
        // The first start has no settings file: that is no error.
        QVERIFY(fixture.ui.errors.isEmpty());
    }

    void movingPictureWrapsAtTheRightEdge() {
        test::ProgramFixture fixture;
        StartWindow& start = fixture.start();
        QLabel* picture = child<QLabel>(start, "movingPicture");
        picture->move(10, picture->y());
        start.advancePicture();
        QCOMPARE(picture->x(), 11);
        picture->move(start.width() - 44, picture->y());
        start.advancePicture();
        QCOMPARE(picture->x(), 5);
    }

    void theMovingPictureRunsOnlyWhileTheWindowIsShown() {
        test::ProgramFixture fixture;
        StartWindow& start = fixture.start();
        QVERIFY(!child<QTimer>(start, "pictureTimer")->isActive());
        start.show();
        QVERIFY(child<QTimer>(start, "pictureTimer")->isActive());
        start.hide();
        QVERIFY(!child<QTimer>(start, "pictureTimer")->isActive());
    }

    void startScansAndHandsOverToTheMainWindow() {
        test::ProgramFixture fixture;
        QTemporaryDir music;
        QVERIFY(test::writeTestFile(music.filePath(u"one.kar"_s), kar("Song <live>")));
        QVERIFY(QDir(music.path()).mkdir(u"sub"_s));
        QVERIFY(test::writeTestFile(music.filePath(u"sub/two.kar"_s), kar("Second")));
        StartWindow& start = fixture.start();
        MainWindow& main = fixture.main();
        start.show();
        fixture.context().options.lastFolder = u"/somewhere"_s;
        fixture.ui.answerFolder(music.path());

        child<QPushButton>(start, "startButton")->click();

        QCOMPARE(fixture.ui.folderStarts, QStringList{u"/somewhere"_s});
        QCOMPARE(fixture.context().options.lastFolder, music.path());
        QVERIFY(start.isHidden());
        QVERIFY(main.isVisible());
        QCOMPARE(child<QLabel>(main, "statusLabel")->text(),
                 u"2 file(s) was(were) processed and placed in the table"_s);
        const SongTableModel& model = fixture.context().table.model();
        QCOMPARE(model.songCount(), 2);
        QCOMPARE(model.cell(1, 3), u"Song <live>"_s);
        QCOMPARE(model.cell(2, 1), u"two.kar"_s);
        QCOMPARE(model.cell(2, 2), music.path() + u"/sub/"_s);
        QVERIFY(child<QProgressBar>(start, "scanProgressBar")->isHidden());
        // The hidden window does not move its picture
        QVERIFY(!child<QTimer>(start, "pictureTimer")->isActive());
        QVERIFY(fixture.ui.messages.isEmpty());
        QVERIFY(child<QLabel>(start, "scanErrorLabel")->text().isEmpty());
    }

    void cancelledFolderDialogLeavesTheStartWindow() {
        test::ProgramFixture fixture;
        StartWindow& start = fixture.start();
        start.show();
        fixture.ui.answerFolder(QString());
        child<QPushButton>(start, "startButton")->click();
        QVERIFY(start.isVisible());
        QVERIFY(fixture.main().isHidden());
        QVERIFY(child<QTimer>(start, "pictureTimer")->isActive());
        QVERIFY(child<QLabel>(start, "movingPicture")->isVisibleTo(&start));
        QVERIFY(fixture.ui.messages.isEmpty());
        QVERIFY(fixture.ui.errors.isEmpty());
    }

    void readFailureShowsTheErrorLabelKeepsTheRowsAndSaysWhere() {
        test::ProgramFixture fixture;
        QTemporaryDir music;
        QVERIFY(test::writeTestFile(music.filePath(u"good.kar"_s), kar("Good")));
        QVERIFY(QDir(music.path()).mkdir(u"sub"_s));
        QCOMPARE(::symlink("/proc/self/mem", QFile::encodeName(music.filePath(u"sub/bad.kar"_s))),
                 0);
        StartWindow& start = fixture.start();
        fixture.ui.answerFolder(music.path());
        child<QPushButton>(start, "startButton")->click();
        QCOMPARE(child<QLabel>(start, "scanErrorLabel")->text(), u"Ошибка!!!!"_s);
        QVERIFY(fixture.main().isVisible());
        QCOMPARE(fixture.context().table.model().songCount(), 1);
        // Said once the main window shows the rows read before the file.
        QCOMPARE(
            fixture.ui.messages,
            QStringList{u"The scan stopped at "_s + music.path() +
                        u"/sub/bad.kar: I/O error 5. The rows read before it are in the table."_s});
        QCOMPARE(child<QLabel>(fixture.main(), "statusLabel")->text(),
                 u"1 file(s) was(were) processed and placed in the table"_s);
    }

    void scanningParametersOkCancelAndClose() {
        test::ProgramFixture fixture;
        ScanParametersDialog& dialog = *fixture.context().scanParameters;
        QCOMPARE(dialog.windowTitle(), u"Настройки сканирования"_s);
        child<QAction>(fixture.start(), "scanParametersAction")->trigger();
        QVERIFY(dialog.isVisible());
        QVERIFY(!child<QCheckBox>(dialog, "plentyOfFilesCheckBox")->isChecked());

        child<QCheckBox>(dialog, "plentyOfFilesCheckBox")->setChecked(true);
        QVERIFY(fixture.context().options.scanning.plentyOfFiles);
        child<QPushButton>(dialog, "cancelButton")->click(); // Cancel
        QVERIFY(!fixture.context().options.scanning.plentyOfFiles);
        QVERIFY(dialog.isHidden());

        child<QAction>(fixture.start(), "scanParametersAction")->trigger();
        child<QCheckBox>(dialog, "plentyOfFilesCheckBox")->setChecked(true);
        child<QPushButton>(dialog, "okButton")->click(); // OK
        QVERIFY(fixture.context().options.scanning.plentyOfFiles);

        child<QAction>(fixture.start(), "scanParametersAction")->trigger();
        child<QCheckBox>(dialog, "plentyOfFilesCheckBox")->setChecked(false);
        dialog.close(); // the close box puts the remembered state back
        QVERIFY(fixture.context().options.scanning.plentyOfFiles);
    }

    void openingAListHandsTheTableOver() {
        test::ProgramFixture fixture;
        QTemporaryDir folder;
        const QString path = folder.filePath(u"list.sgl"_s);
        QVERIFY(test::writeTestFile(
            path, "Corvanteller file..\r\n2\r\n7\r\nV 1\r\na.kar\r\n/m/\r\nT\r\nD\r\nE\r\nM\r\n\r\n"
                  "Russia\r\n"));
        StartWindow& start = fixture.start();
        fixture.ui.answerOpenFile(path);
        child<QAction>(start, "openListAction")->trigger();
        MainWindow& main = fixture.main();
        QVERIFY(main.isVisible());
        QVERIFY(start.isHidden());
        const SongTableModel& model = fixture.context().table.model();
        QCOMPARE(model.songCount(), 1);
        QCOMPARE(model.cell(1, 0), u"V 1"_s);
        QCOMPARE(model.headerText(6), u"Made by..."_s);
        // Another window of the program coming and going keeps the opened table.
        QVERIFY(test::ProgramFixture::activate(&main));
        child<QAction>(main, "generalSettingsAction")->trigger();
        QVERIFY(QTest::qWaitForWindowActive(fixture.context().generalSettings));
        child<QPushButton>(*fixture.context().generalSettings, "okButton")->click();
        QVERIFY(test::ProgramFixture::activate(&main));
        QCOMPARE(model.cell(1, 0), u"V 1"_s);
        QCOMPARE(fixture.ui.openDialogs.front().filter,
                 u"List files (Corvanteller) (*.sgl);;All files (*.*)"_s);
    }

    void lateActivationsOfTheHiddenStartWindowKeepTheOpenedList() {
        test::ProgramFixture fixture;
        QTemporaryDir folder;
        const QString path = folder.filePath(u"list.sgl"_s);
        QVERIFY(test::writeTestFile(
            path, "Corvanteller file..\r\n2\r\n7\r\n1\r\na.kar\r\n/m/\r\nT\r\n\r\n\r\n\r\n\r\n"
                  "Russia\r\n"));
        StartWindow& start = fixture.start();
        start.show(); // its activation is still on its way when the list is opened
        fixture.ui.answerOpenFile(path);
        child<QAction>(start, "openListAction")->trigger();
        QTest::qWait(50);
        QCOMPARE(fixture.context().table.model().songCount(), 1);
        QCOMPARE(fixture.context().table.model().cell(1, 1), u"a.kar"_s);
    }

    void aForeignFileIsRefusedAndTheMainWindowShown() {
        test::ProgramFixture fixture;
        QTemporaryDir folder;
        const QString path = folder.filePath(u"other.sgl"_s);
        QVERIFY(test::writeTestFile(path, "Corvanteller file.\r\n"));
        fixture.ui.answerOpenFile(path);
        child<QAction>(fixture.start(), "openListAction")->trigger();
        QCOMPARE(
            fixture.ui.messages,
            QStringList{u"This file is not file of Corvanteller.\n\rOr the file was damaged."_s});
        QVERIFY(fixture.main().isVisible());
    }

    void aListWithADamagedCountKeepsTheStartWindow() {
        test::ProgramFixture fixture;
        QTemporaryDir folder;
        const QString path = folder.filePath(u"bad.sgl"_s);
        QVERIFY(test::writeTestFile(path, "Corvanteller file..\r\n2\r\nseven\r\nRussia\r\n"));
        StartWindow& start = fixture.start();
        QVERIFY(test::ProgramFixture::activate(&start));
        fixture.ui.answerOpenFile(path);
        child<QAction>(start, "openListAction")->trigger();
        QCOMPARE(fixture.ui.errors, QStringList{u"'seven' is not a valid integer value"_s});
        QVERIFY(start.isVisible());
        QVERIFY(fixture.main().isHidden());
        QVERIFY(!fixture.context().table.startWindowHandedTable);
    }

    void cancelledOpenDoesNotKeepAStaleTable() {
        test::ProgramFixture fixture;
        QTemporaryDir music;
        QVERIFY(test::writeTestFile(music.filePath(u"one.kar"_s), kar("One")));
        StartWindow& start = fixture.start();
        fixture.ui.answerOpenFile(QString());
        child<QAction>(start, "openListAction")->trigger();
        QVERIFY(fixture.main().isHidden());
        fixture.ui.answerFolder(music.path());
        child<QPushButton>(start, "startButton")->click();
        QCOMPARE(fixture.context().table.model().songCount(), 1);
    }
};

QTEST_MAIN(StartWindowTest)
#include "start_window_test.moc"
