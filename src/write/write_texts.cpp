// SPDX-License-Identifier: GPL-3.0-or-later
#include "write/write_texts.h"

#include <QCoreApplication>

namespace corvanteller::writeTexts {

QString controlCharacter() {
    return QCoreApplication::translate("Write", "a control character");
}

QString quotedCharacter(const QString& character) {
    return QCoreApplication::translate("Write", "'%1'").arg(character);
}

QString readsAsSoftKaraokeName() {
    return QCoreApplication::translate("Write", "the first text reads as a Soft Karaoke name");
}

QString endsTextForReader(const QString& character) {
    return QCoreApplication::translate("Write", "%1 ends the text for the reader").arg(character);
}

QString oneOrTwoCharactersReadEmpty() {
    return QCoreApplication::translate("Write", "a text of 1 or 2 characters reads as empty");
}

QString tooLongForReader() {
    return QCoreApplication::translate("Write",
                                       "a text of 128 characters or more is not read whole");
}

QString outsideEditorMakerLine() {
    return QCoreApplication::translate(
        "Write", "a maker line of an outside karaoke editor reads as the fourth text");
}

QString russianLetterEndsTitle() {
    return QCoreApplication::translate("Write",
                                       "a Russian letter other than Ф ends a Soft Karaoke title");
}

QString endsSoftKaraokeTitle(const QString& character) {
    return QCoreApplication::translate("Write", "%1 ends a Soft Karaoke title").arg(character);
}

QString oneToThreeCharactersReadEmpty() {
    return QCoreApplication::translate(
        "Write", "a text of 1 to 3 characters reads as empty in a Soft Karaoke file");
}

QString emptyTextClosesUp() {
    return QCoreApplication::translate(
        "Write", "an empty text before a filled one closes up in a Soft Karaoke file");
}

QString wouldReadAs(const QString& first, const QString& second, const QString& third,
                    const QString& fourth) {
    return QCoreApplication::translate("Write",
                                       "the file would read as \"%1\", \"%2\", \"%3\", \"%4\"")
        .arg(first, second, third, fourth);
}

QString noInfoLineAfterThirdText() {
    return QCoreApplication::translate(
        "Write", "no \"@I\" line follows the third \"@T\" line, so the reader takes no third text");
}

QString notInCp1251(const QString& text) {
    return QCoreApplication::translate("Write", "\"%1\" holds a character that cp1251 cannot hold")
        .arg(text);
}

QString notStoredWhereRead(const QString& path) {
    return QCoreApplication::translate("Write",
                                       "The texts of %1 are not stored where they are read.")
        .arg(path);
}

QString softKaraokeMaker() {
    return QCoreApplication::translate(
        "Write", "The maker of a Soft Karaoke file is its format name and is not changed.");
}

QString textsRefused(const QString& path, const QString& reason) {
    return QCoreApplication::translate("Write", "The texts cannot be written into %1: %2.")
        .arg(path, reason);
}

QString fileNotWritten(const QString& path, const QString& reason) {
    return QCoreApplication::translate("Write", "The file %1 was not written: %2.")
        .arg(path, reason);
}

QString leftAlone(const QString& path, const QString& reason) {
    return QCoreApplication::translate("Write", "The file %1 was left alone: %2.")
        .arg(path, reason);
}

QString changedSinceRead() {
    return QCoreApplication::translate("Write", "changed since it was read");
}

QString otherNames() {
    return QCoreApplication::translate("Write", "has other names, which would keep the old texts");
}

QString journalNotWritable(const QString& reason) {
    return QCoreApplication::translate("Write", "The text writing journal cannot be written: %1.")
        .arg(reason);
}

QString writtenCount(qsizetype written, qsizetype refused) {
    return QCoreApplication::translate("Write", "%1 file(s) was(were) written, %2 refused.")
        .arg(QString::number(written), QString::number(refused));
}

QString nothingToUndo() {
    return QCoreApplication::translate("Write", "There is no text writing to undo.");
}

QString undoQuestion(const QString& started, qsizetype files, const QString& firstFolder) {
    return QCoreApplication::translate("Write",
                                       "Undo the text writing of %1: %2 file(s), the first in %3?")
        .arg(started, QString::number(files), firstFolder);
}

QString notKaraokeName() {
    return QCoreApplication::translate("Write", "its name does not hold \"kar\" or \"KAR\"");
}

QString changedSinceWriting() {
    return QCoreApplication::translate("Write", "changed since the writing");
}

QString cannotRebuildOld() {
    return QCoreApplication::translate("Write", "the old file cannot be rebuilt from the journal");
}

QString previewTitle() {
    return QCoreApplication::translate("Write", "Preview of text writing");
}

QString rowColumn() {
    return QCoreApplication::translate("Write", "Row");
}

QString fileColumn() {
    return QCoreApplication::translate("Write", "File");
}

QString fileTextsColumn() {
    return QCoreApplication::translate("Write", "Texts of the file");
}

QString newTextsColumn() {
    return QCoreApplication::translate("Write", "New texts");
}

QString outcomeColumn() {
    return QCoreApplication::translate("Write", "Outcome");
}

QString toBeWritten() {
    return QCoreApplication::translate("Write", "to be written");
}

QString write() {
    return QCoreApplication::translate("Write", "Write");
}

QString cancel() {
    return QCoreApplication::translate("Write", "Cancel");
}

QString previewSummary(qsizetype files, qsizetype toWrite, qsizetype refused) {
    return QCoreApplication::translate("Write",
                                       "%1 file(s) give other texts than their rows: %2 to be "
                                       "written, %3 refused (in red). Nothing is written until "
                                       "\"Write\".")
        .arg(QString::number(files), QString::number(toWrite), QString::number(refused));
}

} // namespace corvanteller::writeTexts
