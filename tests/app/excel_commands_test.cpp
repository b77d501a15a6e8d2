// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/bottom_row.h"
#include "app/main_window.h"
#include "app/start_window.h"
#include "support_ui/window_child.h"

#include "office/workbook.h"
#include "office/workbook_file.h"
#include "office/xls_reader.h"
#include "office/xlsx_writer.h"
#include "support/kar_builder.h"
#include "support/xls_builder.h"
#include "support_ui/program_fixture.h"
#include "support_ui/window_child.h"
#include "table/song_grid.h"

#include <QAction>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QtTest>

using namespace corvanteller;
using namespace Qt::StringLiterals;

namespace {

// Records the texts a label was painted with, and the grid's cursor at that moment.
class PaintWatcher : public QObject {
public:
    PaintWatcher(QLabel* label, QWidget* grid) : label_(label), grid_(grid) {
        label->installEventFilter(this);
    }
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == label_ && event->type() == QEvent::Paint) {
            painted.append(label_->text());
            cursors.append(grid_->cursor().shape());
        }
        return false;
    }
    QStringList painted;
    QList<Qt::CursorShape> cursors;

private:
    QLabel* label_;
    QWidget* grid_;
};

// The main window showing three scanned songs, as after a click on "Start".
struct ExcelProgram : test::ProgramFixture {
    ExcelProgram() {
        for (const char* name : {"a.kar", "b.kar", "c.kar"}) {
            QVERIFY(test::writeTestFile(music.filePath(QString::fromLatin1(name)),
                                        test::KarBuilder().trackName(name).bytes()));
        }
        ui.answerFolder(music.path());
        start().show();
        child<QPushButton>(start(), "startButton")->click();
        QVERIFY(activate(&main()));
        // As after a save: the import replaces the table without asking first.
        context().table.unsavedChanges = false;
    }

    // The path of the workbook the export handed over.
    QString exportWorkbook() {
        const qsizetype before = ui.desktopOpened.size();
        child<QAction>(main(), "exportExcelAction")->trigger();
        return ui.desktopOpened.size() == before + 1 ? ui.desktopOpened.last() : QString();
    }

    QString write(const QString& name, const QByteArray& bytes) {
        const QString path = files.filePath(name);
        if (!test::writeTestFile(path, bytes)) {
            return {};
        }
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        return path;
    }

    QTemporaryDir music;
    QTemporaryDir files;
};

void checkWaitIsOver(MainWindow& main) {
    QCOMPARE(child<SongGrid>(main, "songGrid")->cursor().shape(), Qt::ArrowCursor);
    QVERIFY(child<QLabel>(main, "waitLabel")->text().isEmpty());
}

} // namespace

class ExcelCommandsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { setXlsReaderPath(QStringLiteral(CORVANTELLER_XLS_READER_PATH)); }
    void cleanup() { setXlsReaderPath(QString()); }

    void theExportHandsAWorkbookToTheDesktop() {
        ExcelProgram program;
        child<SongGrid>(program.main(), "songGrid")->setCurrentIndex(program.model().index(1, 3));
        const QString path = program.exportWorkbook();
        QVERIFY(!path.isEmpty());
        QVERIFY(path.startsWith(program.settingsFolder.filePath(u"handover/Book-"_s)));
        const std::unique_ptr<Worksheet> sheet = readFirstWorksheet(path);
        QCOMPARE(sheet->value(3, 2).text(), u"b.kar"_s);
        QCOMPARE(sheet->value(7, 2).text(), u"07.Dec.2026"_s);
        QVERIFY(program.ui.messages.isEmpty());
        QCOMPARE(program.main().workbookEngine().workbookCount(), 0);

        // No program for it: the file stays, and "Save a copy..." puts one where the user says.
        program.ui.setDesktopOpens(false);
        program.ui.answerOtherButton();
        const QString copy = program.files.filePath(u"songs.xlsx"_s);
        program.ui.answerSaveFile(copy);
        const QString kept = program.exportWorkbook();
        QCOMPARE(program.ui.messages, QStringList{u"No program was found to show "_s + kept +
                                                  u". The file is kept there."_s});
        QCOMPARE(program.ui.saveDialogs.last().filter, u"Ms Excel workbook (*.xlsx)"_s);
        QVERIFY(QFile::exists(kept));
        QCOMPARE(test::readTestFile(copy), test::readTestFile(kept));
    }

    // "Save workbook as..." writes the same workbook where the user says, and hands none over.
    void theExportWorkbookIsSavedWhereTheUserSays() {
        ExcelProgram program;
        const QString path = program.files.filePath(u"export.xlsx"_s);
        program.ui.answerSaveFile(path);
        child<QAction>(program.main(), "saveWorkbookAsAction")->trigger();
        const std::unique_ptr<Worksheet> sheet = readFirstWorksheet(path);
        QCOMPARE(sheet->value(3, 2).text(), u"b.kar"_s);
        QCOMPARE(sheet->value(7, 2).text(), u"07.Dec.2026"_s);
        QVERIFY(program.ui.desktopOpened.isEmpty());
        QVERIFY(program.ui.messages.isEmpty());
        QCOMPARE(program.main().workbookEngine().workbookCount(), 0);
    }

    void anEmptyTableExportsNothing() {
        test::ProgramFixture fixture;
        QTemporaryDir empty;
        fixture.ui.answerFolder(empty.path());
        child<QPushButton>(fixture.start(), "startButton")->click();
        QVERIFY(test::ProgramFixture::activate(&fixture.main()));
        child<QAction>(fixture.main(), "exportExcelAction")->trigger();
        QVERIFY(fixture.ui.desktopOpened.isEmpty());
        QVERIFY(fixture.ui.messages.isEmpty());
        QVERIFY(!QDir(fixture.settingsFolder.filePath(u"handover"_s)).exists());
    }

    void theMainWindowImportsAnExportedWorkbook() {
        ExcelProgram program;
        MainWindow& main = program.main();
        program.model().setAllChecked(true);
        const QString path = program.exportWorkbook();
        const QString exported = program.model().cell(2, 3);
        program.model().setCell(2, 3, u"edited"_s);
        PaintWatcher watcher(child<QLabel>(main, "waitLabel"), child<SongGrid>(main, "songGrid"));

        program.ui.answerOpenFile(path);
        child<QAction>(main, "importExcelAction")->trigger();

        QCOMPARE(program.ui.openDialogs.last().filter, u"Excel files (*.xls *.xlsx)"_s);
        QVERIFY(program.ui.openDialogs.last().mustExist);
        QCOMPARE(child<QLabel>(main, "statusLabel")->text(),
                 u"3 record(s) was(were) exported to Excel"_s);
        QCOMPARE(child<QLabel>(main, "statusLabel")->x(),
                 main.centralWidget()->width() - child<QLabel>(main, "statusLabel")->width() -
                     BottomRow::statusRightMargin);
        QVERIFY(child<QLabel>(main, "waitLabel")->x() + child<QLabel>(main, "waitLabel")->width() <=
                child<QLabel>(main, "statusLabel")->x());
        QVERIFY(watcher.painted.contains(u"Wait..."_s));
        QCOMPARE(watcher.cursors.at(watcher.painted.indexOf(u"Wait..."_s)), Qt::WaitCursor);
        checkWaitIsOver(main);
        const SongTableModel& model = program.model();
        QCOMPARE(model.songCount(), 3);
        QCOMPARE(model.cell(2, 0), u"2"_s); // the marks are gone
        QCOMPARE(model.cell(2, 3), exported);
        QCOMPARE(model.cell(2, 1), u"b.kar"_s);
        QCOMPARE(program.context().table.origin, TableOrigin::MainWindow);
        QCOMPARE(program.context().table.mainStore().text(1, 3), u"c.kar"_s);
    }

    void aFailedImportPutsTheCursorAndTheLabelBack() {
        ExcelProgram program;
        MainWindow& main = program.main();
        const QString text = program.write(u"notes.xlsx"_s, "not a workbook");
        const QString xls =
            program.write(u"songs.xls"_s, test::XlsBuilder().text(1, 1, u"#"_s).bytes());
        const QString crashingReader = program.write(u"reader"_s, "#!/bin/sh\nkill -9 $$\n");
        const std::pair<QString, QString> cases[] = {
            {text, u"This file is not an Excel workbook."_s},
            {program.files.filePath(u"gone.xls"_s), u"File not found"_s},
            {xls, u"The file cannot be read as an Excel workbook."_s},
        };
        setXlsReaderPath(crashingReader);
        for (const auto& [path, message] : cases) {
            program.ui.answerOpenFile(path);
            child<QAction>(main, "importExcelAction")->trigger();
            QCOMPARE(program.ui.errors.last(), message);
            checkWaitIsOver(main);
            QCOMPARE(program.model().songCount(), 3);
            QCOMPARE(program.model().cell(1, 1), u"a.kar"_s);
            QCOMPARE(main.workbookEngine().workbookCount(), 0);
        }
        QCOMPARE(child<QLabel>(main, "statusLabel")->text(),
                 u"3 file(s) was(were) processed and placed in the table"_s);

        program.ui.answerOpenFile(QString());
        child<QAction>(main, "importExcelAction")->trigger();
        QCOMPARE(program.ui.errors.size(), 3);
    }

    void theStartWindowHandsTheImportedTableOver() {
        test::ProgramFixture fixture;
        Workbook book;
        book.worksheet(1)
            .range(u"A1"_s, u"C3"_s)
            .setValues(
                {{u"№"_s, u"Name"_s, u"Way"_s}, {u"song.kar"_s, u"/m/"_s, u"x"_s}, {u"2.kar"_s}});
        QTemporaryDir folder;
        const QString path = folder.filePath(u"list.dat"_s);
        writeXlsx(book, path);
        StartWindow& start = fixture.start();
        QVERIFY(test::ProgramFixture::activate(&start));
        fixture.ui.answerOpenFile(path);

        child<QAction>(start, "importExcelAction")->trigger();

        QCOMPARE(fixture.ui.openDialogs.last().filter, u"Excel files (*.xls *.xlsx)"_s);
        QVERIFY(start.isHidden());
        MainWindow& main = fixture.main();
        QVERIFY(main.isVisible());
        checkWaitIsOver(main);
        const SongTableModel& model = fixture.model();
        QCOMPARE(model.songCount(), 2);
        QCOMPARE(model.headerText(1), u"№"_s); // the start window takes "#" only
        QCOMPARE(model.cell(1, 1), u"song.kar"_s);
        QCOMPARE(model.cell(1, 3), u"x"_s);
        QCOMPARE(model.rowFile(1), (RowFile{u"/m/"_s, u"song.kar"_s}));
        QCOMPARE(child<QLabel>(main, "statusLabel")->text(),
                 u"2 file(s) was(were) processed and placed in the table"_s);
        // The hand-over keeps the imported table through the main window's activations.
        QVERIFY(test::ProgramFixture::activate(&main));
        QCOMPARE(model.headerText(1), u"№"_s);
    }

    void aCancelledOrFailedStartWindowImportStaysInTheStartWindow() {
        test::ProgramFixture fixture;
        StartWindow& start = fixture.start();
        QVERIFY(test::ProgramFixture::activate(&start));
        fixture.ui.answerOpenFile(QString());
        child<QAction>(start, "importExcelAction")->trigger();
        QVERIFY(start.isVisible());
        QVERIFY(fixture.main().isHidden());

        QTemporaryDir folder;
        const QString path = folder.filePath(u"empty.xlsx"_s);
        writeXlsx(Workbook(), path);
        fixture.ui.answerOpenFile(path);
        child<QAction>(start, "importExcelAction")->trigger();
        QCOMPARE(fixture.ui.errors, QStringList{u"The first worksheet of the file is empty."_s});
        QVERIFY(start.isVisible());
        QVERIFY(fixture.main().isHidden());
        QVERIFY(!fixture.context().table.startWindowHandedTable);
        checkWaitIsOver(fixture.main());
    }

    void widthModeTwoFitsTheImportedColumns() {
        ExcelProgram program;
        MainWindow& main = program.main();
        program.context().options.general.columnWidthMode = ColumnWidthMode::WidestLine;
        Workbook book;
        book.worksheet(1)
            .range(u"A1"_s, u"B2"_s)
            .setValues(
                {{u"#"_s, u"N"_s}, {u"1"_s, u"a rather long file name of a karaoke song.kar"_s}});
        const QString path = program.files.filePath(u"wide.xlsx"_s);
        writeXlsx(book, path);
        const int numberWidth = child<SongGrid>(main, "songGrid")->columnWidth(0);
        program.ui.answerOpenFile(path);
        child<QAction>(main, "importExcelAction")->trigger();
        const QFontMetrics metrics(child<SongGrid>(main, "songGrid")->font());
        QCOMPARE(child<SongGrid>(main, "songGrid")->columnWidth(1),
                 metrics.horizontalAdvance(u"a rather long file name of a karaoke song.kar"_s) + 4);
        QCOMPARE(child<SongGrid>(main, "songGrid")->columnWidth(0), numberWidth);
        QCOMPARE(program.model().widestCellLengths()[1], 45);
    }
};

QTEST_MAIN(ExcelCommandsTest)
#include "excel_commands_test.moc"
