// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/ui_services.h"

namespace corvanteller {

// The file dialogs of the list commands and the workbook import, in both windows.
UiServices::FileDialog listOpenDialog();
UiServices::FileDialog listSaveDialog();
UiServices::FileDialog excelOpenDialog();

} // namespace corvanteller
