#include "settings/general_settings_dialog.h"

#include "app/start_window.h"
#include "scan/scan_parameters_dialog.h"
#include "support_ui/program_fixture.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QtTest>

using namespace corvanteller;
using namespace Qt::StringLiterals;

namespace {

// The program, a General settings dialog over its options, and every switch of the hints.
struct Harness {
    Harness() {
        context().setHintsEnabled = [this](bool enabled) { hintSwitches.append(enabled); };
    }

    AppContext& context() { return fixture.context(); }
    Options& options() { return fixture.context().options; }
    void open() { dialog.showFor(fixture.context().startWindow); }
    // What the window system does when the dialog comes back to the front.
    void activateAgain() {
        QEvent activate(QEvent::WindowActivate);
        QCoreApplication::sendEvent(&dialog, &activate);
    }

    test::ProgramFixture fixture;
    TForm10 dialog{fixture.context()};
    QList<bool> hintSwitches;
};

using CheckBoxMember = QCheckBox* TForm10::*;
using BoolOption = bool& (*)(Options&);

struct CheckBoxRow {
    const char* name;
    CheckBoxMember box;
    BoolOption option;
    // Whether "Cancel" puts it back.
    bool noted;
};

// Every check box of the dialog but "Hints", with the option it edits.
const CheckBoxRow checkBoxRows[] = {
    {"Number of row", &TForm10::CheckBox2, [](Options& o) -> bool& { return o.excel.numberOfRow; },
     true},
    {"Italic", &TForm10::CheckBox3, [](Options& o) -> bool& { return o.excel.italic; }, true},
    {"Colour headings (text)", &TForm10::CheckBox4,
     [](Options& o) -> bool& { return o.excel.colourHeadingsText; }, true},
    {"Colour headings (borders)", &TForm10::CheckBox5,
     [](Options& o) -> bool& { return o.excel.colourHeadingsBorders; }, true},
    {"Colour headings (fill)", &TForm10::CheckBox6,
     [](Options& o) -> bool& { return o.excel.colourHeadingsFill; }, false},
    {"Colour all table (text)", &TForm10::CheckBox7,
     [](Options& o) -> bool& { return o.excel.colourAllText; }, true},
    {"Colour all table (borders)", &TForm10::CheckBox8,
     [](Options& o) -> bool& { return o.excel.colourAllBorders; }, true},
    {"Colour all table (fill)", &TForm10::CheckBox9,
     [](Options& o) -> bool& { return o.excel.colourAllFill; }, false},
    {"Wide of columns", &TForm10::CheckBox10,
     [](Options& o) -> bool& { return o.excel.wideColumns; }, true},
    {"Названия колонок", &TForm10::CheckBox11,
     [](Options& o) -> bool& { return o.excel.columnNames; }, true},
    {"Add date and/or time", &TForm10::CheckBox12,
     [](Options& o) -> bool& { return o.excel.addDateTime; }, true},
    {"Choose from list #1", &TForm10::CheckBox13,
     [](Options& o) -> bool& { return o.excel.chooseList1; }, true},
    {"Choose from list #2", &TForm10::CheckBox14,
     [](Options& o) -> bool& { return o.excel.chooseList2; }, true},
    {"Add this string", &TForm10::CheckBox15, [](Options& o) -> bool& { return o.excel.addString; },
     true},
    {"Messages about errors", &TForm10::CheckBox16,
     [](Options& o) -> bool& { return o.general.errorMessages; }, true},
};

QString greeting() {
    return u"Hello to you!! Всем приветики!! Москва (Россия), Moscow (Russia)!!!  СУПЕР!!! "
           u"Всех девушек с восьмым марта (с наступающем или прошедшем -- не знаю, "
           u"какое сейчас у Вас число)!!! А написано это 05.03.2003г.  :-) !!!!"_s;
}

QStringList itemTexts(const QComboBox* list) {
    QStringList texts;
    for (int i = 0; i < list->count(); ++i) {
        texts.append(list->itemText(i));
    }
    return texts;
}

template <std::size_t N> QStringList texts(const std::array<QStringView, N>& entries) {
    QStringList result;
    for (QStringView entry : entries) {
        result.append(entry.toString());
    }
    return result;
}

QStringList radioTexts(const RadioGroupBox* group) {
    QStringList result;
    for (int i = 0; i < group->itemCount(); ++i) {
        result.append(group->item(i)->text());
    }
    return result;
}

} // namespace

class GeneralSettingsDialogTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void windowPagesAndCaptions() {
        Harness h;
        TForm10& d = h.dialog;
        QCOMPARE(d.windowTitle(), u"General settings"_s);
        QCOMPARE(d.size(), QSize(566, 403));
        QVERIFY(d.windowFlags().testFlag(Qt::WindowCloseButtonHint));
        QVERIFY(!d.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
        QVERIFY(!d.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
        QVERIFY(!d.isModal());

        const QStringList pages{u"General"_s, u"Text format"_s, u"Export to Excel"_s,
                                u"Messages about errors"_s, u"Scanning"_s};
        QCOMPARE(d.PageControl1->count(), pages.size());
        for (int i = 0; i < pages.size(); ++i) {
            QCOMPARE(d.PageControl1->tabText(i), pages[i]);
        }

        // Each caption on its page.
        const struct {
            QAbstractButton* control;
            QWidget* page;
            QString caption;
        } buttons[] = {
            {d.CheckBox1, d.TabSheet1, u"Hints"_s},
            {d.Button4, d.TabSheet2, u"Settings..."_s},
            {d.CheckBox2, d.TabSheet3, u"&Number of row"_s},
            {d.CheckBox3, d.TabSheet3, u"Italic"_s},
            {d.CheckBox4, d.TabSheet3, u"Colour headings (text)"_s},
            {d.CheckBox5, d.TabSheet3, u"Colour headings (borders)"_s},
            {d.CheckBox6, d.TabSheet3, u"Colour headings (fill)"_s},
            {d.CheckBox7, d.TabSheet3, u"Colour all table (text)"_s},
            {d.CheckBox8, d.TabSheet3, u"Colour all table (borders)"_s},
            {d.CheckBox9, d.TabSheet3, u"&Colour all table (fill)"_s},
            {d.CheckBox10, d.TabSheet3, u"&Wide of columns on the widest line in a column"_s},
            {d.CheckBox11, d.TabSheet3, u"Названия колонок"_s},
            {d.CheckBox12, d.TabSheet3, u"Add date and/or time"_s},
            {d.CheckBox13, d.TabSheet3, u"Choose from list #1"_s},
            {d.CheckBox14, d.TabSheet3, u"Choose from list #2"_s},
            {d.CheckBox15, d.TabSheet3, u"Add this string"_s},
            {d.CheckBox16, d.TabSheet4, u"Messages about errors"_s},
            {d.Button5, d.TabSheet5, u"Settings..."_s},
            {d.Button1, &d, u"OK"_s},
            {d.Button2, &d, u"Cancel"_s},
            {d.Button3, &d, u"&Default settings"_s},
        };
        for (const auto& row : buttons) {
            QCOMPARE(row.control->text(), row.caption);
            QVERIFY2(row.page->isAncestorOf(row.control), qPrintable(row.caption));
        }
        QCOMPARE(d.Label2->text(), u"You can choose scanning settings"_s);
        QVERIFY(d.TabSheet5->isAncestorOf(d.Label2));
        QVERIFY(d.TabSheet2->isAncestorOf(d.Label1));
        QVERIFY(d.Label1->text().isEmpty());

        QCOMPARE(d.RadioGroup1->title(), u"Width of columns of the table"_s);
        QCOMPARE(radioTexts(d.RadioGroup1),
                 (QStringList{u"Fixed width (default)"_s, u"User settings"_s,
                              u"On the widest line in a column"_s}));
        QCOMPARE(d.RadioGroup2->title(), u"What borders will be drawn"_s);
        QCOMPARE(radioTexts(d.RadioGroup2),
                 (QStringList{u"Vertical"_s, u"Horizontal"_s, u"All"_s}));
        QCOMPARE(d.RadioGroup3->title(), u"What will be added"_s);
        QCOMPARE(radioTexts(d.RadioGroup3),
                 (QStringList{u"Date"_s, u"Time"_s, u"Date and time"_s}));
        QVERIFY(d.TabSheet1->isAncestorOf(d.RadioGroup1));
        QVERIFY(d.TabSheet3->isAncestorOf(d.RadioGroup2));
        QVERIFY(d.TabSheet3->isAncestorOf(d.RadioGroup3));

        QVERIFY(d.ComboBox1->isEditable());
        QVERIFY(d.ComboBox2->isEditable());
        QCOMPARE(itemTexts(d.ComboBox1), texts(excelList1Entries));
        QCOMPARE(itemTexts(d.ComboBox2), texts(excelList2Entries));

        QVERIFY(d.CheckBox3->font().italic());
        QCOMPARE(d.CheckBox3->font().family(), u"Times New Roman"_s);

        h.open();
        QVERIFY(d.isVisible());
        QVERIFY(d.CheckBox11->isHidden());
        // The text-format dialog is not part of the program yet.
        QVERIFY(!d.Button4->isEnabled());
    }

    void openingShowsTheCurrentOptions() {
        Harness h;
        h.open();
        QCOMPARE(h.dialog.RadioGroup1->itemIndex(), 2);
        QCOMPARE(h.dialog.ComboBox1->currentText(), u"Collection"_s);
        QCOMPARE(h.dialog.ComboBox1->currentIndex(), -1);
        QCOMPARE(h.dialog.ComboBox2->currentText(), u"Made in Earth"_s);
        QCOMPARE(h.dialog.Edit1->text(), u"Karaoke"_s);
        h.dialog.Button1Click();

        // As a settings file read after the dialog was made would leave them.
        Options& o = h.options();
        o.general.columnWidthMode = columnWidthUser;
        o.general.hints = false;
        o.excel.bordersDrawn = 0;
        o.excel.whatAdded = 1;
        o.excel.list1Index = 23;
        o.excel.list1Text = u"Russia"_s;
        o.excel.list2Index = 4;
        o.excel.list2Text = u"typed over"_s;
        o.excel.stringToAdd = u"Всем"_s;
        for (const CheckBoxRow& row : checkBoxRows) {
            row.option(o) = !row.option(o);
        }
        const Options loaded = o;
        h.open();

        TForm10& d = h.dialog;
        QCOMPARE(d.RadioGroup1->itemIndex(), 1);
        QVERIFY(!d.CheckBox1->isChecked());
        QCOMPARE(d.RadioGroup2->itemIndex(), 0);
        QCOMPARE(d.RadioGroup3->itemIndex(), 1);
        QCOMPARE(d.ComboBox1->currentIndex(), 23);
        QCOMPARE(d.ComboBox1->currentText(), u"Russia"_s);
        QCOMPARE(d.ComboBox2->currentIndex(), 4);
        QCOMPARE(d.ComboBox2->currentText(), u"typed over"_s);
        QCOMPARE(d.Edit1->text(), u"Всем"_s);
        for (const CheckBoxRow& row : checkBoxRows) {
            QVERIFY2((d.*row.box)->isChecked() == row.option(o), row.name);
        }
        // Showing the options changes none of them, and switches no hints.
        QVERIFY(h.options() == loaded);
        QVERIFY(h.hintSwitches.isEmpty());
    }

    void controlsWriteTheirOptionsAtOnce() {
        Harness h;
        h.open();
        TForm10& d = h.dialog;
        d.RadioGroup1->item(0)->click();
        QCOMPARE(h.options().general.columnWidthMode, columnWidthFixed);
        d.RadioGroup2->item(1)->click();
        QCOMPARE(h.options().excel.bordersDrawn, 1);
        d.RadioGroup3->item(2)->click();
        QCOMPARE(h.options().excel.whatAdded, 2);
        // Last, as they disable the groups and lists they enable.
        for (const CheckBoxRow& row : checkBoxRows) {
            const bool before = row.option(h.options());
            (d.*row.box)->setChecked(!before);
            QVERIFY2(row.option(h.options()) == !before, row.name);
        }

        d.ComboBox1->setCurrentIndex(20);
        QCOMPARE(h.options().excel.list1Index, 20);
        QCOMPARE(h.options().excel.list1Text, u"Rock"_s);
        d.ComboBox1->setEditText(u"My own words"_s);
        QCOMPARE(h.options().excel.list1Text, u"My own words"_s);
        d.ComboBox2->setCurrentIndex(8);
        QCOMPARE(h.options().excel.list2Index, 8);
        QCOMPARE(h.options().excel.list2Text, u"The list of karaoke files"_s);
        // Typed text is never added to the fixed list.
        QCOMPARE(d.ComboBox1->count(), 29);

        d.Edit1->setText(u"Привет"_s);
        QCOMPARE(h.options().excel.stringToAdd, u"Привет"_s);
    }

    void enablingCheckBoxesSwitchTheirControls() {
        Harness h;
        TForm10& d = h.dialog;
        const auto dependents = [&d] {
            return QList<std::pair<QCheckBox*, QWidget*>>{
                {d.CheckBox2, d.CheckBox3},    {d.CheckBox8, d.RadioGroup2},
                {d.CheckBox12, d.RadioGroup3}, {d.CheckBox13, d.ComboBox1},
                {d.CheckBox14, d.ComboBox2},   {d.CheckBox15, d.Edit1}};
        };
        h.open();
        for (const auto& [box, dependent] : dependents()) {
            QCOMPARE(dependent->isEnabled(), box->isChecked());
            box->setChecked(!box->isChecked());
            QCOMPARE(dependent->isEnabled(), box->isChecked());
        }
        // The states stay on reopening.
        d.Button1Click();
        h.open();
        for (const auto& [box, dependent] : dependents()) {
            QCOMPARE(dependent->isEnabled(), box->isChecked());
        }
        // Options changed elsewhere: the activation sets the states from them.
        d.Button1Click();
        h.options().excel.numberOfRow = true;
        h.options().excel.chooseList1 = false;
        h.open();
        QVERIFY(d.CheckBox3->isEnabled());
        QVERIFY(!d.ComboBox1->isEnabled());
    }

    void numberOfRowDisablesItalicAtOnceAndOnReopening() {
        Harness h;
        TForm10& d = h.dialog;
        h.open();
        QVERIFY(d.CheckBox3->isEnabled());
        d.CheckBox2->click();
        QVERIFY(!d.CheckBox3->isEnabled());
        d.Button1Click();
        h.open();
        QVERIFY(!d.CheckBox2->isChecked());
        QVERIFY(!d.CheckBox3->isEnabled());
    }

    void hintsSwitchAtOnceAndStayAfterCancel() {
        Harness h;
        h.open();
        h.dialog.CheckBox1->click();
        QCOMPARE(h.hintSwitches, QList<bool>{false});
        QVERIFY(!h.options().general.hints);
        h.dialog.Button2Click();
        QVERIFY(!h.options().general.hints);
        QCOMPARE(h.hintSwitches, QList<bool>{false});
        h.open();
        QVERIFY(!h.dialog.CheckBox1->isChecked());
    }

    void endingTheDialog_data() {
        QTest::addColumn<QString>("how");
        QTest::addColumn<bool>("keeps");
        QTest::newRow("OK") << u"ok"_s << true;
        QTest::newRow("Cancel") << u"cancel"_s << false;
        QTest::newRow("close button") << u"close"_s << false;
        QTest::newRow("Escape") << u"escape"_s << false;
    }

    void endingTheDialog() {
        QFETCH(QString, how);
        QFETCH(bool, keeps);
        Harness h;
        h.open();
        h.dialog.RadioGroup1->item(columnWidthFixed)->click();
        h.dialog.CheckBox16->click();
        if (how == u"ok") {
            h.dialog.Button1->click();
        } else if (how == u"cancel") {
            h.dialog.Button2->click();
        } else if (how == u"close") {
            h.dialog.close();
        } else {
            QTest::keyClick(&h.dialog, Qt::Key_Escape);
        }
        QVERIFY(h.dialog.isHidden());
        QCOMPARE(h.options().general.columnWidthMode, keeps ? columnWidthFixed : columnWidthWidest);
        QCOMPARE(h.options().general.errorMessages, !keeps);
        QCOMPARE(h.dialog.RadioGroup1->itemIndex(), h.options().general.columnWidthMode);
    }

    void cancelPutsBackExactlyTheNotedValues() {
        Harness h;
        TForm10& d = h.dialog;
        TForm3& scanning = *h.context().scanParameters;
        h.open();
        const Options noted = h.options();

        d.CheckBox1->click();
        d.RadioGroup1->item(columnWidthUser)->click();
        d.RadioGroup2->item(0)->click();
        d.RadioGroup3->item(2)->click();
        d.ComboBox1->setCurrentIndex(5);
        d.ComboBox1->setEditText(u"Elected ones"_s);
        d.ComboBox2->setCurrentIndex(0);
        d.Edit1->setText(u"changed"_s);
        for (const CheckBoxRow& row : checkBoxRows) {
            (d.*row.box)->click();
        }
        // The other dialogs' options that this one notes.
        h.options().textFormat.addDateAndTime = true;
        h.options().textFormat.addNext = true;
        scanning.CheckBox1->setChecked(true);
        QVERIFY(h.options().scanning.plentyOfFiles);

        d.Button2Click();

        // Only the options that are not noted keep their change.
        Options expected = noted;
        expected.general.hints = false;
        expected.excel.colourHeadingsFill = false;
        expected.excel.colourAllFill = false;
        expected.excel.bordersDrawn = 0;
        expected.excel.whatAdded = 2;
        QVERIFY(h.options() == expected);
        // The scanning-parameters dialog shows the option as it now is.
        QVERIFY(!scanning.CheckBox1->isChecked());

        h.open();
        QCOMPARE(d.ComboBox1->currentText(), u"Collection"_s);
        QCOMPARE(d.ComboBox1->currentIndex(), -1);
        QCOMPARE(d.ComboBox2->currentText(), u"Made in Earth"_s);
        QCOMPARE(d.Edit1->text(), u"Karaoke"_s);
        QVERIFY(!d.CheckBox6->isChecked());
        QCOMPARE(d.RadioGroup2->itemIndex(), 0);
    }

    void notedValuesAreTakenAtEveryActivation() {
        Harness h;
        TForm10& d = h.dialog;
        TForm3& scanning = *h.context().scanParameters;
        h.open();
        d.RadioGroup1->item(columnWidthFixed)->click();
        d.Button1Click();
        h.open();
        d.RadioGroup1->item(columnWidthUser)->click();
        d.Button2Click();
        QCOMPARE(h.options().general.columnWidthMode, columnWidthFixed);

        // The scanning-parameters dialog opened from here, then this one active again.
        h.open();
        d.RadioGroup1->item(columnWidthUser)->click();
        d.Edit1->setText(u"before scanning settings"_s);
        d.Button5->click();
        QVERIFY(scanning.isVisible());
        QVERIFY(d.isVisible());
        scanning.CheckBox1->setChecked(true);
        scanning.Button1Click();
        h.activateAgain();

        d.RadioGroup1->item(columnWidthWidest)->click();
        d.Edit1->setText(u"after"_s);
        d.Button2Click();
        QCOMPARE(h.options().general.columnWidthMode, columnWidthUser);
        QCOMPARE(h.options().excel.stringToAdd, u"before scanning settings"_s);
        QVERIFY(h.options().scanning.plentyOfFiles);

        // Coming back without another window of the program between is no new activation.
        h.open();
        d.RadioGroup1->item(columnWidthFixed)->click();
        h.activateAgain();
        d.Button2Click();
        QCOMPARE(h.options().general.columnWidthMode, columnWidthUser);
    }

    void defaultSettingsResetEveryDialog() {
        Harness h;
        TForm10& d = h.dialog;
        TForm3& scanning = *h.context().scanParameters;
        Options& o = h.options();
        o.general.columnWidthMode = columnWidthFixed;
        o.general.hints = false;
        o.textFormat = {false, false, 3, u"typed"_s};
        o.excel.stringToAdd = u"mine"_s;
        o.excel.list1Index = 4;
        o.excel.list1Text = u"Dance"_s;
        o.excel.addString = true;
        o.renaming.nameParts = {true, false, true, false, false, false, false, false};
        o.renaming.yourString = u"x"_s;
        o.savedColumnWidths = {1, 2, 3, 4, 5, 6, 7};
        o.lastFolder = u"/music/"_s;
        o.storedChoice = 0;
        Options expected = o;
        applyDefaultSettings(expected);

        h.open();
        d.Button5Click();
        scanning.CheckBox1->setChecked(true);
        h.activateAgain();
        d.Button3->click();

        QVERIFY(d.isHidden());
        QVERIFY(o == expected);
        QCOMPARE(h.hintSwitches, QList<bool>{true});
        QVERIFY(!scanning.CheckBox1->isChecked());

        h.open();
        QCOMPARE(d.Edit1->text(), u"Всем ПрИвЕтИк!"_s);
        QCOMPARE(d.RadioGroup1->itemIndex(), columnWidthWidest);
        QVERIFY(d.CheckBox1->isChecked());
        QVERIFY(!d.Edit1->isEnabled());
        QVERIFY(o.textFormat.addDateAndTime);
        QCOMPARE(o.savedColumnWidths, (std::array<int, 7>{60, 60, 75, 60, 60, 60, 60}));
        // The defaults stay: Cancel now goes back to them.
        d.Button2Click();
        QVERIFY(o == expected);
    }

    void twelveClicksOnTheTextAreaGreet() {
        Harness h;
        TForm10& d = h.dialog;
        const auto clickTextArea = [&d](int times) {
            for (int i = 0; i < times; ++i) {
                QTest::mouseClick(d.Label1, Qt::LeftButton);
            }
        };
        h.open();
        d.PageControl1->setCurrentWidget(d.TabSheet2);
        clickTextArea(11);
        QVERIFY(h.fixture.ui.messages.isEmpty());
        // The count starts again at the next activation.
        d.Button1Click();
        h.open();
        clickTextArea(11);
        QVERIFY(h.fixture.ui.messages.isEmpty());
        clickTextArea(1);
        QCOMPARE(h.fixture.ui.messages, QStringList{greeting()});
        clickTextArea(5);
        QCOMPARE(h.fixture.ui.messages.size(), 1);
        // Another button than the left one is no click.
        d.Button1Click();
        h.open();
        for (int i = 0; i < 12; ++i) {
            QTest::mouseClick(d.Label1, Qt::RightButton);
        }
        QCOMPARE(d.textAreaClicks(), 0);
    }
};

QTEST_MAIN(GeneralSettingsDialogTest)
#include "general_settings_dialog_test.moc"
