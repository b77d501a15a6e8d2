// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/text_file.h"

#include "common/file_io.h"
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <tuple>

namespace corvanteller {
namespace {

using namespace Qt::StringLiterals;

TEST(TextFile, DecodesPlainTextByItsMarks) {
    struct Case {
        const char* name;
        QByteArray bytes;
        QString text;
    };
    const QString russian = u"Привет\nмир\nend"_s;
    const Case cases[] = {
        {"utf-8", u"Привет\r\nмир\rend"_s.toUtf8(), russian},
        {"utf-8 with a mark", "\xEF\xBB\xBF" + u"Привет\nмир\nend"_s.toUtf8(), russian},
        {"cp1251", "\xCF\xF0\xE8\xE2\xE5\xF2\r\n\xEC\xE8\xF0\nend", russian},
        {"utf-16le",
         QByteArray("\xFF\xFE", 2) +
             QByteArray(reinterpret_cast<const char*>(russian.utf16()), russian.size() * 2),
         russian},
        {"utf-16be", QByteArray("\xFE\xFF\x00\x41\x00\x0D\x00\x0A\x04\x10", 10), u"A\nА"_s},
        {"empty", QByteArray(), QString()},
    };
    for (const Case& c : cases) {
        const TextFileContent content = decodeTextFile(c.bytes);
        EXPECT_FALSE(content.rich) << c.name;
        EXPECT_EQ(content.plainText, c.text) << c.name;
    }
    const TextFileContent rich = decodeTextFile("\xEF\xBB\xBF{\\rtf1 \\b Bold}");
    EXPECT_TRUE(rich.rich);
    EXPECT_EQ(rich.richText.plainText(), u"Bold"_s);
    EXPECT_FALSE(decodeTextFile(" {\\rtf1 x}").rich);
}

TEST(TextFile, RefusesMissingAndTooLargeFiles) {
    QTemporaryDir tree;
    try {
        readTextFile(tree.filePath(u"missing.txt"_s));
        ADD_FAILURE() << "a missing file was read";
    } catch (const IoError& error) {
        EXPECT_EQ(error.text(), u"File not found"_s);
    }

    const QString large = tree.filePath(u"large.txt"_s);
    {
        QFile file(large);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_TRUE(file.resize(maxShownTextLength + 1)); // sparse: no disk is used
    }
    try {
        readTextFile(large);
        ADD_FAILURE() << "a file over the limit was read";
    } catch (const UserError& error) {
        EXPECT_EQ(error.text(), u"The file is too large to be shown."_s);
    }
}

TEST(TextFile, SavedTextOpensAgain) {
    QTemporaryDir tree;
    const QString path = tree.filePath(u"saved.txt"_s);
    RichText text;
    RichRun run;
    run.text = u"Строка"_s;
    text.paragraphs.front().runs = {run};
    writeRtfFile(path, text);
    const TextFileContent content = readTextFile(path);
    ASSERT_TRUE(content.rich);
    EXPECT_EQ(content.richText, text);
}

// The limit is on the text a file holds: Rich Text Format writes a Cyrillic letter in four
// bytes, so a text the view may show is saved as a file larger than the text.
TEST(TextFile, ASavedTextWithinTheLimitOpensWhateverItsFileSize) {
    QTemporaryDir tree;
    const QString path = tree.filePath(u"large.txt"_s);
    RichText text;
    RichRun run;
    run.text = QString(9'000, u'Ж');
    text.paragraphs.resize(1'000);
    for (RichParagraph& paragraph : text.paragraphs) {
        paragraph.runs = {run};
    }
    writeRtfFile(path, text);
    ASSERT_GT(QFileInfo(path).size(), maxShownTextLength);
    const TextFileContent content = readTextFile(path);
    ASSERT_TRUE(content.rich);
    EXPECT_EQ(shownTextLength(content), 1'000 * 9'000 + 999);
    EXPECT_EQ(content.richText, text);
}

// The view's limits at their edges, in plain text and in Rich Text Format: paragraphs,
// characters, the longest paragraph and the characters of long paragraphs.
TEST(TextFile, TheViewTakesTextsWithinItsLimits) {
    const std::tuple<qsizetype, qsizetype, bool> cases[] = {
        // paragraphs, their length, fits
        {maxShownParagraphs, 5, true}, {maxShownParagraphs + 1, 5, false},
        {1'600, 9'999, true},          {1'601, 9'999, false}, // 16,000,000 characters
        {1, maxParagraphLength, true}, {1, maxParagraphLength + 1, false},
        {30, 100'000, true},           {31, 100'000, false},
    };
    for (const auto& [paragraphs, length, fits] : cases) {
        const QByteArrayList lines(paragraphs, QByteArray(length, 'a'));
        EXPECT_EQ(fitsTextView(decodeTextFile(lines.join('\n'))), fits) << paragraphs;
        EXPECT_EQ(fitsTextView(decodeTextFile(QByteArray("{\\rtf1 " + lines.join("\\par ") + "}"))),
                  fits);
    }
}

} // namespace
} // namespace corvanteller
