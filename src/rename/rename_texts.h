// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <cstddef>

// The renaming's texts, marked for translation in the context "Rename". Each is the program's
// text as it has always been; the ones with a path or a count take it as an argument.
namespace corvanteller::renameTexts {

// The complex-renaming dialog.
QString dialogTitle();
QString instruction();
QString moveUp();
QString moveUpHint();
QString moveDown();
QString moveDownHint();
QString whatWillBeAdded();
QString addDate();
QString addTime();
QString addDateAndTime();
QString betweenComponents();
QString longNamesRemark();
QString whatFiles();
QString allFiles();
QString onlyChecked();
QString preview();
QString startRenaming();
QString cancel();
QString forbiddenCharactersWarning();
// The description of a name part, indexed by NamePart.
QString partDescription(std::size_t part);
// The caption of a name part, indexed by NamePart, and how many parts there are.
QString partCaption(std::size_t part);
std::size_t partCount();
// "Between components of name": the caption of each separator, in their order.
QString separatorCaption(std::size_t separator);

// The preview window.
QString previewTitle();
QString previewColumn(std::size_t column);
QString closePreview();
QString previewSummary(qsizetype files, qsizetype renamed, qsizetype failed);

// Why a row is not renamed, or what happens to it, as the preview's remark.
QString noSuchFileRemark();
QString notKaraokeRemark();
QString impossibleNameRemark();
QString emptyNameRemark();
QString cutRemark();
QString renamedByEarlierRowRemark();
QString nameUnchangedRemark();
QString sameNewNameRemark(int row);
QString nameExistsRemark();
QString folderNotWritableRemark();

// Messages.
QString complexFailure(const QString& path);
QString complexFailureFromStartWindow(const QString& path);
QString emptyName(const QString& path);
QString emptyNameFromStartWindow(const QString& path);
QString cannotPutBack(const QString& newPath, const QString& oldPath);
QString notWhereLeft(const QString& newPath);
QString notKaraoke(const QString& path);
QString nameColumnFailure(const QString& path);
QString noSuchFile(const QString& path);
QString nothingToUndo();
QString noPartChecked();
QString journalUnavailable(const QString& reason);
QString dropRunQuestion(qsizetype files);
QString damagedLines(qsizetype lines);

// "Undo <when>: <n> file(s)<where>?", where <when> is one of the two below and <where> is empty
// or inFolder's text.
QString undoQuestion(const QString& when, qsizetype files, const QString& where);
QString renamingOf(const QString& started);
QString lastRenaming();
QString inFolder(const QString& folder);

} // namespace corvanteller::renameTexts
