// SPDX-License-Identifier: GPL-3.0-or-later
#include "office/xls_reader.h"

#include "common/build_info.h"
#include "common/error.h"
#include "common/file_io.h"
#include "office/office_texts.h"
#include "office/workbook.h"
#include "office/workbook_reading.h"
#include "office/xls_output.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QProcess>

#include <cerrno>
#include <cstring>

namespace corvanteller {

using namespace Qt::StringLiterals;

namespace {

constexpr qsizetype maxOutputBytes = 256 * 1024 * 1024;
// The helper's exit status for a workbook protected by a password.
constexpr int exitProtected = 4;
// ... for a workbook of Excel 5.0/95.
constexpr int exitExcel95 = 5;
const QString helperName = u"corvanteller-xls-reader"_s;

QString& configuredPath() {
    static QString path;
    return path;
}

int& configuredTimeLimit() {
    static int milliseconds = 30'000;
    return milliseconds;
}

// Why the helper did not start: its path when there is no program to run there, else the
// system's reason ("Too many open files" when no descriptor is left for the pipes it needs).
QString startFailureMessage(const QProcess& process, const QString& helper, int code) {
    if (!QFileInfo(helper).isExecutable()) {
        return xlsReaderMissingMessage(helper);
    }
    const QString reason = process.errorString();
    for (const int limit : {EMFILE, ENFILE}) {
        if (code == limit || reason.contains(QString::fromLocal8Bit(std::strerror(limit)))) {
            return xlsReaderStartFailedMessage(ioErrorText(limit));
        }
    }
    return xlsReaderStartFailedMessage(reason);
}

[[noreturn]] void stopHelper(QProcess& process, const QString& message) {
    process.kill();
    process.waitForFinished(5'000);
    throw UserError(message);
}

} // namespace

QString xlsReaderPath() {
    if (!configuredPath().isEmpty()) {
        return configuredPath();
    }
    const QString programFolder = QCoreApplication::applicationDirPath();
    const QString beside = QDir(programFolder).filePath(helperName);
    if (QFileInfo(beside).isExecutable()) {
        return beside;
    }
    // Installed, it lies in the helpers' folder, found from the program's own.
    return QDir::cleanPath(programFolder + u'/' + QString::fromUtf8(build::helpersFromPrograms) +
                           u'/' + helperName);
}

void setXlsReaderPath(const QString& path) {
    configuredPath() = path;
}

int xlsReaderTimeLimitMs() {
    return configuredTimeLimit();
}

void setXlsReaderTimeLimitMs(int milliseconds) {
    configuredTimeLimit() = milliseconds;
}

QString xlsReaderStartFailedMessage(const QString& reason) {
    return officeTexts::xlsReaderStartFailed(reason);
}

QString xlsReaderMissingMessage(const QString& helper) {
    return xlsReaderStartFailedMessage(helper);
}

std::unique_ptr<Worksheet> readXlsFirstWorksheet(const QString& path) {
    const QString helper = xlsReaderPath();
    QProcess process;
    process.setProgram(helper);
    process.setArguments({path});
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    const QDeadlineTimer deadline(xlsReaderTimeLimitMs());
    errno = 0;
    process.start(QIODevice::ReadOnly);
    const int startError = errno;
    if (!process.waitForStarted(static_cast<int>(std::max<qint64>(deadline.remainingTime(), 1)))) {
        if (process.error() == QProcess::FailedToStart) {
            throw UserError(startFailureMessage(process, helper, startError));
        }
        stopHelper(process, cannotReadWorkbookMessage());
    }
    QByteArray output;
    for (;;) {
        output += process.readAllStandardOutput();
        if (output.size() > maxOutputBytes) {
            stopHelper(process, workbookTooLargeMessage());
        }
        if (process.state() == QProcess::NotRunning) {
            break;
        }
        if (deadline.hasExpired()) {
            stopHelper(process, cannotReadWorkbookMessage());
        }
        if (!process.waitForReadyRead(
                static_cast<int>(std::max<qint64>(deadline.remainingTime(), 1)))) {
            // Finished, or nothing within the time left: the next round tells which.
            process.waitForFinished(
                static_cast<int>(std::max<qint64>(deadline.remainingTime(), 0)));
        }
    }
    output += process.readAllStandardOutput();
    if (process.exitStatus() == QProcess::NormalExit && process.exitCode() == exitProtected) {
        throw UserError(passwordProtectedMessage());
    }
    if (process.exitStatus() == QProcess::NormalExit && process.exitCode() == exitExcel95) {
        throw UserError(oldFormatMessage(u"5.0/95"_s));
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        throw UserError(cannotReadWorkbookMessage());
    }
    std::unique_ptr<Worksheet> sheet = parseXlsOutput(output);
    if (!sheet) {
        throw UserError(cannotReadWorkbookMessage());
    }
    return sheet;
}

} // namespace corvanteller
