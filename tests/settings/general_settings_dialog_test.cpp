#include "settings/general_settings_dialog.h"

#include "app/start_window.h"
#include "scan/scan_parameters_dialog.h"
#include "support_ui/program_fixture.h"
#include "ui/hint_controller.h"

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
        QObject::connect(&context().hints, &HintController::hintsSwitched, &context().hints,
                         [this](bool enabled) { hintSwitches.append(enabled); });
    }

    AppContext& context() { return fixture.context(); }
    Options& options() { return fixture.context().options; }
    void open() { dialog.showFor(&fixture.start()); }
    // What the window system does when the dialog comes back to the front.
    void activateAgain() {
        QEvent activate(QEvent::WindowActivate);
        QCoreApplication::sendEvent(&dialog, &activate);
    }

    test::ProgramFixture fixture;
    TForm10& dialog = *fixture.context().generalSettings;
    QList<bool> hintSwitches;
};

struct CheckBoxRow {
    QCheckBox* TForm10::*box;
    bool& (*option)(Options&);
    bool noted; // whether "Cancel" puts it back
};

// Every check box of the dialog but "Hints", with the option it edits.
const CheckBoxRow checkBoxRows[] = {
    {&TForm10::CheckBox2, [](Options& o) -> bool& { return o.excel.numberOfRow; }, true},
    {&TForm10::CheckBox3, [](Options& o) -> bool& { return o.excel.italic; }, true},
    {&TForm10::CheckBox4, [](Options& o) -> bool& { return o.excel.colourHeadingsText; }, true},
    {&TForm10::CheckBox5, [](Options& o) -> bool& { return o.excel.colourHeadingsBorders; }, true},
    {&TForm10::CheckBox6, [](Options& o) -> bool& { return o.excel.colourHeadingsFill; }, false},
    {&TForm10::CheckBox7, [](Options& o) -> bool& { return o.excel.colourAllText; }, true},
    {&TForm10::CheckBox8, [](Options& o) -> bool& { return o.excel.colourAllBorders; }, true},
    {&TForm10::CheckBox9, [](Options& o) -> bool& { return o.excel.colourAllFill; }, false},
    {&TForm10::CheckBox10, [](Options& o) -> bool& { return o.excel.wideColumns; }, true},
    {&TForm10::CheckBox11, [](Options& o) -> bool& { return o.excel.columnNames; }, true},
    {&TForm10::CheckBox12, [](Options& o) -> bool& { return o.excel.addDateTime; }, true},
    {&TForm10::CheckBox13, [](Options& o) -> bool& { return o.excel.chooseList1; }, true},
    {&TForm10::CheckBox14, [](Options& o) -> bool& { return o.excel.chooseList2; }, true},
    {&TForm10::CheckBox15, [](Options& o) -> bool& { return o.excel.addString; }, true},
    {&TForm10::CheckBox16, [](Options& o) -> bool& { return o.general.errorMessages; }, true},
};

} // namespace

class GeneralSettingsDialogTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void pageOrder() {
        Harness h;
        QStringList pages;
        for (int i = 0; i < h.dialog.PageControl1->count(); ++i) {
            pages.append(h.dialog.PageControl1->tabText(i));
        }
        QCOMPARE(pages, (QStringList{u"General"_s, u"Text format"_s, u"Export to Excel"_s,
                                     u"Messages about errors"_s, u"Scanning"_s}));
    }

    void controlsShowAndWriteTheOptions() {
        Harness h;
        TForm10& d = h.dialog;
        h.open();
        d.Button1->click();

        // As a settings file read after the dialog was made would leave them.
        Options& o = h.options();
        o.general = {ColumnWidthMode::User, false, o.general.errorMessages};
        o.excel.bordersDrawn = BordersDrawn::Vertical;
        o.excel.whatAdded = DateTimeChoice::Time;
        o.excel.list1Index = 23;
        o.excel.list1Text = u"Russia"_s;
        o.excel.stringToAdd = u"Всем"_s;
        for (const CheckBoxRow& row : checkBoxRows) {
            row.option(o) = !row.option(o);
        }
        const Options loaded = o;
        h.open();
        QCOMPARE(d.RadioGroup1->itemIndex(), 1);
        QVERIFY(!d.CheckBox1->isChecked());
        QCOMPARE(d.RadioGroup2->itemIndex(), 0);
        QCOMPARE(d.RadioGroup3->itemIndex(), 1);
        QCOMPARE(d.ComboBox1->currentText(), u"Russia"_s);
        QCOMPARE(d.Edit1->text(), u"Всем"_s);
        for (const CheckBoxRow& row : checkBoxRows) {
            QVERIFY2((d.*row.box)->isChecked() == row.option(o), qPrintable((d.*row.box)->text()));
        }
        // Showing the options changes none of them, and switches no hints.
        QVERIFY(o == loaded);
        QVERIFY(h.hintSwitches.isEmpty());

        // Each control writes its option at once.
        for (const CheckBoxRow& row : checkBoxRows) {
            (d.*row.box)->setChecked(!row.option(o));
            QVERIFY2(row.option(o) == (d.*row.box)->isChecked(), qPrintable((d.*row.box)->text()));
        }
        // Back at the design values, which enable the groups and lists again.
        d.RadioGroup1->item(0)->click();
        d.RadioGroup2->item(1)->click();
        d.RadioGroup3->item(2)->click();
        QCOMPARE(o.general.columnWidthMode, ColumnWidthMode::Fixed);
        QCOMPARE(o.excel.bordersDrawn, BordersDrawn::Horizontal);
        QCOMPARE(o.excel.whatAdded, DateTimeChoice::DateAndTime);
        d.ComboBox1->setCurrentIndex(20);
        QCOMPARE(o.excel.list1Index, 20);
        QCOMPARE(o.excel.list1Text, u"Rock"_s);
        d.ComboBox1->setEditText(u"My own words"_s);
        QCOMPARE(o.excel.list1Text, u"My own words"_s);
        d.Edit1->setText(u"Привет"_s);
        QCOMPARE(o.excel.stringToAdd, u"Привет"_s);
    }

    void enablingCheckBoxesSwitchTheirControls() {
        Harness h;
        TForm10& d = h.dialog;
        const QList<std::pair<QCheckBox*, QWidget*>> dependents{
            {d.CheckBox2, d.CheckBox3},    {d.CheckBox8, d.RadioGroup2},
            {d.CheckBox12, d.RadioGroup3}, {d.CheckBox13, d.ComboBox1},
            {d.CheckBox14, d.ComboBox2},   {d.CheckBox15, d.Edit1}};
        h.open();
        for (const auto& [box, dependent] : dependents) {
            QCOMPARE(dependent->isEnabled(), box->isChecked());
            box->click();
            QCOMPARE(dependent->isEnabled(), box->isChecked());
        }
        // "OK" keeps them, and the states stay on reopening.
        d.Button1->click();
        QVERIFY(d.isHidden());
        h.open();
        QVERIFY(!d.CheckBox3->isEnabled());
        for (const auto& [box, dependent] : dependents) {
            QCOMPARE(dependent->isEnabled(), box->isChecked());
        }
        // Options changed elsewhere: the activation sets the states from them.
        d.Button1->click();
        h.options().excel.numberOfRow = true;
        h.options().excel.chooseList1 = false;
        h.open();
        QVERIFY(d.CheckBox3->isEnabled());
        QVERIFY(!d.ComboBox1->isEnabled());
    }

    void cancelPutsBackExactlyTheNotedValues() {
        Harness h;
        TForm10& d = h.dialog;
        TForm3& scanning = *h.context().scanParameters;
        h.open();
        // Only the options that are not noted keep their change.
        Options expected = h.options();
        expected.general.hints = false;
        expected.excel.bordersDrawn = BordersDrawn::Vertical;
        expected.excel.whatAdded = DateTimeChoice::DateAndTime;

        d.CheckBox1->click(); // "Hints" acts at once
        QCOMPARE(h.hintSwitches, QList<bool>{false});
        d.RadioGroup1->item(static_cast<int>(ColumnWidthMode::User))->click();
        d.RadioGroup2->item(0)->click();
        d.RadioGroup3->item(2)->click();
        d.ComboBox1->setCurrentIndex(5);
        d.ComboBox1->setEditText(u"Elected ones"_s);
        d.ComboBox2->setCurrentIndex(0);
        d.Edit1->setText(u"changed"_s);
        for (const CheckBoxRow& row : checkBoxRows) {
            (d.*row.box)->click();
            if (!row.noted) {
                row.option(expected) = !row.option(expected);
            }
        }
        // The other dialogs' options that this one notes.
        h.options().textFormat.addDateAndTime = true;
        h.options().textFormat.addNext = true;
        scanning.CheckBox1->setChecked(true);
        QVERIFY(h.options().scanning.plentyOfFiles);

        d.close(); // the title-bar close button acts as "Cancel"
        QVERIFY(d.isHidden());

        QVERIFY(h.options() == expected);
        QCOMPARE(h.hintSwitches, QList<bool>{false});
        // The dialogs show the options as they now are.
        QVERIFY(!scanning.CheckBox1->isChecked());
        QCOMPARE(d.ComboBox1->currentText(), u"Collection"_s);
        QCOMPARE(d.Edit1->text(), u"Karaoke"_s);
    }

    void notedValuesAreTakenAtEveryActivation() {
        Harness h;
        TForm10& d = h.dialog;
        TForm3& scanning = *h.context().scanParameters;
        h.open();
        d.RadioGroup1->item(static_cast<int>(ColumnWidthMode::Fixed))->click();
        d.Button1->click();
        h.open();
        d.RadioGroup1->item(static_cast<int>(ColumnWidthMode::User))->click();
        QTest::keyClick(&d, Qt::Key_Escape); // as "Cancel"
        QVERIFY(d.isHidden());
        QCOMPARE(h.options().general.columnWidthMode, ColumnWidthMode::Fixed);

        // The scanning-parameters dialog opened from here, then this one active again.
        h.open();
        d.RadioGroup1->item(static_cast<int>(ColumnWidthMode::User))->click();
        d.Edit1->setText(u"before scanning settings"_s);
        d.Button5->click();
        QVERIFY(scanning.isVisible() && d.isVisible());
        scanning.CheckBox1->setChecked(true);
        scanning.Button1->click();
        h.activateAgain();

        d.RadioGroup1->item(static_cast<int>(ColumnWidthMode::WidestLine))->click();
        d.Edit1->setText(u"after"_s);
        d.Button2->click();
        QCOMPARE(h.options().general.columnWidthMode, ColumnWidthMode::User);
        QCOMPARE(h.options().excel.stringToAdd, u"before scanning settings"_s);
        QVERIFY(h.options().scanning.plentyOfFiles);

        // Coming back without another window of the program between is no new activation.
        h.open();
        d.RadioGroup1->item(static_cast<int>(ColumnWidthMode::Fixed))->click();
        h.activateAgain();
        d.Button2->click();
        QCOMPARE(h.options().general.columnWidthMode, ColumnWidthMode::User);
    }

    void defaultSettingsResetEveryDialog() {
        Harness h;
        TForm10& d = h.dialog;
        TForm3& scanning = *h.context().scanParameters;
        Options& o = h.options();
        o.general = {ColumnWidthMode::Fixed, false, true};
        o.textFormat = {false, false, 3, u"typed"_s};
        o.excel.addString = true;
        o.savedColumnWidths = {1, 2, 3, 4, 5, 6, 7};
        Options expected = o;
        applyDefaultSettings(expected);

        h.open();
        d.Button5->click();
        scanning.CheckBox1->setChecked(true);
        h.activateAgain();
        d.Button3->click();

        QVERIFY(d.isHidden());
        QVERIFY(o == expected);
        QCOMPARE(h.hintSwitches, QList<bool>{true});
        QVERIFY(!scanning.CheckBox1->isChecked());

        h.open();
        QCOMPARE(d.Edit1->text(), u"Всем ПрИвЕтИк!"_s);
        QVERIFY(!d.Edit1->isEnabled());
        QCOMPARE(d.RadioGroup1->itemIndex(), static_cast<int>(ColumnWidthMode::WidestLine));
        QVERIFY(d.CheckBox1->isChecked());
        // The defaults stay: Cancel now goes back to them.
        d.Button2->click();
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
        d.Button1->click();
        h.open();
        clickTextArea(11);
        QVERIFY(h.fixture.ui.messages.isEmpty());
        clickTextArea(1);
        QCOMPARE(h.fixture.ui.messages,
                 QStringList{u"Hello to you!! Всем приветики!! Москва (Россия), Moscow "
                             u"(Russia)!!!  СУПЕР!!! Всех девушек с восьмым марта (с "
                             u"наступающем или прошедшем -- не знаю, какое сейчас у Вас "
                             u"число)!!! А написано это 05.03.2003г.  :-) !!!!"_s});
        clickTextArea(5);
        QCOMPARE(h.fixture.ui.messages.size(), 1);
    }
};

QTEST_MAIN(GeneralSettingsDialogTest)
#include "general_settings_dialog_test.moc"
