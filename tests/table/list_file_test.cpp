// SPDX-License-Identifier: GPL-3.0-or-later
#include "table/list_file.h"

#include "common/error.h"
#include "kar/row_store.h"
#include "table/song_table_model.h"

#include "support/file_faults.h"
#include "support/temp_tree.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>
#include <sys/stat.h>

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

// Three songs; the second is checked and has a Russian file name.
void fillThreeSongs(SongTableModel& model) {
    const QStringList rows[] = {
        {u"a.kar"_s, u"/music/"_s, u"Song A"_s, u"D1"_s, u"E1"_s, u"Maker"_s},
        {u"Песня.kar"_s, u"/music/ru/"_s, u"Song B"_s, QString(), QString(), QString()},
        {u"c.kar"_s, u"/music/"_s, QString(), QString(), u"E3"_s, u"(c)"_s},
    };
    model.resetForList(3);
    for (int row = 1; row <= 3; ++row) {
        for (int column = 1; column <= 6; ++column) {
            model.setCell(row, column, rows[row - 1][column - 1]);
        }
    }
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

// Columns 0 to 6 of every data row, row by row.
QStringList allCells(const SongTableModel& model) {
    QStringList cells;
    for (int row = 1; row <= model.songCount(); ++row) {
        for (int column = 0; column < 7; ++column) {
            cells << model.cell(row, column);
        }
    }
    return cells;
}

// A table reset for a list: numbered empty rows.
QStringList resetCells(int songs) {
    SongTableModel model;
    model.resetForList(songs);
    return allCells(model);
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
    EXPECT_TRUE(openListFile(path, opened, 10).opened());
    EXPECT_EQ(allCells(opened), allCells(model)); // "V 2" included
    EXPECT_EQ(opened.headerText(6), u"Made by..."_s);

    // The main window's open copies the rows into its store; the count waits for the refresh.
    RowStore mainStore;
    copyDataRowsInto(opened, mainStore);
    EXPECT_EQ(mainStore.text(1, 2), u"Песня.kar"_s);
    EXPECT_EQ(mainStore.text(6, 3), u"(c)"_s);
    EXPECT_EQ(mainStore.rowCount(), 0);
    // Each row stands for the file its "Way" and "Name of file" name.
    EXPECT_EQ(mainStore.file(2), (RowFile{opened.cell(2, 2), u"Песня.kar"_s}));
}

TEST(ListFile, ForeignDamagedOrMissingFilesAreRefused) {
    struct Case {
        const char* name;
        QByteArray bytes;
        Outcome outcome;
        QString message;
        int songsAfter; // the table as reset; a failed column count keeps the row count read
    };
    const QString notList = u"This file is not file of Corvanteller.\n\rOr the file was damaged."_s;
    const QString tooMany = u"The list holds more rows than the table can take."_s;
    const Case cases[] = {
        {"one full stop", "Corvanteller file.\r\n4\r\n7\r\n", Outcome::NotAListFile, notList, 5},
        {"an empty file", "", Outcome::NotAListFile, notList, 5},
        {"a row count that is no number", "Corvanteller file..\r\n12x\r\n7\r\n",
         Outcome::ConversionError, u"'12x' is not a valid integer value"_s, 5},
        {"a column count that is no number", "Corvanteller file..\r\n3\r\nseven\r\n",
         Outcome::ConversionError, u"'seven' is not a valid integer value"_s, 2},
        {"one row more than the table takes", "Corvanteller file..\r\n45004\r\n7\r\n",
         Outcome::TooManyRows, tooMany, 5},
        {"a huge row count", "Corvanteller file..\r\n2000000000\r\n7\r\n", Outcome::TooManyRows,
         tooMany, 5},
        {"a row count line of 10,000 digits",
         "Corvanteller file..\r\n" + QByteArray(10'000, '9') + "\r\n7\r\n",
         Outcome::ConversionError, u"'%1' is not a valid integer value"_s.arg(QString(256, u'9')),
         5},
    };
    TempTree folder;
    const QString path = folder.root() + u"/bad.sgl"_s;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        folder.writeFile("bad.sgl", c.bytes);
        SongTableModel model;
        fillThreeSongs(model);
        const ListOpenResult result = openListFile(path, model, 5);
        EXPECT_EQ(result.outcome, c.outcome);
        EXPECT_EQ(result.message, c.message);
        EXPECT_EQ(allCells(model), resetCells(c.songsAfter));
        EXPECT_EQ(model.headerText(6), u"Made by..."_s);
    }
}

// What openListFile or writeListFile threw, with the table as the failed open left it.
QString openFailure(const QString& path, SongTableModel& model) {
    try {
        openListFile(path, model, 2);
    } catch (const UserError& error) {
        return error.text();
    }
    return {};
}

QString writeFailure(const QString& path) {
    SongTableModel model;
    fillThreeSongs(model);
    try {
        writeListFile(path, model);
    } catch (const UserError& error) {
        return error.text();
    }
    return {};
}

TEST(ListFile, FileSystemErrorsKeepTheRuntimesWords) {
    TempTree folder;
    folder.makeFolder("folder.sgl");
    test::linkToFailingRead(folder.root() + u"/unreadable.sgl"_s);
    ASSERT_EQ(::mkfifo(folder.path("pipe.sgl").constData(), 0644), 0);
    const struct {
        const char* name;
        QString opening;
    } cases[] = {
        {"missing.sgl", u"File not found"_s},
        {"folder.sgl", u"File access denied"_s},
        {"unreadable.sgl", u"I/O error 5"_s},
        // Refused at once: waiting for a writer would hang the program.
        {"pipe.sgl", u"File access denied"_s},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SongTableModel model;
        fillThreeSongs(model);
        EXPECT_EQ(openFailure(folder.root() + u'/' + QLatin1StringView(c.name), model), c.opening);
        EXPECT_EQ(allCells(model), resetCells(2));
    }
    EXPECT_EQ(writeFailure(folder.root() + u"/folder.sgl"_s), u"File access denied"_s);
    EXPECT_EQ(writeFailure(folder.root() + u"/missing/new.sgl"_s), u"File not found"_s);
}

TEST(ListFile, AHugeFileIsJudgedByItsFirstLinesAlone) {
    const QString notList = u"This file is not file of Corvanteller.\n\rOr the file was damaged."_s;
    const struct {
        const char* name;
        QByteArray head;
        Outcome outcome;
        QString message;
    } cases[] = {
        {"one data row more than the table takes", "Corvanteller file..\r\n45004\r\n7\r\n",
         Outcome::TooManyRows, u"The list holds more rows than the table can take."_s},
        {"a row count of 2,000,000,000", "Corvanteller file..\r\n2000000000\r\n7\r\n",
         Outcome::TooManyRows, u"The list holds more rows than the table can take."_s},
        {"another kind of file", "Corvanteller file.\r\n3\r\n7\r\n", Outcome::NotAListFile,
         notList},
        {"a column count that is no number", "Corvanteller file..\r\n3\r\n7x\r\n",
         Outcome::ConversionError, u"'7x' is not a valid integer value"_s},
    };
    TempTree folder;
    const QString path = folder.root() + u"/huge.sgl"_s;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        // 300 MB that the rows would take, nearly all of it a hole that costs no disk space.
        test::writeSparseFile(path, c.head, 300'000'000);
        SongTableModel model;
        const qint64 before = test::bytesReadSoFar();
        const ListOpenResult result = openListFile(path, model, 2);
        EXPECT_LT(test::bytesReadSoFar() - before, 1'000'000);
        EXPECT_EQ(result.outcome, c.outcome);
        EXPECT_EQ(result.message, c.message);
    }
}

