// SPDX-License-Identifier: GPL-3.0-or-later
#include "support_ui/scripted_ui_services.h"

#include <QPrinter>
#include <QTest>
#include <QTextDocument>

namespace corvanteller {

using namespace Qt::StringLiterals;

QString ScriptedUiServices::takeAnswer(QQueue<QString>& answers, const QString& call) {
    log.append(call);
    if (answers.isEmpty()) {
        unansweredDialogs.append(call);
        const QByteArray message = "no scripted answer for " + call.toUtf8();
        QTest::qFail(message.constData(), __FILE__, __LINE__);
        return {};
    }
    return answers.dequeue();
}

QByteArray ScriptedUiServices::chooseFolder(QWidget*, const QString& startFolder) {
    folderStarts.append(startFolder);
    return QFile::encodeName(takeAnswer(folderAnswers_, u"chooseFolder "_s + startFolder));
}

QString ScriptedUiServices::chooseOpenFile(QWidget*, const FileDialog& dialog) {
    openDialogs.append(dialog);
    return takeAnswer(openAnswers_, u"chooseOpenFile "_s + dialog.caption);
}

QString ScriptedUiServices::chooseSaveFile(QWidget* parent, const FileDialog& dialog) {
    return chooseSaveFileAndFilter(parent, dialog).path;
}

UiServices::SaveChoice ScriptedUiServices::chooseSaveFileAndFilter(QWidget*,
                                                                   const FileDialog& dialog) {
    saveDialogs.append(dialog);
    const QString filter = saveFilterAnswers_.isEmpty() ? QString() : saveFilterAnswers_.dequeue();
    const QString path = takeAnswer(saveAnswers_, u"chooseSaveFile "_s + dialog.caption);
    return {path, filter.isEmpty() ? dialog.filter.section(u";;"_s, 0, 0) : filter};
}

void ScriptedUiServices::showMessage(QWidget*, const QString& text) {
    messages.append(text);
    log.append(u"showMessage "_s + text);
    if (whileShowingMessage) {
        whileShowingMessage();
    }
}

bool ScriptedUiServices::showMessageWithButton(QWidget*, const QString& text,
                                               const QString& buttonText) {
    messages.append(text);
    log.append(u"showMessageWithButton "_s + text + u" ["_s + buttonText + u']');
    if (whileShowingMessage) {
        whileShowingMessage();
    }
    return !otherButtonAnswers_.isEmpty() && otherButtonAnswers_.dequeue();
}

bool ScriptedUiServices::showFailureMessage(QWidget*, const QString& text) {
    messages.append(text);
    log.append(u"showFailureMessage "_s + text);
    if (whileShowingMessage) {
        whileShowingMessage();
    }
    return !noMoreAnswers_.isEmpty() && noMoreAnswers_.dequeue();
}

bool ScriptedUiServices::askYesNo(QWidget*, const QString& text) {
    questions.append(text);
    log.append(u"askYesNo "_s + text);
    if (whileShowingMessage) {
        whileShowingMessage();
    }
    if (yesNoAnswers_.isEmpty()) {
        unansweredDialogs.append(u"askYesNo "_s + text);
        const QByteArray message = "no scripted answer for askYesNo " + text.toUtf8();
        QTest::qFail(message.constData(), __FILE__, __LINE__);
        return false;
    }
    return yesNoAnswers_.dequeue();
}

void ScriptedUiServices::reportError(QWidget*, const QString& text) {
    errors.append(text);
    log.append(u"reportError "_s + text);
    if (whileShowingMessage) {
        whileShowingMessage();
    }
}

bool ScriptedUiServices::openWithDesktop(const QString& path) {
    desktopOpened.append(path);
    log.append(u"openWithDesktop "_s + path);
    return desktopOpens_;
}

bool ScriptedUiServices::print(QWidget*, const QTextDocument& document, const QString& jobName) {
    printJobs.append(jobName);
    printedTexts.append(document.toPlainText());
    log.append(u"print "_s + jobName);
    if (!pdfPath_.isEmpty()) {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdfPath_);
        printer.setDocName(jobName);
        document.print(&printer);
    }
    return printResult_;
}

} // namespace corvanteller
