// SPDX-License-Identifier: GPL-3.0-or-later
#include "kar/kar_reader.h"
#include "kar/song_columns.h"
#include "support/kar_builder.h"
#include "support/temp_tree.h"
#include "table/list_file.h"
#include "table/song_table_model.h"

#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>

#include <gtest/gtest.h>

namespace corvanteller {
namespace {

using namespace Qt::StringLiterals;
using test::metaEvent;
using test::smfFile;

QStringList withTexts(QStringList args, const QStringList& texts) {
    args << texts;
    return args;
}

struct CliRun {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

class WriteCommand : public ::testing::Test {
protected:
    CliRun cli(const QStringList& args) {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"XDG_CONFIG_HOME"_s, config.root());
        process.setProcessEnvironment(environment);
        process.start(QStringLiteral(CORVANTELLER_CLI_PATH), args);
        EXPECT_TRUE(process.waitForFinished(60000));
        return {process.exitCode(), process.readAllStandardOutput(),
                process.readAllStandardError()};
    }
    QByteArray bytesOf(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    test::TempTree tree;
    test::TempTree config;
    QByteArray song = smfFile({metaEvent(0x03, "Old Title") + metaEvent(0x01, "Old Singer")});
};

TEST_F(WriteCommand, WritesProvesRefusesAndUndoes) {
    tree.writeFile("a.kar", song);
    const QString path = tree.root() + u"/a.kar"_s;
    const QStringList texts = {u"Новое название"_s, u"Singer"_s, u"Authors"_s, u"Maker"_s};

    const CliRun dry = cli(withTexts({u"write"_s, u"--dry-run"_s, path}, texts));
    EXPECT_EQ(dry.exitCode, 0);
    EXPECT_TRUE(dry.out.startsWith("would-write\t")) << dry.out.constData();
    EXPECT_EQ(bytesOf(path), song);

    const CliRun refused = cli({u"write"_s, path, u"Title"_s, u"ab"_s, {}, {}});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(refused.err.contains("a text of 1 or 2 characters reads as empty"));
    EXPECT_TRUE(refused.err.contains("0 file(s) was(were) written, 1 refused."));

    const CliRun written = cli(withTexts({u"write"_s, path}, texts));
    EXPECT_EQ(written.exitCode, 0) << written.err.constData();
    EXPECT_EQ(cli({u"read"_s, path}).out, (path + u"\t"_s + texts.join(u'\t') + u"\n"_s).toUtf8());
    EXPECT_EQ(cli(withTexts({u"write"_s, path}, texts)).out.left(10), "unchanged\t");

    EXPECT_EQ(cli({u"undo-write"_s}).exitCode, 0);
    EXPECT_EQ(bytesOf(path), song);
    EXPECT_EQ(cli({u"undo-write"_s}).exitCode, 1);
    for (const QStringList& wrong : {QStringList{u"write"_s, path, u"only one"_s},
                                     {u"write"_s, u"--bad"_s},
                                     {u"undo-write"_s, u"x"_s},
                                     {u"write"_s, u"--list"_s, u"l.sgl"_s, path}}) {
        EXPECT_EQ(cli(wrong).exitCode, 2) << wrong.join(u' ').toStdString();
    }
}

TEST_F(WriteCommand, WritesTheRowsOfAList) {
    tree.writeFile("one.kar", song);
    tree.writeFile("two.kar", song);
    SongTableModel model;
    model.setSongCount(2);
    const QString titles[] = {u"First Title"_s, u"Old Title"_s};
    for (int row = 1; row <= 2; ++row) {
        model.setCell(row, SongColumn::FileName, row == 1 ? u"one.kar"_s : u"two.kar"_s);
        model.setCell(row, SongColumn::Folder, tree.root() + u"/"_s);
        model.setCell(row, SongColumn::Title, titles[row - 1]);
        model.setCell(row, SongColumn::TextD, u"Old Singer"_s);
    }
    const QString list = config.root() + u"/songs.sgl"_s;
    writeListFile(list, model);
    const CliRun run = cli({u"write"_s, u"--list"_s, list});
    EXPECT_EQ(run.exitCode, 0) << run.err.constData();
    EXPECT_TRUE(run.err.contains("1 file(s) was(were) written, 0 refused."));
    EXPECT_EQ(readKaraokeFile(tree.path("one.kar"), RunSet::StartWindow).texts.first,
              u"First Title"_s);
    EXPECT_EQ(bytesOf(tree.root() + u"/two.kar"_s), song);
}

} // namespace
} // namespace corvanteller
