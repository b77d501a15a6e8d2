#include "table/main_window.h"

#include "app/start_window.h"
#include "scan/scan_parameters_dialog.h"
#include "support/kar_builder.h"
#include "support_ui/program_fixture.h"
#include "table/save_changes_prompt.h"

#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QTableView>
#include <QToolTip>
#include <QtTest>

using namespace corvanteller;
using namespace Qt::StringLiterals;

namespace {

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A program whose main window shows three songs scanned from the start window.
struct ScannedProgram : test::ProgramFixture {
    ScannedProgram() {
        QVERIFY(test::writeTestFile(music.filePath(u"a.kar"_s),
                                    test::KarBuilder().trackName("Alpha <x>").bytes()));
        QDir(music.path()).mkdir(u"s1"_s);
        QDir(music.path()).mkdir(u"s2"_s);
        QVERIFY(test::writeTestFile(music.filePath(u"s1/b.kar"_s),
                                    test::KarBuilder().trackName("Beta").bytes()));
        QVERIFY(test::writeTestFile(music.filePath(u"s2/c.kar"_s),
                                    test::KarBuilder().trackName("Gamma").bytes()));
        ui.answerFolder(music.path());
        context().startWindow->Button1Click();
    }
    TForm4& main() { return *context().mainWindow; }
    SongTableModel& model() { return context().table.model(); }
    // Another window of the program was active in between.
    void reactivateMain() {
        context().noteFormActivation(context().scanParameters);
        main().FormDeactivate();
        main().showAsActive();
    }

    QTemporaryDir music;
};

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void statusLineKeepsItsRightMargin() {
        ScannedProgram program;
        TForm4& main = program.main();
        for (const QSize size : {QSize(900, 600), QSize(733, 520)}) {
            main.resize(size);
            QApplication::processEvents();
            QCOMPARE(main.Label1->geometry().right() + 1,
                     main.centralWidget()->width() - TForm4::statusRightMargin);
        }
    }

    void doubleClickTogglesAndUnchecksCheckAll() {
        ScannedProgram program;
        TForm4& main = program.main();
        SongTableModel& model = program.model();
        main.StringGrid1DblClick(model.index(1, 2));
        QCOMPARE(model.cell(2, 0), u"V 2"_s);
        main.StringGrid1DblClick(model.index(1, 2));
        QCOMPARE(model.cell(2, 0), u"2"_s);

        main.CheckBox1->setChecked(true);
        QCOMPARE(model.cell(1, 0), u"V 1"_s);
        QCOMPARE(model.cell(3, 0), u"V 3"_s);
        main.StringGrid1DblClick(model.index(2, 1));
        QVERIFY(!main.CheckBox1->isChecked());
        QCOMPARE(model.cell(1, 0), u"1"_s);
        QCOMPARE(model.cell(3, 0), u"V 3"_s);
    }

    void checkAllShowsTheLastFolder() {
        ScannedProgram program;
        QTest::mouseClick(program.main().CheckBox1, Qt::LeftButton);
        QCOMPARE(program.main().Label2->text(), program.music.path());
    }

    void activationRebuildsAndClearsMarksButKeepsEdits() {
        ScannedProgram program;
        SongTableModel& model = program.model();
        model.setCell(1, 3, u"Edited"_s);
        model.toggleCheck(1);
        program.main().CheckBox1->setChecked(true);
        program.reactivateMain();
        QCOMPARE(model.cell(1, 0), u"1"_s);
        QCOMPARE(model.cell(1, 3), u"Edited"_s);
        QVERIFY(program.main().CheckBox1->isChecked());
    }

    void addRowMovesRowsDown() {
        ScannedProgram program;
        TForm4& main = program.main();
        main.StringGrid1->setCurrentIndex(program.model().index(0, 1));
        main.N19Click();
        SongTableModel& model = program.model();
        QCOMPARE(model.songCount(), 4);
        QCOMPARE(model.cell(1, 1), QString());
        QCOMPARE(model.cell(2, 1), u"a.kar"_s);
        QCOMPARE(model.cell(4, 0), u"4"_s);
    }

