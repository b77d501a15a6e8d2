// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace corvanteller {

struct ScanOutcome;

// The scan's texts, marked for translation in the context "Scan".

// The message after a scan that listed more than 17,119 folders. "\n\r" is a line feed
// followed by a carriage return, as the program has always written it.
QString tooManyFoldersMessage();

// The error label's text after a failed scan.
QString scanErrorLabelText();

// The progress label's "N files seen, listing FOLDER".
QString scanProgressText(qint64 filesSeen, const QString& folder);

// "<n> folder(s) could not be read, such as <folder>: <reason>." after a scan that took
// folders it could not list as empty; empty otherwise.
QString unreadableFoldersMessage(const ScanOutcome& outcome);

// What the user is told after a scan that did not list every folder, so that a table that
// holds only part of the folder is never taken for the whole: empty for a complete scan and
// for one that the guard ended silently, unless folders could not be read.
QString scanEndMessage(const ScanOutcome& outcome);

// The scanning-parameters dialog.
namespace scanTexts {
QString parametersTitle();
QString plentyOfFiles();
QString operatingTimeNote();
QString helpNote();
QString ok();
QString cancel();
} // namespace scanTexts

} // namespace corvanteller
