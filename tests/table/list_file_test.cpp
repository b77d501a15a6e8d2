#include "table/list_file.h"

#include "common/error.h"
#include "table/row_store.h"
#include "table/song_table_model.h"

#include "support/temp_tree.h"

#include <QDir>
#include <QFile>

#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>

namespace corvanteller {
namespace {

using test::TempTree;
using namespace Qt::StringLiterals;
using Outcome = ListOpenResult::Outcome;

QByteArray readBytes(const QString& path) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    return file.readAll();
}

void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    ASSERT_EQ(file.write(bytes), bytes.size());
}

// Three songs; the second is checked and has a Russian file name.
void fillThreeSongs(SongTableModel& model) {
    RowStore store;
    const QStringList rows[] = {
        {u"a.kar"_s, u"/music/"_s, u"Song A"_s, u"D1"_s, u"E1"_s, u"Maker"_s},
        {u"Песня.kar"_s, u"/music/ru/"_s, u"Song B"_s, QString(), QString(), QString()},
        {u"c.kar"_s, u"/music/"_s, QString(), QString(), u"E3"_s, u"(c)"_s},
    };
    for (int row = 1; row <= 3; ++row) {
        for (int column = 1; column <= 6; ++column) {
            store.setText(column, row, rows[row - 1][column - 1]);
        }
    }
    store.setRowCount(3);
    model.rebuildFrom(store);
    model.toggleCheck(2);
}

const QByteArray threeSongBytes = "Corvanteller file..\r\n"
                                  "4\r\n"
                                  "7\r\n"
                                  "1\r\na.kar\r\n/music/\r\nSong A\r\nD1\r\nE1\r\nMaker\r\n\r\n"
                                  "V 2\r\n\xCF\xE5\xF1\xED\xFF.kar\r\n/music/ru/\r\nSong B\r\n"
                                  "\r\n\r\n\r\n\r\n"
                                  "3\r\nc.kar\r\n/music/\r\n\r\n\r\nE3\r\n(c)\r\n\r\n"
                                  "Russia\r\n";

void expectSameCells(const SongTableModel& actual, const SongTableModel& expected) {
    ASSERT_EQ(actual.songCount(), expected.songCount());
    for (int row = 1; row <= expected.songCount(); ++row) {
        for (int column = 0; column < 7; ++column) {
            EXPECT_EQ(actual.cell(row, column), expected.cell(row, column)) << row << ',' << column;
        }
    }
}

// A table reset for a list: numbered empty rows, header with "Made by...".
void expectResetAndEmpty(const SongTableModel& model, int songs) {
    ASSERT_EQ(model.songCount(), songs);
    EXPECT_EQ(model.headerText(6), u"Made by..."_s);
    for (int row = 1; row <= songs; ++row) {
        EXPECT_EQ(model.cell(row, 0), QString::number(row));
        for (int column = 1; column < 7; ++column) {
            EXPECT_EQ(model.cell(row, column), QString());
        }
    }
}

TEST(ListFile, ThreeSongsByteForByteAndBack) {
    TempTree folder;
    const QString path = folder.root() + u"/songs.sgl"_s;
    SongTableModel model;
    fillThreeSongs(model);
    writeListFile(path, model);
    const QByteArray bytes = readBytes(path);
    EXPECT_EQ(bytes, threeSongBytes);
    EXPECT_EQ(bytes.count("\r\n"), 28);

    SongTableModel opened;
    const ListOpenResult result = openListFile(path, opened, 10);
    EXPECT_TRUE(result.opened());
    EXPECT_EQ(result.message, QString());
    expectSameCells(opened, model);
    EXPECT_EQ(opened.cell(2, 0), u"V 2"_s);
    EXPECT_TRUE(opened.isRowChecked(2));
    EXPECT_EQ(opened.headerText(6), u"Made by..."_s);

    // The main window's open copies the rows into its store; the count waits for the refresh.
    RowStore mainStore;
    mainStore.setRowCount(10);
    copyDataRowsInto(opened, mainStore);
    EXPECT_EQ(mainStore.text(1, 2), u"Песня.kar"_s);
    EXPECT_EQ(mainStore.text(6, 3), u"(c)"_s);
    EXPECT_EQ(mainStore.rowCount(), 10);

    // A rebuild brings "Made..." back and clears the mark.
    opened.rebuildFrom(mainStore);
    EXPECT_EQ(opened.headerText(6), u"Made..."_s);
    EXPECT_EQ(opened.cell(2, 0), u"2"_s);
}

