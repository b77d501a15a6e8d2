#pragma once

#include "app/app_context.h"

#include <memory>

namespace corvanteller {

class HintController;

// The program's windows, created once in their fixed order and kept until the program ends.
class Application {
public:
    // quit ends the event loop; tests pass their own.
    Application(UiServices& ui, Clock& clock, RandomSource& random, std::function<void()> quit);
    ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    AppContext& context() { return context_; }
    // The hidden splash copy that the "Prompt" commands show; made after the start-up splash
    // is gone.
    void createPromptWindow();
    // The start window shows itself when the event loop starts.
    void showStartWindow();

private:
    void createWindows();

    AppContext context_;
    std::unique_ptr<HintController> hints_;
    // Top-level windows have no parent: the application owns them.
    std::vector<std::unique_ptr<QWidget>> windows_;
};

} // namespace corvanteller
