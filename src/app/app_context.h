#pragma once

#include "app/ui_services.h"
#include "common/seams.h"
#include "settings/options.h"
#include "settings/settings_file.h"
#include "table/table_session.h"

#include <functional>

class QEvent;
class QWidget;

namespace corvanteller {

class TForm1;
class TForm3;
class TForm4;
class TForm10;
class TForm12;
class TSplashForm;

// What the program's windows share: the options of every dialog, the song table with its row
// stores, the run times, the seams, and the windows themselves (created once, in order).
class AppContext {
public:
    AppContext(UiServices& uiServices, Clock& clockSeam, RandomSource& randomSeam)
        : ui(uiServices), clock(clockSeam), random(randomSeam) {}

    UiServices& ui;
    Clock& clock;
    RandomSource& random;

    Options options;
    RunTimes runTimes;
    TableSession table;
    bool settingsLoaded = false;
    // Where the settings file lives; tests point it elsewhere.
    QString settingsPath = settingsFilePath();

    TForm1* startWindow = nullptr;
    TForm4* mainWindow = nullptr;
    TForm3* scanParameters = nullptr;
    TForm10* generalSettings = nullptr;
    TForm12* savePrompt = nullptr;
    TSplashForm* prompt = nullptr;

    // Ends the program's event loop without any window's close handling.
    std::function<void()> quit;
    // The hints of the whole program go on or off.
    std::function<void(bool)> setHintsEnabled;

    // A window of the program becoming active counts as its activation only when another of the
    // program's windows was active before it: a message box, a file dialog or another
    // application coming and going does not rebuild the table.
    bool noteFormActivation(QWidget* form) {
        const bool activation = lastActiveForm_ != form;
        lastActiveForm_ = form;
        return activation;
    }
    // The same for an event a window receives. An activation that arrives after the window
    // was hidden again is stale and counts for nothing.
    bool isFormActivation(QWidget* form, const QEvent* event);

    // A window that hides is no longer the active one: showing it again is an activation, and
    // so is the return to the window under it.
    void noteFormHidden(QWidget* form) {
        if (lastActiveForm_ == form) {
            lastActiveForm_ = nullptr;
        }
    }

private:
    QWidget* lastActiveForm_ = nullptr;
};

} // namespace corvanteller