    void newScanAsksFirstAndNoStartsTheFolderChoice() {
        ScannedProgram program;
        TForm4& main = program.main();
        TForm12& prompt = *program.context().savePrompt;
        main.NewScanningClick();
        QVERIFY(prompt.isVisible());
        QCOMPARE(prompt.windowTitle(), u"Attention"_s);
        QCOMPARE(program.context().table.promptPurpose, PromptPurpose::AskBeforeNewScan);
        QCOMPARE(program.ui.folderStarts.size(), 1);

        QTemporaryDir other;
        QVERIFY(test::writeTestFile(other.filePath(u"z.kar"_s),
                                    test::KarBuilder().trackName("Zed <cut>").bytes()));
        program.ui.answerFolder(other.path());
        prompt.Button2Click(); // No
        QVERIFY(prompt.isHidden());
        QCOMPARE(program.ui.folderStarts.size(), 2);
        QCOMPARE(program.model().songCount(), 1);
        // The main window's scan cuts the texts at < and >.
        QCOMPARE(program.model().cell(1, 3), u"Zed "_s);
        QCOMPARE(program.context().table.origin, TableOrigin::MainWindow);
        QCOMPARE(main.Label1->text(), u"1 file(s) was(were) processed and placed in the table"_s);
        QVERIFY(program.context().table.unsavedChanges);
    }

    void cancelledNewScanKeepsTheRowsAndClearsMarks() {
        ScannedProgram program;
        program.context().table.unsavedChanges = false;
        program.model().toggleCheck(2);
        program.ui.answerFolder(QString());
        program.main().NewScanningClick();
        QCOMPARE(program.model().songCount(), 3);
        QCOMPARE(program.model().cell(2, 0), u"2"_s);
        QVERIFY(program.ui.messages.isEmpty());
    }

    void closeWithUnsavedChangesAsks() {
        ScannedProgram program;
        TForm4& main = program.main();
        TForm12& prompt = *program.context().savePrompt;
        QVERIFY(!main.close());
        QVERIFY(prompt.isVisible());
        QCOMPARE(program.quitCount, 0);
        prompt.Button3Click(); // Cancel
        QVERIFY(prompt.isHidden());
        QVERIFY(main.isVisible());

        QVERIFY(!main.close());
        prompt.Button2Click(); // No
        QCOMPARE(program.quitCount, 1);
        QVERIFY(QFile::exists(program.context().settingsPath));
    }

    void yesBeforeClosingEndsEvenWhenTheSaveDialogIsCancelled() {
        ScannedProgram program;
        program.main().close();
        program.ui.answerSaveFile(QString());
        program.context().savePrompt->Button1Click();
        QCOMPARE(program.quitCount, 1);
    }

    void yesBeforeClosingSavesTheList() {
        ScannedProgram program;
        QTemporaryDir folder;
        const QString path = folder.filePath(u"songs.sgl"_s);
        program.main().close();
        program.ui.answerSaveFile(path);
        program.context().savePrompt->Button1Click();
        QCOMPARE(program.quitCount, 1);
        QVERIFY(readFile(path).startsWith("Corvanteller file..\r\n4\r\n7\r\n1\r\na.kar\r\n"));
    }

    void savedListClosesWithoutAsking() {
        ScannedProgram program;
        QTemporaryDir folder;
        const QString path = folder.filePath(u"songs.sgl"_s);
        program.ui.answerSaveFile(path);
        program.main().N9Click();
        QCOMPARE(program.ui.saveDialogs.front().filter, u"List files (Corvanteller) (*.sgl)"_s);
        QCOMPARE(program.ui.saveDialogs.front().defaultSuffix, u"sgl"_s);
        QVERIFY(!program.context().table.unsavedChanges);
        QCOMPARE(program.context().table.currentListFile, path);
        QVERIFY(program.main().close());
        QVERIFY(program.context().savePrompt->isHidden());
        QCOMPARE(program.quitCount, 1);
    }

    void typingInTheGridCountsAsAChange() {
        ScannedProgram program;
        program.context().table.unsavedChanges = false;
        QTest::keyClick(program.main().StringGrid1, Qt::Key_Down);
        QVERIFY(!program.context().table.unsavedChanges);
        QTest::keyClick(program.main().StringGrid1, Qt::Key_X);
        QVERIFY(program.context().table.unsavedChanges);
    }

    void failedSaveKeepsTheFlagAndTheCurrentFile() {
        ScannedProgram program;
        QTemporaryDir folder;
        const QString good = folder.filePath(u"good.sgl"_s);
        program.ui.answerSaveFile(good);
        program.main().N9Click();
        QVERIFY(test::writeTestFile(folder.filePath(u"blocker"_s), "a file, not a folder"));
        program.ui.answerSaveFile(folder.filePath(u"blocker/list.sgl"_s));
        program.context().table.unsavedChanges = true;
        program.main().N9->trigger();
        QCOMPARE(program.ui.errors.size(), 1);
        QVERIFY(program.context().table.unsavedChanges);
        QCOMPARE(program.context().table.currentListFile, good);
    }

