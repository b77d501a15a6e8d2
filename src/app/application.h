#pragma once

#include "app/app_context.h"

#include <memory>
#include <vector>

namespace corvanteller {

class TForm1;
class TForm4;

// The program's windows, created once and kept until the program ends.
class Application {
public:
    // quit ends the event loop; tests pass their own.
    Application(UiServices& ui, Clock& clock, RandomSource& random, std::function<void()> quit);
    ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    AppContext& context() { return context_; }
    TForm1& startWindow() { return *startWindow_; }
    TForm4& mainWindow() { return *mainWindow_; }

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
    TForm1* startWindow_ = nullptr;
    TForm4* mainWindow_ = nullptr;
};

} // namespace corvanteller
