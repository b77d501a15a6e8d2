// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "common/seams.h"
#include "scan/scan_cache.h"
#include "settings/desktop_settings.h"
#include "settings/options.h"
#include "settings/settings_file.h"
#include "table/table_session.h"
#include "text/text_view_modes.h"
#include "ui/form_activations.h"
#include "ui/hint_controller.h"
#include "ui/window_services.h"

#include <QLocale>

#include <functional>

namespace corvanteller {

class ScanParametersDialog;
class AboutWindow;
class TextFormatDialog;
class GeneralSettingsDialog;
class HelpWindow;
class SplashWindow;

// What the program's windows share: the options of every dialog, the song table with its row
// stores, the run times, the seams and the window services, and the few windows that two or
// more others open. Only the application's top (the start and main windows) sees it; every
// other window is handed the parts it needs.
class AppContext {
public:
    AppContext(UiServices& uiServices, Clock& clockSeam, RandomSource& randomSeam)
        : ui(uiServices), clock(clockSeam), random(randomSeam) {}

    UiServices& ui;
    Clock& clock;
    RandomSource& random;
    // The user's locale for month names and date formats; tests set their own.
    QLocale locale = QLocale::system();
    FormActivations activations;
    HintController hints;

    Options options;
    RunTimes runTimes;
    TableSession table;
    // Why the text view is shown: set by the main window's commands, read by the view.
    TextViewModes textViewModes;
    bool settingsLoaded = false;
    // Where the settings file lives; tests point it elsewhere.
    QString settingsPath = settingsFilePath();
    // The settings beside the settings file, and where they live; tests point it elsewhere.
    DesktopSettings desktop;
    QString desktopSettingsPath = DesktopSettings::defaultPath();
    // The texts of the windows' earlier scans; tests give it a file elsewhere.
    ScanCache scanCache;

    // Runs on a window's scan thread as the scan begins taking the rows of a folder; tests
    // hold a scan there.
    std::function<void(const QString& storedFolder)> scanFolderReached;

    // Ends the program's event loop without any window's close handling.
    std::function<void()> quit;

    // Opened from the start window and from the main window or another dialog.
    ScanParametersDialog* scanParameters = nullptr;
    GeneralSettingsDialog* generalSettings = nullptr;
    TextFormatDialog* textFormat = nullptr; // from the text view and from General settings
    SplashWindow* prompt = nullptr;
    AboutWindow* about = nullptr;
    HelpWindow* help = nullptr;

    WindowServices windowServices() { return {ui, activations, hints}; }
};

} // namespace corvanteller