    void saveListRightAfterOpeningAsksForAName() {
        QTemporaryDir folder;
        const QString path = folder.filePath(u"songs.sgl"_s);
        {
            ScannedProgram program;
            program.ui.answerSaveFile(path);
            program.main().N9Click();
            program.ui.answerOpenFile(path);
            program.main().N8Click();
            QCOMPARE(program.model().headerText(6), u"Made by..."_s);
            program.main().N29Click(); // the current list file of this run is kept
            QCOMPARE(program.ui.saveDialogs.size(), 1);
        }
        // One program at a time: it owns the application's hints.
        ScannedProgram fresh;
        fresh.ui.answerOpenFile(path);
        fresh.main().N8Click();
        fresh.ui.answerSaveFile(QString());
        fresh.main().N29Click();
        QCOMPARE(fresh.ui.saveDialogs.size(), 1);
    }

    void fullTableRefusesAnotherRow() {
        ScannedProgram program;
        program.model().setSongCount(SongTableModel::maxSongs);
        program.main().N19Click();
        QCOMPARE(program.model().songCount(), SongTableModel::maxSongs);
        QCOMPARE(program.ui.messages.size(), 1);
    }

    void cellTooltipOnlyForTextsThatDoNotFit() {
        ScannedProgram program;
        program.context().options.general.columnWidthMode = 0;
        TForm4& main = program.main();
        main.applyColumnWidthMode();
        program.model().setCell(2, 3, QString(200, u'W'));
        QVERIFY(QTest::qWaitForWindowExposed(&main));
        QWidget* viewport = main.StringGrid1->viewport();
        const auto moveTo = [&](int row, int column) {
            const QPoint point =
                main.StringGrid1->visualRect(program.model().index(row - 1, column)).center();
            QMouseEvent move(QEvent::MouseMove, point, viewport->mapToGlobal(point), Qt::NoButton,
                             Qt::NoButton, Qt::NoModifier);
            QApplication::sendEvent(viewport, &move);
        };
        moveTo(1, 3); // "Alpha <x>" fits
        QVERIFY(main.cellTooltip->isHidden());
        moveTo(2, 3);
        QVERIFY(main.cellTooltip->isVisible());
        QCOMPARE(main.cellTooltip->text(), QString(200, u'W'));
        const QRect cell = main.StringGrid1->visualRect(program.model().index(1, 3));
        QCOMPARE(main.cellTooltip->pos(), viewport->mapToGlobal(cell.topLeft()) + QPoint(2, 2));
        moveTo(2, 0); // the "#" column never shows one
        QVERIFY(main.cellTooltip->isHidden());
        moveTo(2, 3);
        QVERIFY(main.cellTooltip->isVisible());
        main.StringGrid1DblClick(program.model().index(1, 3));
        QVERIFY(main.cellTooltip->isHidden());
    }

    void tableHintSwitchesItselfOffAfterTwoShowings() {
        ScannedProgram program;
        TForm4& main = program.main();
        QVERIFY(QTest::qWaitForWindowExposed(&main));
        // No greeting (1 of 70 missed), no "!!".
        program.random.draws = {1, 1, 5, 1};
        QWidget* viewport = main.StringGrid1->viewport();
        const auto rest = [&] {
            QHelpEvent event(QEvent::ToolTip, QPoint(30, 30),
                             viewport->mapToGlobal(QPoint(30, 30)));
            QApplication::sendEvent(viewport, &event);
        };
        rest();
        QTRY_VERIFY(QToolTip::isVisible());
        // Wrapped to at most 120 pixels a line.
        QVERIFY2(QToolTip::text().contains(u"double click"_s), qPrintable(QToolTip::text()));
        rest();
        rest(); // the third showing is still made, then the hint is off for good
        QToolTip::hideText();
        QTRY_VERIFY(!QToolTip::isVisible());
        rest();
        QVERIFY(!QToolTip::isVisible());
        QVERIFY(main.StringGrid1->toolTip().isEmpty());
    }

    void promptCloseButtonOnlyHides() {
        ScannedProgram program;
        program.main().close();
        TForm12& prompt = *program.context().savePrompt;
        prompt.close();
        QVERIFY(prompt.isHidden());
        QCOMPARE(program.quitCount, 0);
        QVERIFY(program.main().isVisible());
    }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
