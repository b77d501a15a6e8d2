// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The text writing's texts, marked for translation in the context "Write". Each is the
// program's text as it has always been; the ones with a path, a reason or a count take it as an
// argument.
namespace corvanteller::writeTexts {

// Why the reader would not give a text as it is asked.
QString controlCharacter();
QString quotedCharacter(const QString& character);
QString readsAsSoftKaraokeName();
QString endsTextForReader(const QString& character);
QString oneOrTwoCharactersReadEmpty();
QString tooLongForReader();
QString outsideEditorMakerLine();
QString russianLetterEndsTitle();
QString endsSoftKaraokeTitle(const QString& character);
QString oneToThreeCharactersReadEmpty();
QString emptyTextClosesUp();
QString wouldReadAs(const QString& first, const QString& second, const QString& third,
                    const QString& fourth);
QString noInfoLineAfterThirdText();
QString notInCp1251(const QString& text);

// Messages of a file's writing.
QString notStoredWhereRead(const QString& path);
QString softKaraokeMaker();
QString textsRefused(const QString& path, const QString& reason);
QString fileNotWritten(const QString& path, const QString& reason);
QString leftAlone(const QString& path, const QString& reason);
QString changedSinceRead();
QString otherNames();
QString journalNotWritable(const QString& reason);
QString writtenCount(qsizetype written, qsizetype refused);
QString nothingToUndo();
QString undoQuestion(const QString& started, qsizetype files, const QString& firstFolder);
QString notKaraokeName();
QString changedSinceWriting();
QString cannotRebuildOld();

// The preview window.
QString previewTitle();
QString rowColumn();
QString fileColumn();
QString fileTextsColumn();
QString newTextsColumn();
QString outcomeColumn();
QString toBeWritten();
QString write();
QString cancel();
QString previewSummary(qsizetype files, qsizetype toWrite, qsizetype refused);

} // namespace corvanteller::writeTexts
