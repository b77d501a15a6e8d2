// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/application.h"

#include "app/main_window.h"
#include "app/start_window.h"
#include "help/about_window.h"
#include "help/help_window.h"
#include "help/splash_window.h"
#include "rename/complex_rename_dialog.h"
#include "scan/scan_parameters_dialog.h"
#include "settings/general_settings_dialog.h"
#include "text/text_format_dialog.h"

#include <QScreen>

namespace corvanteller {

Application::Application(UiServices& ui, Clock& clock, RandomSource& random,
                         std::function<void()> quit)
    : context_(ui, clock, random) {
    context_.quit = std::move(quit);
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
    const WindowServices services = context_.windowServices();
    // Before the main window, whose text view appends to the text from it.
    auto* textFormat = keep(windows_, std::make_unique<TextFormatDialog>(
                                          services, context_.options.textFormat,
                                          context_.textViewModes, context_.clock, context_.locale));
    context_.textFormat = textFormat;
    // The main window comes first: the start window hands its table over to it.
    mainWindow_ = keep(windows_, std::make_unique<MainWindow>(context_));
    startWindow_ = keep(windows_, std::make_unique<StartWindow>(context_, *mainWindow_));
    auto* scanParameters =
        keep(windows_, std::make_unique<ScanParametersDialog>(services, context_.options.scanning));
    auto* generalSettings = keep(
        windows_, std::make_unique<GeneralSettingsDialog>(
                      services, context_.options, context_.desktop, context_.desktopSettingsPath));
    QObject::connect(
        generalSettings, &GeneralSettingsDialog::scanningSettingsRequested, scanParameters,
        [scanParameters, generalSettings] { scanParameters->showFor(generalSettings); });
    QObject::connect(generalSettings, &GeneralSettingsDialog::optionsPutBack, scanParameters,
                     &ScanParametersDialog::showOptions);
    QObject::connect(generalSettings, &GeneralSettingsDialog::textFormatSettingsRequested,
                     textFormat,
                     [textFormat, generalSettings] { textFormat->showFor(generalSettings); });
    QObject::connect(generalSettings, &GeneralSettingsDialog::optionsPutBack, textFormat,
                     &TextFormatDialog::showOptions);
    QObject::connect(generalSettings, &GeneralSettingsDialog::optionsPutBack,
                     &mainWindow_->complexRenaming(), &ComplexRenameDialog::showOptions);
    context_.scanParameters = scanParameters;
    context_.generalSettings = generalSettings;
    context_.about =
        keep(windows_, std::make_unique<AboutWindow>(services, context_.runTimes, context_.locale));
    context_.help = keep(windows_, std::make_unique<HelpWindow>(services, startWindow_));
}

void Application::createPromptWindow() {
    context_.prompt = keep(windows_, std::make_unique<SplashWindow>());
}

void Application::showStartWindow() {
    QWidget* start = startWindow_;
    if (const QScreen* screen = start->screen()) {
        start->move(screen->availableGeometry().center() - start->rect().center());
    }
    start->show();
}

} // namespace corvanteller
