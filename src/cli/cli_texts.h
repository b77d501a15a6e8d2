// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

// The command line's texts, marked for translation in the context "Cli". Each is the program's
// text as it has always been; the ones with a name or a count take it as an argument. The
// "corvanteller-cli: " before a message stays with the code that writes it.
namespace corvanteller::cliTexts {

// --help: the manual page is made from it.
QByteArray helpText();

// Why a call is wrong, and the line that tells it.
QString noCommand();
QString unknownCommand(const QString& command);
QString wrongSort();
QString wrongOption(const QString& option);
QString takesOneFolder(const QString& command);
QString exportNeedsTarget();
QString importTakesOneWorkbook();
QString importTargetEnding();
QString readTakesFiles();
QString writeListTakesNoFile();
QString writeTakesFileAndTexts();
QString undoWriteTakesNothing();
QString seeHelp(const QString& problem);

// Messages of the commands.
QString noSuchFolder(const QString& folder);
QString noSuchFile(const QString& folder, const QString& name);
QString emptyTableNoWorkbook(const QString& path);
QString settingsProblem(const QString& message);
QString fileProblem(const QString& path, const QString& reason);
QString unknownError();
QString putBackCount(qsizetype putBack, qsizetype leftAlone);
QString wouldWriteCount(qsizetype wouldWrite, qsizetype refused);

} // namespace corvanteller::cliTexts
