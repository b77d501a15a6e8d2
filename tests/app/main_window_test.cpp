// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/bottom_row.h"
#include "app/main_window.h"
#include "support_ui/window_child.h"

#include "help/about_window.h"
#include "help/help_window.h"
#include "help/splash_window.h"
#include "rename/complex_rename_dialog.h"
#include "scan/scan_parameters_dialog.h"
#include "settings/general_settings_dialog.h"
#include "support/kar_builder.h"
#include "support_ui/program_fixture.h"
#include "support_ui/window_child.h"
#include "table/column_widths.h"
#include "table/save_changes_prompt.h"
#include "table/song_grid.h"
#include "text/text_view.h"
#include "ui/find_bar.h"
#include "write/text_write_preview_window.h"

#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QDropEvent>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QToolTip>
#include <QUrl>
#include <QtTest>

#include <algorithm>
#include <functional>
#include <map>
#include <unistd.h>

using namespace corvanteller;
using namespace Qt::StringLiterals;

namespace {

// A program whose main window shows three songs scanned from the start window and is the
// active window, as after a click on "Start".
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
        start().show();
        child<QPushButton>(start(), "startButton")->click();
        QVERIFY(activate(&main()));
        grid().setFocus(Qt::MouseFocusReason);
    }

    SongGrid& grid() { return *child<SongGrid>(main(), "songGrid"); }
    QModelIndex cellIndex(int row, int column) { return model().index(row - 1, column); }

    // Types into a cell as a user does: the first key opens the in-place editor, the rest go
    // to it. Enter is not pressed.
    void typeInto(int row, int column, const QString& text) {
        grid().setCurrentIndex(cellIndex(row, column));
        QTest::keyClick(&grid(), text.front().toLatin1());
        QWidget* editor = QApplication::focusWidget();
        QVERIFY(editor != nullptr && editor != &grid());
        QTest::keyClicks(editor, text.mid(1));
    }

    // A double click as the window system delivers it: press, release, then the second press
    // as a double click.
    void doubleClick(int row, int column) {
        const QPoint point = grid().visualRect(cellIndex(row, column)).center();
        QTest::mouseClick(grid().viewport(), Qt::LeftButton, {}, point);
        QTest::mouseDClick(grid().viewport(), Qt::LeftButton, {}, point);
    }

    // Another window of the program takes over and is closed again: the main window loses its
    // activation and gets it back, as when the user opens and closes a dialog of the program.
    void visitAnotherWindow() {
        child<QAction>(main(), "generalSettingsAction")->trigger();
        GeneralSettingsDialog& dialog = *context().generalSettings;
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        child<QPushButton>(dialog, "okButton")->click();
        QVERIFY(activate(&main()));
    }

    QTemporaryDir music;
};

// A window that is not one of the program's own (a message box, a file dialog): taking the
// activation away and giving it back.
void visitForeignWindow(QWidget* back) {
    QWidget foreign;
    QVERIFY(test::ProgramFixture::activate(&foreign));
    foreign.hide();
    QVERIFY(test::ProgramFixture::activate(back));
}

// Everything of the table that an open which cannot read its list must leave as it was.
QStringList tableState(ScannedProgram& program) {
    const SongTableModel& model = program.model();
    TableSession& table = program.context().table;
    QStringList state{table.currentListFile,
                      QString::number(int{table.hasCurrentListFile}),
                      QString::number(int{table.unsavedChanges}),
                      child<QLabel>(program.main(), "statusLabel")->text(),
                      QString::number(table.mainStore().rowCount()),
                      QString::number(table.startStore().rowCount())};
    for (int column = 0; column < tableColumnCount; ++column) {
        state << model.headerText(column) << QString::number(program.grid().columnWidth(column));
        for (int row = 1; row <= 4; ++row) { // the stores' texts in columns 1 to 6
            state << (row <= model.songCount() ? model.cell(row, column) : u"-"_s)
                  << (column > 0 ? table.mainStore().text(column, row) : QString())
                  << (column > 0 ? table.startStore().text(column, row) : QString());
        }
    }
    return state;
}

