// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/main_window.h"
#include "support_ui/window_child.h"

#include "support/docx_inspect.h"
#include "support_ui/pdf_text.h"
#include "support_ui/program_fixture.h"
#include "support_ui/window_child.h"
#include "table/song_grid.h"
#include "text/text_view.h"

#include <QAction>
#include <QDir>
#include <QRegularExpression>
#include <QTextEdit>
#include <QtTest>

using namespace corvanteller;
using namespace Qt::StringLiterals;

namespace {

// A window system that never tells a window shown and hidden again within a command that it
// was active, nor the window under it that it lost the activation, as X11 with a window
// manager does: the first the main window hears is its activation once the user is back.
class ActivationsAfterTheCommand : public QObject {
public:
    ActivationsAfterTheCommand() { qApp->installEventFilter(this); }
    ~ActivationsAfterTheCommand() override { qApp->removeEventFilter(this); }
    bool eventFilter(QObject*, QEvent* event) override {
        return event->type() == QEvent::WindowActivate || event->type() == QEvent::WindowDeactivate;
    }
};

// The program with two songs in its table and the main window active.
struct WordProgram : test::ProgramFixture {
    WordProgram() {
        test::storeTwoSongs(context().table.startStore());
        QVERIFY(activate(&main()));
    }

    TextView& view() { return main().textView(); }
    QString file(const QString& name) const { return files.filePath(name); }

    // Types into the title of the first song and leaves the cell editor open.
    void typeIntoFirstTitle(const QString& text) {
        SongGrid& grid = *child<SongGrid>(main(), "songGrid");
        grid.setFocus(Qt::MouseFocusReason);
        grid.setCurrentIndex(model().index(0, 3));
        QTest::keyClick(&grid, text.front().toLatin1());
        QWidget* editor = QApplication::focusWidget();
        QVERIFY(editor != nullptr && editor != &grid);
        QTest::keyClicks(editor, text.mid(1));
    }

    // The lines of the table text as the text view builds it now.
    QStringList tableLines() {
        context().textViewModes.setByCommand(TextViewMode::TableText);
        view().onActivated();
        const QStringList lines = view().editorText().split(u'\n');
        view().hide();
        return lines;
    }

    // The window system gives the main window back once the save dialog and the view are
    // gone: a window that is not the program's goes, and the main window becomes active.
    void mainWindowComesBack() {
        QWidget dialog;
        QVERIFY(activate(&dialog));
        dialog.hide();
        QVERIFY(activate(&main()));
    }

    QTemporaryDir files;
};

} // namespace

class WordCommandsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void msWordHandsTheTableTextToTheDesktopWithTheCellBeingEdited() {
        WordProgram program;
        MainWindow& main = program.main();
        program.typeIntoFirstTitle(u"z"_s);
        child<QAction>(main, "exportWordAction")->trigger();

        QCOMPARE(program.ui.desktopOpened.size(), 1);
        const QString path = program.ui.desktopOpened[0];
        QVERIFY(path.startsWith(program.settingsFolder.filePath(u"handover/Document-"_s)));
        QVERIFY(path.endsWith(u".docx"_s));
        const std::optional<QStringList> paragraphs =
            test::docxParagraphs(test::readTestFile(path));
        QVERIFY(paragraphs && paragraphs->size() > 2);
        QVERIFY(paragraphs->at(0).startsWith(u"1\t/songs/a.kar z\t"_s));
        QCOMPARE(*paragraphs, program.tableLines());
        QVERIFY(program.view().isHidden());
        QCOMPARE(main.documentEngine().documentCount(), 0);
        QVERIFY(program.ui.messages.isEmpty());

