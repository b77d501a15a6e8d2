#include "office/hand_over.h"

#include "common/file_io.h"

#include <QDir>
#include <QStandardPaths>
#include <QTemporaryFile>

#include <cerrno>

namespace corvanteller {

QString defaultHandOverFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation) +
           QStringLiteral("/handover");
}

QString createHandOverFile(const QString& folder, const QString& fileTemplate) {
    errno = 0;
    if (!QDir().mkpath(folder)) {
        throwIoError(errno);
    }
    QTemporaryFile file(QDir(folder).filePath(fileTemplate));
    file.setAutoRemove(false);
    errno = 0;
    if (!file.open()) {
        throwIoError(errno);
    }
    return file.fileName();
}

} // namespace corvanteller
