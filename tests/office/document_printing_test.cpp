// SPDX-License-Identifier: GPL-3.0-or-later
#include "office/document_printing.h"

#include "office/word_commands.h"
#include "support_ui/scripted_ui_services.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QTextOption>
#include <QtTest>

using namespace corvanteller;
using namespace Qt::StringLiterals;

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
