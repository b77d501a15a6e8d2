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

// Table > "Mark duplicates" and "Mark identical files".
QString duplicatesMarked(int rows);
QString identicalFilesMarked(int rows);

// The main window's title with a list: "songs.sgl* - Corvanteller".
QString listWindowTitle(const QString& listName, bool unsaved);

// File > "Recent lists".
QString recentLists();
QString noRecentLists();
QString recentListGone(const QString& path);

// The filter line.
QString filterLabel();
QString allColumns();
QString markShown();
// The status line while a filter hides rows.
QString shownStatus(int shown, int rows);
// The count at the right of the bottom row: "20,416 rows, 12 checked", with ", shown K".
QString countText(const QString& rows, const QString& checked, const QString& shown);

} // namespace corvanteller::tableTexts