// A scanned table: header "Made...", a typed word.
void fillScannedTable(SongTableModel& model) {
    RowStore store;
    store.setText(1, 1, u"a.kar"_s);
    store.setText(2, 1, u"/music/"_s);
    store.setText(3, 2, u"Title B"_s);
    store.setFile(2, RowFile{u"/music/"_s, u"b.kar"_s});
    store.setRowCount(2);
    model.rebuildFrom(store);
    model.setCell(2, 5, u"typed"_s);
}

TEST(ListFile, TheMainWindowsOpenKeepsTheTableWhenTheListCannotBeRead) {
    TempTree folder;
    test::linkToFailingRead(folder.root() + u"/unreadable.sgl"_s);
    const struct {
        const char* name;
        QByteArray bytes; // written to bad.sgl
        Outcome outcome;
        QString thrown;
    } cases[] = {
        {"bad.sgl", "Corvanteller file.\r\n4\r\n7\r\n", Outcome::NotAListFile, {}},
        {"bad.sgl", "Corvanteller file..\r\n12x\r\n7\r\n", Outcome::ConversionError, {}},
        {"bad.sgl", "Corvanteller file..\r\n3\r\n0\r\n", Outcome::NotAListFile, {}},
        {"bad.sgl", "Corvanteller file..\r\n45004\r\n7\r\n", Outcome::TooManyRows, {}},
        {"bad.sgl", "Corvanteller file..EXTRA\r\n2\r\n7\r\n", Outcome::NotAListFile, {}},
        // A line longer than any cell: damage, never read whole.
        {"bad.sgl",
         "Corvanteller file..\r\n2\r\n7\r\n1\r\n" +
             QByteArray(SongTableModel::maxCellLength + 1, 'a') + "\r\n",
         Outcome::NotAListFile,
         {}},
        {"missing.sgl", {}, Outcome::Opened, u"File not found"_s},
        {"unreadable.sgl", {}, Outcome::Opened, u"I/O error 5"_s},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bytes.isNull() ? std::string(c.name) : c.bytes.toStdString());
        if (!c.bytes.isNull()) {
            folder.writeFile("bad.sgl", c.bytes);
        }
        SongTableModel model;
        fillScannedTable(model);
        const QStringList before = allCells(model);
        const RowFile fileBefore = model.rowFile(2);
        QString thrown;
        try {
            const ListOpenResult result =
                openListFile(folder.root() + u'/' + QLatin1StringView(c.name), model, 5,
                             ListOpenFailure::KeepTable);
            EXPECT_EQ(result.outcome, c.outcome);
        } catch (const UserError& error) {
            thrown = error.text();
        }
        EXPECT_EQ(thrown, c.thrown);
        EXPECT_EQ(allCells(model), before);
        EXPECT_EQ(model.headerText(6), u"Made..."_s);
        EXPECT_EQ(model.rowFile(2), fileBefore);
    }

    // A list that reads replaces the table; a text cut to the longest cell (once) comes back.
    SongTableModel longest;
    longest.setSongCount(1);
    longest.setCell(1, 3, QString(SongTableModel::maxCellLength + 1, u'Ж'));
    EXPECT_EQ(longest.takeCutCellCount(), 1);
    writeListFile(folder.root() + u"/longest.sgl"_s, longest);
    EXPECT_TRUE(openListFile(folder.root() + u"/longest.sgl"_s, longest, 1).opened());
    EXPECT_EQ(longest.cell(1, 3).size(), SongTableModel::maxCellLength);
    folder.writeFile("good.sgl", threeSongBytes);
    SongTableModel model;
    fillScannedTable(model);
    ASSERT_TRUE(openListFile(folder.root() + u"/good.sgl"_s, model, 5, ListOpenFailure::KeepTable)
                    .opened());
    EXPECT_EQ(model.songCount(), 3);
    EXPECT_EQ(model.cell(2, 0), u"V 2"_s);
    EXPECT_EQ(model.headerText(6), u"Made by..."_s);
}