        program.ui.setDesktopOpens(false);
        child<QAction>(main, "exportWordAction")->trigger();
        QCOMPARE(program.ui.desktopOpened.size(), 2);
        QCOMPARE(program.ui.messages,
                 QStringList{u"No program was found to show "_s + program.ui.desktopOpened[1] +
                             u". The file is kept there."_s});
        QVERIFY(QFile::exists(program.ui.desktopOpened[1]));
    }

    void theTableKeepsTheCellEditedBeforeEveryMainWindowCommand() {
        const std::pair<const char*, const char*> commands[] = {
            {"exportWordAction", "Ms Word"},
            {"saveAsWordAction", "Save as Ms Word document..."},
            {"printFromWordAction", "Print from Ms Word (text)"},
            {"printToPdfAction", "Print to PDF..."}};
        for (const auto& [action, caption] : commands) {
            WordProgram program;
            program.ui.answerSaveFile(program.file(u"songs.docx"_s));
            program.typeIntoFirstTitle(u"kept"_s);
            {
                const ActivationsAfterTheCommand windowSystem;
                child<QAction>(program.main(), action)->trigger();
                QApplication::processEvents();
            }
            program.mainWindowComesBack();
            QVERIFY2(program.model().cell(1, 3) == u"kept"_s, caption);
            QVERIFY2(program.view().isHidden(), caption);
        }
    }

    void theGridHasTheKeyboardAgainAfterEveryWordCommandOfTheMainWindow() {
        const std::pair<const char*, const char*> commands[] = {
            {"exportWordAction", "Ms Word"},
            {"saveAsWordAction", "Save as Ms Word document..."},
            {"printFromWordAction", "Print from Ms Word (text)"}};
        for (const auto& [action, caption] : commands) {
            WordProgram program;
            SongGrid& grid = *child<SongGrid>(program.main(), "songGrid");
            grid.setFocus(Qt::MouseFocusReason);
            grid.setCurrentIndex(program.model().index(0, 3));
            program.ui.answerSaveFile(program.file(u"songs.docx"_s));

            child<QAction>(program.main(), action)->trigger();

            QTRY_VERIFY2(QApplication::focusWidget() == &grid, caption);
            QVERIFY2(QApplication::activeWindow() == &program.main(), caption);
            // The next keys reach the grid: one row down, then a typed letter opens the cell.
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
            QVERIFY2(grid.currentIndex() == program.model().index(1, 3), caption);
            QTest::keyClick(QApplication::focusWidget(), 'q');
            QWidget* editor = QApplication::focusWidget();
            QVERIFY2(editor != nullptr && editor != &grid && grid.isAncestorOf(editor), caption);
            QVERIFY2(editor->property("text").toString() == u"q"_s, caption);
        }
    }

    void saveAsWordDocumentAsksForADocxFileAndContactsNoWordWhenCancelled() {
        WordProgram program;
        MainWindow& main = program.main();
        program.ui.answerSaveFile(QString());
        child<QAction>(main, "saveAsWordAction")->trigger();
        const UiServices::FileDialog& dialog = program.ui.saveDialogs.last();
        QCOMPARE(dialog.filter, u"Document Word (*.docx)"_s);
        QCOMPARE(dialog.defaultSuffix, u"docx"_s);
        QVERIFY(dialog.confirmOverwrite);
        QVERIFY(program.view().isHidden());
        QCOMPARE(program.context().textViewModes.mode(), TextViewMode::None);

        const QString path = program.file(u"songs.docx"_s);
        program.ui.answerSaveFile(path);
        program.typeIntoFirstTitle(u"y"_s);
        child<QAction>(main, "saveAsWordAction")->trigger();
        const std::optional<QStringList> paragraphs =
            test::docxParagraphs(test::readTestFile(path));
        QVERIFY(paragraphs && paragraphs->at(0).startsWith(u"1\t/songs/a.kar y\t"_s));
        QCOMPARE(*paragraphs, program.tableLines());
        QVERIFY(program.view().isHidden());
        QCOMPARE(main.documentEngine().documentCount(), 0);
        QVERIFY(program.ui.desktopOpened.isEmpty());
        QVERIFY(program.ui.printJobs.isEmpty());
    }

    void aFailedSaveLeavesNoDocumentForTheNextCommand() {
        WordProgram program;
        MainWindow& main = program.main();
        program.ui.answerSaveFile(program.file(u"missing/songs.docx"_s));
        child<QAction>(main, "saveAsWordAction")->trigger();
        QCOMPARE(program.ui.errors.size(), 1);
        QCOMPARE(main.documentEngine().documentCount(), 0);
        QVERIFY(program.view().isHidden()); // hidden before the save, as the steps leave it

        child<QAction>(main, "printFromWordAction")->trigger();
        QCOMPARE(program.ui.printJobs, QStringList{u"Document2"_s});
        QCOMPARE(program.ui.printedTexts.size(), 1);
        QCOMPARE(program.ui.printedTexts[0].split(u'\n'), program.tableLines());
    }

    void printToPdfWritesWhatPrintFromMsWordPrints() {
        WordProgram program;
        MainWindow& main = program.main();
        const QStringList lines = program.tableLines();
        const QString pdf = program.file(u"songs.pdf"_s);
        program.ui.answerSaveFile(pdf);
        child<QAction>(main, "printToPdfAction")->trigger();
        QVERIFY(program.ui.printJobs.isEmpty());
        QVERIFY(program.ui.errors.isEmpty());
        QVERIFY(program.view().isHidden());
        QCOMPARE(main.documentEngine().documentCount(), 0);
        const std::optional<QString> text = test::pdfTextWithoutSpaces(pdf);
        QVERIFY2(text, "pdftotext (poppler-utils) could not read the PDF");
        QStringList words =
            lines.join(u' ').split(QRegularExpression(u"\\s+"_s), Qt::SkipEmptyParts);
        QVERIFY(words.contains(u"Бета"_s) && words.contains(u"maker"_s));
        const QStringList missing = test::missingFromPdf(*text, words);
        QVERIFY2(missing.isEmpty(), qPrintable(missing.join(u", "_s)));

        // The text view's "Print to PDF..." on the same table gives the same document.
        const QString viewPdf = program.file(u"view.pdf"_s);
        child<QAction>(main, "exportTextAction")->trigger();
        program.ui.answerSaveFile(viewPdf);
        child<QAction>(program.view(), "printToPdfAction")->trigger();
        const auto info = [](const QString& path) {
            QProcess pdfinfo;
            pdfinfo.start(u"pdfinfo"_s, {path});
            pdfinfo.waitForFinished();
            return QString::fromUtf8(pdfinfo.readAllStandardOutput())
                .split(u'\n')
                .filter(QRegularExpression(u"^(Title|Pages|Page size):"_s));
        };
        QVERIFY(info(pdf).join(u'|').contains(u"Список kar файлов"_s));
        QCOMPARE(info(viewPdf), info(pdf));
    }

    void printFromMsWordBeforeAnyRequestPrintsTheTable() {
        WordProgram program;
        QCOMPARE(program.context().textViewModes.mode(), TextViewMode::None);
        child<QAction>(program.main(), "printFromWordAction")->trigger();
        QCOMPARE(program.ui.printJobs, QStringList{u"Document1"_s});
        QVERIFY(program.ui.printedTexts[0].startsWith(u"1\t/songs/a.kar Alpha\t"_s));
        QVERIFY(program.view().isHidden());
        QCOMPARE(program.main().documentEngine().documentCount(), 0);
        QVERIFY(program.main().documentEngine().displayAlerts());
    }

    void printFromMsWordPrintsWhatTheViewWasLastAskedFor() {
        WordProgram program;
        MainWindow& main = program.main();
        const QString list = program.file(u"list.txt"_s);
        QVERIFY(test::writeTestFile(list, "Opened\r\nlist"));
        program.ui.answerOpenFile(list);
        child<QAction>(main, "openTextListAction")->trigger();
        QVERIFY(QTest::qWaitForWindowActive(&program.view()));
        child<QAction>(program.view(), "returnToTableAction")->trigger();
        QVERIFY(program.activate(&main));

        child<QAction>(main, "printFromWordAction")->trigger();
        QCOMPARE(program.ui.printedTexts, QStringList{u"Opened\nlist"_s});
        QVERIFY(program.view().isHidden());
    }

    void theViewsWordCommandsTakeTheEditedText() {
        WordProgram program;
        TextView& view = program.view();
        child<QAction>(program.main(), "exportToTextAction")->trigger();
        QVERIFY(QTest::qWaitForWindowActive(&view));
        child<QTextEdit>(view, "editor")->setFocus();
        child<QTextEdit>(view, "editor")->moveCursor(QTextCursor::Start);
        QTest::keyClicks(child<QTextEdit>(view, "editor"), u"edited "_s);
        const QString edited = view.editorText();
        QVERIFY(edited.startsWith(u"edited 1\t/songs/a.kar Alpha"_s));

        program.ui.answerSaveFile(QString());
        child<QAction>(view, "saveAsWordAction")->trigger();
        const UiServices::FileDialog& dialog = program.ui.saveDialogs.last();
        QCOMPARE(dialog.filter, u"Документ Word (*.docx)"_s);
        QCOMPARE(dialog.defaultSuffix, u"docx"_s);
        QVERIFY(dialog.confirmOverwrite);
        QCOMPARE(view.documentEngine.documentCount(), 0);

        const QString path = program.file(u"edited.docx"_s);
        program.ui.answerSaveFile(path);
        child<QAction>(view, "saveAsWordAction")->trigger();
        QCOMPARE(test::docxParagraphs(test::readTestFile(path)), edited.split(u'\n'));

        child<QAction>(view, "printFromWordAction")->trigger();
        QCOMPARE(program.ui.printedTexts, QStringList{edited});
        QCOMPARE(program.ui.printJobs, QStringList{u"Document2"_s});
        QVERIFY(view.isVisible());
        QApplication::processEvents();
        QCOMPARE(view.editorText(), edited);
        QCOMPARE(view.documentEngine.documentCount(), 0);
        QCOMPARE(program.main().documentEngine().documentCount(), 0);
        QVERIFY(program.ui.errors.isEmpty());
    }
};

QTEST_MAIN(WordCommandsTest)
#include "word_commands_test.moc"
