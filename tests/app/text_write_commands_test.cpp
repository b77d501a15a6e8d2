// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/main_window.h"
#include "support_ui/window_child.h"

#include "kar/kar_reader.h"
#include "support/kar_builder.h"
#include "support_ui/program_fixture.h"
#include "support_ui/window_child.h"
#include "table/song_grid.h"
#include "write/text_write_preview_window.h"

#include <QAction>
#include <QPushButton>
#include <QTableView>
#include <QtTest>

using namespace corvanteller;
using namespace Qt::StringLiterals;

namespace {

QByteArray songFile(const QByteArray& title) {
    return test::smfFile({test::metaEvent(0x03, title) + test::metaEvent(0x01, "Performer") +
                              test::metaEvent(0x01, "Authors") + test::metaEvent(0x01, "Maker"),
                          QByteArray("\x00\x90\x3C\x40\x60\x80\x3C\x00", 8)});
}

// The main window with the rows of a.kar, a whole MIDI file, and b.kar, whose bytes are no MIDI
// file the writer can take, scanned from the start window.
struct WritingProgram : test::ProgramFixture {
    WritingProgram() {
        QVERIFY(test::writeTestFile(path("a.kar"), songFile("Alpha")));
        QVERIFY(test::writeTestFile(path("b.kar"), test::KarBuilder().trackName("Beta").bytes()));
        ui.answerFolder(music.path());
        start().show();
        child<QPushButton>(start(), "startButton")->click();
        QVERIFY(activate(&main()));
        child<SongGrid>(main(), "songGrid")->setFocus(Qt::MouseFocusReason);
    }

    QString path(const char* name) const { return music.filePath(QString::fromLatin1(name)); }
    int rowOf(const QString& name) {
        for (int row = 1; row <= model().songCount(); ++row) {
            if (model().cell(row, SongColumn::FileName) == name) {
                return row;
            }
        }
        return 0;
    }
    // A title typed into its cell; the editor is left open, as when the user goes to the menu.
    void typeTitle(const QString& name, const QString& text) {
        SongGrid& grid = *child<SongGrid>(main(), "songGrid");
        grid.setCurrentIndex(model().index(rowOf(name) - 1, SongColumn::Title));
        QTest::keyClick(&grid, text.front().toLatin1());
        QWidget* editor = QApplication::focusWidget();
        QVERIFY(editor != nullptr && editor != &grid);
        QTest::keyClicks(editor, text.mid(1));
    }
    QString titleOnDisk(const char* name) const {
        return readKaraokeFile(QFile::encodeName(path(name)), RunSet::StartWindow).texts.first;
    }

    QTemporaryDir music;
};

} // namespace

class TextWriteCommandsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void thePreviewWritesOrCancelsAndTheUndoPutsTheFileBack_data() {
        QTest::addColumn<bool>("write");
        QTest::addColumn<bool>("errorMessages");
        QTest::newRow("write") << true << true;
        QTest::newRow("write without messages about errors") << true << false;
        QTest::newRow("cancel") << false << true;
    }

    void thePreviewWritesOrCancelsAndTheUndoPutsTheFileBack() {
        QFETCH(bool, write);
        QFETCH(bool, errorMessages);
        WritingProgram program;
        program.context().options.general.errorMessages = errorMessages;
        const QByteArray original = test::readTestFile(program.path("a.kar"));
        program.typeTitle(u"a.kar"_s, u"Corrected"_s);
        program.typeTitle(u"b.kar"_s, u"Other"_s);

        child<QAction>(program.main(), "writeTextsAction")->trigger();
        TextWritePreviewWindow& preview = program.main().textWritePreview();
        QVERIFY(preview.isVisible());
        QCOMPARE(preview.rows().size(), std::size_t{2});
        const QAbstractItemModel* shown = child<QTableView>(preview, "rowsView")->model();
        const int refusedRow = shown->index(0, 1).data().toString().endsWith(u"b.kar"_s) ? 0 : 1;
        QCOMPARE(shown->index(refusedRow, 4).data(Qt::ForegroundRole).value<QColor>(),
                 QColor(Qt::red));
        QVERIFY(shown->index(1 - refusedRow, 3).data().toString().startsWith(u"Corrected | "_s));
        QVERIFY(program.ui.log.isEmpty() || !program.ui.log.last().startsWith(u"show"_s));

        QTest::mouseClick(write ? child<QPushButton>(preview, "writeButton")
                                : child<QPushButton>(preview, "cancelButton"),
                          Qt::LeftButton);
        QVERIFY(preview.isHidden());
        if (!write) {
            QCOMPARE(test::readTestFile(program.path("a.kar")), original);
            program.ui.log.clear();
            child<QAction>(program.main(), "undoTextWritingAction")->trigger();
            QCOMPARE(program.ui.log,
                     QStringList{u"showMessage There is no text writing to undo."_s});
            return;
        }
        QCOMPARE(program.titleOnDisk("a.kar"), u"Corrected"_s);
        QCOMPARE(program.titleOnDisk("b.kar"), u"Beta"_s);
        QCOMPARE(program.ui.messages.first(), u"1 file(s) was(were) written, 1 refused."_s);
        QCOMPARE(program.ui.messages.size(), errorMessages ? 2 : 1);
        if (errorMessages) {
            QVERIFY(program.ui.log.last().startsWith(u"showFailureMessage "_s));
            QVERIFY(program.ui.messages.last().contains(u"b.kar"_s));
        }

        program.ui.answerYesNo(true);
        child<QAction>(program.main(), "undoTextWritingAction")->trigger();
        QCOMPARE(program.ui.questions.size(), 1);
        QCOMPARE(test::readTestFile(program.path("a.kar")), original);
        QCOMPARE(program.model().cell(program.rowOf(u"a.kar"_s), SongColumn::Title), u"Alpha"_s);
        QCOMPARE(program.ui.messages.last(), u"1 file(s) was(were) written, 0 refused."_s);
    }
};

QTEST_MAIN(TextWriteCommandsTest)
#include "text_write_commands_test.moc"