TEST(ListFile, OnlyTheLinesTheCountsNameAreRead) {
    const QByteArray list = "Corvanteller file..\r\n3\r\n2\r\n"
                            "1\r\na.kar\r\n\r\n"
                            "2\r\nb.kar\r\n\r\n"
                            "Russia\r\n";
    const struct {
        const char* name;
        QByteArray tail; // after the list; zeros without a line end fill up to 300 MB
    } cases[] = {
        {"nothing but zeros", {}},
        {"more rows that the counts leave out", QByteArray("3\r\nc.kar\r\n\r\n").repeated(100)},
        {"a lone line end", "\r"},
    };
    TempTree folder;
    const QString path = folder.root() + u"/tail.sgl"_s;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        test::writeSparseFile(path, list + c.tail, 300'000'000);
        SongTableModel model;
        const qint64 before = test::bytesReadSoFar();
        ASSERT_TRUE(openListFile(path, model, 0, ListOpenFailure::KeepTable).opened());
        EXPECT_LT(test::bytesReadSoFar() - before, 1'000'000);
        EXPECT_EQ(model.songCount(), 2);
        EXPECT_EQ(model.cell(2, 1), u"b.kar"_s);
    }
}

TEST(ListFile, LinesAreFoundAcrossTheReadingsChunks) {
    TempTree folder; // cells of many lengths around the 64 KB reading chunks
    const QString path = folder.root() + u"/long.sgl"_s;
    SongTableModel model;
    const int songs = 40;
    model.resetForList(songs);
    for (int row = 1; row <= songs; ++row) {
        model.setCell(row, 3, QString(row * 3'277 + row % 3, QChar(u'a' + row % 26)));
    }
    // With CR LF, the first cell's CR is the last byte of the first chunk.
    model.setCell(1, 1, QString(65'536 - 32, u'x'));
    writeListFile(path, model);
    for (const char* end : {"\r\n", "\n", "\r"}) {
        SCOPED_TRACE(end);
        QByteArray bytes = readBytes(path);
        bytes.replace("\r\n", end);
        folder.writeFile("long.sgl", bytes);
        SongTableModel opened;
        ASSERT_TRUE(openListFile(path, opened, 0).opened());
        EXPECT_EQ(allCells(opened), allCells(model));
    }
}

TEST(ListFile, ShortFileReadsAsEmptyTexts) {
    TempTree folder;
    const QString path = folder.root() + u"/short.sgl"_s;
    folder.writeFile("short.sgl", "Corvanteller file..\r\n4\r\n7\r\n"
                                  "1\r\na\r\nb\r\nc\r\nd\r\ne\r\nf\r\n\r\n"
                                  "2\r\ng\r\nh");
    SongTableModel model;
    ASSERT_TRUE(openListFile(path, model, 1).opened());
    ASSERT_EQ(model.songCount(), 3);
    EXPECT_EQ(model.cell(1, 6), u"f"_s);
    EXPECT_EQ(model.cell(2, 2), u"h"_s);
    EXPECT_EQ(model.cell(2, 3), QString());
    EXPECT_EQ(model.cell(3, 0), QString()); // the missing "#" line reads empty too

    // A huge column count reads only as far as the file goes.
    folder.writeFile("short.sgl", "Corvanteller file..\r\n45003\r\n2000000000\r\n1\r\na\r\n");
    ASSERT_TRUE(openListFile(path, model, 5).opened());
    ASSERT_EQ(model.songCount(), 45002);
    EXPECT_EQ(model.cell(1, 1), u"a"_s);
    EXPECT_EQ(model.cell(2, 0), QString());
}

TEST(ListFile, LinesMayEndWithLfOrCrAlone) {
    TempTree folder;
    const QString path = folder.root() + u"/ends.sgl"_s;
    for (const char* end : {"\n", "\r"}) {
        QByteArray file = "Corvanteller file..\r\n2\r\n7\r\nV 1\r\na.kar\r\n/m/\r\nT\r\nD\r\nE\r\n"
                          "M\r\n\r\nRussia\r\n";
        file.replace("\r\n", end);
        folder.writeFile("ends.sgl", file);
        SongTableModel model;
        ASSERT_TRUE(openListFile(path, model, 0).opened());
        EXPECT_EQ(model.cell(1, 0), u"V 1"_s);
        EXPECT_EQ(model.cell(1, 6), u"M"_s);
    }
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
    EXPECT_TRUE(bytes.contains("\r\none two three four\r\n\r\n\r\n \r\n\r\nRussia"));
    EXPECT_EQ(bytes.count('\n'), 3 + 8 + 1);
    EXPECT_EQ(bytes.count('\r'), 3 + 8 + 1);
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
    EXPECT_TRUE(bytes.endsWith("\r\nRussia\r\n"));

    SongTableModel opened;
    ASSERT_TRUE(openListFile(path, opened, 0).opened());
    EXPECT_EQ(allCells(opened), allCells(model));

    // A table that cp1251 can hold again is written without the mark.
    model.setCell(3, 3, QString());
    writeListFile(path, model);
    EXPECT_EQ(readBytes(path), threeSongBytes);
}

} // namespace
} // namespace corvanteller
