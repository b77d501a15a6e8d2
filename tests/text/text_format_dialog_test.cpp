// SPDX-License-Identifier: GPL-3.0-or-later
#include "support_ui/window_child.h"
#include "text/text_format_dialog.h"

#include "settings/general_settings_dialog.h"
#include "support_ui/program_fixture.h"
#include "support_ui/window_child.h"
#include "text/text_view.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTextEdit>
#include <QtTest>

using namespace corvanteller;
using namespace Qt::StringLiterals;

namespace {

// The program with its main window active and a fixed clock.
struct Harness {
    Harness() {
        fixture.clock.now_ = QDateTime(QDate(2026, 12, 6), QTime(21, 5, 9));
        fixture.context().locale = QLocale(QLocale::English, QLocale::UnitedStates);
        QVERIFY(test::ProgramFixture::activate(&fixture.main()));
    }

    TextFormatOptions& options() { return fixture.context().options.textFormat; }
    TextView& view() { return fixture.main().textView(); }
    // "&Output information as text" of the text view, shown with the table text.
    void openFromView() {
        child<QAction>(fixture.main(), "exportToTextAction")->trigger();
        QVERIFY(QTest::qWaitForWindowActive(&view()));
        child<QAction>(view(), "textFormatSettingsAction")->trigger();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
    }

    test::ProgramFixture fixture;
    TextFormatDialog& dialog = *fixture.context().textFormat;
};

} // namespace

class TextFormatDialogTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void addNextEnablesTheListAtOnce() {
        Harness h;
        h.openFromView();
        TextFormatDialog& d = h.dialog;
        QVERIFY(!child<QComboBox>(d, "closingStringComboBox")->isEnabled());
        child<QCheckBox>(d, "addNextCheckBox")->click();
        QVERIFY(child<QComboBox>(d, "closingStringComboBox")->isEnabled());
        QVERIFY(h.options().addNext);
        child<QCheckBox>(d, "addNextCheckBox")->click();
        QVERIFY(!child<QComboBox>(d, "closingStringComboBox")->isEnabled());

        // Typed text is the closing string, never an entry of the list.
        child<QCheckBox>(d, "addNextCheckBox")->click();
        child<QComboBox>(d, "closingStringComboBox")->lineEdit()->selectAll();
        QTest::keyClicks(child<QComboBox>(d, "closingStringComboBox")->lineEdit(), u"Bye"_s);
        QTest::keyClick(child<QComboBox>(d, "closingStringComboBox")->lineEdit(), Qt::Key_Return);
        QCOMPARE(h.options().addNextText, u"Bye"_s);
        QCOMPARE(child<QComboBox>(d, "closingStringComboBox")->count(),
                 static_cast<int>(closingStringEntries.size()));