TEST(ListFile, ForeignOrDamagedFilesAreRefused) {
    struct Case {
        const char* name;
        QByteArray bytes;
        Outcome outcome;
        QString message;
    };
    const QString notList = u"This file is not file of Corvanteller.\n\rOr the file was damaged."_s;
    const QString tooMany = u"The list holds more rows than the table can take."_s;
    const Case cases[] = {
        {"one full stop", "Corvanteller file.\r\n4\r\n7\r\n", Outcome::NotAListFile, notList},
        {"other case", "corvanteller file..\r\n1\r\n7\r\n", Outcome::NotAListFile, notList},
        {"trailing space", "Corvanteller file.. \r\n1\r\n7\r\n", Outcome::NotAListFile, notList},
        {"an empty file", "", Outcome::NotAListFile, notList},
        {"a long binary first line", QByteArray(100000, 'C'), Outcome::NotAListFile, notList},
        {"no rows at all", "Corvanteller file..\r\n0\r\n7\r\n", Outcome::NotAListFile, notList},
        {"a negative row count", "Corvanteller file..\r\n-5\r\n7\r\n", Outcome::NotAListFile,
         notList},
        {"a row count that is no number", "Corvanteller file..\r\n12x\r\n7\r\n",
         Outcome::ConversionError, u"'12x' is not a valid integer value"_s},
        {"an empty row count", "Corvanteller file..\r\n", Outcome::ConversionError,
         u"'' is not a valid integer value"_s},
        {"a row count beyond int", "Corvanteller file..\r\n99999999999\r\n7\r\n",
         Outcome::ConversionError, u"'99999999999' is not a valid integer value"_s},
        {"one row more than the table takes", "Corvanteller file..\r\n45004\r\n7\r\n",
         Outcome::TooManyRows, tooMany},
        {"a huge row count", "Corvanteller file..\r\n2000000000\r\n7\r\n", Outcome::TooManyRows,
         tooMany},
    };
    TempTree folder;
    const QString path = folder.root() + u"/bad.sgl"_s;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        writeBytes(path, c.bytes);
        SongTableModel model;
        fillThreeSongs(model);
        const ListOpenResult result = openListFile(path, model, 5);
        EXPECT_EQ(result.outcome, c.outcome);
        EXPECT_EQ(result.message, c.message);
        expectResetAndEmpty(model, 5);
    }
}

TEST(ListFile, BadColumnCounts) {
    TempTree folder;
    const QString path = folder.root() + u"/columns.sgl"_s;

    // The row count is taken before the column count fails to convert.
    writeBytes(path, "Corvanteller file..\r\n3\r\nseven\r\n");
    SongTableModel model;
    ListOpenResult result = openListFile(path, model, 5);
    EXPECT_EQ(result.outcome, Outcome::ConversionError);
    EXPECT_EQ(result.message, u"'seven' is not a valid integer value"_s);
    expectResetAndEmpty(model, 2);

    for (const QByteArray& count : {QByteArray("0"), QByteArray("-7")}) {
        writeBytes(path, "Corvanteller file..\r\n3\r\n" + count + "\r\n1\r\n");
        result = openListFile(path, model, 5);
        EXPECT_EQ(result.outcome, Outcome::NotAListFile) << count.constData();
        expectResetAndEmpty(model, 5);
    }

    // Fewer columns leave the others empty; more columns are read and dropped.
    writeBytes(path, "Corvanteller file..\r\n3\r\n3\r\n"
                     "V 1\r\na\r\nb\r\n\r\n"
                     "2\r\nc\r\nd\r\n\r\nRussia\r\n");
    result = openListFile(path, model, 5);
    EXPECT_TRUE(result.opened());
    ASSERT_EQ(model.songCount(), 2);
    EXPECT_EQ(model.cell(1, 0), u"V 1"_s);
    EXPECT_EQ(model.cell(2, 2), u"d"_s);
    EXPECT_EQ(model.cell(2, 3), QString());

    writeBytes(path, "Corvanteller file..\r\n3\r\n9\r\n"
                     "1\r\na\r\nb\r\nc\r\nd\r\ne\r\nf\r\nx\r\ny\r\n\r\n"
                     "2\r\ng\r\nh\r\ni\r\nj\r\nk\r\nl\r\nx\r\ny\r\n\r\nRussia\r\n");
    result = openListFile(path, model, 5);
    EXPECT_TRUE(result.opened());
    EXPECT_EQ(model.cell(1, 6), u"f"_s);
    EXPECT_EQ(model.cell(2, 1), u"g"_s);
    EXPECT_EQ(model.cell(2, 6), u"l"_s);

    // A huge column count reads only as far as the file goes.
    writeBytes(path, "Corvanteller file..\r\n45003\r\n2000000000\r\n1\r\na\r\n");
    result = openListFile(path, model, 5);
    EXPECT_TRUE(result.opened());
    ASSERT_EQ(model.songCount(), 45002);
    EXPECT_EQ(model.cell(1, 1), u"a"_s);
    EXPECT_EQ(model.cell(2, 0), QString());
}

