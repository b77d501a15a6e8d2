#include "app/main_window.h"

#include "settings/general_settings_dialog.h"
#include "support_ui/program_fixture.h"
#include "table/song_grid.h"
#include "table/table_find.h"
#include "ui/find_bar.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QtTest>

#include <functional>

using namespace corvanteller;
using namespace Qt::StringLiterals;

namespace {

// "alpha" is in cells (1,3), (2,4) and (3,6).
void storeFourSongs(RowStore& store) {
    const QStringList rows[] = {
        {u"a.kar"_s, u"/songs/"_s, u"Alpha"_s, QString(), QString(), u"maker"_s},
        {u"b.kar"_s, u"/songs/"_s, u"Бета"_s, u"alpha remix"_s, QString(), QString()},
        {u"ёлка.kar"_s, u"/other/"_s, u"Ёлочка"_s, QString(), u"E"_s, u"Alpha"_s},
        {u"d.kar"_s, u"/other/"_s, u"Delta"_s, QString(), QString(), QString()}};
    for (int row = 1; row <= 4; ++row) {
        for (int column = 1; column <= 6; ++column) {
            store.setText(column, row, rows[row - 1][column - 1]);
        }
    }
    store.setRowCount(4);
}

// The main window active with four songs, the grid focused on the first cell and nothing
// unsaved, so that any change the find made would show.
struct FindProgram : test::ProgramFixture {
    FindProgram() {
        storeFourSongs(context().table.startStore());
        QVERIFY(activate(&main()));
        grid().setFocus(Qt::OtherFocusReason);
        grid().setCurrentIndex(model().index(0, 1));
        context().table.unsavedChanges = false;
    }

    SongGrid& grid() { return *main().StringGrid1; }
    FindBar& bar() { return *main().findBar; }
    QLineEdit& edit() { return *bar().findEdit; }
    TableCell current() {
        const QModelIndex index = grid().currentIndex();
        return {index.row() + 1, index.column()};
    }
    QString message() { return bar().messageLabel->text(); }

    QStringList allCells() {
        QStringList cells;
        for (int row = 1; row <= model().songCount(); ++row) {
            for (int column = 0; column < tableColumnCount; ++column) {
                cells.append(model().cell(row, column));
            }
        }
        return cells;
    }
    QStringList storeTexts(const RowStore& store) {
        QStringList texts{QString::number(store.rowCount())};
        for (int row = 1; row <= store.rowCount(); ++row) {
            for (int column = 1; column <= RowStore::columnCount; ++column) {
                texts.append(store.text(column, row));
            }
        }
        return texts;
    }

    // A letter that QTest cannot type from Latin-1.
    static void typeLetter(QWidget* widget, const QString& letter) {
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, letter, Qt::NoModifier);
    }
};

} // namespace

class MainWindowFindTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void findingWalksTheTableAndChangesNothing() {
        FindProgram program;
        program.grid().setCurrentIndex(program.model().index(0, 0));
        program.model().toggleCheck(2);
        const QStringList cells = program.allCells();
        const QStringList mainStore = program.storeTexts(program.context().table.mainStore());
        const QStringList startStore = program.storeTexts(program.context().table.startStore());
        program.context().table.unsavedChanges = false;
        program.grid().setFocus(Qt::OtherFocusReason);
        const QRect wholeGrid = program.grid().geometry();

        QTest::keyClick(&program.grid(), Qt::Key_F, Qt::ControlModifier);
        QVERIFY(program.bar().isVisible());
        QCOMPARE(QApplication::focusWidget(), &program.edit());
        // Under the grid, which gives it room.
        QCOMPARE(program.bar().geometry().top(), program.grid().geometry().bottom() + 1);
        QCOMPARE(program.bar().geometry().bottom(), wholeGrid.bottom());

        struct Step {
            std::function<void()> keys;
            TableCell cell;
            QString message;
        };
        QLineEdit* edit = &program.edit();
        const Step steps[] = {
            {[edit] { QTest::keyClicks(edit, u"  al"_s); }, {1, 3}, QString()},
            {[edit] { QTest::keyClicks(edit, u"PHA "_s); }, {1, 3}, QString()},
            {[edit] { QTest::keyClick(edit, Qt::Key_Return); }, {2, 4}, QString()},
            {[edit] { QTest::keyClick(edit, Qt::Key_F3); }, {3, 6}, QString()},
            {[edit] { QTest::keyClick(edit, Qt::Key_F3); }, {1, 3}, u"Continued from the top"_s},
            {[edit] { QTest::keyClick(edit, Qt::Key_F3, Qt::ShiftModifier); },
             {3, 6},
             u"Continued from the bottom"_s},
            {[edit] { QTest::keyClick(edit, Qt::Key_X); }, {3, 6}, u"Not found"_s},
            {[edit] { QTest::keyClick(edit, Qt::Key_Return); }, {3, 6}, u"Not found"_s},
            {[edit] {
                 edit->clear();
                 FindProgram::typeLetter(edit, u"Ё"_s);
                 FindProgram::typeLetter(edit, u"Л"_s);
             },
             {3, 1},
             QString()},
            {[edit] { QTest::keyClick(edit, Qt::Key_Return); }, {3, 3}, QString()},
        };
        int number = 0;
        for (const Step& step : steps) {
            step.keys();
            QCOMPARE(program.current(), step.cell);
            QCOMPARE(program.message(), step.message);
            QVERIFY2(program.grid().selectionModel()->isSelected(
                         program.model().index(step.cell.row - 1, step.cell.column)),
                     qPrintable(QString::number(number++)));
        }

