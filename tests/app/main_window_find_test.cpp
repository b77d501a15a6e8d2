// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/main_window.h"
#include "support_ui/window_child.h"

#include "settings/general_settings_dialog.h"
#include "support_ui/program_fixture.h"
#include "support_ui/window_child.h"
#include "table/song_grid.h"
#include "table/table_find.h"
#include "ui/find_bar.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

using namespace corvanteller;
using namespace Qt::StringLiterals;

namespace {

// The main window active with three songs ("alpha" in cells (1,3), (2,4) and (3,6)), the grid
// focused and nothing unsaved, so that any change the find made would show.
struct FindProgram : test::ProgramFixture {
    FindProgram() {
        const QStringList rows[] = {{u"a.kar"_s, u"/s/"_s, u"Alpha"_s, {}, {}, {}},
                                    {u"b.kar"_s, u"/s/"_s, u"Бета"_s, u"alpha remix"_s, {}, {}},
                                    {u"ёлка.kar"_s, u"/o/"_s, {}, {}, {}, u"Alpha"_s}};
        for (int row = 1; row <= 3; ++row) {
            for (int column = 1; column <= 6; ++column) {
                context().table.startStore().setText(column, row, rows[row - 1][column - 1]);
            }
        }
        context().table.startStore().setRowCount(3);
        QVERIFY(activate(&main()));
        grid().setFocus(Qt::OtherFocusReason);
        grid().setCurrentIndex(model().index(0, 0));
        context().table.unsavedChanges = false;
    }

    SongGrid& grid() { return *child<SongGrid>(main(), "songGrid"); }
    FindBar& bar() { return *child<FindBar>(main(), "findBar"); }
    QLineEdit& edit() { return *child<QLineEdit>(bar(), "findEdit"); }
    TableCell current() {
        return {grid().currentIndex().row() + 1, grid().currentIndex().column()};
    }
    // The cells and both row stores.
    QStringList everything() {
        QStringList texts;
        for (int row = 1; row <= 3; ++row) {
            texts << model().cell(row, 0);
            for (int column = 1; column < tableColumnCount; ++column) {
                texts << model().cell(row, column) << context().table.mainStore().text(column, row)
                      << context().table.startStore().text(column, row);
            }
        }
        return texts;
    }
};

} // namespace

class MainWindowFindTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void findingWalksTheTableChangesNothingAndKeepsATypedCell() {
        FindProgram program;
        program.model().toggleCheck(2); // a rebuild would clear it
        const QStringList before = program.everything();
        const QRect wholeGrid = program.grid().geometry();
        QTest::keyClick(&program.grid(), Qt::Key_F, Qt::ControlModifier);
        QCOMPARE(QApplication::focusWidget(), &program.edit());
        QCOMPARE(program.bar().geometry().top(), program.grid().geometry().bottom() + 1);

        QLineEdit* edit = &program.edit();
        QTest::keyClicks(edit, u"  alPHA "_s);
        QCOMPARE(program.current(), (TableCell{1, 3}));
        const struct {
            Qt::Key key;
            Qt::KeyboardModifiers modifiers;
            TableCell cell;
            const char* message;
        } steps[] = {
            {Qt::Key_Return, {}, {2, 4}, ""},
            {Qt::Key_F3, {}, {3, 6}, ""},
            {Qt::Key_F3, {}, {1, 3}, "Continued from the top"},
            {Qt::Key_F3, Qt::ShiftModifier, {3, 6}, "Continued from the bottom"},
            {Qt::Key_X, {}, {3, 6}, "Not found"},
        };
        for (const auto& step : steps) {
            QTest::keyClick(edit, step.key, step.modifiers);
            QCOMPARE(program.current(), step.cell);
            QCOMPARE(child<QLabel>(program.bar(), "messageLabel")->text(),
                     QString::fromUtf8(step.message));
        }
        edit->clear();
        QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, u"Ё"_s, {});
        QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, u"л"_s, {});
        QTest::mouseClick(child<QPushButton>(program.bar(), "nextButton"), Qt::LeftButton);
        QCOMPARE(program.current(), (TableCell{3, 1}));
        QCOMPARE(child<QLabel>(program.bar(), "messageLabel")->text(), u"Continued from the top"_s);
        QTest::keyClick(edit, Qt::Key_Escape);
        QVERIFY(!program.bar().isVisible());
        QCOMPARE(QApplication::focusWidget(), &program.grid());
        QCOMPARE(program.grid().geometry(), wholeGrid);
        QCOMPARE(program.everything(), before);
        QVERIFY(!program.context().table.unsavedChanges);
        // The menu opens it again, the text selected.
        child<QAction>(program.main(), "findAction")->trigger();
        QCOMPARE(program.edit().selectedText(), u"Ёл"_s);

        // A cell being typed is kept when the find opens.
        QTest::keyClick(edit, Qt::Key_Escape);
        program.grid().setCurrentIndex(program.model().index(1, 3));
        QTest::keyClick(&program.grid(), 'Z');
        QWidget* cellEditor = QApplication::focusWidget();
        QVERIFY(cellEditor != nullptr && cellEditor != &program.grid());
        QTest::keyClicks(cellEditor, u"ebra"_s);
        QTest::keyClick(cellEditor, Qt::Key_F, Qt::ControlModifier);
        QCOMPARE(program.model().cell(2, 3), u"Zebra"_s);
        QCOMPARE(QApplication::focusWidget(), &program.edit());
        QVERIFY(program.grid().indexWidget(program.grid().currentIndex()) == nullptr);
        // Another window of the program and back: the edit went into the row stores and came
        // back with the rebuild; the bar stays and finds from the top.
        child<QAction>(program.main(), "generalSettingsAction")->trigger();
        QVERIFY(QTest::qWaitForWindowActive(program.context().generalSettings));
        child<QPushButton>(*program.context().generalSettings, "okButton")->click();
        QVERIFY(program.activate(&program.main()));
        QCOMPARE(program.model().cell(2, 3), u"Zebra"_s);
        QVERIFY(program.bar().isVisible());
        program.edit().clear();
        QTest::keyClicks(&program.edit(), u"zeb"_s);
        QCOMPARE(program.current(), (TableCell{2, 3}));
    }
};

QTEST_MAIN(MainWindowFindTest)
#include "main_window_find_test.moc"
