#include "office/document_printing.h"

#include "office/word_commands.h"
#include "support_ui/pdf_text.h"
#include "support_ui/scripted_ui_services.h"

#include <QDir>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QTextOption>
#include <QtTest>

using namespace corvanteller;
using namespace Qt::StringLiterals;

namespace {

// Twelve tab-separated lines of about 200 characters, each cell a word of its own, and one word
// longer than a line: what a table with long paths and descriptions gives.
struct LongLines {
    QStringList words;
    QString text;
    LongLines() {
        for (int row = 1; row <= 12; ++row) {
            QStringList cells;
            for (int column = 1; column <= 6; ++column) {
                cells.append(u"r%1c%2"_s.arg(row).arg(column) + QString(26, QChar(u'a' + row)));
            }
            words += cells;
            text += cells.join(u'\t') + u'\n';
        }
        words.append(u"unbroken"_s + QString(180, u'z') + u"end"_s);
        text += words.last();
    }
};

// The editor's document: one line a row, however long.
std::unique_ptr<QTextDocument> noWrapDocument(const QString& text) {
    auto document = std::make_unique<QTextDocument>();
    QTextOption option = document->defaultTextOption();
    option.setWrapMode(QTextOption::NoWrap);
    document->setDefaultTextOption(option);
    document->setPlainText(text);
    return document;
}

} // namespace

class DocumentPrintingTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void theTextIsPrintedInSerifWithTabStops() {
        const std::unique_ptr<QTextDocument> document = printableDocument(u"1\ta.kar\nНет"_s);
        QCOMPARE(document->toPlainText(), u"1\ta.kar\nНет"_s);
        QCOMPARE(document->defaultFont().pointSize(), 12);
        QCOMPARE(document->defaultFont().styleHint(), QFont::Serif);
        QVERIFY(qAbs(document->defaultTextOption().tabStopDistance() - 47.24) < 0.01);
    }

    void theEnginePrintsThroughTheUiServicesAsNamedJobs() {
        ScriptedUiServices ui;
        QTemporaryDir folder;
        ui.printToPdf(folder.filePath(u"printed.pdf"_s));
        DocumentEngine engine;
        const DocumentPrinter printer = documentPrinter(ui, nullptr);
        QVERIFY(printText(engine, u"first\tline\nsecond"_s, printer));
        ui.setPrintResult(false);
        QVERIFY(!printText(engine, u"again"_s, printer));
        QCOMPARE(ui.printJobs, (QStringList{u"Document1"_s, u"Document2"_s}));
        QCOMPARE(ui.printedTexts, (QStringList{u"first\tline\nsecond"_s, u"again"_s}));
        QVERIFY(QFileInfo(folder.filePath(u"printed.pdf"_s)).size() > 0);
        QCOMPARE(engine.documentCount(), 0);
    }

    // The editor's layout printed as it stands loses the right of its lines, and the PDF check of
    // the window tests sees that.
    void theNoWrapLayoutAsItStandsLosesTheRightOfItsLines() {
        const LongLines lines;
        QTemporaryDir folder;
        const QString pdf = folder.filePath(u"cut.pdf"_s);
        {
            QPdfWriter writer(pdf);
            noWrapDocument(lines.text)->print(&writer);
        }
        const std::optional<QString> text = test::pdfTextWithoutSpaces(pdf);
        QVERIFY(text && text->contains(u"r1c1"_s));
        QVERIFY(test::missingFromPdf(*text, lines.words).size() > 12);
    }

    void withoutAPrinterOkOrACancelledDialogWritesNothing() {
        const std::unique_ptr<QTextDocument> document = printableDocument(u"text"_s);
        QTemporaryDir folder;
        ScriptedUiServices ui;
        ui.setHasDefaultPrinter(false);
        QVERIFY(!printDocument(ui, nullptr, *document, u"job"_s));
        QCOMPARE(ui.messages, QStringList{u"There is no default printer currently selected"_s});
        QVERIFY(ui.saveDialogs.isEmpty());

        ui.answerOtherButton();
        ui.answerSaveFile(QString());
        QVERIFY(!printDocument(ui, nullptr, *document, u"job"_s));
        QVERIFY(ui.printJobs.isEmpty());
        QVERIFY(QDir(folder.path()).isEmpty());
    }
};

QTEST_MAIN(DocumentPrintingTest)
#include "document_printing_test.moc"
