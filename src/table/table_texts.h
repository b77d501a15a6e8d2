// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The table's commands' texts, marked for translation in the context "Table".
namespace corvanteller::tableTexts {

// Table > "Remove checked rows from the table" and the pop-up's "Remove rows from the table".
QString removeRowsQuestion(int rows);
QString noCheckedRows();
// The pop-up's "Open containing folder" when the desktop has no file manager.
QString noProgramForFolder(const QString& folder);

} // namespace corvanteller::tableTexts
