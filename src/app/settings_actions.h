// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "table/column_layout.h"

class QWidget;

namespace corvanteller {

class AppContext;

// The settings file at the start window's first activation; a message, if any, goes to the
// error report. The hints follow the loaded "Hints" option.
void loadSettingsAtStart(AppContext& context, QWidget* parent);

// The song table's column widths as the program ends, for the "User settings" mode.
struct TableWidthsAtClose {
    bool mainWindowVisible = false;
    ColumnWidthList widths{};
};

// The settings file when the program ends by closing the start window or the main window.
// A failure is reported, as is one of the settings beside it; the program ends all the same.
void saveSettingsAtClose(AppContext& context, QWidget* parent, const TableWidthsAtClose& table);

} // namespace corvanteller
