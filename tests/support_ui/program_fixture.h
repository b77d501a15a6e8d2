// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/application.h"
#include "app/main_window.h"
#include "app/start_window.h"
#include "kar/row_store.h"
#include "office/document_engine.h"
#include "office/workbook_engine.h"
#include "support_ui/scripted_ui_services.h"
#include "table/save_changes_prompt.h"
#include "text/text_view.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <deque>
#include <memory>

namespace corvanteller::test {

// Writes a file for a window test; false when it could not be written.
inline bool writeTestFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// A file's bytes; empty when it cannot be read.
inline QByteArray readTestFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Two songs of the folder /songs/ in the row store, as a scan leaves them.
inline void storeTwoSongs(RowStore& store) {
    using namespace Qt::StringLiterals;
    const QStringList rows[] = {
        {u"a.kar"_s, u"/songs/"_s, u"Alpha"_s, QString(), QString(), u"maker"_s},
        {u"b.kar"_s, u"/songs/"_s, u"Бета"_s, u"D"_s, u"E"_s, QString()}};
    for (int row = 1; row <= 2; ++row) {
        for (int column = 1; column <= 6; ++column) {
            store.setText(column, row, rows[row - 1][column - 1]);
        }
    }
    store.setRowCount(2);
}

// A clock that shows whatever the test sets.
class SetClock final : public Clock {
public:
    QDateTime now() const override { return now_; }
    QDateTime now_ = QDateTime(QDate(2026, 12, 7), QTime(10, 0, 0));
};

// Draws from a script, then 1 (never a greeting, never "!!").
class ScriptRandom final : public RandomSource {
public:
    int bounded(int bound) override {
        if (draws.empty()) {
            return bound > 1 ? 1 : 0;
        }
        const int value = draws.front();
        draws.pop_front();
        return value;
    }
    std::deque<int> draws;
};

// The whole program with scripted dialogs, a set clock and its settings file in a temporary
// folder. quitCount counts the ends of the program.
struct ProgramFixture {
    ProgramFixture() {
        program = std::make_unique<Application>(ui, clock, random, [this] { ++quitCount; });
        program->createPromptWindow();
        context().settingsPath = settingsFolder.filePath(QStringLiteral("prop.dat"));
        context().desktopSettingsPath =
            settingsFolder.filePath(QStringLiteral("Corvanteller.conf"));
        context().scanCache = ScanCache(settingsFolder.filePath(QStringLiteral("scan-cache.bin")));
        const QString handOver = settingsFolder.filePath(QStringLiteral("handover"));
        program->mainWindow().workbookEngine().setHandOverFolder(handOver);
        program->mainWindow().documentEngine().setHandOverFolder(handOver);
        program->mainWindow().textView().documentEngine.setHandOverFolder(handOver);
    }
    ~ProgramFixture() {
        program.reset();
        QApplication::processEvents();
    }

    AppContext& context() { return program->context(); }
    StartWindow& start() { return program->startWindow(); }
    MainWindow& main() { return program->mainWindow(); }
    SaveChangesPrompt& prompt() { return program->mainWindow().savePrompt(); }
    SongTableModel& model() { return context().table.model(); }

    // Shows the window if needed and waits until the window system has made it the active
    // one, as a click on it would.
    static bool activate(QWidget* window) {
        if (!window->isVisible()) {
            window->show();
        }
        window->activateWindow();
        return QTest::qWaitForWindowActive(window);
    }

    ScriptedUiServices ui;
    SetClock clock;
    ScriptRandom random;
    QTemporaryDir settingsFolder;
    int quitCount = 0;
    std::unique_ptr<Application> program;
};

} // namespace corvanteller::test
