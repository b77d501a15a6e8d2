#include "scan/scan_messages.h"

#include "scan/folder_scan.h"

namespace corvanteller {

using namespace Qt::StringLiterals;

QString scanEndMessage(const ScanOutcome& outcome) {
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

} // namespace corvanteller
