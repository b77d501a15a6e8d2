// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <array>

class QTextDocument;
class QWidget;

namespace corvanteller {

// Everything that would block an automated test goes through here: the real implementation
// shows Qt's dialogs, tests install a scripted one.
class UiServices {
public:
    // What a file dialog chooses. Each kind opens in the folder where a file of that kind was
    // last chosen during the run (see chooseFileToOpen).
    enum class FileKind { Other, List, Text, Workbook, Document };

    struct FileDialog {
        QString caption;
        QString filter;        // Qt's form: "Text (*.txt);;All files (*.*)"
        QString defaultSuffix; // without the dot, e.g. "sgl"
        QString startFolder;
        bool confirmOverwrite = true; // save dialogs only
        bool mustExist = true;        // open dialogs only
        FileKind kind = FileKind::Other;
    };

    virtual ~UiServices() = default;

    // The chosen existing folder as the file system names it (its bytes, which need not be
    // UTF-8), or nothing when the dialog was cancelled.
    virtual QByteArray chooseFolder(QWidget* parent, const QString& startFolder) = 0;
    // The chosen file, or an empty text when the dialog was cancelled.
    virtual QString chooseOpenFile(QWidget* parent, const FileDialog& dialog) = 0;
    virtual QString chooseSaveFile(QWidget* parent, const FileDialog& dialog) = 0;
    // A save dialog that also tells which of its filters was selected when it closed.
    struct SaveChoice {
        QString path;   // empty when the dialog was cancelled
        QString filter; // one entry of FileDialog::filter, as it stands there
    };
    virtual SaveChoice chooseSaveFileAndFilter(QWidget* parent, const FileDialog& dialog) = 0;
    // A message box with one OK button and the application's title.
    virtual void showMessage(QWidget* parent, const QString& text) = 0;
    // A message box with OK and one more button; true when the user chose the other button.
    virtual bool showMessageWithButton(QWidget* parent, const QString& text,
                                       const QString& buttonText) = 0;
    // One failure message of a run over many files, with "OK" and "No more messages"; true when
    // the user chose "No more messages".
    virtual bool showFailureMessage(QWidget* parent, const QString& text) = 0;
    // A question with "Yes" and "No" and the application's title; true for "Yes". Escape and the
    // close box mean "No".
    virtual bool askYesNo(QWidget* parent, const QString& text) = 0;
    // The application's general error report: the error's own text, one OK button.
    virtual void reportError(QWidget* parent, const QString& text) = 0;
    // Opens a file with the desktop's default program; false when that failed.
    virtual bool openWithDesktop(const QString& path) = 0;
    // Whether the system has a default printer.
    virtual bool hasDefaultPrinter() = 0;
    // Prints the document on the default printer as one job of that name. False when nothing
    // was printed; the reason has then been reported.
    virtual bool print(QWidget* parent, const QTextDocument& document, const QString& jobName) = 0;

    // chooseOpenFile and chooseSaveFile for a file of the dialog's kind: without a start folder
    // of its own the dialog starts where a file of that kind was last chosen during the run,
    // and a chosen file becomes that place.
    QString chooseFileToOpen(QWidget* parent, FileDialog dialog);
    QString chooseFileToSave(QWidget* parent, FileDialog dialog);
    SaveChoice chooseFileAndFilterToSave(QWidget* parent, FileDialog dialog);

private:
    void startInLastFolder(FileDialog& dialog) const;
    QString rememberFolder(FileKind kind, const QString& chosen);

    std::array<QString, 5> lastFolders_;
};

} // namespace corvanteller