TEST(ListFile, ShortFileReadsAsEmptyTexts) {
    TempTree folder;
    const QString path = folder.root() + u"/short.sgl"_s;
    writeBytes(path, "Corvanteller file..\r\n4\r\n7\r\n"
                     "1\r\na\r\nb\r\nc\r\nd\r\ne\r\nf\r\n\r\n"
                     "2\r\ng\r\nh");
    SongTableModel model;
    const ListOpenResult result = openListFile(path, model, 1);
    EXPECT_TRUE(result.opened());
    ASSERT_EQ(model.songCount(), 3);
    EXPECT_EQ(model.cell(1, 6), u"f"_s);
    EXPECT_EQ(model.cell(2, 0), u"2"_s);
    EXPECT_EQ(model.cell(2, 2), u"h"_s);
    EXPECT_EQ(model.cell(2, 3), QString());
    EXPECT_EQ(model.cell(3, 0), QString()); // the missing "#" line reads empty too
}

TEST(ListFile, LineEndsOfOtherSystemsAreRead) {
    TempTree folder;
    const QString path = folder.root() + u"/lf.sgl"_s;
    writeBytes(path, "Corvanteller file..\n2\r7\r\n1\na\rb\r\nc\nd\ne\nf\n\nRussia\n");
    SongTableModel model;
    ASSERT_TRUE(openListFile(path, model, 0).opened());
    ASSERT_EQ(model.songCount(), 1);
    EXPECT_EQ(model.cell(1, 1), u"a"_s);
    EXPECT_EQ(model.cell(1, 2), u"b"_s);
    EXPECT_EQ(model.cell(1, 6), u"f"_s);
}

TEST(ListFile, LongLinesAndLineEndsAcrossReadBlocks) {
    // The file is read in blocks of 256 KiB: one CR LF is split between two blocks and one
    // cell is longer than a block.
    constexpr qsizetype block = 1 << 18;
    QByteArray bytes = "Corvanteller file..\r\n2\r\n7\r\n1\r\n";
    const QByteArray first(block - 1 - bytes.size(), 'a');
    bytes += first + "\r\n";
    ASSERT_EQ(bytes.indexOf('\r', bytes.size() - 3), block - 1);
    const QByteArray second(block + 1000, 'b');
    bytes += second + "\r\nc\r\nd\r\ne\r\nf\r\n\r\nRussia\r\n";

    TempTree folder;
    const QString path = folder.root() + u"/blocks.sgl"_s;
    writeBytes(path, bytes);
    SongTableModel model;
    ASSERT_TRUE(openListFile(path, model, 0).opened());
    ASSERT_EQ(model.songCount(), 1);
    EXPECT_EQ(model.cell(1, 1), QString::fromLatin1(first));
    EXPECT_EQ(model.cell(1, 2), QString::fromLatin1(second));
    EXPECT_EQ(model.cell(1, 3), u"c"_s);
    EXPECT_EQ(model.cell(1, 6), u"f"_s);
}

