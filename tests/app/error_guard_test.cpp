#include "app/error_guard.h"
#include "common/error.h"
#include "support_ui/scripted_ui_services.h"

#include <QPushButton>
#include <QTest>

#include <new>
#include <stdexcept>

namespace corvanteller {

using namespace Qt::StringLiterals;

class ErrorGuardTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void failuresAreReportedWithTheirOwnText() {
        ScriptedUiServices ui;
        QWidget window;
        const bool done = guarded(&window, ui, [] {});
        QVERIFY(done);
        QVERIFY(ui.errors.isEmpty());

        QVERIFY(!guarded(&window, ui, [] { throw UserError(u"File not found"_s); }));
        QVERIFY(!guarded(&window, ui, [] { throw UserError(u"Ошибка!!!!"_s); }));
        QVERIFY(!guarded(&window, ui, [] { throw std::runtime_error("I/O error 5"); }));
        QVERIFY(!guarded(&window, ui, [] { throw std::bad_alloc(); }));
        QVERIFY(!guarded(&window, ui, [] { throw 42; }));

        QCOMPARE(ui.errors.size(), 5);
        QCOMPARE(ui.errors.at(0), u"File not found"_s);
        QCOMPARE(ui.errors.at(1), u"Ошибка!!!!"_s);
        QCOMPARE(ui.errors.at(2), u"I/O error 5"_s);
        QVERIFY(!ui.errors.at(3).isEmpty());
        QVERIFY(!ui.errors.at(4).isEmpty());
        QVERIFY(ui.messages.isEmpty());
    }

    void theCommandEndsWhereItFailed() {
        ScriptedUiServices ui;
        QStringList steps;
        guarded(nullptr, ui, [&] {
            steps.append(u"before"_s);
            throw UserError(u"Read beyond end of file"_s);
        });
        steps.append(u"program goes on"_s);
        QCOMPARE(steps, QStringList({u"before"_s, u"program goes on"_s}));
        QCOMPARE(ui.log, QStringList({u"reportError Read beyond end of file"_s}));
    }

    void aGuardedSlotKeepsExceptionsOutOfTheEventLoop() {
        ScriptedUiServices ui;
        QPushButton button;
        int clicks = 0;
        QList<bool> states;
        QObject::connect(&button, &QPushButton::clicked, &button, guard(&button, ui, [&] {
            ++clicks;
            throw UserError(u"'x' is not a valid integer value"_s);
        }));
        QObject::connect(&button, &QPushButton::clicked, &button,
                         guard(&button, ui, [&](bool checked) { states.append(checked); }));
        button.setCheckable(true);
        button.click();
        button.click();
        QCOMPARE(clicks, 2);
        QCOMPARE(states, QList<bool>({true, false}));
        QCOMPARE(ui.errors, QStringList(2, u"'x' is not a valid integer value"_s));
    }
};

} // namespace corvanteller

QTEST_MAIN(corvanteller::ErrorGuardTest)
#include "error_guard_test.moc"