        QTest::keyClick(edit, Qt::Key_Escape);
        QVERIFY(!program.bar().isVisible());
        QCOMPARE(QApplication::focusWidget(), &program.grid());
        QCOMPARE(program.grid().geometry(), wholeGrid);
        QCOMPARE(program.allCells(), cells);
        QCOMPARE(program.storeTexts(program.context().table.mainStore()), mainStore);
        QCOMPARE(program.storeTexts(program.context().table.startStore()), startStore);
        QVERIFY(!program.context().table.unsavedChanges);
        QVERIFY(program.model().isRowChecked(2));
    }

    void theMenuAndTheButtonsFindAsTheKeysDo() {
        FindProgram program;
        program.main().findAction->trigger();
        QCOMPARE(QApplication::focusWidget(), &program.edit());
        QTest::keyClicks(&program.edit(), u"delta"_s);
        QCOMPARE(program.current(), (TableCell{4, 3}));
        QTest::mouseClick(program.bar().previousButton, Qt::LeftButton);
        QCOMPARE(program.current(), (TableCell{4, 3}));
        QCOMPARE(program.message(), u"Continued from the bottom"_s);

        program.edit().selectAll();
        QTest::keyClicks(&program.edit(), u"/other/"_s);
        QCOMPARE(program.current(), (TableCell{3, 2}));
        QTest::mouseClick(program.bar().nextButton, Qt::LeftButton);
        QCOMPARE(program.current(), (TableCell{4, 2}));
        // F3 also from the grid while the bar is shown.
        program.grid().setFocus(Qt::OtherFocusReason);
        QTest::keyClick(&program.grid(), Qt::Key_F3);
        QCOMPARE(program.current(), (TableCell{3, 2}));
        QCOMPARE(program.message(), u"Continued from the top"_s);

        // Ctrl+F again selects the text, so typing replaces it.
        QTest::keyClick(&program.grid(), Qt::Key_F, Qt::ControlModifier);
        QCOMPARE(program.edit().selectedText(), u"/other/"_s);
        QTest::mouseClick(program.bar().closeButton, Qt::LeftButton);
        QVERIFY(!program.bar().isVisible());
        QCOMPARE(QApplication::focusWidget(), &program.grid());
        QVERIFY(!program.context().table.unsavedChanges);
        // Hidden, the bar no longer takes F3.
        QTest::keyClick(&program.grid(), Qt::Key_F3);
        QCOMPARE(program.current(), (TableCell{3, 2}));
    }

    void aCellBeingTypedIsKeptWhenTheFindOpens() {
        FindProgram program;
        program.grid().setCurrentIndex(program.model().index(1, 3));
        QTest::keyClick(&program.grid(), 'Z');
        QWidget* cellEditor = QApplication::focusWidget();
        QVERIFY(cellEditor != nullptr && cellEditor != &program.grid());
        QTest::keyClicks(cellEditor, u"ebra"_s);
        QTest::keyClick(cellEditor, Qt::Key_F, Qt::ControlModifier);
        QCOMPARE(program.model().cell(2, 3), u"Zebra"_s);
        QCOMPARE(QApplication::focusWidget(), &program.edit());
        QVERIFY(program.grid().indexWidget(program.grid().currentIndex()) == nullptr);

        QTest::keyClicks(&program.edit(), u"zeb"_s);
        QCOMPARE(program.current(), (TableCell{2, 3}));
        // Another window of the program and back: the edit went into the row stores and came
        // back with the rebuild.
        program.main().generalSettings->trigger();
        TForm10& dialog = *program.context().generalSettings;
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        dialog.Button1->click();
        QVERIFY(program.activate(&program.main()));
        QCOMPARE(program.model().cell(2, 3), u"Zebra"_s);
        QCOMPARE(program.context().table.mainStore().text(3, 2), u"Zebra"_s);
    }

    void theFocusMovingIntoTheBarIsNoDeactivation() {
        FindProgram program;
        program.model().toggleCheck(1);
        QTest::keyClick(&program.grid(), Qt::Key_F, Qt::ControlModifier);
        QTest::keyClicks(&program.edit(), u"remix"_s);
        QTest::mouseClick(program.bar().nextButton, Qt::LeftButton);
        QTest::keyClick(&program.edit(), Qt::Key_Escape);
        // A rebuild would have cleared the check mark and the current cell.
        QVERIFY(program.model().isRowChecked(1));
        QCOMPARE(program.current(), (TableCell{2, 4}));

        // A real activation rebuilds as always; the bar's next step starts from the top.
        QTest::keyClick(&program.grid(), Qt::Key_F, Qt::ControlModifier);
        program.main().generalSettings->trigger();
        TForm10& dialog = *program.context().generalSettings;
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        dialog.Button1->click();
        QVERIFY(program.activate(&program.main()));
        QVERIFY(!program.model().isRowChecked(1));
        QVERIFY(program.bar().isVisible());
        program.edit().setFocus(Qt::MouseFocusReason);
        program.edit().selectAll();
        QTest::keyClicks(&program.edit(), u"alpha"_s);
        QCOMPARE(program.current(), (TableCell{1, 3}));
    }
};

QTEST_MAIN(MainWindowFindTest)
#include "main_window_find_test.moc"