// Enabled, and in no menu that is disabled.
bool reachable(const QAction* action) {
    if (!action->isEnabled()) {
        return false;
    }
    for (const QObject* owner = action->parent(); owner != nullptr; owner = owner->parent()) {
        if (const auto* menu = qobject_cast<const QMenu*>(owner);
            menu != nullptr && !menu->menuAction()->isEnabled()) {
            return false;
        }
    }
    return true;
}

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // --- Edits are never lost ---------------------------------------------------------------

    void aCellBeingEditedIsSavedByTheMenu() {
        ScannedProgram program;
        QTemporaryDir folder;
        const QString path = folder.filePath(u"songs.sgl"_s);
        program.typeInto(1, 3, u"Typed"_s);
        program.ui.answerSaveFile(path);
        child<QAction>(program.main(), "saveListAsAction")->trigger();
        QVERIFY(test::readTestFile(path).contains("\r\nTyped\r\n"));

        program.typeInto(2, 4, u"More"_s);
        child<QAction>(program.main(), "saveListAction")->trigger(); // to the current file
        QVERIFY(test::readTestFile(path).contains("\r\nMore\r\n"));
        QVERIFY(!program.context().table.unsavedChanges);
        QVERIFY(program.main().close());
        QCOMPARE(program.quitCount, 1);
    }

    void aNameBeingTypedIsRenamedByTheMenu() {
        ScannedProgram program;
        program.typeInto(1, 1, u"typed.kar"_s);
        child<QAction>(program.main(), "renameFromNameColumnAction")->trigger();
        QVERIFY(QFile::exists(program.music.filePath(u"typed.kar"_s)));
        QVERIFY(!QFile::exists(program.music.filePath(u"a.kar"_s)));
        QCOMPARE(child<QLabel>(program.main(), "statusLabel")->text(),
                 u"1 file(s) was(were) renamed"_s);
    }

    void aCellBeingEditedSurvivesTheCloseBoxAndCancel() {
        ScannedProgram program;
        program.typeInto(1, 3, u"Kept"_s);
        QVERIFY(!program.main().close());
        SaveChangesPrompt& prompt = program.prompt();
        QVERIFY(QTest::qWaitForWindowActive(&prompt));
        QTest::mouseClick(child<QPushButton>(prompt, "cancelButton"), Qt::LeftButton); // Cancel
        QVERIFY(prompt.isHidden());
        QVERIFY(test::ProgramFixture::activate(&program.main()));
        QCOMPARE(program.model().cell(1, 3), u"Kept"_s);
        QCOMPARE(program.context().table.startStore().text(3, 1), u"Kept"_s);
    }

    void aCellBeingEditedSurvivesAVisitToAnotherWindow() {
        ScannedProgram program;
        program.typeInto(2, 1, u"new.kar"_s);
        program.visitAnotherWindow();
        QCOMPARE(program.model().cell(2, 1), u"new.kar"_s);
    }

    void yesThenACancelledSaveDialogReturnsToTheTable() {
        ScannedProgram program;
        SaveChangesPrompt& prompt = program.prompt();
        QVERIFY(!program.main().close());
        program.ui.answerSaveFile(QString());
        QTest::mouseClick(child<QPushButton>(prompt, "yesButton"), Qt::LeftButton); // Yes
        QCOMPARE(program.quitCount, 0);
        QVERIFY(prompt.isHidden());
        QVERIFY(program.main().isVisible());
        QCOMPARE(program.model().songCount(), 3);
        QVERIFY(program.context().table.unsavedChanges);

        // The same before a new scan: no folder dialog, the rows stay.
        child<QAction>(program.main(), "newScanningAction")->trigger();
        QVERIFY(prompt.isVisible());
        program.ui.answerSaveFile(QString());
        QTest::mouseClick(child<QPushButton>(prompt, "yesButton"), Qt::LeftButton);
        QVERIFY(prompt.isHidden());
        QCOMPARE(program.ui.folderStarts.size(), 1);
        QCOMPARE(program.model().songCount(), 3);

        // Only "No" or a real save ends the program.
        QVERIFY(!program.main().close());
        QTest::mouseClick(child<QPushButton>(prompt, "noButton"), Qt::LeftButton); // No
        QCOMPARE(program.quitCount, 1);
        QVERIFY(QFile::exists(program.context().settingsPath));
    }

    void returnInThePromptAnswersYesUnlessAnotherButtonHasTheFocus() {
        ScannedProgram program;
        SaveChangesPrompt& prompt = program.prompt();
        QVERIFY(!program.main().close());
        child<QPushButton>(prompt, "cancelButton")->setFocus(Qt::TabFocusReason);
        QTest::keyClick(child<QPushButton>(prompt, "cancelButton"), Qt::Key_Return); // Cancel
        QVERIFY(prompt.isHidden());
        QVERIFY(!program.main().close());
        QVERIFY(QTest::qWaitFor([&prompt] { return QApplication::activeWindow() == &prompt; }));
        program.ui.answerSaveFile(QString());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return); // Yes: the save dialog
        QCOMPARE(program.ui.saveDialogs.size(), 1);
    }

    void yesBeforeClosingSavesTheListAndEnds() {
        ScannedProgram program;
        QTemporaryDir folder;
        const QString path = folder.filePath(u"songs.sgl"_s);
        child<QAction>(program.main(), "exitAction")->trigger();
        program.ui.answerSaveFile(path);
        QTest::mouseClick(child<QPushButton>(program.prompt(), "yesButton"), Qt::LeftButton);
        QCOMPARE(program.quitCount, 1);
        QVERIFY(
            test::readTestFile(path).startsWith("Corvanteller file..\r\n4\r\n7\r\n1\r\na.kar\r\n"));
    }

    void aFailedSaveAfterYesReturnsToTheTableAndReports() {
        ScannedProgram program;
        QTemporaryDir folder;
        QVERIFY(test::writeTestFile(folder.filePath(u"blocker"_s), "a file, not a folder"));
        QVERIFY(!program.main().close());
        program.ui.answerSaveFile(folder.filePath(u"blocker/list.sgl"_s));
        QTest::mouseClick(child<QPushButton>(program.prompt(), "yesButton"), Qt::LeftButton);
        QCOMPARE(program.ui.errors.size(), 1);
        QCOMPARE(program.quitCount, 0);
        QVERIFY(program.prompt().isHidden());
        QVERIFY(program.context().table.unsavedChanges);
    }

    void newScanAsksFirstAndNoStartsTheFolderChoice() {
        ScannedProgram program;
        SaveChangesPrompt& prompt = program.prompt();
        child<QAction>(program.main(), "popupNewScanningAction")->trigger();
        QVERIFY(prompt.isVisible());
        QCOMPARE(program.ui.folderStarts.size(), 1);

        QTemporaryDir other;
        QVERIFY(test::writeTestFile(other.filePath(u"z.kar"_s),
                                    test::KarBuilder().trackName("Zed <cut>").bytes()));
        program.ui.answerFolder(other.path());
        QTest::mouseClick(child<QPushButton>(prompt, "noButton"), Qt::LeftButton); // No
        QVERIFY(prompt.isHidden());
        QCOMPARE(program.ui.folderStarts.size(), 2);
        QCOMPARE(program.model().songCount(), 1);
        // The main window's scan cuts the texts at < and >.
        QCOMPARE(program.model().cell(1, 3), u"Zed "_s);
        QCOMPARE(program.context().table.origin, TableOrigin::MainWindow);
        QCOMPARE(child<QLabel>(program.main(), "statusLabel")->text(),
                 u"1 file(s) was(were) processed and placed in the table"_s);
        QVERIFY(program.context().table.unsavedChanges);
    }

    void cancelledNewScanKeepsTheRowsAndClearsMarks() {
        ScannedProgram program;
        program.context().table.unsavedChanges = false;
        program.model().toggleCheck(2);
        program.ui.answerFolder(QString());
        child<QAction>(program.main(), "newScanningAction")->trigger();
        QCOMPARE(program.model().songCount(), 3);
        QCOMPARE(program.model().cell(2, 0), u"2"_s);
        QVERIFY(program.ui.messages.isEmpty());
    }

    void aNewScanThatCannotReadAFileSaysSoOverTheRowsBeforeIt() {
        ScannedProgram program;
        QTemporaryDir other;
        QVERIFY(test::writeTestFile(other.filePath(u"first.kar"_s),
                                    test::KarBuilder().trackName("First").bytes()));
        QVERIFY(QDir(other.path()).mkdir(u"sub"_s));
        QCOMPARE(::symlink("/proc/self/mem", QFile::encodeName(other.filePath(u"sub/bad.kar"_s))),
                 0);
        program.context().table.unsavedChanges = false;
        // The message box takes the activation as a real one does; the table must already be
        // the new one then.
        program.ui.whileShowingMessage = [&program] { visitForeignWindow(&program.main()); };
        program.ui.answerFolder(other.path());
        child<QAction>(program.main(), "newScanningAction")->trigger();
        QCOMPARE(
            program.ui.messages,
            QStringList{u"The scan stopped at "_s + other.path() +
                        u"/sub/bad.kar: I/O error 5. The rows read before it are in the table."_s});
        QCOMPARE(program.model().songCount(), 1);
        QCOMPARE(program.context().table.mainStore().text(3, 1), u"First"_s);
    }

    void promptCloseButtonOnlyHides() {
        ScannedProgram program;
        program.main().close();
        SaveChangesPrompt& prompt = program.prompt();
        prompt.close();
        QVERIFY(prompt.isHidden());
        QCOMPARE(program.quitCount, 0);
        QVERIFY(program.main().isVisible());
    }

    // --- The unsaved-changes flag -----------------------------------------------------------

    void onlyTheUsersOwnFocusAndTypingCountAsChanges() {
        ScannedProgram program;
        QTemporaryDir folder;
        program.ui.answerSaveFile(folder.filePath(u"songs.sgl"_s));
        child<QAction>(program.main(), "saveListAsAction")->trigger();
        QVERIFY(!program.context().table.unsavedChanges);

        // The focus coming back to the grid with the window is no change.
        visitForeignWindow(&program.main());
        program.visitAnotherWindow();
        QVERIFY(!program.context().table.unsavedChanges);
        QTest::keyClick(&program.grid(), Qt::Key_Down);
        QVERIFY(!program.context().table.unsavedChanges);

        // A click into the grid from elsewhere is.
        child<QCheckBox>(program.main(), "checkAllBox")->setFocus(Qt::MouseFocusReason);
        QTest::mouseClick(program.grid().viewport(), Qt::LeftButton, {},
                          program.grid().visualRect(program.cellIndex(1, 2)).center());
        QVERIFY(program.context().table.unsavedChanges);

        program.context().table.unsavedChanges = false;
        QTest::keyClick(&program.grid(), Qt::Key_X);
        QVERIFY(program.context().table.unsavedChanges);
    }

    void savedListClosesWithoutAsking() {
        ScannedProgram program;
        QTemporaryDir folder;
        const QString path = folder.filePath(u"songs.sgl"_s);
        program.ui.answerSaveFile(path);
        child<QAction>(program.main(), "saveListAsAction")->trigger();
        QCOMPARE(program.ui.saveDialogs.front().filter, u"List files (Corvanteller) (*.sgl)"_s);
        QCOMPARE(program.ui.saveDialogs.front().defaultSuffix, u"sgl"_s);
        QCOMPARE(program.context().table.currentListFile, path);
        visitForeignWindow(&program.main()); // the save dialog coming and going
        QVERIFY(program.main().close());
        QVERIFY(program.prompt().isHidden());
        QCOMPARE(program.quitCount, 1);
    }

    void failedSaveKeepsTheFlagAndTheCurrentFile() {
        ScannedProgram program;
        QTemporaryDir folder;
        const QString good = folder.filePath(u"good.sgl"_s);
        program.ui.answerSaveFile(good);
        child<QAction>(program.main(), "saveListAsAction")->trigger();
        QVERIFY(test::writeTestFile(folder.filePath(u"blocker"_s), "a file, not a folder"));
        program.ui.answerSaveFile(folder.filePath(u"blocker/list.sgl"_s));
        program.context().table.unsavedChanges = true;
        child<QAction>(program.main(), "saveListAsAction")->trigger();
        QCOMPARE(program.ui.errors.size(), 1);
        QVERIFY(program.context().table.unsavedChanges);
        QCOMPARE(program.context().table.currentListFile, good);
    }

    // --- Lists ------------------------------------------------------------------------------

    void saveListRightAfterOpeningAsksForAName() {
        QTemporaryDir folder;
        const QString path = folder.filePath(u"songs.sgl"_s);
        {
            ScannedProgram program;
            program.ui.answerSaveFile(path);
            child<QAction>(program.main(), "saveListAsAction")->trigger();
            program.ui.answerOpenFile(path);
            child<QAction>(program.main(), "openListAction")->trigger();
            QCOMPARE(program.model().headerText(6), u"Made by..."_s);
            child<QAction>(program.main(), "saveListAction")
                ->trigger(); // the current list file of this run is kept
            QCOMPARE(program.ui.saveDialogs.size(), 1);
        }
        ScannedProgram fresh;
        fresh.ui.answerOpenFile(path);
        child<QAction>(fresh.main(), "openListAction")->trigger();
        QTest::mouseClick(child<QPushButton>(fresh.prompt(), "noButton"),
                          Qt::LeftButton); // No: open without saving
        QCOMPARE(fresh.model().headerText(6), u"Made by..."_s);
        fresh.ui.answerSaveFile(QString());
        child<QAction>(fresh.main(), "saveListAction")->trigger();
        QCOMPARE(fresh.ui.saveDialogs.size(), 1);
    }

    void eachKindOfFileDialogStartsWhereThatKindWasLastChosen() {
        ScannedProgram program;
        QTemporaryDir lists;
        const QString list = lists.filePath(u"songs.sgl"_s);
        for (const QString& answer : {list, list, QString()}) {
            program.ui.answerSaveFile(answer);
        }
        child<QAction>(program.main(), "saveListAsAction")
            ->trigger(); // a list, in the working folder
        child<QAction>(program.main(), "saveListAsAction")->trigger(); // a list again
        child<QAction>(program.main(), "saveAsWordAction")
            ->trigger(); // a document: none chosen yet
        QCOMPARE(program.ui.saveDialogs[0].startFolder, QString());
        QCOMPARE(program.ui.saveDialogs[1].startFolder, lists.path());
        QCOMPARE(program.ui.saveDialogs[2].startFolder, QString());
    }

    void aListWithADamagedCountStopsWithoutTouchingTheRowStore() {
        ScannedProgram program;
        QTemporaryDir folder;
        const QString path = folder.filePath(u"bad.sgl"_s);
        QVERIFY(test::writeTestFile(path, "Corvanteller file..\r\nabc\r\n7\r\nRussia\r\n"));
        const QString mainBefore = program.context().table.mainStore().text(1, 1);
        const QString startBefore = program.context().table.startStore().text(1, 1);
        // The error box takes the activation away from the main window, as a real one does.
        program.ui.whileShowingMessage = [&program] { visitForeignWindow(&program.main()); };
        program.ui.answerOpenFile(path);
        program.context().table.unsavedChanges = false; // no save-changes prompt first
        child<QAction>(program.main(), "openListAction")->trigger();
        QCOMPARE(program.ui.errors, QStringList{u"'abc' is not a valid integer value"_s});
        QCOMPARE(program.context().table.mainStore().text(1, 1), mainBefore);
        QCOMPARE(program.context().table.startStore().text(1, 1), startBefore);
    }

    void aListThatCannotBeReadLeavesTheTableAsItWas() {
        const std::pair<QByteArray, QString> cases[] = {
            // no bytes: the file is missing
            {"Corvanteller file.\r\n4\r\n7\r\n",
             u"showMessage This file is not file of Corvanteller.\n\rOr the file was damaged."_s},
            {"Corvanteller file..\r\n4\r\n7x\r\n1\r\n",
             u"reportError '7x' is not a valid integer value"_s},
            {"Corvanteller file..\r\n99999\r\n7\r\n",
             u"showMessage The list holds more rows than the table can take."_s},
            {{}, u"reportError File not found"_s},
        };
        for (const auto& [bytes, said] : cases) {
            ScannedProgram program;
            QTemporaryDir folder;
            const QString list = folder.filePath(u"songs.sgl"_s);
            program.ui.answerSaveFile(list);
            child<QAction>(program.main(), "saveListAsAction")->trigger();
            program.typeInto(2, 3, u"Word"_s);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
            child<SongGrid>(program.main(), "songGrid")->setColumnWidth(4, 77);
            // The stores as the prompt's coming leaves them.
            program.visitAnotherWindow();
            const QString bad = folder.filePath(u"bad.sgl"_s);
            if (!bytes.isNull()) {
                QVERIFY(test::writeTestFile(bad, bytes));
            }
            const QStringList before = tableState(program);
            program.ui.log.clear();

            program.ui.answerOpenFile(bad);
            child<QAction>(program.main(), "openListAction")->trigger();
            QTest::mouseClick(child<QPushButton>(program.prompt(), "noButton"),
                              Qt::LeftButton); // No

            QCOMPARE(program.ui.log, (QStringList{u"chooseOpenFile "_s, said}));
            QCOMPARE(tableState(program), before);
            // Saving again writes the word and every row over the list.
            child<QAction>(program.main(), "saveListAction")->trigger();
            const QByteArray saved = test::readTestFile(list);
            QVERIFY(saved.startsWith("Corvanteller file..\r\n4\r\n7\r\n1\r\na.kar\r\n"));
            QVERIFY(saved.contains("\r\nWord\r\n"));
        }
    }

    void openAndImportAskBeforeReplacingUnsavedChanges() {
        enum Button { Yes, No, Cancel };
        const struct {
            bool open;              // else the import, whose own dialog is cancelled
            Button button;          // of the save-changes prompt
            const char* saveAnswer; // none: no save dialog expected; empty: cancelled
            const char* dialogs;    // the dialogs in their order
        } cases[] = {
            {true, Yes, "saved.sgl", "chooseSaveFile chooseOpenFile"},
            {true, Yes, "", "chooseSaveFile"},
            {true, Yes, "blocker/saved.sgl", "chooseSaveFile reportError"},
            {true, No, nullptr, "chooseOpenFile"},
            {true, Cancel, nullptr, ""},
            {false, Yes, "saved.sgl", "chooseSaveFile chooseOpenFile"},
            {false, No, nullptr, "chooseOpenFile"},
            {false, Cancel, nullptr, ""},
        };
        for (const auto& c : cases) {
            ScannedProgram program;
            QTemporaryDir folder;
            QVERIFY(test::writeTestFile(folder.filePath(u"blocker"_s), "a file, not a folder"));
            const QString list = folder.filePath(u"one.sgl"_s);
            QVERIFY(test::writeTestFile(list, "Corvanteller file..\r\n2\r\n7\r\n"
                                              "1\r\nz.kar\r\n/z/\r\nZed\r\n\r\n\r\n\r\n\r\n"
                                              "Russia\r\n"));
            const QString saved = folder.filePath(QString::fromLatin1(c.saveAnswer));
            program.typeInto(1, 3, u"Typed"_s);
            program.ui.log.clear();
            program.ui.answerOpenFile(c.open ? list : QString());
            if (c.saveAnswer != nullptr) {
                program.ui.answerSaveFile(*c.saveAnswer != 0 ? saved : QString());
            }

            (c.open ? child<QAction>(program.main(), "openListAction")
                    : child<QAction>(program.main(), "importExcelAction"))
                ->trigger();
            QVERIFY(program.prompt().isVisible());
            QVERIFY(program.ui.log.isEmpty());
            QPushButton* buttons[] = {child<QPushButton>(program.prompt(), "yesButton"),
                                      child<QPushButton>(program.prompt(), "noButton"),
                                      child<QPushButton>(program.prompt(), "cancelButton")};
            QTest::mouseClick(buttons[c.button], Qt::LeftButton);

            QVERIFY(program.prompt().isHidden());
            QStringList dialogs;
            for (const QString& entry : std::as_const(program.ui.log)) {
                dialogs << entry.section(u' ', 0, 0);
            }
            QCOMPARE(dialogs.join(u' '), QString::fromLatin1(c.dialogs));
            // The window system gives the window back: its activation keeps the new table.
            QVERIFY(test::ProgramFixture::activate(&program.main()));
            if (dialogs.size() == 2 && dialogs[1] == u"chooseOpenFile"_s) { // saved first
                QVERIFY(test::readTestFile(saved).contains("\r\nTyped\r\n"));
            }
            const bool replaced = c.open && dialogs.endsWith(u"chooseOpenFile"_s);
            QCOMPARE(program.model().songCount(), replaced ? 1 : 3);
            QCOMPARE(program.model().cell(1, 3), replaced ? u"Zed"_s : u"Typed"_s);
            // The status line tells the opened list's rows at once.
            QCOMPARE(child<QLabel>(program.main(), "statusLabel")->text(),
                     QString::number(replaced ? 1 : 3) +
                         u" file(s) was(were) processed and placed in the table"_s);
            program.ui.clearAnswers();
        }
    }

    // --- The grid ---------------------------------------------------------------------------

    // Marks stay across a window switch unless the user asked for the old behaviour.
    void activationRebuildsKeepingEditsAndMarksAsAsked() {
        for (const bool keepMarks : {false, true}) {
            ScannedProgram program;
            program.context().desktop.keepMarksOnSwitch = keepMarks;
            program.typeInto(1, 3, u"Edited"_s);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
            program.doubleClick(2, 2);
            QCOMPARE(program.model().cell(2, 0), u"V 2"_s);
            child<QCheckBox>(program.main(), "checkAllBox")->click();
            program.visitAnotherWindow();
            QCOMPARE(program.model().cell(1, 0), keepMarks ? u"V 1"_s : u"1"_s);
            QCOMPARE(program.model().cell(3, 0), keepMarks ? u"V 3"_s : u"3"_s);
            QCOMPARE(program.model().cell(1, 3), u"Edited"_s);
            QVERIFY(child<QCheckBox>(program.main(), "checkAllBox")->isChecked());
        }
    }

    // A header click sorts, a second one reverses; Ctrl+Z and Ctrl+Y walk the steps back and
    // forth, typing among them; Space marks a Shift-selection.
    void theTableSortsUndoesAndMarksAsACatalogue() {
        ScannedProgram program;
        QHeaderView* header = program.grid().horizontalHeader();
        const auto clickHeader = [&](int column) {
            const QPoint point(header->sectionViewportPosition(column) + 5, header->height() / 2);
            QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, point);
        };
        const auto titles = [&] {
            QStringList texts;
            for (int row = 1; row <= program.model().songCount(); ++row) {
                texts << program.model().cell(row, SongColumn::Title);
            }
            return texts.join(u',');
        };
        const QString scanned = titles();
        clickHeader(SongColumn::Title);
        QCOMPARE(titles(), u"Alpha <x>,Beta,Gamma"_s);
        clickHeader(SongColumn::Title);
        QCOMPARE(titles(), u"Gamma,Beta,Alpha <x>"_s);
        QCOMPARE(header->sortIndicatorOrder(), Qt::DescendingOrder);
        program.typeInto(1, SongColumn::Title, u"Zulu"_s);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QTRY_COMPARE(program.context().table.history.undoText(), u"Undo typing in row 1"_s);
        const QString typed = titles();
        for (const QString& expected :
             {u"Gamma,Beta,Alpha <x>"_s, u"Alpha <x>,Beta,Gamma"_s, scanned}) {
            QTest::keyClick(&program.grid(), Qt::Key_Z, Qt::ControlModifier);
            QCOMPARE(titles(), expected);
        }
        for (int step = 0; step < 3; ++step) {
            QTest::keyClick(&program.grid(), Qt::Key_Y, Qt::ControlModifier);
        }
        QCOMPARE(titles(), typed);
        program.visitAnotherWindow(); // the rows stay sorted, the history stays
        QCOMPARE(titles(), typed);
        QVERIFY(program.context().table.history.canUndo());

        program.grid().setCurrentIndex(program.cellIndex(1, 2));
        QTest::keyClick(&program.grid(), Qt::Key_Down, Qt::ShiftModifier);
        QTest::keyClick(&program.grid(), Qt::Key_Space);
        QCOMPARE(program.model().rowMarks(), (std::vector<bool>{true, true, false}));

        // Ctrl+L: the filter line shows the matching rows only; Mark shown checks them.
        QTest::keyClick(&program.grid(), Qt::Key_L, Qt::ControlModifier);
        QWidget* filter = QApplication::focusWidget();
        QCOMPARE(filter->objectName(), u"filterEdit"_s);
        QTest::keyClicks(filter, u" ALPHA "_s);
        QCOMPARE(child<QLabel>(program.main(), "statusLabel")->text(), u"Shown: 1 of 3"_s);
        QVERIFY(program.grid().isRowHidden(0) && !program.grid().isRowHidden(2));
        program.main().findChild<QPushButton*>(u"markShownButton"_s)->click();
        QCOMPARE(program.model().rowMarks(), (std::vector<bool>{true, true, true}));
        QCOMPARE(program.main().findChild<QLabel*>(u"countLabel"_s)->text(),
                 u"3 rows, 3 checked, shown 1"_s);
        QTest::keyClick(filter, Qt::Key_Escape);
        QVERIFY(!program.grid().isRowHidden(0));
        QCOMPARE(QApplication::focusWidget(), &program.grid());
    }

    // A list or a folder dropped on the window opens or scans as its menu command does.
    void aDroppedOrRecentListOpensAndADroppedFolderScans() {
        ScannedProgram program;
        QTemporaryDir folder;
        const QString list = folder.filePath(u"songs.sgl"_s);
        program.ui.answerSaveFile(list);
        child<QAction>(program.main(), "saveListAsAction")->trigger();
        QCOMPARE(program.main().windowTitle(), u"songs.sgl - Corvanteller"_s);
        const auto drop = [&](const QString& path) {
            QMimeData data;
            data.setUrls({QUrl::fromLocalFile(path)});
            QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &data, Qt::LeftButton, {});
            QApplication::sendEvent(&program.main(), &enter);
            QVERIFY(enter.isAccepted());
            QDropEvent dropped(QPointF(50, 50), Qt::CopyAction, &data, Qt::LeftButton, {});
            QApplication::sendEvent(&program.main(), &dropped);
        };
        child<QAction>(program.main(), "addRowAction")->trigger();
        program.context().table.unsavedChanges = false;
        drop(list);
        QCOMPARE(program.model().songCount(), 3);
        QVERIFY(program.ui.log.filter(u"chooseOpenFile"_s).isEmpty());
        child<QAction>(program.main(), "addRowAction")->trigger();
        program.context().table.unsavedChanges = false;
        drop(program.music.path());
        QCOMPARE(program.model().songCount(), 3);
        QCOMPARE(program.main().windowTitle(), u"Corvanteller"_s);
        // The saved and opened list is the first of File > Recent lists; once it is gone, its
        // entry says so and goes.
        auto* recent = program.main().findChild<QMenu*>(u"recentListsMenu"_s);
        Q_EMIT recent->aboutToShow();
        QCOMPARE(recent->actions().front()->text(), u"&1 "_s + list);
        child<QAction>(program.main(), "addRowAction")->trigger();
        program.context().table.unsavedChanges = false;
        recent->actions().front()->trigger();
        QCOMPARE(program.model().songCount(), 3);
        QFile::remove(list);
        Q_EMIT recent->aboutToShow();
        recent->actions().front()->trigger();
        QVERIFY(program.ui.log.last().startsWith(u"showMessage The list "_s));
        QVERIFY(program.context().desktop.recentLists.isEmpty());
    }

    void doubleClickTogglesAndUnchecksCheckAll() {
        ScannedProgram program;
        const auto doubleClick = [&program](int row) { program.doubleClick(row, 2); };
        doubleClick(2);
        QCOMPARE(program.model().cell(2, 0), u"V 2"_s);
        doubleClick(2);
        QCOMPARE(program.model().cell(2, 0), u"2"_s);

        QTest::mouseClick(child<QCheckBox>(program.main(), "checkAllBox"), Qt::LeftButton);
        QCOMPARE(program.model().cell(1, 0), u"V 1"_s);
        QCOMPARE(child<QLabel>(program.main(), "lastFolderLabel")->text(), program.music.path());
        doubleClick(3);
        QVERIFY(!child<QCheckBox>(program.main(), "checkAllBox")->isChecked());
        QCOMPARE(program.model().cell(1, 0), u"1"_s);
        QCOMPARE(program.model().cell(3, 0), u"V 3"_s);
    }

    // A key right after a click on the current cell, while the view waits to see whether the
    // click becomes a double click: the key goes into that cell, never to a row found by it.
    void aKeyRightAfterAClickOnTheCurrentCellEditsThatCell() {
        ScannedProgram program;
        const QModelIndex first = program.cellIndex(1, 1);
        program.grid().setCurrentIndex(first);
        QTest::mouseClick(program.grid().viewport(), Qt::LeftButton, {},
                          program.grid().visualRect(first).center());
        QTest::keyClick(&program.grid(), 'c');
        QWidget* editor = QApplication::focusWidget();
        QVERIFY(editor != nullptr && editor != &program.grid());
        QTest::keyClicks(editor, u"2.kar"_s);
        QTest::keyClick(editor, Qt::Key_Return);
        QTRY_COMPARE(program.model().cell(1, 1), u"c2.kar"_s);
        QCOMPARE(program.model().cell(2, 1), u"c.kar"_s);
    }

    // A new table is shown from its first cell, wherever the old one was scrolled to.
    void aNewScanAndAListOpenShowTheTableFromItsTopLeftCell() {
        ScannedProgram program;
        program.main().resize(400, 300); // narrower than the table, which then scrolls across
        QTemporaryDir folder;
        const QString list = folder.filePath(u"songs.sgl"_s);
        program.ui.answerSaveFile(list);
        child<QAction>(program.main(), "saveListAsAction")->trigger();
        const std::function<void()> commands[] = {
            [&] {
                program.ui.answerFolder(program.music.path());
                child<QAction>(program.main(), "newScanningAction")->trigger();
            },
            [&] {
                program.ui.answerOpenFile(list);
                child<QAction>(program.main(), "openListAction")->trigger();
            }};
        for (const auto& command : commands) {
            program.context().table.unsavedChanges = false;
            QScrollBar* across = program.grid().horizontalScrollBar();
            QTRY_VERIFY(across->maximum() > 0); // once the view has laid the table out
            across->setValue(across->maximum());
            QVERIFY(across->value() > 0);
            command();
            QCOMPARE(across->value(), 0);
            QCOMPARE(program.grid().columnViewportPosition(0), 0);
            QCOMPARE(program.grid().rowViewportPosition(0), 0);
        }
    }

    void spaceTogglesTheCurrentRowAsADoubleClickDoes() {
        ScannedProgram program;
        program.grid().setCurrentIndex(program.cellIndex(2, 3));
        program.context().table.unsavedChanges = false;
        QTest::keyClick(&program.grid(), Qt::Key_Space);
        QCOMPARE(program.model().cell(2, 0), u"V 2"_s);
        QCOMPARE(QApplication::focusWidget(), &program.grid()); // no editor opened
        QVERIFY(!program.context().table.unsavedChanges);
        QTest::keyClick(&program.grid(), Qt::Key_Space);
        QCOMPARE(program.model().cell(2, 0), u"2"_s);
    }

    void addRowMovesRowsDownAndRefusesAFullTable() {
        ScannedProgram program;
        program.grid().setCurrentIndex(program.cellIndex(1, 1));
        child<QAction>(program.main(), "addRowAction")->trigger();
        QCOMPARE(program.model().songCount(), 4);
        QCOMPARE(program.model().cell(1, 1), QString());
        QCOMPARE(program.model().cell(2, 1), u"a.kar"_s);
        QCOMPARE(program.model().cell(4, 0), u"4"_s);

        program.model().setSongCount(SongTableModel::maxSongs);
        child<QAction>(program.main(), "addRowAction")->trigger();
        QCOMPARE(program.model().songCount(), SongTableModel::maxSongs);
        QCOMPARE(program.ui.messages.size(), 1);
    }

    void userWidthsThatWereNeverSavedKeepTheColumnsVisible() {
        ScannedProgram program;
        program.context().options.general.columnWidthMode = ColumnWidthMode::User;
        program.context().options.savedColumnWidths = {};
        program.visitAnotherWindow();
        for (int column = 0; column < 7; ++column) {
            QCOMPARE(program.grid().columnWidth(column),
                     fixedColumnWidths[static_cast<std::size_t>(column)]);
        }
        program.context().options.general.columnWidthMode = ColumnWidthMode::WidestLine;
        program.visitAnotherWindow();
        QCOMPARE(program.grid().columnWidth(0), fixedColumnWidths[0]);
    }

    void headersStartAtTheLeftLikeTheCells() {
        ScannedProgram program;
        QVERIFY(program.grid().horizontalHeader()->defaultAlignment() & Qt::AlignLeft);
    }

    void statusLineKeepsItsRightMargin() {
        ScannedProgram program;
        MainWindow& main = program.main();
        for (const QSize size : {QSize(900, 600), QSize(733, 520)}) {
            main.resize(size);
            QApplication::processEvents();
            QCOMPARE(child<QLabel>(main, "statusLabel")->geometry().right() + 1,
                     main.centralWidget()->width() - BottomRow::statusRightMargin);
        }
    }

    void cellTooltipOnlyForTextsThatDoNotFitAndNeverInTheWay() {
        ScannedProgram program;
        program.context().options.general.columnWidthMode = ColumnWidthMode::Fixed;
        program.main().applyColumnWidthMode();
        program.model().setCell(2, 3, QString(200, u'W'));
        SongGrid& grid = program.grid();
        QLabel* tooltip = grid.cellTooltip();
        QWidget* viewport = grid.viewport();
        // What the window system sends as the mouse moves over a cell.
        const auto moveTo = [&](int row, int column) {
            const QPoint point = grid.visualRect(program.cellIndex(row, column)).center();
            QMouseEvent move(QEvent::MouseMove, point, viewport->mapToGlobal(point), Qt::NoButton,
                             Qt::NoButton, Qt::NoModifier);
            QApplication::sendEvent(viewport, &move);
        };
        moveTo(1, 3); // "Alpha <x>" fits
        QVERIFY(tooltip->isHidden());
        moveTo(2, 3);
        QVERIFY(tooltip->isVisible());
        QCOMPARE(tooltip->text(), QString(200, u'W'));
        const QRect cell = grid.visualRect(program.cellIndex(2, 3));
        QCOMPARE(tooltip->pos(), viewport->mapToGlobal(cell.topLeft()) + QPoint(2, 2));
        // It lies over the cell but never takes the mouse or the focus from it.
        QVERIFY(tooltip->testAttribute(Qt::WA_TransparentForMouseEvents));
        QVERIFY(tooltip->windowFlags() & Qt::WindowTransparentForInput);
        QVERIFY(tooltip->windowFlags() & Qt::WindowDoesNotAcceptFocus);
        moveTo(2, 0); // the "#" column never shows one
        QVERIFY(tooltip->isHidden());
        moveTo(2, 3);
        QVERIFY(tooltip->isVisible());
        program.doubleClick(2, 3);
        QVERIFY(tooltip->isHidden());

        // A text taller than the screen's two thirds is shown whole, wrapped at the screen.
        QString essay;
        for (int i = 0; i < 3000; ++i) {
            essay += u"word "_s;
        }
        program.model().setCell(3, 4, essay);
        moveTo(3, 4);
        QVERIFY(tooltip->isVisible());
        const QRect screen = program.main().screen()->availableGeometry();
        QVERIFY(tooltip->width() <= screen.width());
        QVERIFY(tooltip->height() > screen.height() * 2 / 3);
    }

    void tableHintSwitchesItselfOffAfterTwoShowings() {
        ScannedProgram program;
        // No greeting (1 of 70 missed), no "!!".
        program.random.draws = {1, 1, 5, 1};
        QWidget* viewport = program.grid().viewport();
        const auto rest = [&] {
            QHelpEvent event(QEvent::ToolTip, QPoint(30, 30),
                             viewport->mapToGlobal(QPoint(30, 30)));
            QApplication::sendEvent(viewport, &event);
        };
        rest();
        QTRY_VERIFY(QToolTip::isVisible());
        QVERIFY2(QToolTip::text().contains(u"double click"_s), qPrintable(QToolTip::text()));
        rest();
        rest(); // the third showing is still made, then the hint is off for good
        QToolTip::hideText();
        QTRY_VERIFY(!QToolTip::isVisible());
        rest();
        QVERIFY(!QToolTip::isVisible());
        QVERIFY(program.grid().toolTip().isEmpty());
    }

    // --- Every menu entry is wired ----------------------------------------------------------

    void everyEnabledEntryOfBothWindowsReachesItsCommand() {
        ScannedProgram program;
        MainWindow& main = program.main();
        StartWindow& start = program.start();
        AppContext& context = program.context();
        // Each command's first visible effect; the dialogs are cancelled.
        using Check = std::function<bool()>;
        const auto asked = [&program](const QString& call) {
            return [&program, call] { return program.ui.log.contains(call); };
        };
        const auto began = [&program](const QString& call) {
            return [&program, call] {
                return std::any_of(program.ui.log.begin(), program.ui.log.end(),
                                   [&call](const QString& line) { return line.startsWith(call); });
            };
        };
        const auto shown = [](QWidget* window) { return [window] { return window->isVisible(); }; };
        QWidget* view = &main.textView();
        const auto hideView = [view] { view->hide(); };
        const int rows = program.model().songCount();
        std::map<const QAction*, std::pair<Check, std::function<void()>>> expected = {
            {child<QAction>(main, "newScanningAction"),
             {shown(&program.prompt()), [&] { program.prompt().hide(); }}},
            {child<QAction>(main, "popupNewScanningAction"),
             {shown(&program.prompt()), [&] { program.prompt().hide(); }}},
            {child<QAction>(main, "exitAction"),
             {shown(&program.prompt()), [&] { program.prompt().hide(); }}},
            // The scan's table is unsaved: the open and the import ask first.
            {child<QAction>(main, "openListAction"),
             {shown(&program.prompt()), [&] { program.prompt().hide(); }}},
            {child<QAction>(main, "saveListAsAction"),
             {asked(u"chooseSaveFile "_s), [&] { program.ui.log.clear(); }}},
            {child<QAction>(main, "saveListAction"), {asked(u"chooseSaveFile "_s), [] {}}},
            {child<QAction>(main, "addRowAction"),
             {[&] { return program.model().songCount() == rows + 1; }, [] {}}},
            {child<QAction>(main, "importExcelAction"),
             {shown(&program.prompt()), [&] { program.prompt().hide(); }}},
            {child<QAction>(main, "exportExcelAction"),
             {[&] { return program.ui.desktopOpened.size() == 1; }, [] {}}},
            {child<QAction>(main, "exportWordAction"), {began(u"openWithDesktop "_s), [] {}}},
            {child<QAction>(main, "saveAsWordAction"), {asked(u"chooseSaveFile "_s), [] {}}},
            {child<QAction>(main, "printFromWordAction"), {began(u"print Document"_s), [] {}}},
            {child<QAction>(main, "printToPdfAction"), {asked(u"chooseSaveFile "_s), [] {}}},
            {child<QAction>(main, "saveWorkbookAsAction"), {asked(u"chooseSaveFile "_s), [] {}}},
            {child<QAction>(main, "openTextListAction"), {asked(u"chooseOpenFile "_s), hideView}},
            {child<QAction>(main, "saveAsTextAction"), {asked(u"chooseSaveFile "_s), hideView}},
            {child<QAction>(main, "exportTextAction"), {shown(view), hideView}},
            {child<QAction>(main, "exportToTextAction"), {shown(view), hideView}},
            {child<QAction>(main, "findAction"),
             {shown(child<FindBar>(main, "findBar")),
              [&] { child<FindBar>(main, "findBar")->closeBar(); }}},
            {child<QAction>(main, "writeTextsAction"),
             {shown(&main.textWritePreview()), [&] { main.textWritePreview().hide(); }}},
            {child<QAction>(main, "undoTextWritingAction"),
             {asked(u"showMessage There is no text writing to undo."_s), [] {}}},
            {child<QAction>(main, "renameFromNameColumnAction"),
             {[&] {
                  return child<QLabel>(main, "statusLabel")->text() ==
                         u"0 file(s) was(were) renamed"_s;
              },
              [] {}}},
            {child<QAction>(main, "complexRenamingAction"),
             {shown(&main.complexRenaming()), [&] { main.complexRenaming().hide(); }}},
            {child<QAction>(main, "undoRenamingAction"),
             {asked(u"showMessage There is no renaming to undo."_s), [] {}}},
            {child<QAction>(main, "generalSettingsAction"),
             {shown(context.generalSettings), [&] { context.generalSettings->hide(); }}},
            {child<QAction>(main, "promptAction"),
             {shown(context.prompt), [&] { context.prompt->hide(); }}},
            {child<QAction>(main, "informationAction"),
             {shown(context.about), [&] { context.about->hide(); }}},
            {child<QAction>(main, "helpAction"),
             {shown(context.help), [&] { context.help->hide(); }}},
            {child<QAction>(main, "popupHelpAction"),
             {shown(context.help), [&] { context.help->hide(); }}},
            {child<QAction>(start, "startScanningAction"),
             {asked(u"chooseFolder "_s + program.music.path()), [] {}}},
            {child<QAction>(start, "openListAction"), {asked(u"chooseOpenFile "_s), [] {}}},
            {child<QAction>(start, "importExcelAction"), {asked(u"chooseOpenFile "_s), [] {}}},
            {child<QAction>(start, "scanParametersAction"),
             {shown(context.scanParameters), [&] { context.scanParameters->hide(); }}},
            {child<QAction>(start, "generalSettingsAction"),
             {shown(context.generalSettings), [&] { context.generalSettings->hide(); }}},
            {child<QAction>(start, "promptAction"),
             {shown(context.prompt), [&] { context.prompt->hide(); }}},
            {child<QAction>(start, "informationAction"),
             {shown(context.about), [&] { context.about->hide(); }}},
            {child<QAction>(start, "helpAction"),
             {shown(context.help), [&] { context.help->hide(); }}},
            {child<QAction>(start, "exitAction"), {[&] { return program.quitCount == 1; }, [] {}}},
        };
        // The table's history: the added row is taken back and added again; each sort is a step.
        const auto* undo = main.findChild<QAction*>(u"undoTableAction"_s);
        const auto* redo = main.findChild<QAction*>(u"redoTableAction"_s);
        expected[undo] = {[&] { return program.model().songCount() == rows; }, [] {}};
        expected[redo] = {[&] { return program.model().songCount() == rows + 1; }, [] {}};
        const auto row = [&main](const char* name) {
            return main.findChild<QAction*>(QString::fromLatin1(name));
        };
        const auto clipboardHas = [](const QString& text) {
            return [text] { return QGuiApplication::clipboard()->text().contains(text); };
        };
        auto* filterBar = main.findChild<QWidget*>(u"filterBar"_s);
        expected[row("filterAction")] = {shown(filterBar), [filterBar] { filterBar->hide(); }};
        expected[row("markDuplicatesAction")] = {
            asked(u"showMessage 0 rows are duplicates of earlier rows."_s), [] {}};
        expected[row("markIdenticalFilesAction")] = {
            began(u"showMessage 0 rows stand for files identical"_s), [] {}};
        expected[row("removeCheckedAction")] = {asked(u"showMessage No row is checked."_s), [] {}};
        const auto anyChecked = [&program] {
            const std::vector<bool> marks = program.model().rowMarks();
            return std::find(marks.begin(), marks.end(), true) != marks.end();
        };
        expected[row("checkSelectedAction")] = {anyChecked, [] {}};
        expected[row("uncheckSelectedAction")] = {[&] { return !anyChecked(); }, [] {}};
        expected[row("copyRowsAction")] = {clipboardHas(u"a.kar\t"_s), [] {}};
        expected[row("copyFullPathAction")] = {clipboardHas(program.music.filePath(u"a.kar"_s)),
                                               [] {}};
        expected[row("openContainingFolderAction")] = {began(u"openWithDesktop "_s), [] {}};
        expected[row("removeSelectedRowsAction")] = {began(u"askYesNo Remove 1 row(s)"_s), [] {}};
        for (QAction* sort : main.findChild<QMenu*>(u"sortMenu"_s)->actions()) {
            expected[sort] = {[&] { return context.table.history.undoText().contains(u"sort"_s); },
                              [] {}};
        }
        // "&Parameters of scanning" of the main window does nothing, as it always has.
        const QList<QAction*> inert = {child<QAction>(main, "scanParametersAction")};
        for (QWidget* window : {static_cast<QWidget*>(&main), static_cast<QWidget*>(&start)}) {
            for (QAction* action : window->findChildren<QAction*>()) {
                if (!reachable(action) || action->isSeparator() || action->menu() != nullptr ||
                    action->text().isEmpty() || inert.contains(action)) {
                    continue;
                }
                const auto entry = expected.find(action);
                QVERIFY2(entry != expected.end(), qPrintable(action->text()));
                program.ui.log.clear();
                program.ui.answerOpenFile(QString());
                program.ui.answerSaveFile(QString());
                program.ui.answerFolder(QString());
                if (action->objectName() == u"removeSelectedRowsAction"_s) {
                    program.ui.answerYesNo(false);
                }
                action->trigger();
                QVERIFY2(entry->second.first(), qPrintable(action->text()));
                entry->second.second();
                program.ui.clearAnswers();
            }
        }
    }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
