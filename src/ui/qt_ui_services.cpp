#include "ui/qt_ui_services.h"

#include "common/file_filters.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QTextDocument>
#include <QUrl>

namespace corvanteller {

namespace {

using namespace Qt::StringLiterals;

QString applicationTitle() {
    return u"Corvanteller"_s;
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

QString QtUiServices::chooseFolder(QWidget* parent, const QString& startFolder) {
    // Read-only: the folder dialog only picks an existing folder and never creates one.
    return QFileDialog::getExistingDirectory(parent, QString(), startFolder,
                                             QFileDialog::ShowDirsOnly | QFileDialog::ReadOnly);
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
    QPushButton* noMore = box.addButton(u"No more messages"_s, QMessageBox::RejectRole);
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
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

bool QtUiServices::hasDefaultPrinter() {
    return !QPrinterInfo::defaultPrinter().isNull();
}

bool QtUiServices::print(QWidget* parent, const QTextDocument& document, const QString& jobName) {
    // Without a printer Qt would quietly print to a PDF file of no name and call it done.
    const QPrinterInfo printerInfo = QPrinterInfo::defaultPrinter();
    if (printerInfo.isNull()) {
        reportError(parent, u"There is no default printer currently selected"_s);
        return false;
    }
    QPrinter printer(printerInfo);
    printer.setDocName(jobName);
    if (!printer.isValid()) {
        reportError(parent, u"The print job could not be started."_s);
        return false;
    }
    document.print(&printer);
    if (printer.printerState() == QPrinter::Error) {
        reportError(parent, u"The print job could not be started."_s);
        return false;
    }
    return true;
}

} // namespace corvanteller
