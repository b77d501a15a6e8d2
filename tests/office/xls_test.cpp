// SPDX-License-Identifier: GPL-3.0-or-later
#include "office/excel_import.h"
#include "office/workbook.h"
#include "office/workbook_engine.h"
#include "office/workbook_file.h"
#include "office/workbook_reading.h"
#include "office/xls_output.h"
#include "office/xls_reader.h"

#include "common/error.h"
#include "support/xls_builder.h"
#include "table/table_session.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

namespace corvanteller {
namespace {

using namespace Qt::StringLiterals;

// Every test here reads through the helper built with the program, or through a fake one.
class XlsTest : public ::testing::Test {
protected:
    void SetUp() override { setXlsReaderPath(QStringLiteral(CORVANTELLER_XLS_READER_PATH)); }
    void TearDown() override {
        setXlsReaderPath(QString());
        setXlsReaderTimeLimitMs(30'000);
    }

    QString write(const QString& name, const QByteArray& bytes) {
        const QString path = folder.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        file.close();
        file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        return path;
    }

    QString readError(const QString& path) {
        try {
            readFirstWorksheet(path);
        } catch (const UserError& error) {
            return error.text();
        }
        return u"(read)"_s;
    }

    QTemporaryDir folder;
};

TEST_F(XlsTest, TheHelperReadsTheFirstWorksheet) {
    const QString path = write(u"songs.xls"_s, test::XlsBuilder()
                                                   .text(1, 1, u"#"_s)
                                                   .text(1, 2, u"Name of file"_s)
                                                   .number(2, 1, 1)
                                                   .text(2, 2, u"Песня.kar"_s)
                                                   .number(3, 1, 12.5)
                                                   .text(3, 2, u"Песня.kar"_s)
                                                   .text(3, 7, u"G"_s)
                                                   .text(2, 9, u"beyond G"_s)
                                                   .bytes());
    EXPECT_EQ(workbookFileKind(path), WorkbookFileKind::Xls);
    const std::unique_ptr<Worksheet> sheet = readFirstWorksheet(path);
    EXPECT_EQ(sheet->value(1, 1).text(), u"#"_s);
    EXPECT_EQ(sheet->value(2, 1).text(), u"1"_s);
    EXPECT_EQ(sheet->value(2, 2).text(), u"Песня.kar"_s);
    EXPECT_EQ(sheet->value(3, 1).text(), u"12.5"_s);
    EXPECT_EQ(sheet->value(3, 7).text(), u"G"_s);
    EXPECT_FALSE(sheet->hasCell(2, 9)) << "only columns A to G are kept";
    EXPECT_EQ(sheet->lastUsedCell(), (CellPosition{3, 9}));
}

TEST_F(XlsTest, TheLastUsedCellComesFromTheValuesNotTheDimensions) {
    // Another program's sheet of 45,008 rows reported 46,008.
    const QString path = write(
        u"long.xls"_s,
        test::XlsBuilder().text(1, 1, u"a"_s).text(40, 2, u"b"_s).dimensions(1000, 30).bytes());
    EXPECT_EQ(readFirstWorksheet(path)->lastUsedCell(), (CellPosition{40, 2}));
}

TEST_F(XlsTest, DamagedAndProtectedWorkbooksAreRefused) {
    const QString cannotRead = cannotReadWorkbookMessage();
    const QString emptyString = write(
        u"empty.xls"_s, test::XlsBuilder().text(1, 1, u"a"_s).withEmptySharedString().bytes());
    const QString password =
        write(u"password.xls"_s, test::XlsBuilder().text(1, 1, u"a"_s).withPassword().bytes());
    const QString encrypted =
        write(u"encrypted.xlsx"_s,
              test::XlsBuilder::compoundFile(u"EncryptedPackage"_s, QByteArray(5000, '\x5A')));
    QByteArray cut = test::XlsBuilder().text(1, 1, u"a"_s).bytes();
    cut.truncate(4096 + 100);
    const QString truncated = write(u"cut.xls"_s, cut);
    EXPECT_EQ(readError(emptyString), u"(read)"_s) << "an unused empty string does no harm";
    EXPECT_EQ(readError(password), passwordProtectedMessage());
    EXPECT_EQ(readError(encrypted), passwordProtectedMessage());
    EXPECT_EQ(readError(truncated), cannotRead);

    WorkbookEngine engine; // the table stays as it was
    TableSession table;
    ImportWidths widths;
    widths.mode = ColumnWidthMode::Fixed;
    const auto importInto = [&](const QString& path) {
        importFromExcel(engine, path, ImportingWindow::Main, table, widths, QLocale::c());
    };
    test::XlsBuilder songs;
    songs.text(1, 1, u"#"_s).text(1, 2, u"Name"_s).text(2, 2, u"a.kar"_s);
    importInto(write(u"songs.xls"_s, songs.bytes()));
    for (const QString& path : {password, encrypted}) {
        EXPECT_THROW(importInto(path), UserError);
        EXPECT_EQ(table.model().songCount(), 1);
        EXPECT_EQ(table.model().cell(1, 1), u"a.kar"_s);
    }
}

// "DATE:2024-03-15" and "DATETIME:2023-12-31T23:05:09" stand for dates in the locale's formats;
// "\n" for a line break.
QString expectedCell(const QString& field, const QLocale& locale) {
    if (field.startsWith(u"DATE:"_s)) {
        return locale.toString(QDate::fromString(field.mid(5), Qt::ISODate), QLocale::ShortFormat);
    }
    if (field.startsWith(u"DATETIME:"_s)) {
        const QDateTime moment = QDateTime::fromString(field.mid(9), Qt::ISODate);
        return locale.toString(moment.date(), QLocale::ShortFormat) + u' ' +
               moment.time().toString(u"HH:mm:ss"_s);
    }
    return QString(field).replace(u"\\n"_s, u"\n"_s);
}

TEST_F(XlsTest, WorkbooksOfASpreadsheetProgramReadAlikeInBothFormats) {
    const QLocale russian(QLocale::Russian, QLocale::Russia);
    for (const QString& name : {u"songs-1"_s, u"songs-2"_s}) {
        QFile expectedFile(QStringLiteral(CORVANTELLER_WORKBOOKS) + u'/' + name +
                           u".expected.tsv"_s);
        ASSERT_TRUE(expectedFile.open(QIODevice::ReadOnly));
        const QStringList lines = QString::fromUtf8(expectedFile.readAll()).split(u'\n');
        for (const QString& extension : {u".xls"_s, u".xlsx"_s}) {
            const QString file = name + extension;
            WorkbookEngine engine;
            const ImportedSheet sheet = readSheetForImport(
                engine, QStringLiteral(CORVANTELLER_WORKBOOKS) + u'/' + file, russian);
            ASSERT_EQ(sheet.lastRow, 41) << file.toStdString();
            ASSERT_EQ(sheet.lastColumn, 7) << file.toStdString();
            for (int row = 1; row <= sheet.lastRow; ++row) {
                const QStringList fields = lines[row - 1].split(u'\t');
                for (int column = 1; column <= 7; ++column) {
                    EXPECT_EQ(sheet.text(row, column), expectedCell(fields[column - 1], russian))
                        << file.toStdString() << ' ' << row << ',' << column;
                }
            }
        }
    }
}

TEST_F(XlsTest, AHelperThatFailsLeavesTheMessage) {
    const QString path = write(u"songs.xls"_s, test::XlsBuilder().text(1, 1, u"a"_s).bytes());
    const std::pair<QByteArray, QString> helpers[] = {
        {"#!/bin/sh\nkill -9 $$\n", cannotReadWorkbookMessage()},
        {"#!/bin/sh\nkill -SEGV $$\n", cannotReadWorkbookMessage()},
        {"#!/bin/sh\nprintf 'corvanteller-xls-reader 1\\nsize 1 1\\nend\\n'\nexit 3\n",
         cannotReadWorkbookMessage()},
        {"#!/bin/sh\nprintf 'corvanteller-xls-reader 1\\nsize 1 1\\ncell 1 1 t 9\\nabc\\n'\n",
         cannotReadWorkbookMessage()},
        {"#!/bin/sh\nexec sleep 20\n", cannotReadWorkbookMessage()},
    };
    setXlsReaderTimeLimitMs(1'000);
    for (const auto& [script, message] : helpers) {
        setXlsReaderPath(write(u"fake-reader"_s, script));
        EXPECT_EQ(readError(path), message) << script.toStdString();
    }
    setXlsReaderPath(folder.filePath(u"no-such-reader"_s));
    EXPECT_EQ(readError(path), xlsReaderMissingMessage(folder.filePath(u"no-such-reader"_s)));
}

// Workbooks that Excel opens without asking read; those of older versions and other passwords
// say why not.
TEST_F(XlsTest, EncryptedChartedAndOldWorkbooksAreReadOrTold) {
    using Encryption = test::XlsBuilder::Encryption;
    const auto song = [] { return test::XlsBuilder().text(1, 1, u"Песня.kar"_s).number(1, 2, 7); };
    const QString velvet = u"VelvetSweatshop"_s;
    const QByteArray plainStream = QByteArray("\x09\x04\x06\x00\x00\x00\x10\x00", 8);
    const std::pair<QByteArray, QString> cases[] = {
        {song().encrypted(Encryption::Rc4, velvet).bytes(), u"Песня.kar"_s},
        {song().encrypted(Encryption::CryptoApi, velvet).bytes(), u"Песня.kar"_s},
        {song().encrypted(Encryption::Rc4, u"secret"_s).bytes(), passwordProtectedMessage()},
        {song().encrypted(Encryption::CryptoApi, u"secret"_s).bytes(), passwordProtectedMessage()},
        {song().withChartSheetFirst().bytes(), u"Песня.kar"_s},
        {test::XlsBuilder::compoundFile(u"Book"_s, song().workbookStream()),
         oldFormatMessage(u"5.0/95"_s)},
        {plainStream + QByteArray(600, '\0'), oldFormatMessage(u"4.0"_s)},
        {QByteArray("\x09\x02\x06\x00\x00\x00\x10\x00", 8), oldFormatMessage(u"3.0"_s)},
        {QByteArray("\x09\x00\x04\x00\x02\x00\x10\x00", 8), oldFormatMessage(u"2.1"_s)},
    };
    for (const auto& [bytes, outcome] : cases) {
        const QString path = write(u"book.xls"_s, bytes);
        try {
            EXPECT_EQ(readFirstWorksheet(path)->value(1, 1).text(), outcome);
        } catch (const UserError& error) {
            EXPECT_EQ(error.text(), outcome);
        }
    }
}

// With no descriptor left for its pipes the helper cannot start, though it is there.
TEST_F(XlsTest, AHelperWithoutDescriptorsSaysSo) {
#if defined(__SANITIZE_ADDRESS__)
    // The sanitizer build also checks object types, by writing the object into a pipe: with no
    // descriptor left that check fails before the helper is started.
    GTEST_SKIP() << "the sanitizers need descriptors of their own";
#endif
    const QString path = write(u"songs.xls"_s, test::XlsBuilder().text(1, 1, u"a"_s).bytes());
    const int lowestFree = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
    ASSERT_GE(lowestFree, 0);
    ::close(lowestFree);
    rlimit old{};
    ASSERT_EQ(getrlimit(RLIMIT_NOFILE, &old), 0);
    const rlimit tight{static_cast<rlim_t>(lowestFree), old.rlim_max};
    ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &tight), 0);
    QString message;
    try {
        readXlsFirstWorksheet(path);
    } catch (const UserError& error) {
        message = error.text();
    }
    setrlimit(RLIMIT_NOFILE, &old);
    EXPECT_EQ(message, xlsReaderStartFailedMessage(u"Too many open files"_s));
}

TEST(XlsOutputTest, ReadsWellFormedOutputOnly) {
    const QByteArray good = "corvanteller-xls-reader 1\nsize 50000 300\n"
                            "cell 1 1 t 1\n#\n"
                            "cell 2 7 t 6\n\xD0\x9F\xD0\xB5\xD1\x81\n"
                            "cell 3 1 d 5\n45366\ncell 3 2 b 1\n1\ncell 3 3 e 7\n#DIV/0!\n"
                            "cell 45006 2 n 4\n12.5\n"
                            "end\n";
    const std::unique_ptr<Worksheet> sheet = parseXlsOutput(good);
    ASSERT_TRUE(sheet);
    EXPECT_EQ(sheet->value(2, 7).text(), u"Пес"_s);
    EXPECT_EQ(sheet->value(45006, 2).text(), u"12.5"_s);
    EXPECT_EQ(sheet->value(3, 1), CellValue::ofDate(45366));
    EXPECT_EQ(sheet->value(3, 2), CellValue::ofBoolean(true));
    EXPECT_EQ(sheet->value(3, 3), CellValue::ofError(u"#DIV/0!"_s));
    EXPECT_EQ(sheet->lastUsedCell(), (CellPosition{50000, 300}));
    ASSERT_TRUE(parseXlsOutput("corvanteller-xls-reader 1\nsize 0 0\nend\n"));

    const QByteArray bad[] = {
        "",
        "corvanteller-xls-reader 2\nsize 0 0\nend\n",
        "corvanteller-xls-reader 1\nsize 0 0\nend\nmore",
        "corvanteller-xls-reader 1\nsize 0 0\n",
        "corvanteller-xls-reader 1\nsize 1 0\nend\n",
        "corvanteller-xls-reader 1\nsize 2 2\ncell 3 1 t 1\nx\nend\n",
        "corvanteller-xls-reader 1\nsize 9 9\ncell 1 8 t 1\nx\nend\n",
        "corvanteller-xls-reader 1\nsize 50000 9\ncell 45007 1 t 1\nx\nend\n",
        "corvanteller-xls-reader 1\nsize 9 9\ncell 01 1 t 1\nx\nend\n",
        "corvanteller-xls-reader 1\nsize 9 9\ncell 1 1 t 5\nx\nend\n",
        "corvanteller-xls-reader 1\nsize 9 9\ncell 1 1 n 2\n1x\nend\n",
        "corvanteller-xls-reader 1\nsize 9 9\ncell 1 1 n 3\ninf\nend\n",
        "corvanteller-xls-reader 1\nsize 9 9\ncell 1 1 x 1\n1\nend\n",
        "corvanteller-xls-reader 1\nsize 9 9\ncell 1 1 b 4\nTRUE\nend\n",
        "corvanteller-xls-reader 1\nsize 2000000 9\nend\n",
        "corvanteller-xls-reader 1\nsize 9 9\ncell 1 1 t 999999999\nend\n",
    };
    for (const QByteArray& output : bad) {
        EXPECT_FALSE(parseXlsOutput(output)) << output.toStdString();
    }
}

} // namespace
} // namespace corvanteller