        // Options changed elsewhere are shown at the next activation.
        child<QPushButton>(d, "okButton")->click();
        h.options().addNext = false;
        child<QAction>(h.view(), "textFormatSettingsAction")->trigger();
        QVERIFY(!child<QCheckBox>(d, "addNextCheckBox")->isChecked());
        QVERIFY(!child<QComboBox>(d, "closingStringComboBox")->isEnabled());
    }

    void cancelAndTheCloseBoxPutBackTheNotedValues() {
        const std::function<void(TextFormatDialog&)> closings[] = {
            [](TextFormatDialog& d) { child<QPushButton>(d, "cancelButton")->click(); },
            [](TextFormatDialog& d) { d.close(); },
            [](TextFormatDialog& d) { QTest::keyClick(&d, Qt::Key_Escape); },
        };
        for (const auto& closeDialog : closings) {
            Harness h;
            h.options() = {true, false, 2, u"Hi!"_s};
            const TextFormatOptions noted = h.options();
            h.openFromView();
            TextFormatDialog& d = h.dialog;
            child<QCheckBox>(d, "addDateTimeCheckBox")->click();
            child<QCheckBox>(d, "addNextCheckBox")->click();
            child<QComboBox>(d, "closingStringComboBox")->setCurrentIndex(5);
            child<QComboBox>(d, "closingStringComboBox")->setEditText(u"typed"_s);
            QCOMPARE(h.options(), (TextFormatOptions{false, true, 5, u"typed"_s}));
            closeDialog(d);
            QVERIFY(d.isHidden());
            QCOMPARE(h.options(), noted);
            QVERIFY(child<QCheckBox>(d, "addDateTimeCheckBox")->isChecked());
            QCOMPARE(child<QComboBox>(d, "closingStringComboBox")->currentText(), u"Hi!"_s);
            QVERIFY(!child<QComboBox>(d, "closingStringComboBox")->isEnabled());
        }
    }

    void okAppendsOnlyToTheTableText() {
        Harness h;
        h.options() = {true, true, -1, u"Made in Earth"_s};
        h.openFromView();
        const QString before = h.view().editorText();
        QVERIFY(before.endsWith(u"\n06.Dec.2026  21.05.09\n Made in Earth"_s));
        child<QPushButton>(h.dialog, "okButton")->click();
        QVERIFY(h.dialog.isHidden());
        QCOMPARE(h.view().editorText(), before + u"\n06.12.2026  21.05.09\nMade in Earth"_s);

        // A file opened into the view: "OK" adds nothing, and the view keeps the file.
        QTemporaryDir folder;
        const QString path = folder.filePath(u"notes.txt"_s);
        QVERIFY(test::writeTestFile(path, "notes"));
        h.fixture.ui.answerOpenFile(path);
        child<QAction>(h.view(), "openTextAction")->trigger();
        child<QAction>(h.view(), "textFormatSettingsAction")->trigger();
        child<QPushButton>(h.dialog, "okButton")->click();
        QVERIFY(test::ProgramFixture::activate(&h.view()));
        QCOMPARE(h.view().editorText(), u"notes"_s);

        // Opened with nothing shown yet: the content stays, then the table text follows.
        h.fixture.ui.answerOpenFile(QString());
        QVERIFY(test::ProgramFixture::activate(&h.fixture.main()));
        child<QAction>(h.fixture.main(), "openTextListAction")->trigger();
        QVERIFY(QTest::qWaitForWindowActive(&h.view()));
        QTest::keyClicks(child<QTextEdit>(h.view(), "editor"), u"typed"_s);
        child<QAction>(h.view(), "textFormatSettingsAction")->trigger();
        child<QPushButton>(h.dialog, "okButton")->click();
        QVERIFY(test::ProgramFixture::activate(&h.view()));
        QCOMPARE(h.view().editorText(), u"typed"_s);
    }

    void generalSettingsOpensItAndNotesItsChanges() {
        Harness h;
        GeneralSettingsDialog& general = *h.fixture.context().generalSettings;
        general.showFor(&h.fixture.main());
        child<QPushButton>(general, "textFormatSettingsButton")->click();
        QVERIFY(QTest::qWaitForWindowActive(&h.dialog));
        child<QCheckBox>(h.dialog, "addDateTimeCheckBox")->click();
        child<QPushButton>(h.dialog, "okButton")->click();
        // General settings takes its noted values again when it is active again.
        QVERIFY(test::ProgramFixture::activate(&general));
        child<QPushButton>(general, "cancelButton")->click();
        QVERIFY(h.options().addDateAndTime);

        // "&Default settings" while this dialog is open: it shows them at once.
        general.showFor(&h.fixture.main());
        child<QPushButton>(general, "textFormatSettingsButton")->click();
        QVERIFY(!child<QCheckBox>(h.dialog, "addNextCheckBox")->isChecked());
        child<QPushButton>(general, "defaultSettingsButton")->click();
        QVERIFY(child<QCheckBox>(h.dialog, "addNextCheckBox")->isChecked());
        QVERIFY(child<QComboBox>(h.dialog, "closingStringComboBox")->isEnabled());
    }
};

QTEST_MAIN(TextFormatDialogTest)
#include "text_format_dialog_test.moc"
