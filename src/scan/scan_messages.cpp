// SPDX-License-Identifier: GPL-3.0-or-later
#include "scan/scan_messages.h"

#include "scan/folder_scan.h"

#include <QCoreApplication>

namespace corvanteller {

using namespace Qt::StringLiterals;

namespace {

QString endMessage(const ScanOutcome& outcome) {
    switch (outcome.end) {
    case ScanEnd::Complete:
    case ScanEnd::Guard:
        return {};
    case ScanEnd::TooManyFolders:
        return tooManyFoldersMessage();
    case ScanEnd::ReadError:
        return QCoreApplication::translate(
                   "Scan", "The scan stopped at %1: %2. The rows read before it are in the table.")
            .arg(outcome.errorPath, outcome.errorReason);
    case ScanEnd::RowLimit:
        return QCoreApplication::translate(
                   "Scan", "The table holds at most 45002 rows: the scan stopped at %1. The rows "
                           "read before it are in the table.")
            .arg(outcome.stoppedInFolder);
    case ScanEnd::QueueLimit:
        return QCoreApplication::translate(
                   "Scan", "The scan can keep at most 45002 folders waiting to be listed: it "
                           "stopped at %1. The rows read before it are in the table.")
            .arg(outcome.stoppedInFolder);
    case ScanEnd::Stopped:
        return QCoreApplication::translate(
                   "Scan", "The scan was stopped at %1. The rows read before it are in the table.")
            .arg(outcome.stoppedInFolder);
    }
    return {};
}

} // namespace

QString tooManyFoldersMessage() {
    return QCoreApplication::translate(
        "Scan",
        "Ошибка!\n\rВ выбранной папке находится очень много файлов или очень большая глубина "
        "вложенных папок (в том числе пустых). Выберите одну из вложенных папок и повторите "
        "попытку! За более подробной информацией обращайтесь к Помощи….");
}

QString scanErrorLabelText() {
    return QCoreApplication::translate("Scan", "Ошибка!!!!");
}

QString scanProgressText(qint64 filesSeen, const QString& folder) {
    return QCoreApplication::translate("Scan", "%1 files seen, listing %2")
        .arg(QString::number(filesSeen), folder);
}

QString unreadableFoldersMessage(const ScanOutcome& outcome) {
    if (outcome.unreadableFolders == 0) {
        return {};
    }
    return QCoreApplication::translate("Scan", "%1 folder(s) could not be read, such as %2: %3.")
        .arg(QString::number(outcome.unreadableFolders), outcome.unreadableFolder,
             outcome.unreadableReason);
}

QString scanEndMessage(const ScanOutcome& outcome) {
    const QString end = endMessage(outcome);
    const QString unreadable = unreadableFoldersMessage(outcome);
    if (end.isEmpty() || unreadable.isEmpty()) {
        return end + unreadable;
    }
    return end + u"\n\n"_s + unreadable;
}

namespace scanTexts {

QString parametersTitle() {
    return QCoreApplication::translate("Scan", "Настройки сканирования");
}

QString plentyOfFiles() {
    return QCoreApplication::translate("Scan", "Processing of a plenty of files");
}

QString operatingTimeNote() {
    return QCoreApplication::translate(
        "Scan", "Check of the checkbox will increase an operating time of the program");
}

QString helpNote() {
    return QCoreApplication::translate(
        "Scan", "More in detail about use of the given option you can read in the Help");
}

QString ok() {
    return QCoreApplication::translate("Scan", "OK");
}

QString cancel() {
    return QCoreApplication::translate("Scan", "Cancel");
}

} // namespace scanTexts

} // namespace corvanteller
