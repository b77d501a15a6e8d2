#pragma once

class QWidget;

namespace corvanteller {

class AppContext;

// The settings file at the start window's first activation; a message, if any, goes to the
// error report. The hints follow the loaded "Hints" option.
void loadSettingsAtStart(AppContext& context, QWidget* parent);
// The settings file when the program ends by closing the start window or the main window.
// A failure is reported; the program ends all the same.
void saveSettingsAtClose(AppContext& context, QWidget* parent);
// The main window's close: the settings are saved and the program ends.
void endProgramFromMainWindow(AppContext& context, QWidget* parent);

void showGeneralSettings(AppContext& context, QWidget* opener);

} // namespace corvanteller
