// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/ui_services.h"

namespace corvanteller {

// The UI services of a running program: Qt's file and folder dialogs, message boxes with one
// OK button and the desktop's default programs.
class QtUiServices : public UiServices {
public:
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
    bool hasDefaultPrinter() override;
    bool print(QWidget* parent, const QTextDocument& document, const QString& jobName) override;
};

} // namespace corvanteller
