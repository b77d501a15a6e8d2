// SPDX-License-Identifier: GPL-3.0-or-later
#include "support_ui/window_child.h"
#include "text/text_view.h"

#include "support_ui/pdf_text.h"
#include "support_ui/program_fixture.h"
#include "support_ui/window_child.h"
#include "table/song_grid.h"
#include "text/rich_text_document.h"
#include "text/text_file.h"
#include "text/text_format_dialog.h"

#include <QAction>
#include <QClipboard>
#include <QFile>
#include <QMimeData>
#include <QPushButton>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextEdit>
#include <QtTest>

#include <functional>

using namespace corvanteller;
using namespace Qt::StringLiterals;

namespace {

const QString tableTextA = u"1\t/songs/a.kar Alpha\t\t\tmaker\t\n"
                           u"2\t/songs/b.kar Бета\tD\tE\t\t\n"_s;
const QString tableTextB = u"1\t/songs/Alpha\t\t\tmaker\t\n"
                           u"2\t/songs/Бета\tD\tE\t\t\n"_s;

// Cells of table lines about 300 characters long; the file name is longer than a printed line.
QString longCell(int row, int column) {
    return u"r%1c%2"_s.arg(row).arg(column) + QString(column == 1 ? 110 : 28, QChar(u'a' + row));
}

constexpr int longRows = 8;

// Stores the long cells (when given a store) and returns them.
QStringList longCells(RowStore* store = nullptr) {
    QStringList cells;
    for (int row = 1; row <= longRows; ++row) {
        for (int column = 1; column <= 6; ++column) {
            cells.append(longCell(row, column));
            if (store != nullptr) {
                store->setText(column, row,
                               column == 2 ? u'/' + cells.last() + u'/' : cells.last());
            }
        }
    }
    if (store != nullptr) {
        store->setRowCount(longRows);
    }
    return cells;
}

// The program with two songs in its table (or those of another store), the main window active, a
// fixed clock and an English locale, and a folder for the text files.
struct TextProgram : test::ProgramFixture {
    explicit TextProgram(void (*storeSongs)(RowStore&) = test::storeTwoSongs) {
        clock.now_ = QDateTime(QDate(2026, 12, 6), QTime(21, 5, 9));
        context().locale = QLocale(QLocale::English, QLocale::UnitedStates);
        storeSongs(context().table.startStore());
        QVERIFY(activate(&main()));
        QVERIFY(test::writeTestFile(listFile(), "Opened\r\nlist"));
    }

    TextView& view() { return main().textView(); }
    QString text() { return view().editorText(); }
    QString listFile() const { return files.filePath(u"list.txt"_s); }
    QString file(const QString& name) const { return files.filePath(name); }

    // A main-window command that shows the view; the window system then makes it the active
    // window, as it does before the user's next click.
    void command(const char* action) {
        child<QAction>(main(), action)->trigger();
        QVERIFY(QTest::qWaitForWindowActive(&view()));
    }

    // To the main window and back to the view, as the user clicks them.
    void returnFromMain() {
        QVERIFY(activate(&main()));
        QVERIFY(activate(&view()));
    }

    // The first-line indent of every paragraph, in points.
    QList<qreal> indents() {
        QList<qreal> points;
        QTextDocument& document = view().editorDocument();
        for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
            points.append(block.blockFormat().textIndent() * 72 /
                          child<QTextEdit>(view(), "editor")->logicalDpiX());
        }
        return points;
    }

    QTemporaryDir files;
};

// A window that is not one of the program's own (a message box, a file dialog): taking the
// activation away and giving it back.
void visitForeignWindow(QWidget* back) {
    QWidget foreign;
    QVERIFY(test::ProgramFixture::activate(&foreign));
    foreign.hide();
    QVERIFY(test::ProgramFixture::activate(back));
}

struct ModeRule {
    const char* name;
    std::function<void(TextProgram&)> steps;
    QString text; // the editor's content at the end
    bool hidden;
    TextViewMode mode;
    int openDialogs;
    int saveDialogs;
};

} // namespace

class TextViewTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void modesDecideEveryActivation() {
        const ModeRule rules[] = {
            {"0 clears at every activation",
             [](TextProgram& p) {
                 p.view().showFor(&p.main());
                 QVERIFY(QTest::qWaitForWindowActive(&p.view()));
                 QTest::keyClicks(child<QTextEdit>(p.view(), "editor"), u"typed"_s);
                 p.returnFromMain();
             },
             QString(), false, TextViewMode::None, 0, 0},
            {"1 rebuilds: an edit is gone after a return",
             [](TextProgram& p) {
                 p.command("exportToTextAction");
                 QCOMPARE(p.text(), tableTextA);
                 QTest::keyClicks(child<QTextEdit>(p.view(), "editor"), u"EDIT"_s);
                 p.returnFromMain();
             },
             tableTextA, false, TextViewMode::TableText, 0, 0},
            {"2 cancelled returns to the table",
             [](TextProgram& p) {
                 p.ui.answerOpenFile(QString());
                 p.command("openTextListAction");
                 QVERIFY(p.view().isVisible());
                 QTRY_VERIFY(p.view().isHidden());
             },
             QString(), true, TextViewMode::None, 1, 0},
            {"2 with a file keeps it, edits included",
             [](TextProgram& p) {
                 p.ui.answerOpenFile(p.listFile());
                 p.command("openTextListAction");
                 QTest::keyClicks(child<QTextEdit>(p.view(), "editor"), u"EDIT"_s);
                 p.returnFromMain();
             },
             u"EDITOpened\nlist"_s, false, TextViewMode::Kept, 1, 0},
            {"3 saves once",
             [](TextProgram& p) {
                 p.ui.answerSaveFile(p.file(u"saved.txt"_s));
                 p.command("saveAsTextAction");
                 QCOMPARE(readTextFile(p.file(u"saved.txt"_s)).richText.plainText(), tableTextB);
                 p.returnFromMain();
             },
             tableTextB, false, TextViewMode::Kept, 0, 1},
            {"4 keeps the content, then 1",
             [](TextProgram& p) {
                 p.view().showFor(&p.main());
                 QVERIFY(QTest::qWaitForWindowActive(&p.view()));
                 QTest::keyClicks(child<QTextEdit>(p.view(), "editor"), u"typed"_s);
                 child<QAction>(p.view(), "textFormatSettingsAction")->trigger();
                 QVERIFY(QTest::qWaitForWindowActive(p.context().textFormat));
                 // Back to the view while the settings are still open.
                 QVERIFY(test::ProgramFixture::activate(&p.view()));
                 QCOMPARE(p.text(), u"typed"_s);
                 p.returnFromMain();
             },
             tableTextA, false, TextViewMode::TableText, 0, 0},
            {"the view's own open in 1 keeps the file",
             [](TextProgram& p) {
                 p.command("exportTextAction");
                 p.ui.answerOpenFile(p.listFile());
                 child<QAction>(p.view(), "openTextAction")->trigger();
                 p.returnFromMain();
             },
             u"Opened\nlist"_s, false, TextViewMode::Kept, 1, 0},
        };
        for (const ModeRule& rule : rules) {
            TextProgram program;
            rule.steps(program);
            QVERIFY2(!QTest::currentTestFailed(), rule.name);
            QVERIFY2(program.view().isHidden() == rule.hidden, rule.name);
            if (!rule.hidden) {
                QVERIFY2(program.text() == rule.text, rule.name);
            }
            QVERIFY2(program.context().textViewModes.mode() == rule.mode, rule.name);
            QVERIFY2(program.ui.openDialogs.size() == rule.openDialogs, rule.name);
            QVERIFY2(program.ui.saveDialogs.size() == rule.saveDialogs, rule.name);
            QVERIFY2(program.ui.errors.isEmpty(), rule.name);
        }
    }

    void everyActivationIndents() {
        TextProgram program;
        program.command("exportToTextAction");
        QCOMPARE(program.indents(), QList<qreal>(3, 11.0));

        // Otherwise only the paragraph at the cursor.
        RichText twoLines;
        twoLines.paragraphs.resize(2);
        writeRtfFile(program.file(u"two.txt"_s), twoLines);
        program.ui.answerOpenFile(program.file(u"two.txt"_s));
        child<QAction>(program.view(), "openTextAction")->trigger();
        QCOMPARE(program.indents(), (QList<qreal>{0, 0}));
        child<QTextEdit>(program.view(), "editor")->moveCursor(QTextCursor::End);
        program.returnFromMain();
        QCOMPARE(program.indents(), (QList<qreal>{0, 11}));

        // A plain file opened at the activation takes the indent everywhere, an RTF file
        // keeps its own.
        QVERIFY(test::ProgramFixture::activate(&program.main()));
        program.ui.answerOpenFile(program.listFile());
        program.command("openTextListAction");
        QCOMPARE(program.indents(), (QList<qreal>{11, 11}));

        RichText rich;
        rich.paragraphs.front().firstLineIndent = 440;
        rich.paragraphs.front().runs.resize(1);
        rich.paragraphs.front().runs.front().text = u"rich"_s;
        writeRtfFile(program.file(u"rich.txt"_s), rich);
        QVERIFY(test::ProgramFixture::activate(&program.main()));
        program.ui.answerOpenFile(program.file(u"rich.txt"_s));
        program.command("openTextListAction");
        QCOMPARE(program.indents(), QList<qreal>{22});
    }

    void anActivationKeepsWhatBackCanUndo() {
        const struct {
            const char* name;
            std::function<void(TextProgram&)> fill; // leaves a kept text in the active view
        } cases[] = {
            {"an opened text",
             [](TextProgram& p) {
                 p.ui.answerOpenFile(p.listFile());
                 p.command("openTextListAction");
             }},
            {"the table text kept for its settings",
             [](TextProgram& p) {
                 p.command("exportToTextAction");
                 QVERIFY(test::ProgramFixture::activate(&p.main()));
                 p.ui.answerSaveFile(QString());
                 p.command("saveAsTextAction"); // its save dialog is cancelled
             }},
        };
        for (const auto& c : cases) {
            TextProgram program;
            TextView& view = program.view();
            c.fill(program);
            const QString before = program.text();
            child<QTextEdit>(view, "editor")->moveCursor(QTextCursor::End);
            QTest::keyClicks(child<QTextEdit>(view, "editor"), u"typed"_s);

            program.returnFromMain();
            QVERIFY2(child<QAction>(view, "undoAction")->isEnabled(), c.name);
            QVERIFY2(program.indents().last() == 11.0, c.name);
            child<QAction>(view, "undoAction")->trigger();
            QVERIFY2(program.text() == before, qPrintable(program.text()));
        }
    }

    void openCommandsAndMenuTriggersReadTheCellBeingEdited() {
        TextProgram program;
        SongGrid& grid = *child<SongGrid>(program.main(), "songGrid");
        grid.setFocus(Qt::MouseFocusReason);
        grid.setCurrentIndex(program.model().index(0, 3));
        QTest::keyClick(&grid, Qt::Key_Z);
        QVERIFY(QApplication::focusWidget() != &grid); // the cell editor is open
        program.command("exportTextAction");
        QVERIFY(program.text().startsWith(u"1\t/songs/a.kar z\t"_s));
    }

    void foreignWindowsAreNoActivation() {
        TextProgram program;
        program.command("exportToTextAction");
        QTest::keyClicks(child<QTextEdit>(program.view(), "editor"), u"kept"_s);
        visitForeignWindow(&program.view());
        QVERIFY(program.text().startsWith(u"kept1\t"_s));
    }

    void editEntriesFollowUndoAndSelection() {
        TextProgram program;
        TextView& view = program.view();
        program.command("exportToTextAction");
        const QList<QAction*> backs = {child<QAction>(view, "undoAction"),
                                       child<QAction>(view, "popupUndoAction")};
        const QList<QAction*> copies = {
            child<QAction>(view, "copyAction"), child<QAction>(view, "cutAction"),
            child<QAction>(view, "popupCopyAction"), child<QAction>(view, "popupCutAction")};
        const auto enabled = [](const QList<QAction*>& actions) {
            return std::all_of(actions.begin(), actions.end(),
                               [](const QAction* a) { return a->isEnabled(); });
        };
        const auto disabled = [](const QList<QAction*>& actions) {
            return std::none_of(actions.begin(), actions.end(),
                                [](const QAction* a) { return a->isEnabled(); });
        };
        // The built content cannot be undone.
        QVERIFY(disabled(backs));
        QVERIFY(disabled(copies));
        QVERIFY(child<QAction>(view, "pasteAction")->isEnabled() &&
                child<QAction>(view, "selectAllAction")->isEnabled());
        QVERIFY(child<QAction>(view, "popupPasteAction")->isEnabled() &&
                child<QAction>(view, "popupSelectAllAction")->isEnabled());

        QTest::keyClicks(child<QTextEdit>(view, "editor"), u"ab"_s);
        QVERIFY(enabled(backs));
        child<QAction>(view, "undoAction")->trigger();
        QCOMPARE(view.editorText(), tableTextA);
        QVERIFY(disabled(backs));

        child<QAction>(view, "popupSelectAllAction")->trigger();
        QVERIFY(enabled(copies));
        child<QAction>(view, "cutAction")->trigger();
        QVERIFY(view.editorText().isEmpty());
        QVERIFY(disabled(copies));
        QVERIFY(enabled(backs));
        child<QAction>(view, "popupPasteAction")->trigger();
        QCOMPARE(view.editorText(), tableTextA);

        // Paste takes plain text only.
        auto* mime = new QMimeData;
        mime->setHtml(u"<b>bold</b>"_s);
        mime->setText(u"bold"_s);
        QApplication::clipboard()->setMimeData(mime);
        child<QAction>(view, "selectAllAction")->trigger();
        child<QAction>(view, "pasteAction")->trigger();
        QCOMPARE(view.editorText(), u"bold"_s);
        QCOMPARE(view.editorDocument().begin().begin().fragment().charFormat().fontWeight(),
                 static_cast<int>(QFont::Normal));

        // "OK" of the text-format dialog appends without anything to undo.
        program.context().options.textFormat.addNext = true;
        child<QAction>(view, "textFormatSettingsAction")->trigger();
        child<QPushButton>(*program.context().textFormat, "okButton")->click();
        QVERIFY(view.editorText().endsWith(u"\nMade in Earth"_s));
        QVERIFY(disabled(backs));
    }

    void returnHides() {
        TextProgram program;
        TextView& view = program.view();
        program.command("exportToTextAction");
        child<QAction>(view, "returnToTableAction")->trigger();
        QVERIFY(view.isHidden());
    }

    void openShowsEveryKindOfTextFile() {
        TextProgram program;
        TextView& view = program.view();
        program.command("exportToTextAction");
        struct Case {
            const char* name;
            QByteArray bytes;
            QString text;
        };
        const Case cases[] = {
            {"utf-8", u"Привет\nмир"_s.toUtf8(), u"Привет\nмир"_s},
            {"cp1251", "\xCF\xF0\xE8\xE2\xE5\xF2\r\n\xEC\xE8\xF0", u"Привет\nмир"_s},
            {"utf-16", QByteArray("\xFF\xFE\x1F\x04\x40\x04\x0D\x00\x0A\x00\x3C\x04", 12),
             u"Пр\nм"_s},
            {"rtf", "{\\rtf1\\ansi\\ansicpg1251 {\\b \\'cf\\'f0}\\par x}", u"Пр\nx"_s},
        };
        for (const Case& c : cases) {
            const QString path = program.file(QString::fromLatin1(c.name));
            QVERIFY(test::writeTestFile(path, c.bytes));
            program.ui.answerOpenFile(path);
            child<QAction>(view, "openTextAction")->trigger();
            QVERIFY2(view.editorText() == c.text, c.name);
        }
        QCOMPARE(program.ui.openDialogs.front().filter, u"Text files (*.txt);;All files (*.*)"_s);
        QVERIFY(program.ui.openDialogs.front().mustExist);
        QVERIFY(view.editorDocument().begin().begin().fragment().charFormat().fontWeight() >=
                QFont::Bold);

        // What cannot be read or is too large changes nothing.
        const QString shown = view.editorText();
        const QString large = program.file(u"large.txt"_s);
        {
            QFile file(large);
            QVERIFY(file.open(QIODevice::WriteOnly));
            QVERIFY(file.resize(maxShownTextLength + 1));
        }
        for (const QString& path : {program.file(u"gone.txt"_s), program.files.path(), large}) {
            program.ui.answerOpenFile(path);
            child<QAction>(view, "openTextAction")->trigger();
            QCOMPARE(view.editorText(), shown);
        }
        QCOMPARE(program.ui.errors, (QStringList{u"File not found"_s, u"File access denied"_s,
                                                 u"The file is too large to be shown."_s}));
        QTest::qWait(TextView::emptyCheckDelayMs * 2);
        QVERIFY(view.isVisible());
    }

    void savedTextOpensWithItsFormats() {
        TextProgram program;
        TextView& view = program.view();
        program.command("exportToTextAction");
        QTextCursor cursor(&view.editorDocument());
        cursor.movePosition(QTextCursor::End);
        QTextCharFormat bold;
        bold.setFontWeight(QFont::Bold);
        QTextCharFormat styled;
        styled.setFontItalic(true);
        styled.setFontPointSize(17.5);
        styled.setForeground(QColor(10, 120, 200));
        QTextBlockFormat indented;
        indented.setLeftMargin(30);
        indented.setTextIndent(-6);
        indented.setAlignment(Qt::AlignRight);
        cursor.insertBlock(indented);
        cursor.insertText(u"Жирный"_s, bold);
        cursor.insertText(u"\tital 中\u2028next line"_s, styled);
        const RichText before = richTextFromDocument(view.editorDocument(), 96);

        const QString path = program.file(u"formats.txt"_s);
        program.ui.answerSaveFile(path);
        child<QAction>(view, "saveTextAction")->trigger();
        QCOMPARE(program.ui.saveDialogs.front().filter, u"Text files (*.txt);;Rich Text (*.rtf)"_s);
        QCOMPARE(program.ui.saveDialogs.front().defaultSuffix, u"txt"_s);
        QVERIFY(program.ui.saveDialogs.front().confirmOverwrite);
        QVERIFY(test::readTestFile(path).startsWith("{\\rtf1"));

        child<QTextEdit>(view, "editor")->clear();
        program.ui.answerOpenFile(path);
        child<QAction>(view, "openTextAction")->trigger();
        QVERIFY(richTextFromDocument(view.editorDocument(), 96) == before);
        QCOMPARE(view.editorText(), tableTextA + u"\nЖирный\tital 中\nnext line"_s);

        // A failed save reports and changes neither the file nor the editor.
        QVERIFY(test::writeTestFile(program.file(u"blocker"_s), "a file, not a folder"));
        program.ui.answerSaveFile(program.file(u"blocker/x.txt"_s));
        child<QAction>(view, "saveTextAction")->trigger();
        QCOMPARE(program.ui.errors.size(), 1);
        QCOMPARE(view.editorText(), tableTextA + u"\nЖирный\tital 中\nnext line"_s);
    }

    void printsOneNamedJob() {
        TextProgram program;
        TextView& view = program.view();
        program.command("exportToTextAction");
        const QString pdf = program.file(u"printed.pdf"_s);
        program.ui.printToPdf(pdf);
        child<QAction>(view, "printAction")->trigger();
        QCOMPARE(program.ui.printJobs, QStringList{u"Список kar файлов 06.12.2026  21.05.09"_s});
        QCOMPARE(program.ui.printedTexts, QStringList{tableTextA});
        QVERIFY(test::readTestFile(pdf).startsWith("%PDF"));
    }

    void printingNeverCutsALine_data() {
        QTest::addColumn<int>("entry"); // print, from Word, to PDF
        QTest::addColumn<bool>("printer");
        QTest::addColumn<bool>("saveDialog");
        QTest::addRow("Print") << 0 << true << false;
        QTest::addRow("Print to PDF...") << 2 << true << true;
        QTest::addRow("Print from Word without a printer, Save as PDF...") << 1 << false << true;
    }

    void printingNeverCutsALine() {
        QFETCH(int, entry);
        QFETCH(bool, printer);
        QFETCH(bool, saveDialog);
        TextProgram program([](RowStore& store) { longCells(&store); });
        TextView& view = program.view();
        program.command("exportToTextAction");
        const QString pdf = program.file(u"printed.pdf"_s);
        program.ui.setHasDefaultPrinter(printer);
        if (printer) {
            program.ui.printToPdf(pdf);
        } else {
            program.ui.answerOtherButton();
        }
        if (saveDialog) {
            program.ui.answerSaveFile(pdf);
        }
        const QList<QAction*> entries = {child<QAction>(view, "printAction"),
                                         child<QAction>(view, "printFromWordAction"),
                                         child<QAction>(view, "printToPdfAction")};
        entries[entry]->trigger();
        QCOMPARE(program.ui.saveDialogs.size(), saveDialog ? 1 : 0);
        QCOMPARE(program.ui.messages.size(), printer ? 0 : 1);
        QVERIFY(program.ui.errors.isEmpty());
        const std::optional<QString> text = test::pdfTextWithoutSpaces(pdf);
        QVERIFY2(text, "pdftotext (poppler-utils) could not read the PDF");
        const QStringList missing = test::missingFromPdf(*text, longCells());
        QVERIFY2(missing.isEmpty(), qPrintable(missing.join(u", "_s)));
    }

    void theRichTextFilterGivesTheFileItsEnding_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("richTextFilter");
        QTest::addColumn<QString>("written");
        QTest::addRow("text, .txt") << u"b.txt"_s << false << u"b.txt"_s;
        QTest::addRow("text, .rtf kept") << u"c.rtf"_s << false << u"c.rtf"_s;
        QTest::addRow("rich text, no ending") << u"d"_s << true << u"d.rtf"_s;
        QTest::addRow("rich text, .txt") << u"e.TXT"_s << true << u"e.rtf"_s;
        QTest::addRow("rich text, .rtf") << u"f.rtf"_s << true << u"f.rtf"_s;
        QTest::addRow("rich text, other ending kept") << u"g.doc"_s << true << u"g.doc"_s;
        QTest::addRow("rich text, dotted folder") << u"h.txt/i"_s << true << u"h.txt/i.rtf"_s;
    }

    void theRichTextFilterGivesTheFileItsEnding() {
        QFETCH(QString, typed);
        QFETCH(bool, richTextFilter);
        QFETCH(QString, written);
        TextProgram program;
        QVERIFY(QDir(program.files.path()).mkpath(u"h.txt"_s));
        TextView& view = program.view();
        program.command("exportToTextAction");
        program.ui.answerSaveFile(program.file(typed),
                                  richTextFilter ? u"Rich Text (*.rtf)"_s : QString());
        child<QAction>(view, "saveTextAction")->trigger();
        QVERIFY(program.ui.errors.isEmpty());
        QVERIFY(QFileInfo(program.file(written)).isFile());
        QVERIFY(readTextFile(program.file(written)).rich);
        if (typed != written) {
            QVERIFY(!QFile::exists(program.file(typed)) || QFileInfo(program.file(typed)).isDir());
        }
    }

    void anRtfFileThatExistsIsReplacedOnlyWhenTheUserSaysSo() {
        TextProgram program;
        TextView& view = program.view();
        program.command("exportToTextAction");
        const QString rtf = program.file(u"songs.rtf"_s);
        QVERIFY(test::writeTestFile(rtf, "kept"));
        for (const bool replace : {false, true}) {
            program.ui.answerSaveFile(program.file(u"songs.txt"_s), u"Rich Text (*.rtf)"_s);
            if (replace) {
                program.ui.answerOtherButton();
            }
            child<QAction>(view, "saveTextAction")->trigger();
            QCOMPARE(program.ui.messages.last(), rtf + u" already exists."_s);
            QCOMPARE(test::readTestFile(rtf) == "kept", !replace);
        }
        QCOMPARE(program.ui.messages.size(), 2);
        QVERIFY(!QFile::exists(program.file(u"songs.txt"_s)));
    }
};

QTEST_MAIN(TextViewTest)
#include "text_view_test.moc"
