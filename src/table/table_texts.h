// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <array>
#include <cstddef>

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
// The close button's caption, a multiplication sign.
QString closeFilter();
// The status line while a filter hides rows.
QString shownStatus(int shown, int rows);
// The count at the right of the bottom row: "20,416 rows, 12 checked", with ", shown K".
QString countText(const QString& rows, const QString& checked, const QString& shown);

// Opening a list file.
QString notListFile();
QString tooManyRowsInList();
QString notAnInteger(const QString& line);

// The question before unsaved rows are left.
QString saveChangesTitle();
QString saveChangesQuestion();
QString yes();
QString no();
QString cancel();

// The columns' captions.
QString fileNameColumn();
QString folderColumn();
QString titleColumn();
QString makerColumn(bool madeBy);

// The table's messages and status line.
QString longCellsCut(int length);
QString processedStatus(int files);
QString renamedStatus(int files);
QString putBackStatus(int files);
QString tableFull();

// The steps that Undo and Redo name.
QString sortStep(int column, bool descending);
QString typingStep(int row);
QString markingStep(std::size_t rows, int firstRow);
QString allMarksStep(bool checked);
QString addingStep(int row);
QString removingStep(std::size_t rows, int firstRow);

// Edit > "Undo" and "Redo", with the step they undo or redo, if any.
QString undo(const QString& step);
QString redo(const QString& step);

// The table's hint and its rare greetings.
QString checkHint();
std::array<QString, 3> hintGreetings();

} // namespace corvanteller::tableTexts
