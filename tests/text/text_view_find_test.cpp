// SPDX-License-Identifier: GPL-3.0-or-later
#include "support_ui/window_child.h"
#include "text/text_view.h"

#include "support_ui/program_fixture.h"
#include "support_ui/window_child.h"
#include "ui/find_bar.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTextCursor>
#include <QTextEdit>
#include <QToolButton>
#include <QtTest>

using namespace corvanteller;
using namespace Qt::StringLiterals;

namespace {

// The text view showing the table's two songs as text, the focus in its editor.
struct TextFindProgram : test::ProgramFixture {
    TextFindProgram() {
        test::storeTwoSongs(context().table.startStore());
        QVERIFY(activate(&main()));
        child<QAction>(main(), "exportToTextAction")->trigger();
        QVERIFY(QTest::qWaitForWindowActive(&view()));
        editor().setFocus(Qt::MouseFocusReason);
    }

    TextView& view() { return main().textView(); }
    QTextEdit& editor() { return *child<QTextEdit>(view(), "editor"); }
    FindBar& bar() { return *child<FindBar>(view(), "findBar"); }
    QLineEdit& edit() { return *child<QLineEdit>(bar(), "findEdit"); }
    qsizetype selectionStart() { return editor().textCursor().selectionStart(); }
};

} // namespace

class TextViewFindTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void findingMovesTheSelectionThroughTheText() {
        TextFindProgram program;
        const QString text = program.view().editorText();
        const qsizetype first = text.indexOf(u"/songs/"_s);
        const qsizetype second = text.indexOf(u"/songs/"_s, first + 1);

        QTest::keyClick(&program.editor(), Qt::Key_F, Qt::ControlModifier);
        QVERIFY(program.bar().geometry().bottom() < program.editor().geometry().top());

        QTest::keyClicks(&program.edit(), u"/SONGS/ "_s);
        QCOMPARE(program.selectionStart(), first);
        QCOMPARE(program.editor().textCursor().selectedText(), u"/songs/"_s);
        const struct {
            Qt::Key key;
            Qt::KeyboardModifiers modifiers;
            qsizetype start;
            QString message;
        } steps[] = {
            {Qt::Key_Return, {}, second, QString()},
            {Qt::Key_F3, {}, first, u"Continued from the top"_s},
            {Qt::Key_F3, Qt::ShiftModifier, second, u"Continued from the bottom"_s},
            {Qt::Key_F3, Qt::ShiftModifier, first, QString()},
            {Qt::Key_Q, {}, first, u"Not found"_s},
        };
        for (const auto& step : steps) {
            QTest::keyClick(&program.edit(), step.key, step.modifiers);
            QCOMPARE(program.selectionStart(), step.start);
            QCOMPARE(child<QLabel>(program.bar(), "messageLabel")->text(), step.message);
        }

        QTest::keyClick(&program.edit(), Qt::Key_Escape);
        QVERIFY(!program.bar().isVisible());
        QCOMPARE(QApplication::focusWidget(), &program.editor());
        QCOMPARE(program.view().editorText(), text);
        QVERIFY(!child<QAction>(program.view(), "undoAction")->isEnabled());
    }

    void anEditSurvivesTheFindOpenedFromTheMenu() {
        TextFindProgram program;
        program.editor().moveCursor(QTextCursor::Start);
        QTest::keyClicks(&program.editor(), u"Typed "_s);
        child<QAction>(program.view(), "findAction")->trigger();
        QTest::keyClicks(&program.edit(), u"typed"_s);
        QCOMPARE(program.selectionStart(), 0);
        QTest::mouseClick(child<QToolButton>(program.bar(), "closeButton"), Qt::LeftButton);
        // Moving the focus inside the view is no activation: nothing was rebuilt.
        QVERIFY(program.view().editorText().startsWith(u"Typed 1\t"_s));
        QCOMPARE(QApplication::focusWidget(), &program.editor());
    }
};

QTEST_MAIN(TextViewFindTest)
#include "text_view_find_test.moc"
