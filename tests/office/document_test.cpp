// SPDX-License-Identifier: GPL-3.0-or-later
#include "office/document_engine.h"
#include "office/docx_writer.h"
#include "office/engine_command.h"
#include "office/word_commands.h"
#include "office/zip_archive.h"

#include "common/error.h"
#include "support/docx_inspect.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace corvanteller {
namespace {

using namespace Qt::StringLiterals;

QByteArray readBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

using test::docxParagraphs;

TEST(DocumentTest, ASavedDocumentReadsBackParagraphByParagraph) {
    QTemporaryDir folder;
    const QString path = folder.filePath(u"songs.docx"_s);
    DocumentEngine engine;
    saveText(engine,
             u"1\t/music/a.kar title\tD\r\n"
             u"Песня <&> \"ё\"\r"
             u"bell\x07 nul\x00 end\n"
             u"\n"
             u"😀 ok\uFFFF\n"_s,
             path);
    EXPECT_EQ(docxParagraphs(readBytes(path)),
              (QStringList{u"1\t/music/a.kar title\tD"_s, u"Песня <&> \"ё\""_s, u"bell nul end"_s,
                           QString(), u"😀 ok"_s, QString()}));
    EXPECT_EQ(engine.documentCount(), 0) << "closed after the save";
}

TEST(DocumentTest, InsertAfterAppendsToTheWholeDocument) {
    DocumentEngine engine;
    EXPECT_THROW(engine.insertAfter(u"x"_s), UserError);
    engine.addDocument();
    engine.insertAfter(u"a\n"_s);
    engine.insertAfter(u"b"_s);
    EXPECT_EQ(engine.activeText(), u"a\nb"_s);
}

TEST(DocumentTest, PrintJobsAreNamedAfterTheDocumentsOfTheEngine) {
    DocumentEngine engine;
    QStringList jobs;
    QStringList texts;
    const DocumentPrinter printer = [&](const QString& text, const QString& job) {
        texts.append(text);
        jobs.append(job);
        return true;
    };
    EXPECT_TRUE(printText(engine, u"first\ttext"_s, printer));
    EXPECT_TRUE(printText(engine, u"second"_s, printer));
    EXPECT_EQ(jobs, (QStringList{u"Document1"_s, u"Document2"_s}));
    EXPECT_EQ(texts, (QStringList{u"first\ttext"_s, u"second"_s}));
    EXPECT_EQ(engine.documentCount(), 0);
    EXPECT_TRUE(engine.displayAlerts()) << "switched back on after the close";

    DocumentEngine other;
    other.addDocument();
    EXPECT_EQ(other.activeName(), u"Document1"_s) << "counted per engine";
}

TEST(DocumentTest, ShowingHandsEachDocumentOverAndDropsIt) {
    QTemporaryDir folder;
    DocumentEngine engine;
    engine.setHandOverFolder(folder.filePath(u"handover"_s));
    QStringList opened;
    QStringList notShown = showText(engine, u"line 1\nline 2"_s, [&opened](const QString& path) {
        opened.append(path);
        return true;
    });
    EXPECT_TRUE(notShown.isEmpty());
    ASSERT_EQ(opened.size(), 1);
    EXPECT_TRUE(opened[0].startsWith(folder.filePath(u"handover/Document-"_s)));
    EXPECT_TRUE(opened[0].endsWith(u".docx"_s));
    EXPECT_EQ(docxParagraphs(readBytes(opened[0])), (QStringList{u"line 1"_s, u"line 2"_s}));
    EXPECT_EQ(engine.documentCount(), 0);

    notShown = showText(engine, u"again"_s, [](const QString&) { return false; });
    const QStringList files = QDir(folder.filePath(u"handover"_s)).entryList(QDir::Files);
    ASSERT_EQ(files.size(), 2) << "a hand-over never replaces an earlier file";
    ASSERT_EQ(notShown.size(), 1) << "the file no program showed";
    EXPECT_TRUE(notShown[0].startsWith(folder.filePath(u"handover/Document-"_s)));
}

TEST(DocumentTest, AFailedSaveLeavesNoDocumentAndNoFile) {
    QTemporaryDir folder;
    DocumentEngine engine;
    engine.addDocument(); // left behind by an earlier command
    try {
        saveText(engine, u"text"_s, folder.filePath(u"no/such/folder/a.docx"_s));
        FAIL() << "saved";
    } catch (const UserError& error) {
        EXPECT_EQ(error.text(), u"File not found"_s);
    }
    EXPECT_EQ(engine.documentCount(), 0);
    EXPECT_TRUE(
        QDir(folder.path()).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot).isEmpty());

    // Inside one command the steps see only what the command built.
    {
        const EngineCommand<DocumentEngine> command(engine);
        newDocumentWithText(engine, u"mine"_s);
        EXPECT_EQ(engine.documentCount(), 1);
        saveAndClose(engine, folder.filePath(u"mine.docx"_s));
    }
    EXPECT_EQ(docxParagraphs(readBytes(folder.filePath(u"mine.docx"_s))), QStringList{u"mine"_s});
}

} // namespace
} // namespace corvanteller
