// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/general_settings_dialog.h"

#include "app/start_window.h"
#include "scan/scan_parameters_dialog.h"
#include "support_ui/program_fixture.h"
#include "support_ui/window_child.h"
#include "ui/hint_controller.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
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
    GeneralSettingsDialog& dialog = *fixture.context().generalSettings;
    QList<bool> hintSwitches;
};

struct CheckBoxRow {
    const char* box; // its object name
    bool& (*option)(Options&);
    bool noted; // whether "Cancel" puts it back
};

// Every check box of the dialog but "Hints", with the option it edits.
const CheckBoxRow checkBoxRows[] = {
    {"rowNumberCheckBox", [](Options& o) -> bool& { return o.excel.numberOfRow; }, true},
    {"italicCheckBox", [](Options& o) -> bool& { return o.excel.italic; }, true},
    {"headingsTextColourCheckBox", [](Options& o) -> bool& { return o.excel.colourHeadingsText; },
     true},
    {"headingsBordersCheckBox", [](Options& o) -> bool& { return o.excel.colourHeadingsBorders; },
     true},
    {"headingsFillCheckBox", [](Options& o) -> bool& { return o.excel.colourHeadingsFill; }, false},
    {"tableTextColourCheckBox", [](Options& o) -> bool& { return o.excel.colourAllText; }, true},
    {"tableBordersCheckBox", [](Options& o) -> bool& { return o.excel.colourAllBorders; }, true},
    {"tableFillCheckBox", [](Options& o) -> bool& { return o.excel.colourAllFill; }, false},
    {"wideColumnsCheckBox", [](Options& o) -> bool& { return o.excel.wideColumns; }, true},
    {"columnNamesCheckBox", [](Options& o) -> bool& { return o.excel.columnNames; }, true},
    {"addDateTimeCheckBox", [](Options& o) -> bool& { return o.excel.addDateTime; }, true},
    {"chooseList1CheckBox", [](Options& o) -> bool& { return o.excel.chooseList1; }, true},
    {"chooseList2CheckBox", [](Options& o) -> bool& { return o.excel.chooseList2; }, true},
    {"addStringCheckBox", [](Options& o) -> bool& { return o.excel.addString; }, true},
    {"errorMessagesCheckBox", [](Options& o) -> bool& { return o.general.errorMessages; }, true},
};

} // namespace

class GeneralSettingsDialogTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void pageOrder() {
        Harness h;
        QStringList pages;
        for (int i = 0; i < child<QTabWidget>(h.dialog, "pageTabs")->count(); ++i) {
            pages.append(child<QTabWidget>(h.dialog, "pageTabs")->tabText(i));
        }
        QCOMPARE(pages, (QStringList{u"General"_s, u"Text format"_s, u"Export to Excel"_s,
                                     u"Messages about errors"_s, u"Scanning"_s}));
    }

    void controlsShowAndWriteTheOptions() {
        Harness h;
        GeneralSettingsDialog& d = h.dialog;
        h.open();
        child<QPushButton>(d, "okButton")->click();

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
        QCOMPARE(child<RadioGroupBox>(d, "columnWidthGroup")->itemIndex(), 1);
        QVERIFY(!child<QCheckBox>(d, "hintsCheckBox")->isChecked());
        QCOMPARE(child<RadioGroupBox>(d, "bordersDrawnGroup")->itemIndex(), 0);
        QCOMPARE(child<RadioGroupBox>(d, "whatAddedGroup")->itemIndex(), 1);
        QCOMPARE(child<QComboBox>(d, "list1ComboBox")->currentText(), u"Russia"_s);
        QCOMPARE(child<QLineEdit>(d, "addedStringEdit")->text(), u"Всем"_s);
        for (const CheckBoxRow& row : checkBoxRows) {
            QVERIFY2(child<QCheckBox>(d, row.box)->isChecked() == row.option(o),
                     qPrintable(child<QCheckBox>(d, row.box)->text()));
        }
        // Showing the options changes none of them, and switches no hints.
        QVERIFY(o == loaded);
        QVERIFY(h.hintSwitches.isEmpty());

        // Each control writes its option at once.
        for (const CheckBoxRow& row : checkBoxRows) {
            child<QCheckBox>(d, row.box)->setChecked(!row.option(o));
            QVERIFY2(row.option(o) == child<QCheckBox>(d, row.box)->isChecked(),
                     qPrintable(child<QCheckBox>(d, row.box)->text()));
        }
        // Back at the design values, which enable the groups and lists again.
        child<RadioGroupBox>(d, "columnWidthGroup")->item(0)->click();
        child<RadioGroupBox>(d, "bordersDrawnGroup")->item(1)->click();
        child<RadioGroupBox>(d, "whatAddedGroup")->item(2)->click();
        QCOMPARE(o.general.columnWidthMode, ColumnWidthMode::Fixed);
        QCOMPARE(o.excel.bordersDrawn, BordersDrawn::Horizontal);
        QCOMPARE(o.excel.whatAdded, DateTimeChoice::DateAndTime);
        child<QComboBox>(d, "list1ComboBox")->setCurrentIndex(20);
        QCOMPARE(o.excel.list1Index, 20);
        QCOMPARE(o.excel.list1Text, u"Rock"_s);
        child<QComboBox>(d, "list1ComboBox")->setEditText(u"My own words"_s);
        QCOMPARE(o.excel.list1Text, u"My own words"_s);
        child<QLineEdit>(d, "addedStringEdit")->setText(u"Привет"_s);
        QCOMPARE(o.excel.stringToAdd, u"Привет"_s);
    }

    void enablingCheckBoxesSwitchTheirControls() {
        Harness h;
        GeneralSettingsDialog& d = h.dialog;
        const QList<std::pair<QCheckBox*, QWidget*>> dependents{
            {child<QCheckBox>(d, "rowNumberCheckBox"), child<QCheckBox>(d, "italicCheckBox")},
            {child<QCheckBox>(d, "tableBordersCheckBox"),
             child<RadioGroupBox>(d, "bordersDrawnGroup")},
            {child<QCheckBox>(d, "addDateTimeCheckBox"), child<RadioGroupBox>(d, "whatAddedGroup")},
            {child<QCheckBox>(d, "chooseList1CheckBox"), child<QComboBox>(d, "list1ComboBox")},
            {child<QCheckBox>(d, "chooseList2CheckBox"), child<QComboBox>(d, "list2ComboBox")},
            {child<QCheckBox>(d, "addStringCheckBox"), child<QLineEdit>(d, "addedStringEdit")}};
        h.open();
        for (const auto& [box, dependent] : dependents) {
            QCOMPARE(dependent->isEnabled(), box->isChecked());
            box->click();
            QCOMPARE(dependent->isEnabled(), box->isChecked());
        }
        // "OK" keeps them, and the states stay on reopening.
        child<QPushButton>(d, "okButton")->click();
        QVERIFY(d.isHidden());
        h.open();
        QVERIFY(!child<QCheckBox>(d, "italicCheckBox")->isEnabled());
        for (const auto& [box, dependent] : dependents) {
            QCOMPARE(dependent->isEnabled(), box->isChecked());
        }
        // Options changed elsewhere: the activation sets the states from them.
        child<QPushButton>(d, "okButton")->click();
        h.options().excel.numberOfRow = true;
        h.options().excel.chooseList1 = false;
        h.open();
        QVERIFY(child<QCheckBox>(d, "italicCheckBox")->isEnabled());
        QVERIFY(!child<QComboBox>(d, "list1ComboBox")->isEnabled());
    }

    void cancelPutsBackExactlyTheNotedValues() {
        Harness h;
        GeneralSettingsDialog& d = h.dialog;
        ScanParametersDialog& scanning = *h.context().scanParameters;
        h.open();
        // Only the options that are not noted keep their change.
        Options expected = h.options();
        expected.general.hints = false;
        expected.excel.bordersDrawn = BordersDrawn::Vertical;
        expected.excel.whatAdded = DateTimeChoice::DateAndTime;

        child<QCheckBox>(d, "hintsCheckBox")->click(); // "Hints" acts at once
        QCOMPARE(h.hintSwitches, QList<bool>{false});
        child<RadioGroupBox>(d, "columnWidthGroup")
            ->item(static_cast<int>(ColumnWidthMode::User))
            ->click();
        child<RadioGroupBox>(d, "bordersDrawnGroup")->item(0)->click();
        child<RadioGroupBox>(d, "whatAddedGroup")->item(2)->click();
        child<QComboBox>(d, "list1ComboBox")->setCurrentIndex(5);
        child<QComboBox>(d, "list1ComboBox")->setEditText(u"Elected ones"_s);
        child<QComboBox>(d, "list2ComboBox")->setCurrentIndex(0);
        child<QLineEdit>(d, "addedStringEdit")->setText(u"changed"_s);
        for (const CheckBoxRow& row : checkBoxRows) {
            child<QCheckBox>(d, row.box)->click();
            if (!row.noted) {
                row.option(expected) = !row.option(expected);
            }
        }
        // The other dialogs' options that this one notes.
        h.options().textFormat.addDateAndTime = true;
        h.options().textFormat.addNext = true;
        child<QCheckBox>(scanning, "plentyOfFilesCheckBox")->setChecked(true);
        QVERIFY(h.options().scanning.plentyOfFiles);

        d.close(); // the title-bar close button acts as "Cancel"
        QVERIFY(d.isHidden());

        QVERIFY(h.options() == expected);
        QCOMPARE(h.hintSwitches, QList<bool>{false});
        // The dialogs show the options as they now are.
        QVERIFY(!child<QCheckBox>(scanning, "plentyOfFilesCheckBox")->isChecked());
        QCOMPARE(child<QComboBox>(d, "list1ComboBox")->currentText(), u"Collection"_s);
        QCOMPARE(child<QLineEdit>(d, "addedStringEdit")->text(), u"Karaoke"_s);
    }

    void notedValuesAreTakenAtEveryActivation() {
        Harness h;
        GeneralSettingsDialog& d = h.dialog;
        ScanParametersDialog& scanning = *h.context().scanParameters;
        h.open();
        child<RadioGroupBox>(d, "columnWidthGroup")
            ->item(static_cast<int>(ColumnWidthMode::Fixed))
            ->click();
        child<QPushButton>(d, "okButton")->click();
        h.open();
        child<RadioGroupBox>(d, "columnWidthGroup")
            ->item(static_cast<int>(ColumnWidthMode::User))
            ->click();
        QTest::keyClick(&d, Qt::Key_Escape); // as "Cancel"
        QVERIFY(d.isHidden());
        QCOMPARE(h.options().general.columnWidthMode, ColumnWidthMode::Fixed);

        // The scanning-parameters dialog opened from here, then this one active again.
        h.open();
        child<RadioGroupBox>(d, "columnWidthGroup")
            ->item(static_cast<int>(ColumnWidthMode::User))
            ->click();
        child<QLineEdit>(d, "addedStringEdit")->setText(u"before scanning settings"_s);
        child<QPushButton>(d, "scanningSettingsButton")->click();
        QVERIFY(scanning.isVisible() && d.isVisible());
        child<QCheckBox>(scanning, "plentyOfFilesCheckBox")->setChecked(true);
        child<QPushButton>(scanning, "okButton")->click();
        h.activateAgain();

        child<RadioGroupBox>(d, "columnWidthGroup")
            ->item(static_cast<int>(ColumnWidthMode::WidestLine))
            ->click();
        child<QLineEdit>(d, "addedStringEdit")->setText(u"after"_s);
        child<QPushButton>(d, "cancelButton")->click();
        QCOMPARE(h.options().general.columnWidthMode, ColumnWidthMode::User);
        QCOMPARE(h.options().excel.stringToAdd, u"before scanning settings"_s);
        QVERIFY(h.options().scanning.plentyOfFiles);

        // Coming back without another window of the program between is no new activation.
        h.open();
        child<RadioGroupBox>(d, "columnWidthGroup")
            ->item(static_cast<int>(ColumnWidthMode::Fixed))
            ->click();
        h.activateAgain();
        child<QPushButton>(d, "cancelButton")->click();
        QCOMPARE(h.options().general.columnWidthMode, ColumnWidthMode::User);
    }

    void defaultSettingsResetEveryDialog() {
        Harness h;
        GeneralSettingsDialog& d = h.dialog;
        ScanParametersDialog& scanning = *h.context().scanParameters;
        Options& o = h.options();
        o.general = {ColumnWidthMode::Fixed, false, true};
        o.textFormat = {false, false, 3, u"typed"_s};
        o.excel.addString = true;
        o.savedColumnWidths = {1, 2, 3, 4, 5, 6, 7};
        Options expected = o;
        applyDefaultSettings(expected);

        h.open();
        child<QPushButton>(d, "scanningSettingsButton")->click();
        child<QCheckBox>(scanning, "plentyOfFilesCheckBox")->setChecked(true);
        h.activateAgain();
        child<QPushButton>(d, "defaultSettingsButton")->click();

        QVERIFY(d.isHidden());
        QVERIFY(o == expected);
        QCOMPARE(h.hintSwitches, QList<bool>{true});
        QVERIFY(!child<QCheckBox>(scanning, "plentyOfFilesCheckBox")->isChecked());

        h.open();
        QCOMPARE(child<QLineEdit>(d, "addedStringEdit")->text(), u"Всем ПрИвЕтИк!"_s);
        QVERIFY(!child<QLineEdit>(d, "addedStringEdit")->isEnabled());
        QCOMPARE(child<RadioGroupBox>(d, "columnWidthGroup")->itemIndex(),
                 static_cast<int>(ColumnWidthMode::WidestLine));
        QVERIFY(child<QCheckBox>(d, "hintsCheckBox")->isChecked());
        // The defaults stay: Cancel now goes back to them.
        child<QPushButton>(d, "cancelButton")->click();
        QVERIFY(o == expected);
    }

    void twelveClicksOnTheTextAreaGreet() {
        Harness h;
        GeneralSettingsDialog& d = h.dialog;
        const auto clickTextArea = [&d](int times) {
            for (int i = 0; i < times; ++i) {
                QTest::mouseClick(child<QLabel>(d, "textAreaLabel"), Qt::LeftButton);
            }
        };
        h.open();
        child<QTabWidget>(d, "pageTabs")->setCurrentWidget(child<QWidget>(d, "textFormatPage"));
        clickTextArea(11);
        QVERIFY(h.fixture.ui.messages.isEmpty());
        // The count starts again at the next activation.
        child<QPushButton>(d, "okButton")->click();
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

    void rememberTextsBoxIsKeptBesideTheSettingsFile() {
        Harness h;
        GeneralSettingsDialog& d = h.dialog;
        const QString path = h.context().desktopSettingsPath;
        // On the box's indicator: the widget is wider than what takes the mouse.
        const auto click = [](QWidget* widget) {
            QTest::mouseClick(widget, Qt::LeftButton, {}, QPoint(6, widget->height() / 2));
        };
        h.open();
        child<QTabWidget>(d, "pageTabs")->setCurrentWidget(child<QWidget>(d, "scanningPage"));
        QVERIFY(child<QCheckBox>(d, "rememberTextsCheckBox")->isChecked());

        // "Cancel" puts the box back as it was, and writes nothing.
        click(child<QCheckBox>(d, "rememberTextsCheckBox"));
        QVERIFY(!h.context().desktop.rememberUnchangedTexts);
        click(child<QPushButton>(d, "cancelButton"));
        QVERIFY(h.context().desktop.rememberUnchangedTexts);
        QVERIFY(!QFile::exists(path));
        h.open();
        child<QTabWidget>(d, "pageTabs")->setCurrentWidget(child<QWidget>(d, "scanningPage"));
        QVERIFY(child<QCheckBox>(d, "rememberTextsCheckBox")->isChecked());

        // "OK" writes it to its own file; the settings file is not touched.
        click(child<QCheckBox>(d, "rememberTextsCheckBox"));
        click(child<QPushButton>(d, "okButton"));
        QCOMPARE(DesktopSettings::load(path).rememberUnchangedTexts, false);
        QVERIFY(!QFile::exists(h.context().settingsPath));
        h.open();
        QVERIFY(!child<QCheckBox>(d, "rememberTextsCheckBox")->isChecked());
    }
};

QTEST_MAIN(GeneralSettingsDialogTest)
#include "general_settings_dialog_test.moc"
