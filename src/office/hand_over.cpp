// SPDX-License-Identifier: GPL-3.0-or-later
#include "office/hand_over.h"

#include "common/file_io.h"
#include "office/office_texts.h"

#include <QDir>
#include <QFile>
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

QString notShownMessage(const QString& path) {
    return officeTexts::notShown(path);
}

QString HandOverEngine::handOverFolder() const {
    return handOverFolder_.isEmpty() ? defaultHandOverFolder() : handOverFolder_;
}

HandOver HandOverEngine::handOver(const QString& fileTemplate,
                                  const std::function<void(const QString&)>& write,
                                  const DesktopOpener& openWithDesktop) const {
    HandOver handOver;
    handOver.path = createHandOverFile(handOverFolder(), fileTemplate);
    try {
        write(handOver.path);
    } catch (...) {
        QFile::remove(handOver.path);
        throw;
    }
    handOver.opened = openWithDesktop(handOver.path);
    return handOver;
}

} // namespace corvanteller
