// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/qt_ui_services.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QPrinterInfo>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QTimer>
#include <QtTest>

using namespace corvanteller;
using namespace Qt::StringLiterals;

namespace {

// The real services with the error report kept instead of shown.
class RecordingQtUiServices final : public QtUiServices {
public:
    void reportError(QWidget*, const QString& text) override { errors.append(text); }
    QStringList errors;
};

// Answers the next message box as a user would: a click on the button of that caption, or
// Escape when the caption is empty.
void answerNextBox(const QString& button) {
    QTimer::singleShot(0, [button] {
        QWidget* box = QApplication::activeModalWidget();
        QVERIFY(box != nullptr);
        for (QAbstractButton* each : box->findChildren<QAbstractButton*>()) {
            if (!button.isEmpty() && each->text() == button) {
                return QTest::mouseClick(each, Qt::LeftButton);
            }
        }
        QVERIFY2(button.isEmpty(), qPrintable(u"no button "_s + button));
        QTest::keyClick(box, Qt::Key_Escape);
    });
}

} // namespace

class QtUiServicesTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Escape on the failure message goes on showing messages; only the button silences them.
    // Escape on a question means "No".
    void escapeNeverSilencesAndNeverSaysYes() {
        QtUiServices ui;
        const std::tuple<bool, QString, bool> cases[] = {// question?, button, answer
                                                         {false, QString(), false},
                                                         {false, u"OK"_s, false},
                                                         {false, u"No more messages"_s, true},
                                                         {true, QString(), false},
                                                         {true, u"&No"_s, false},
                                                         {true, u"&Yes"_s, true}};
        for (const auto& [question, button, answer] : cases) {
            answerNextBox(button);
            QCOMPARE(question ? ui.askYesNo(nullptr, u"Undo?"_s)
                              : ui.showFailureMessage(nullptr, u"Can't rename /m/a.kar."_s),
                     answer);
        }
    }

    // The desktop's opener says by its exit status whether a program took the file.
    void theOpenersExitStatusTellsWhetherTheFileWasShown() {
        const std::tuple<QByteArray, QByteArray, bool> cases[] = {// xdg-open, gio, shown
                                                                  {"exit 0", {}, true},
                                                                  {"exit 3", "exit 0", false},
                                                                  {{}, "exit 0", true},
                                                                  {{}, "exit 2", false},
                                                                  {{}, {}, false}};
        const QByteArray path = qgetenv("PATH");
        QtUiServices ui;
        for (const auto& [xdgOpen, gio, shown] : cases) {
            QTemporaryDir bin;
            for (const auto& [name, body] : {std::pair{u"xdg-open"_s, xdgOpen}, {u"gio"_s, gio}}) {
                QFile script(bin.filePath(name));
                if (!body.isEmpty()) {
                    QVERIFY(script.open(QIODevice::WriteOnly));
                    script.write("#!/bin/sh\n" + body + "\n");
                    script.close();
                    script.setPermissions(QFile::ReadOwner | QFile::ExeOwner);
                }
            }
            qputenv("PATH", QFile::encodeName(bin.path()));
            const bool opened = ui.openWithDesktop(bin.filePath(u"Book.xlsx"_s));
            qputenv("PATH", path);
            QCOMPARE(opened, shown);
        }
    }

    void printingWithoutAPrinterSaysSo() {
        if (!QPrinterInfo::defaultPrinter().isNull()) {
            QSKIP("this machine has a default printer; the test never prints on it");
        }
        RecordingQtUiServices ui;
        QTextDocument document(u"text"_s);
        QVERIFY(!ui.print(nullptr, document, u"job"_s));
        QCOMPARE(ui.errors, QStringList{u"There is no default printer currently selected"_s});
    }
};

QTEST_MAIN(QtUiServicesTest)
#include "qt_ui_services_test.moc"
