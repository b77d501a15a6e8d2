// SPDX-License-Identifier: GPL-3.0-or-later
#include "rename/rename_texts.h"

#include <QCoreApplication>

#include <array>

namespace corvanteller::renameTexts {

namespace {

QString translated(const char* text) {
    return QCoreApplication::translate("Rename", text);
}

// Indexed by NamePart; the dialog tells the parts apart by these captions.
const std::array<const char*, 8> partCaptions = {
    QT_TRANSLATE_NOOP("Rename", "Initial Name of file"),
    QT_TRANSLATE_NOOP("Rename", "3 nd column of your table"),
    QT_TRANSLATE_NOOP("Rename", "4 th column of your table"),
    QT_TRANSLATE_NOOP("Rename", "5 th column of your table"),
    QT_TRANSLATE_NOOP("Rename", "6 th column of your table"),
    QT_TRANSLATE_NOOP("Rename", "Your string"),
    QT_TRANSLATE_NOOP("Rename", "Choose from list"),
    QT_TRANSLATE_NOOP("Rename", "Date and time"),
};

// In the order of the separators they show.
const std::array<const char*, 8> separatorCaptions = {
    QT_TRANSLATE_NOOP("Rename", "Space \" \""),
    QT_TRANSLATE_NOOP("Rename", "2 spaces \"  \""),
    QT_TRANSLATE_NOOP("Rename", "Point with comma + space  \"; \""),
    QT_TRANSLATE_NOOP("Rename", "Dash (one) \"-\""),
    QT_TRANSLATE_NOOP("Rename", "Dash (two) \"--\""),
    QT_TRANSLATE_NOOP("Rename", "Dash with spaces \" -- \""),
    QT_TRANSLATE_NOOP("Rename", "\"_\""),
    QT_TRANSLATE_NOOP("Rename", "2 points + space \".. \""),
};

const std::array<const char*, 8> partDescriptions = {
    QT_TRANSLATE_NOOP("Rename", "To the new name of a file will be added it present name"),
    QT_TRANSLATE_NOOP("Rename",
                      "Contents of the third column of your table will be added to the new name "
                      "of a file  (for each file). Name of a composition and / or a name of the "
                      "executor usually exist there"),
    QT_TRANSLATE_NOOP("Rename",
                      "Contents of the fourth column of your table will be added to the new name "
                      "of a file  (for each file). Usually, but not always, here there is a "
                      "surname and name of the author of words songs."),
    QT_TRANSLATE_NOOP("Rename",
                      "Contents of the fifth column of your table will be added to the new name "
                      "of a file  (for each file). Usually, but not always, here there is a "
                      "surname and name of the author of music songs here."),
    QT_TRANSLATE_NOOP("Rename",
                      "Contents of the sixth column of your table will be added to the new name "
                      "of a file  (for each file). Usually here there is a name of the program, "
                      "with which help the given file was created.  Also any advertising "
                      "information (site, e-mail etc.) can exist here. "),
    QT_TRANSLATE_NOOP(
        "Rename", "The string  which you enter below will be added to names of all new files. "),
    QT_TRANSLATE_NOOP(
        "Rename", "Item which you choose from the list will be added to names of all new files "),
    QT_TRANSLATE_NOOP("Rename", "The date and / or time  will be added to names of all new files"),
};

const std::array<const char*, 5> previewColumns = {
    QT_TRANSLATE_NOOP("Rename", "Row"),      QT_TRANSLATE_NOOP("Rename", "Folder"),
    QT_TRANSLATE_NOOP("Rename", "Old name"), QT_TRANSLATE_NOOP("Rename", "New name"),
    QT_TRANSLATE_NOOP("Rename", "Remark"),
};

} // namespace

QString dialogTitle() {
    return QCoreApplication::translate("Rename", "Complex rename of files from your table");
}

QString instruction() {
    return QCoreApplication::translate(
        "Rename",
        "Choose parts of new names of your files will consist and in what order they will follow");
}

QString moveUp() {
    return QCoreApplication::translate("Rename", "Up");
}

QString moveUpHint() {
    return QCoreApplication::translate("Rename", "Переместить строку на один пункт вверх");
}

QString moveDown() {
    return QCoreApplication::translate("Rename", "Down");
}

QString moveDownHint() {
    return QCoreApplication::translate("Rename", "Переместить строку на один пункт вниз");
}

QString whatWillBeAdded() {
    return QCoreApplication::translate("Rename", "What will be added");
}

QString addDate() {
    return QCoreApplication::translate("Rename", "Date");
}

QString addTime() {
    return QCoreApplication::translate("Rename", "Time");
}

QString addDateAndTime() {
    return QCoreApplication::translate("Rename", "Date and time");
}

QString betweenComponents() {
    return QCoreApplication::translate("Rename", "Between components of name");
}

QString longNamesRemark() {
    return QCoreApplication::translate("Rename",
                                       "The remark: if the name of file in a result will turn out "
                                       "more than 255 symbols, all superfluous symbols will be "
                                       "rejected. ");
}

QString whatFiles() {
    return QCoreApplication::translate("Rename", "What files");
}

QString allFiles() {
    return QCoreApplication::translate("Rename", "All");
}

QString onlyChecked() {
    return QCoreApplication::translate("Rename", "Only checked");
}

QString preview() {
    return QCoreApplication::translate("Rename", "Preview");
}

QString startRenaming() {
    return QCoreApplication::translate("Rename", "Start renaming");
}

QString cancel() {
    return QCoreApplication::translate("Rename", "Cancel");
}

QString forbiddenCharactersWarning() {
    return QCoreApplication::translate(
        "Rename", "Characters \\/:*?\"<>| aren't be able to enter name of catalogy!");
}

QString partDescription(std::size_t part) {
    return translated(partDescriptions.at(part));
}

QString partCaption(std::size_t part) {
    return translated(partCaptions.at(part));
}

std::size_t partCount() {
    return partCaptions.size();
}

QString separatorCaption(std::size_t separator) {
    return translated(separatorCaptions.at(separator));
}

QString previewTitle() {
    return QCoreApplication::translate("Rename", "Preview of complex renaming");
}

QString previewColumn(std::size_t column) {
    return translated(previewColumns.at(column));
}

QString closePreview() {
    return QCoreApplication::translate("Rename", "Close");
}

QString previewSummary(qsizetype files, qsizetype renamed, qsizetype failed) {
    return QCoreApplication::translate("Rename",
                                       "%1 file(s) in the run: %2 to be renamed, %3 not renamed "
                                       "(in red). Nothing is renamed here.")
        .arg(files)
        .arg(renamed)
        .arg(failed);
}

QString noSuchFileRemark() {
    return QCoreApplication::translate("Rename", "no such file");
}

QString notKaraokeRemark() {
    return QCoreApplication::translate("Rename", "not a karaoke file");
}

QString impossibleNameRemark() {
    return QCoreApplication::translate("Rename", "impossible name");
}

QString emptyNameRemark() {
    return QCoreApplication::translate("Rename", "empty name");
}

QString cutRemark() {
    return QCoreApplication::translate("Rename", "cut to 255 bytes");
}

QString renamedByEarlierRowRemark() {
    return QCoreApplication::translate("Rename", "renamed by an earlier row");
}

QString nameUnchangedRemark() {
    return QCoreApplication::translate("Rename", "name unchanged");
}

QString sameNewNameRemark(int row) {
    return QCoreApplication::translate("Rename", "same new name as row %1").arg(row);
}

QString nameExistsRemark() {
    return QCoreApplication::translate("Rename", "a file of this name exists");
}

QString folderNotWritableRemark() {
    return QCoreApplication::translate("Rename", "the folder cannot be written");
}

QString complexFailure(const QString& path) {
    return QCoreApplication::translate("Rename",
                                       "Can't rename %1. Error in new name of a file or file with "
                                       "such name, as a new name of a file, already exists. Or "
                                       "the file is busy by other application ")
        .arg(path);
}

QString complexFailureFromStartWindow(const QString& path) {
    return QCoreApplication::translate("Rename",
                                       "Не удалось переименовать %1. Недопустимое новое имя файла "
                                       "или файл с таким именем, как новое имя файла, уже "
                                       "существует. Или Файл занят другим приложением")
        .arg(path);
}

QString emptyName(const QString& path) {
    return QCoreApplication::translate("Rename",
                                       "Can't rename %1. New name mustn't be empty string")
        .arg(path);
}

QString emptyNameFromStartWindow(const QString& path) {
    return QCoreApplication::translate("Rename",
                                       "Can't rename %1. New name mustn't be empty string. :)")
        .arg(path);
}

QString cannotPutBack(const QString& newPath, const QString& oldPath) {
    return QCoreApplication::translate("Rename", "Can't put back %1 as %2.").arg(newPath, oldPath);
}

QString notWhereLeft(const QString& newPath) {
    return QCoreApplication::translate("Rename",
                                       "Can't put back %1: the file is not where the renaming "
                                       "left it.")
        .arg(newPath);
}

QString notKaraoke(const QString& path) {
    return QCoreApplication::translate(
               "Rename",
               "%1 is not a karaoke file (its name has no \"kar\"), so it was not renamed.")
        .arg(path);
}

QString nameColumnFailure(const QString& path) {
    return QCoreApplication::translate("Rename",
                                       "Can't rename %1. Imposible name of file or the file busy "
                                       "by another application.")
        .arg(path);
}

QString noSuchFile(const QString& path) {
    return QCoreApplication::translate("Rename", "Can't rename %1. There is no such file.")
        .arg(path);
}

QString nothingToUndo() {
    return QCoreApplication::translate("Rename", "There is no renaming to undo.");
}

QString noPartChecked() {
    return QCoreApplication::translate("Rename",
                                       "One or more items from the list should be checked.");
}

QString journalUnavailable(const QString& reason) {
    return QCoreApplication::translate("Rename", "The renaming journal cannot be written: %1.")
        .arg(reason);
}

QString dropRunQuestion(qsizetype files) {
    return QCoreApplication::translate(
               "Rename", "The oldest renaming still has %1 file(s) that can be put back. Drop it?")
        .arg(files);
}

QString damagedLines(qsizetype lines) {
    return QCoreApplication::translate("Rename",
                                       "%1 line(s) of the renaming journal are damaged and were "
                                       "not undone; the file(s) they name may keep their new "
                                       "names:")
        .arg(lines);
}

QString undoQuestion(const QString& when, qsizetype files, const QString& where) {
    return QCoreApplication::translate("Rename", "Undo %1: %2 file(s)%3?")
        .arg(when, QString::number(files), where);
}

QString renamingOf(const QString& started) {
    return QCoreApplication::translate("Rename", "the renaming of %1").arg(started);
}

QString lastRenaming() {
    return QCoreApplication::translate("Rename", "the last renaming");
}

QString inFolder(const QString& folder) {
    return QCoreApplication::translate("Rename", " in %1...").arg(folder);
}

} // namespace corvanteller::renameTexts
