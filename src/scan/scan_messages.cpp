// SPDX-License-Identifier: GPL-3.0-or-later
#include "scan/scan_messages.h"

#include "scan/folder_scan.h"

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
        return u"The scan stopped at "_s + outcome.errorPath + u": "_s + outcome.errorReason +
               u". The rows read before it are in the table."_s;
    case ScanEnd::RowLimit:
        return u"The table holds at most 45002 rows: the scan stopped at "_s +
               outcome.stoppedInFolder + u". The rows read before it are in the table."_s;
    case ScanEnd::QueueLimit:
        return u"The scan can keep at most 45002 folders waiting to be listed: it stopped at "_s +
               outcome.stoppedInFolder + u". The rows read before it are in the table."_s;
    case ScanEnd::Stopped:
        return u"The scan was stopped at "_s + outcome.stoppedInFolder +
               u". The rows read before it are in the table."_s;
    }
    return {};
}

} // namespace

QString unreadableFoldersMessage(const ScanOutcome& outcome) {
    if (outcome.unreadableFolders == 0) {
        return {};
    }
    return QString::number(outcome.unreadableFolders) +
           u" folder(s) could not be read, such as "_s + outcome.unreadableFolder + u": "_s +
           outcome.unreadableReason + u'.';
}

QString scanEndMessage(const ScanOutcome& outcome) {
    const QString end = endMessage(outcome);
    const QString unreadable = unreadableFoldersMessage(outcome);
    if (end.isEmpty() || unreadable.isEmpty()) {
        return end + unreadable;
    }
    return end + u"\n\n"_s + unreadable;
}

} // namespace corvanteller