TEST(ListFile, LineBreaksInCellsAreWrittenAsSpaces) {
    TempTree folder;
    const QString path = folder.root() + u"/breaks.sgl"_s;
    SongTableModel model;
    model.resetForList(1);
    model.setCell(1, 3, u"one\r\ntwo\nthree\rfour"_s);
    model.setCell(1, 6, u"\n"_s);
    writeListFile(path, model);
    const QByteArray bytes = readBytes(path);
    EXPECT_EQ(bytes.count("\r\n"), 3 + 8 + 1);
    EXPECT_EQ(bytes.count('\n'), 12);
    EXPECT_EQ(bytes.count('\r'), 12);

    SongTableModel opened;
    ASSERT_TRUE(openListFile(path, opened, 0).opened());
    EXPECT_EQ(opened.cell(1, 3), u"one two three four"_s);
    EXPECT_EQ(opened.cell(1, 6), u" "_s);
    EXPECT_EQ(model.cell(1, 3), u"one\r\ntwo\nthree\rfour"_s); // the table itself is unchanged
}

TEST(ListFile, TextsOutsideCp1251AreKeptInUtf8) {
    TempTree folder;
    const QString path = folder.root() + u"/utf8.sgl"_s;
    SongTableModel model;
    fillThreeSongs(model);
    model.setCell(3, 3, u"漢字 ♪ Ελληνικά"_s);
    writeListFile(path, model);
    const QByteArray bytes = readBytes(path);
    EXPECT_TRUE(bytes.startsWith("\xEF\xBB\xBF"
                                 "Corvanteller file..\r\n4\r\n7\r\n"));
    EXPECT_TRUE(bytes.contains(QByteArray("V 2\r\n" + u"Песня.kar"_s.toUtf8() + "\r\n")));
    EXPECT_TRUE(bytes.endsWith("\r\nRussia\r\n"));

    SongTableModel opened;
    ASSERT_TRUE(openListFile(path, opened, 0).opened());
    expectSameCells(opened, model);

    // A table that cp1251 can hold again is written without the mark.
    model.setCell(3, 3, QString());
    writeListFile(path, model);
    EXPECT_EQ(readBytes(path), threeSongBytes);
}

TEST(ListFile, FailedSaveKeepsTheOldFile) {
    TempTree folder;
    const QString old = folder.root() + u"/old.sgl"_s;
    SongTableModel model;
    fillThreeSongs(model);
    writeListFile(old, model);

    // A folder that is a regular file.
    try {
        writeListFile(old + u"/new.sgl"_s, model);
        ADD_FAILURE() << "saved below a regular file";
    } catch (const UserError& error) {
        EXPECT_EQ(error.text(), u"Invalid filename"_s);
    }

    // A write that fails half-way (the file-size limit stands in for a full disk): the old
    // list stays as it was and no half-written file is left behind.
    SongTableModel big;
    big.resetForList(2000);
    for (int row = 1; row <= 2000; ++row) {
        big.setCell(row, 3, QString(100, u'x'));
    }
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit = saved;
    limit.rlim_cur = 4096;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limit), 0);
    QString failure;
    try {
        writeListFile(old, big);
    } catch (const UserError& error) {
        failure = error.text();
    }
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_EQ(failure, u"I/O error 27"_s); // EFBIG
    EXPECT_EQ(readBytes(old), threeSongBytes);
    EXPECT_EQ(QDir(folder.root()).entryList(QDir::Files | QDir::Hidden), QStringList{u"old.sgl"_s});
}

TEST(ListFile, MissingFileIsAnError) {
    TempTree folder;
    SongTableModel model;
    fillThreeSongs(model);
    try {
        openListFile(folder.root() + u"/missing.sgl"_s, model, 2);
        ADD_FAILURE() << "opened a missing file";
    } catch (const UserError& error) {
        EXPECT_EQ(error.text(), u"File not found"_s);
    }
    expectResetAndEmpty(model, 2);
}

} // namespace
} // namespace corvanteller
