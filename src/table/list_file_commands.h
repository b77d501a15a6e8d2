#pragma once

#include <QString>

class QWidget;

namespace corvanteller {

class AppContext;

// The list file commands of both windows: dialogs through the UI services, the file through
// the list file's reader and writer.

// "&Open Corvanteller list..." of the main window.
void openListFromMainWindow(AppContext& context, QWidget* parent);
// "Open Corvanteller list..." of the start window; true when the main window is to take over
// (a list was read, or the file was refused with the message), false when the dialog was
// cancelled.
bool openListFromStartWindow(AppContext& context, QWidget* parent);
// "Save list &as...": true when the list was written.
bool saveListAs(AppContext& context, QWidget* parent);
// "&Save list": to the current list file, or as "Save list &as..." when there is none yet.
void saveList(AppContext& context, QWidget* parent);

// "&Add row" on a full table.
QString tableFullMessage();

} // namespace corvanteller
