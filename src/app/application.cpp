#include "app/application.h"

#include "app/hint_controller.h"
#include "app/start_window.h"
#include "help/splash_window.h"
#include "scan/scan_parameters_dialog.h"
#include "settings/general_settings_dialog.h"
#include "table/main_window.h"
#include "table/save_changes_prompt.h"

#include <QScreen>

namespace corvanteller {

Application::Application(UiServices& ui, Clock& clock, RandomSource& random,
                         std::function<void()> quit)
    : context_(ui, clock, random), hints_(std::make_unique<HintController>()) {
    context_.quit = std::move(quit);
    context_.setHintsEnabled = [this](bool enabled) { hints_->setHintsEnabled(enabled); };
    createWindows();
}

Application::~Application() {
    // Windows go first, in reverse order of creation, while the context they use still lives.
    while (!windows_.empty()) {
        windows_.pop_back();
    }
}

template <typename Window>
static Window* keep(std::vector<std::unique_ptr<QWidget>>& windows,
                    std::unique_ptr<Window> window) {
    Window* raw = window.get();
    windows.push_back(std::move(window));
    return raw;
}

void Application::createWindows() {
    context_.startWindow = keep(windows_, std::make_unique<TForm1>(context_));
    context_.mainWindow = keep(windows_, std::make_unique<TForm4>(context_));
    context_.scanParameters = keep(windows_, std::make_unique<TForm3>(context_));
    context_.generalSettings = keep(windows_, std::make_unique<TForm10>(context_));
    context_.savePrompt = keep(windows_, std::make_unique<TForm12>(context_));
}

void Application::createPromptWindow() {
    context_.prompt = keep(windows_, std::make_unique<TSplashForm>());
}

void Application::showStartWindow() {
    QWidget* start = context_.startWindow;
    if (const QScreen* screen = start->screen()) {
        start->move(screen->availableGeometry().center() - start->rect().center());
    }
    start->show();
}

} // namespace corvanteller
