// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/qt_ui_services.h"

#include "common/file_filters.h"
#include "ui/folder_chooser.h"
#include "ui/ui_texts.h"

#include <QDir>
#include <QEventLoop>
#include <QFileDialog>
#include <QMessageBox>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTextDocument>
#include <QTimer>

#include <utility>

namespace corvanteller {

namespace {

using namespace Qt::StringLiterals;

// How long the desktop's opener has to say that it found no program.
constexpr int openerWaitMs = 4000;

QString applicationTitle() {
    return uiTexts::messageTitle();
}

// Qt's dialogs have no read-only check box, so there is nothing to hide. A filter with an ending
// of its own gives it to a name typed without one, so that the overwrite question asks about the
// file that will be written.
UiServices::SaveChoice runFileDialog(QWidget* parent, const UiServices::FileDialog& options,
                                     QFileDialog::AcceptMode acceptMode,
                                     QFileDialog::FileMode fileMode) {
    QFileDialog dialog(parent, options.caption, options.startFolder, options.filter);
    dialog.setAcceptMode(acceptMode);
    dialog.setFileMode(fileMode);
    dialog.setDefaultSuffix(options.defaultSuffix);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !options.confirmOverwrite);
    if (acceptMode == QFileDialog::AcceptSave) {
        QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                         [&dialog, &options](const QString& filter) {
                             const QString ending = filterEnding(filter);
                             dialog.setDefaultSuffix(ending.isEmpty() ? options.defaultSuffix
                                                                      : ending);
                         });
    }
    if (dialog.exec() != QDialog::Accepted) {
        return {};
    }
    const QStringList files = dialog.selectedFiles();
    if (files.isEmpty()) {
        return {};
    }
    return {files.constFirst(), dialog.selectedNameFilter()};
}

void showOkBox(QWidget* parent, QMessageBox::Icon icon, const QString& text) {
    QMessageBox box(icon, applicationTitle(), text, QMessageBox::Ok, parent);
    box.exec();
}

} // namespace

QByteArray QtUiServices::chooseFolder(QWidget* parent, const QString& startFolder) {
    // The program's own dialog, which lists and returns names that are not UTF-8. It only picks
    // an existing folder and never creates one.
    FolderChooser dialog(folderBytesOf(startFolder.isEmpty() ? QDir::homePath() : startFolder),
                         parent);
    return dialog.exec() == QDialog::Accepted ? dialog.chosen() : QByteArray();
}

QString QtUiServices::chooseOpenFile(QWidget* parent, const FileDialog& dialog) {
    return runFileDialog(parent, dialog, QFileDialog::AcceptOpen,
                         dialog.mustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile)
        .path;
}

QString QtUiServices::chooseSaveFile(QWidget* parent, const FileDialog& dialog) {
    return chooseSaveFileAndFilter(parent, dialog).path;
}

UiServices::SaveChoice QtUiServices::chooseSaveFileAndFilter(QWidget* parent,
                                                             const FileDialog& dialog) {
    return runFileDialog(parent, dialog, QFileDialog::AcceptSave, QFileDialog::AnyFile);
}

void QtUiServices::showMessage(QWidget* parent, const QString& text) {
    showOkBox(parent, QMessageBox::NoIcon, text);
}

bool QtUiServices::showMessageWithButton(QWidget* parent, const QString& text,
                                         const QString& buttonText) {
    QMessageBox box(QMessageBox::NoIcon, applicationTitle(), text, QMessageBox::Ok, parent);
    QPushButton* other = box.addButton(buttonText, QMessageBox::AcceptRole);
    box.setDefaultButton(QMessageBox::Ok);
    box.exec();
    return box.clickedButton() == other;
}

bool QtUiServices::showFailureMessage(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, applicationTitle(), text, QMessageBox::Ok, parent);
    QPushButton* noMore = box.addButton(uiTexts::noMoreMessages(), QMessageBox::RejectRole);
    box.setDefaultButton(QMessageBox::Ok);
    // Escape goes on showing messages; only the button itself silences the rest of the run.
    box.setEscapeButton(QMessageBox::Ok);
    box.exec();
    return box.clickedButton() == noMore;
}

bool QtUiServices::askYesNo(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::Question, applicationTitle(), text,
                    QMessageBox::Yes | QMessageBox::No, parent);
    box.setDefaultButton(QMessageBox::No);
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

void QtUiServices::reportError(QWidget* parent, const QString& text) {
    showOkBox(parent, QMessageBox::Critical, text);
}

bool QtUiServices::openWithDesktop(const QString& path) {
    // QDesktopServices reports success as soon as its opener starts. The opener's exit status
    // tells more: xdg-open ends with 3 when no program takes the file and 4 when it failed.
    const std::pair<QString, QStringList> openers[] = {{u"xdg-open"_s, {path}},
                                                       {u"gio"_s, {u"open"_s, path}}};
    for (const auto& [name, arguments] : openers) {
        const QString program = QStandardPaths::findExecutable(name);
        if (program.isEmpty()) {
            continue;
        }
        // Never destroyed while it runs, which would kill it and perhaps the program it waits
        // for; at the program's end it is left to run on. It writes nowhere, so it lives on
        // without the program.
        auto* opener = new QProcess;
        opener->setProgram(program);
        opener->setArguments(arguments);
        opener->setStandardInputFile(QProcess::nullDevice());
        opener->setStandardOutputFile(QProcess::nullDevice());
        opener->setStandardErrorFile(QProcess::nullDevice());
        opener->start();
        if (!opener->waitForStarted()) {
            delete opener;
            continue;
        }
        // Some desktops' openers wait for the program they start: one still running after
        // that time has found a program. Meanwhile the windows paint but take no input.
        QEventLoop wait;
        QTimer::singleShot(openerWaitMs, &wait, &QEventLoop::quit);
        QObject::connect(opener, &QProcess::finished, &wait, &QEventLoop::quit);
        wait.exec(QEventLoop::ExcludeUserInputEvents);
        if (opener->state() != QProcess::NotRunning) {
            QObject::connect(opener, &QProcess::finished, opener, &QObject::deleteLater);
            return true;
        }
        const bool opened = opener->exitStatus() == QProcess::NormalExit && opener->exitCode() == 0;
        delete opener;
        return opened;
    }
    return false;
}

bool QtUiServices::hasDefaultPrinter() {
    return !QPrinterInfo::defaultPrinter().isNull();
}

bool QtUiServices::print(QWidget* parent, const QTextDocument& document, const QString& jobName) {
    // Without a printer Qt would quietly print to a PDF file of no name and call it done.
    const QPrinterInfo printerInfo = QPrinterInfo::defaultPrinter();
    if (printerInfo.isNull()) {
        reportError(parent, uiTexts::noDefaultPrinter());
        return false;
    }
    QPrinter printer(printerInfo);
    printer.setDocName(jobName);
    if (!printer.isValid()) {
        reportError(parent, uiTexts::printJobNotStarted());
        return false;
    }
    document.print(&printer);
    if (printer.printerState() == QPrinter::Error) {
        reportError(parent, uiTexts::printJobNotStarted());
        return false;
    }
    return true;
}

} // namespace corvanteller
