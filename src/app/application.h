// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/app_context.h"

#include <memory>
#include <vector>

namespace corvanteller {

class StartWindow;
class MainWindow;

// The program's windows, created once and kept until the program ends.
class Application {
public:
    // quit ends the event loop; tests pass their own.
    Application(UiServices& ui, Clock& clock, RandomSource& random, std::function<void()> quit);
    ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    AppContext& context() { return context_; }
    StartWindow& startWindow() { return *startWindow_; }
    MainWindow& mainWindow() { return *mainWindow_; }

    // The hidden splash copy that the "Prompt" commands show; made after the start-up splash
    // is gone.
    void createPromptWindow();
    // The start window shows itself when the event loop starts.
    void showStartWindow();

private:
    void createWindows();

    AppContext context_;
    // Top-level windows have no parent: the application owns them.
    std::vector<std::unique_ptr<QWidget>> windows_;
    StartWindow* startWindow_ = nullptr;
    MainWindow* mainWindow_ = nullptr;
};

} // namespace corvanteller
