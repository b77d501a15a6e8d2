// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/ui_services.h"

#include <QList>
#include <QQueue>
#include <QStringList>

#include <functional>

namespace corvanteller {

// UI services for window tests: dialogs answer from queues that the test fills beforehand, and
// every call is recorded so that the test can check what was asked and shown. A dialog called
// with no answer queued fails the running test and answers as if cancelled.
class ScriptedUiServices final : public UiServices {
public:
    // Queue the next answers; an empty text is a cancelled dialog.
    void answerFolder(const QString& folder) { folderAnswers_.enqueue(folder); }
    void answerOpenFile(const QString& path) { openAnswers_.enqueue(path); }
    // With a filter: the entry of the dialog's filter selected when it closed (else its first).
    void answerSaveFile(const QString& path, const QString& filter = {}) {
        saveAnswers_.enqueue(path);
        saveFilterAnswers_.enqueue(filter);
    }
    // What openWithDesktop reports from now on (true unless set).
    void setDesktopOpens(bool opens) { desktopOpens_ = opens; }
    // What print reports from now on (true unless set); with a path, each printed document is
    // also written there as a PDF file.
    void setPrintResult(bool printed) { printResult_ = printed; }
    void printToPdf(const QString& path) { pdfPath_ = path; }
    // What hasDefaultPrinter reports from now on (true unless set).
    void setHasDefaultPrinter(bool has) { hasDefaultPrinter_ = has; }

    // The next failure message is answered with "No more messages"; unanswered ones get "OK".
    void answerNoMoreMessages() { noMoreAnswers_.enqueue(true); }
    // The next message with an extra button is answered with that button; unanswered ones get
    // "OK".
    void answerOtherButton() { otherButtonAnswers_.enqueue(true); }

    // The next Yes/No question is answered so.
    void answerYesNo(bool yes) { yesNoAnswers_.enqueue(yes); }

    // Drops the answers that no dialog has taken.
    void clearAnswers() {
        folderAnswers_.clear();
        openAnswers_.clear();
        saveAnswers_.clear();
        saveFilterAnswers_.clear();
        noMoreAnswers_.clear();
        yesNoAnswers_.clear();
        otherButtonAnswers_.clear();
    }

    // True when every queued answer has been taken.
    bool allAnswersUsed() const {
        return folderAnswers_.isEmpty() && openAnswers_.isEmpty() && saveAnswers_.isEmpty() &&
               yesNoAnswers_.isEmpty();
    }

    QByteArray chooseFolder(QWidget* parent, const QString& startFolder) override;
    QString chooseOpenFile(QWidget* parent, const FileDialog& dialog) override;
    QString chooseSaveFile(QWidget* parent, const FileDialog& dialog) override;
    SaveChoice chooseSaveFileAndFilter(QWidget* parent, const FileDialog& dialog) override;
    void showMessage(QWidget* parent, const QString& text) override;
    bool showMessageWithButton(QWidget* parent, const QString& text,
                               const QString& buttonText) override;
    bool showFailureMessage(QWidget* parent, const QString& text) override;
    bool askYesNo(QWidget* parent, const QString& text) override;
    void reportError(QWidget* parent, const QString& text) override;
    bool openWithDesktop(const QString& path) override;
    bool hasDefaultPrinter() override { return hasDefaultPrinter_; }
    bool print(QWidget* parent, const QTextDocument& document, const QString& jobName) override;

    // What was asked and shown, in the order of the calls.
    QStringList folderStarts;      // start folder of each folder dialog
    QList<FileDialog> openDialogs; // each open dialog as asked
    QList<FileDialog> saveDialogs; // each save dialog as asked
    QStringList messages;          // texts of showMessage, showMessageWithButton and
                                   // showFailureMessage
    QStringList questions;         // texts of askYesNo
    QStringList errors;            // texts of reportError
    QStringList desktopOpened;     // paths given to openWithDesktop
    QStringList printJobs;         // job names given to print
    QStringList printedTexts;      // the plain text of each printed document
    QStringList unansweredDialogs; // dialogs called with an empty queue
    // Every call as one line, e.g. "chooseFolder /music/", "showMessage Done", to check order.
    QStringList log;
    // Runs while a message or an error is "on the screen", e.g. to take the activation from
    // the window below as a real message box does.
    std::function<void()> whileShowingMessage;

private:
    QString takeAnswer(QQueue<QString>& answers, const QString& call);

    QQueue<QString> folderAnswers_;
    QQueue<QString> openAnswers_;
    QQueue<QString> saveAnswers_;
    QQueue<QString> saveFilterAnswers_;
    QQueue<bool> noMoreAnswers_;
    QQueue<bool> yesNoAnswers_;
    QQueue<bool> otherButtonAnswers_;
    bool hasDefaultPrinter_ = true;
    bool desktopOpens_ = true;
    bool printResult_ = true;
    QString pdfPath_;
};

} // namespace corvanteller
