// SPDX-License-Identifier: GPL-3.0-or-later
#include "rename/complex_rename_dialog.h"
#include "support_ui/window_child.h"

#include "rename/rename_preview_window.h"
#include "settings/general_settings_dialog.h"
#include "support/kar_builder.h"
#include "support_ui/program_fixture.h"
#include "support_ui/window_child.h"
#include "table/song_grid.h"

#include <QAbstractItemView>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTimer>
#include <QtTest>

using namespace corvanteller;
using namespace Qt::StringLiterals;

namespace {

// The program after a scan of two songs from the start window, with the complex-renaming
// dialog opened from the main window's menu.
struct RenamingProgram : test::ProgramFixture {
    RenamingProgram() {
        QVERIFY(test::writeTestFile(music.filePath(u"a.kar"_s),
                                    test::KarBuilder().trackName("Alpha").bytes()));
        QVERIFY(test::writeTestFile(music.filePath(u"b.kar"_s),
                                    test::KarBuilder().trackName("Beta").bytes()));
        ui.answerFolder(music.path());
        start().show();
        child<QPushButton>(start(), "startButton")->click();
        QVERIFY(activate(&main()));
        child<QAction>(main(), "complexRenamingAction")->trigger();
        QVERIFY(waitUntilActive(&dialog()));
    }

    // Until the application, not only the window system, has the window as the active one.
    static bool waitUntilActive(QWidget* window) {
        return QTest::qWaitFor([window] { return QApplication::activeWindow() == window; });
    }
    static bool bringToFront(QWidget* window) {
        return activate(window) && waitUntilActive(window);
    }

    ComplexRenameDialog& dialog() { return main().complexRenaming(); }
    QListWidget& list() { return *child<QListWidget>(dialog(), "namePartsList"); }
    void click(int position) {
        QTest::mouseClick(list().viewport(), Qt::LeftButton, {},
                          list().visualItemRect(list().item(position)).center());
    }
    // Selects the item with a click and checks or unchecks it with the space bar.
    void toggle(int position) {
        click(position);
        QTest::keyClick(&list(), Qt::Key_Space);
    }
    QStringList captions() {
        QStringList texts;
        for (int i = 0; i < list().count(); ++i) {
            texts << list().item(i)->text();
        }
        return texts;
    }
    QList<bool> marks() {
        QList<bool> checked;
        for (int i = 0; i < list().count(); ++i) {
            checked << (list().item(i)->checkState() == Qt::Checked);
        }
        return checked;
    }
    QStringList files() { return QDir(music.path()).entryList(QDir::Files, QDir::Name); }

    QTemporaryDir music;
};

const QStringList initialCaptions = {u"Initial Name of file"_s,      u"3 nd column of your table"_s,
                                     u"4 th column of your table"_s, u"5 th column of your table"_s,
                                     u"6 th column of your table"_s, u"Your string"_s,
                                     u"Choose from list"_s,          u"Date and time"_s};

} // namespace

class ComplexRenameDialogTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void everyActivationStartsAtTheFirstItem() {
        RenamingProgram program;
        ComplexRenameDialog& dialog = program.dialog();
        for (int round = 0; round < 2; ++round) {
            QCOMPARE(program.list().currentRow(), 0);
            QCOMPARE(child<QPlainTextEdit>(dialog, "partDescription")->toPlainText(),
                     u"To the new name of a file will be added it present name"_s);
            QVERIFY(!child<QPushButton>(dialog, "moveUpButton")->isEnabled());
            QVERIFY(child<QPushButton>(dialog, "moveDownButton")->isEnabled());
            QVERIFY(child<QLineEdit>(dialog, "customStringEdit")->isHidden());
            QVERIFY(child<QComboBox>(dialog, "wordListComboBox")->isHidden());
            QVERIFY(child<RadioGroupBox>(dialog, "whatAddedGroup")->isHidden());
            QVERIFY(child<QLabel>(dialog, "warningLabel")->text().isEmpty());
            // Away to the main window and back.
            program.toggle(5);
            QVERIFY(child<QLineEdit>(dialog, "customStringEdit")->isVisible());
            QVERIFY(RenamingProgram::bringToFront(&program.main()));
            QVERIFY(RenamingProgram::bringToFront(&dialog));
        }
    }

    void upAndDownMoveCaptionAndMark() {
        RenamingProgram program;
        ComplexRenameDialog& dialog = program.dialog();
        program.toggle(7); // "Date and time"
        QVERIFY(child<QPushButton>(dialog, "moveUpButton")->isEnabled());
        QVERIFY(!child<QPushButton>(dialog, "moveDownButton")->isEnabled());
        QTest::mouseClick(child<QPushButton>(dialog, "moveUpButton"), Qt::LeftButton); // Up
        QCOMPARE(program.captions()[6], u"Date and time"_s);
        QCOMPARE(program.captions()[7], u"Choose from list"_s);
        QCOMPARE(program.marks()[6], true);
        QCOMPARE(program.marks()[7], false);
        QCOMPARE(program.list().currentRow(), 6);
        QVERIFY(child<RadioGroupBox>(dialog, "whatAddedGroup")->isVisible());
        QVERIFY(child<QPushButton>(dialog, "moveDownButton")->isEnabled());
        const RenamingOptions& options = program.context().options.renaming;
        QCOMPARE(options.partOrder[6], NamePart::DateAndTime);
        QVERIFY(options.nameParts[6] && !options.nameParts[7]);

        for (int i = 0; i < 6; ++i) {
            QTest::mouseClick(child<QPushButton>(dialog, "moveUpButton"), Qt::LeftButton);
        }
        QCOMPARE(program.captions()[0], u"Date and time"_s);
        QCOMPARE(program.list().currentRow(), 0);
        QVERIFY(!child<QPushButton>(dialog, "moveUpButton")->isEnabled());
        QTest::mouseClick(child<QPushButton>(dialog, "moveDownButton"), Qt::LeftButton); // Down
        QCOMPARE(program.captions()[1], u"Date and time"_s);
        QCOMPARE(program.marks(),
                 (QList<bool>{false, true, false, false, false, false, false, false}));

        // With nothing selected the buttons do nothing.
        QTest::mouseClick(program.list().viewport(), Qt::LeftButton, Qt::ControlModifier,
                          program.list().visualItemRect(program.list().item(1)).center());
        QVERIFY(program.list().selectedItems().isEmpty());
        const QStringList before = program.captions();
        QTest::mouseClick(child<QPushButton>(dialog, "moveUpButton"), Qt::LeftButton);
        QTest::mouseClick(child<QPushButton>(dialog, "moveDownButton"), Qt::LeftButton);
        QCOMPARE(program.captions(), before);
    }

    void eachPanelFollowsItsItemsMark() {
        RenamingProgram program;
        ComplexRenameDialog& dialog = program.dialog();
        program.click(5); // "Your string"
        QVERIFY(child<QLineEdit>(dialog, "customStringEdit")->isVisible());
        QVERIFY(!child<QLineEdit>(dialog, "customStringEdit")->isEnabled());
        QTest::keyClick(&program.list(), Qt::Key_Space);
        QVERIFY(child<QLineEdit>(dialog, "customStringEdit")->isEnabled());
        QVERIFY(child<QLineEdit>(dialog, "customStringEdit")->hasFocus());

        program.click(6); // "Choose from list"
        QVERIFY(child<QLineEdit>(dialog, "customStringEdit")->isHidden());
        QVERIFY(child<QComboBox>(dialog, "wordListComboBox")->isVisible());
        QVERIFY(!child<QComboBox>(dialog, "wordListComboBox")->isEnabled());
        program.toggle(6);
        QVERIFY(child<QComboBox>(dialog, "wordListComboBox")->isEnabled());

        // The keyboard selects like a click.
        QTest::keyClick(&program.list(), Qt::Key_Down);
        QVERIFY(child<QComboBox>(dialog, "wordListComboBox")->isHidden());
        QVERIFY(child<RadioGroupBox>(dialog, "whatAddedGroup")->isVisible());
        QVERIFY(!child<RadioGroupBox>(dialog, "whatAddedGroup")->item(0)->isEnabled());
        QTest::keyClick(&program.list(), Qt::Key_Space);
        QVERIFY(child<RadioGroupBox>(dialog, "whatAddedGroup")->item(0)->isEnabled());
        QCOMPARE(child<QPlainTextEdit>(dialog, "partDescription")->toPlainText(),
                 u"The date and / or time  will be added to names of all new files"_s);
    }

    void theWordListOpensTenEntriesAtATime() {
        RenamingProgram program;
        ComplexRenameDialog& dialog = program.dialog();
        program.toggle(6); // "Choose from list"
        QComboBox* words = child<QComboBox>(dialog, "wordListComboBox");
        words->setFocus();
        QTest::keyClick(words, Qt::Key_Down, Qt::AltModifier);
        QAbstractItemView* popup = words->view();
        QVERIFY(QTest::qWaitForWindowExposed(popup->window()));
        QCOMPARE(popup->viewport()->height() / popup->sizeHintForRow(0), 10); // of 29
        QTest::keyClick(popup, Qt::Key_Escape);
    }

    void theStringFieldTakesNoForbiddenCharacter() {
        RenamingProgram program;
        ComplexRenameDialog& dialog = program.dialog();
        QClipboard* clipboard = QGuiApplication::clipboard();
        clipboard->setText(u"the user's own"_s);
        program.toggle(5);
        QLineEdit* field = child<QLineEdit>(dialog, "customStringEdit");
        QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(field, Qt::Key_Delete);
        QTest::keyClicks(field, u"ab:"_s);
        QCOMPARE(field->text(), u"ab"_s);
        QCOMPARE(field->cursorPosition(), 2);
        QCOMPARE(child<QLabel>(dialog, "warningLabel")->text(),
                 u"Characters \\/:*?\"<>| aren't be able to enter name of catalogy!"_s);
        QCOMPARE(child<QLabel>(dialog, "warningLabel")->palette().color(QPalette::WindowText),
                 QColor(Qt::yellow));
        QCOMPARE(child<QLabel>(dialog, "warningLabel")->palette().color(QPalette::Window),
                 QColor(Qt::red));
        QTest::keyClick(field, Qt::Key_Home);
        QTest::keyClicks(field, u"<x"_s);
        QCOMPARE(field->text(), u"xab"_s);
        QCOMPARE(field->cursorPosition(), 1);
        QCOMPARE(clipboard->text(), u"the user's own"_s);

        clipboard->setText(u"/c*d?|"_s);
        QTest::keyClick(field, Qt::Key_End);
        QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(field->text(), u"xabcd"_s);
        QCOMPARE(clipboard->text(), u"/c*d?|"_s);
        QCOMPARE(program.context().options.renaming.yourString, u"xabcd"_s);

        QTRY_VERIFY_WITH_TIMEOUT(child<QLabel>(dialog, "warningLabel")->text().isEmpty(),
                                 ComplexRenameDialog::warningMs + 2000);
        QCOMPARE(child<QLabel>(dialog, "warningLabel")->palette().color(QPalette::Window),
                 dialog.palette().color(QPalette::Button));
        QCOMPARE(child<QLabel>(dialog, "warningLabel")->palette().color(QPalette::WindowText),
                 dialog.palette().color(QPalette::WindowText));
    }

    void startRenamingNeedsACheckedItem() {
        RenamingProgram program;
        QTest::mouseClick(child<QPushButton>(program.dialog(), "startRenamingButton"),
                          Qt::LeftButton);
        QCOMPARE(program.ui.messages,
                 QStringList{u"One or more items from the list should be checked."_s});
        QVERIFY(program.dialog().isVisible());
        QCOMPARE(program.files(), (QStringList{u"a.kar"_s, u"b.kar"_s}));
    }

    void cancelRenamesNothingAndKeepsTheSettings() {
        RenamingProgram program;
        program.toggle(1);
        child<QComboBox>(program.dialog(), "separatorComboBox")->setCurrentIndex(6);
        QTest::mouseClick(child<QPushButton>(program.dialog(), "cancelButton"), Qt::LeftButton);
        QVERIFY(program.dialog().isHidden());
        QVERIFY(RenamingProgram::waitUntilActive(&program.main()));
        QCOMPARE(program.files(), (QStringList{u"a.kar"_s, u"b.kar"_s}));
        QCOMPARE(program.context().options.renaming.separatorIndex, 6);
        child<QAction>(program.main(), "complexRenamingAction")->trigger();
        QVERIFY(RenamingProgram::waitUntilActive(&program.dialog()));
        QCOMPARE(program.marks()[1], true);
    }

    void startRenamingRenamesAndTheMainWindowKeepsTheTable() {
        RenamingProgram program;
        program.toggle(1); // "3 nd column of your table"
        program.toggle(7); // "Date and time"
        QTest::mouseClick(child<QPushButton>(program.dialog(), "previewButton"),
                          Qt::LeftButton); // Preview
        QCOMPARE(program.dialog().preview().rows().size(), std::size_t{2});
        QCOMPARE(program.files(), (QStringList{u"a.kar"_s, u"b.kar"_s}));
        const QAbstractItemModel* shown =
            child<QTableView>(program.dialog().preview(), "namesView")->model();
        QCOMPARE(shown->index(0, 1).data().toString(), program.music.path() + u'/'); // folder
        QCOMPARE(shown->index(1, 2).data().toString(), u"b.kar"_s);

        child<QComboBox>(program.dialog(), "separatorComboBox")->setCurrentIndex(6); // "_"
        QTest::mouseClick(child<QPushButton>(program.dialog(), "startRenamingButton"),
                          Qt::LeftButton);
        QVERIFY(program.dialog().isHidden());
        QVERIFY(program.dialog().preview().isHidden());
        QVERIFY(RenamingProgram::waitUntilActive(&program.main()));
        const QStringList expected = {u"Alpha_07.12.2026  10.00.00.kar"_s,
                                      u"Beta_07.12.2026  10.00.00.kar"_s};
        QCOMPARE(program.files(), expected);
        QCOMPARE(program.model().cell(1, 1), expected[0]);
        QCOMPARE(child<QLabel>(program.main(), "statusLabel")->text(),
                 u"2 file(s) was(were) renamed"_s);

        // Undo from the menu asks first; "No" keeps the names, "Yes" puts both back.
        const QString question = u"Undo the renaming of 07.12.2026 10:00: 2 file(s) in "_s +
                                 program.music.path() + u"/...?"_s;
        program.ui.answerYesNo(false);
        child<QAction>(program.main(), "undoRenamingAction")->trigger();
        QCOMPARE(program.ui.questions, QStringList{question});
        QCOMPARE(program.files(), expected);
        program.ui.answerYesNo(true);
        child<QAction>(program.main(), "undoRenamingAction")->trigger();
        QCOMPARE(program.files(), (QStringList{u"a.kar"_s, u"b.kar"_s}));
        QCOMPARE(program.model().cell(2, 1), u"b.kar"_s);
        QCOMPARE(child<QLabel>(program.main(), "statusLabel")->text(),
                 u"2 file(s) were put back."_s);
    }

    void aCellStillBeingEditedIsRead() {
        RenamingProgram program;
        program.toggle(1); // "3 nd column of your table"
        QVERIFY(RenamingProgram::bringToFront(&program.main()));
        SongGrid& grid = *child<SongGrid>(program.main(), "songGrid");
        grid.setFocus(Qt::MouseFocusReason);
        grid.setCurrentIndex(program.model().index(0, 3));
        QTest::keyClicks(&grid, u"T"_s); // opens the in-place editor
        QTest::keyClicks(QApplication::focusWidget(), u"yped"_s);
        QTest::mouseClick(child<QPushButton>(program.dialog(), "startRenamingButton"),
                          Qt::LeftButton); // Enter was never pressed
        QCOMPARE(program.files(), (QStringList{u"Beta.kar"_s, u"Typed.kar"_s}));
    }

    void defaultSettingsPutTheItemsBackInOrder() {
        RenamingProgram program;
        program.toggle(7);
        QTest::mouseClick(child<QPushButton>(program.dialog(), "moveUpButton"), Qt::LeftButton);
        program.toggle(0);
        child<QAction>(program.main(), "generalSettingsAction")->trigger();
        GeneralSettingsDialog& settings = *program.context().generalSettings;
        QVERIFY(RenamingProgram::waitUntilActive(&settings));
        QTest::mouseClick(child<QPushButton>(settings, "defaultSettingsButton"),
                          Qt::LeftButton); // "&Default settings"
        QCOMPARE(program.captions(), initialCaptions);
        QCOMPARE(program.marks(),
                 (QList<bool>{false, true, false, false, false, false, false, false}));
        QCOMPARE(child<QComboBox>(program.dialog(), "separatorComboBox")->currentText(),
                 u"Dash with spaces \" -- \""_s);
        QCOMPARE(child<QLineEdit>(program.dialog(), "customStringEdit")->text(),
                 u"Напишите здесь чего-нибудь"_s);
    }
};

QTEST_MAIN(ComplexRenameDialogTest)
#include "complex_rename_dialog_test.moc"
