// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/error.h"
#include "support_ui/scripted_ui_services.h"
#include "ui/error_guard.h"

#include <QPushButton>
#include <QTest>

#include <new>
#include <stdexcept>

namespace corvanteller {

using namespace Qt::StringLiterals;

class ErrorGuardTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void failuresAreReportedAndTheProgramGoesOn() {
        ScriptedUiServices ui;
        QWidget window;
        QStringList steps;
        QVERIFY(guarded(&window, ui, [] {}));
        QVERIFY(!guarded(&window, ui, [&] {
            steps.append(u"before"_s);
            throw UserError(u"Ошибка!!!!"_s);
        }));
        QVERIFY(!guarded(&window, ui, [] { throw std::runtime_error("I/O error 5"); }));
        QVERIFY(!guarded(&window, ui, [] { throw std::bad_alloc(); }));
        QVERIFY(!guarded(&window, ui, [] { throw 42; }));
        steps.append(u"program goes on"_s);

        QCOMPARE(steps, QStringList({u"before"_s, u"program goes on"_s}));
        QCOMPARE(ui.errors.size(), 4);
        QCOMPARE(ui.errors.at(0), u"Ошибка!!!!"_s);
        QCOMPARE(ui.errors.at(1), u"I/O error 5"_s);
        QVERIFY(!ui.errors.at(2).isEmpty());
        QVERIFY(!ui.errors.at(3).isEmpty());
        QVERIFY(ui.messages.isEmpty());
    }

    void aGuardedSlotKeepsExceptionsOutOfTheEventLoop() {
        ScriptedUiServices ui;
        QPushButton button;
        button.setCheckable(true);
        QList<bool> states;
        QObject::connect(&button, &QPushButton::clicked, &button,
                         guard(&button, ui, [&](bool checked) {
                             states.append(checked);
                             throw UserError(u"'x' is not a valid integer value"_s);
                         }));
        button.click();
        button.click();
        QCOMPARE(states, QList<bool>({true, false}));
        QCOMPARE(ui.errors, QStringList(2, u"'x' is not a valid integer value"_s));
    }
};

} // namespace corvanteller

QTEST_MAIN(corvanteller::ErrorGuardTest)
#include "error_guard_test.moc"
