#include "text/text_format_dialog.h"

#include "settings/general_settings_dialog.h"
#include "support_ui/program_fixture.h"
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
    TForm8& view() { return fixture.main().textView(); }
    // "&Output information as text" of the text view, shown with the table text.
    void openFromView() {
        fixture.main().exportToText->trigger();
        QVERIFY(QTest::qWaitForWindowActive(&view()));
        view().Output1->trigger();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
    }

    test::ProgramFixture fixture;
    TForm9& dialog = *fixture.context().textFormat;
};

} // namespace

class TextFormatDialogTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void addNextEnablesTheListAtOnce() {
        Harness h;
        h.openFromView();
        TForm9& d = h.dialog;
        QVERIFY(!d.ComboBox1->isEnabled());
        d.CheckBox2->click();
        QVERIFY(d.ComboBox1->isEnabled());
        QVERIFY(h.options().addNext);
        d.CheckBox2->click();
        QVERIFY(!d.ComboBox1->isEnabled());

        // Typed text is the closing string, never an entry of the list.
        d.CheckBox2->click();
        d.ComboBox1->lineEdit()->selectAll();
        QTest::keyClicks(d.ComboBox1->lineEdit(), u"Bye"_s);
        QTest::keyClick(d.ComboBox1->lineEdit(), Qt::Key_Return);
        QCOMPARE(h.options().addNextText, u"Bye"_s);
        QCOMPARE(d.ComboBox1->count(), static_cast<int>(closingStringEntries.size()));

        // Options changed elsewhere are shown at the next activation.
        d.Button1->click();
        h.options().addNext = false;
        h.view().Output1->trigger();
        QVERIFY(!d.CheckBox2->isChecked());
        QVERIFY(!d.ComboBox1->isEnabled());
    }

    void cancelAndTheCloseBoxPutBackTheNotedValues() {
        const std::function<void(TForm9&)> closings[] = {
            [](TForm9& d) { d.Button2->click(); },
            [](TForm9& d) { d.close(); },
            [](TForm9& d) { QTest::keyClick(&d, Qt::Key_Escape); },
        };
        for (const auto& closeDialog : closings) {
            Harness h;
            h.options() = {true, false, 2, u"Hi!"_s};
            const TextFormatOptions noted = h.options();
            h.openFromView();
            TForm9& d = h.dialog;
            d.CheckBox1->click();
            d.CheckBox2->click();
            d.ComboBox1->setCurrentIndex(5);
            d.ComboBox1->setEditText(u"typed"_s);
            QCOMPARE(h.options(), (TextFormatOptions{false, true, 5, u"typed"_s}));
            closeDialog(d);
            QVERIFY(d.isHidden());
            QCOMPARE(h.options(), noted);
            QVERIFY(d.CheckBox1->isChecked());
            QCOMPARE(d.ComboBox1->currentText(), u"Hi!"_s);
            QVERIFY(!d.ComboBox1->isEnabled());
        }
    }

    void okAppendsOnlyToTheTableText() {
        Harness h;
        h.options() = {true, true, -1, u"Made in Earth"_s};
        h.openFromView();
        const QString before = h.view().editorText();
        QVERIFY(before.endsWith(u"\n06.Dec.2026  21.05.09\n Made in Earth"_s));
        h.dialog.Button1->click();
        QVERIFY(h.dialog.isHidden());
        QCOMPARE(h.view().editorText(), before + u"\n06.12.2026  21.05.09\nMade in Earth"_s);

        // A file opened into the view: "OK" adds nothing, and the view keeps the file.
        QTemporaryDir folder;
        const QString path = folder.filePath(u"notes.txt"_s);
        QVERIFY(test::writeTestFile(path, "notes"));
        h.fixture.ui.answerOpenFile(path);
        h.view().Open1->trigger();
        h.view().Output1->trigger();
        h.dialog.Button1->click();
        QVERIFY(test::ProgramFixture::activate(&h.view()));
        QCOMPARE(h.view().editorText(), u"notes"_s);

        // Opened with nothing shown yet: the content stays, then the table text follows.
        h.fixture.ui.answerOpenFile(QString());
        QVERIFY(test::ProgramFixture::activate(&h.fixture.main()));
        h.fixture.main().openTextList->trigger();
        QVERIFY(QTest::qWaitForWindowActive(&h.view()));
        QTest::keyClicks(h.view().RichEdit1, u"typed"_s);
        h.view().Output1->trigger();
        h.dialog.Button1->click();
        QVERIFY(test::ProgramFixture::activate(&h.view()));
        QCOMPARE(h.view().editorText(), u"typed"_s);
    }

    void generalSettingsOpensItAndNotesItsChanges() {
        Harness h;
        TForm10& general = *h.fixture.context().generalSettings;
        general.showFor(&h.fixture.main());
        general.Button4->click();
        QVERIFY(QTest::qWaitForWindowActive(&h.dialog));
        h.dialog.CheckBox1->click();
        h.dialog.Button1->click();
        // General settings takes its noted values again when it is active again.
        QVERIFY(test::ProgramFixture::activate(&general));
        general.Button2->click();
        QVERIFY(h.options().addDateAndTime);

        // "&Default settings" while this dialog is open: it shows them at once.
        general.showFor(&h.fixture.main());
        general.Button4->click();
        QVERIFY(!h.dialog.CheckBox2->isChecked());
        general.Button3->click();
        QVERIFY(h.dialog.CheckBox2->isChecked());
        QVERIFY(h.dialog.ComboBox1->isEnabled());
    }
};

QTEST_MAIN(TextFormatDialogTest)
#include "text_format_dialog_test.moc"
