// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/application.h"
#include "app/program_arguments.h"
#include "app/start_up.h"
#include "common/build_info.h"
#include "common/file_io.h"
#include "help/splash_window.h"
#include "ui/qt_ui_services.h"

#include <QApplication>
#include <QIcon>

#include <cstdio>

int main(int argc, char** argv) {
    corvanteller::ignoreFileSizeLimitSignal();
    if (const std::optional<QByteArray> answer = corvanteller::answerBeforeWindows(argc, argv)) {
        std::fwrite(answer->constData(), 1, static_cast<std::size_t>(answer->size()), stdout);
        return 0;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Corvanteller"));
    QApplication::setApplicationVersion(QString::fromLatin1(corvanteller::build::version));
    // The desktop finds the menu entry, and with it the icon, by this name.
    QGuiApplication::setDesktopFileName(QString::fromLatin1(corvanteller::build::applicationId));
    QApplication::setWindowIcon(
        QIcon::fromTheme(QString::fromLatin1(corvanteller::build::applicationId)));
    QApplication::setQuitOnLastWindowClosed(false);

    // The splash picture is up while the windows are created.
    auto splash = std::make_unique<corvanteller::SplashWindow>();
    splash->showAtStartUp();

    corvanteller::QtUiServices ui;
    corvanteller::SystemClock clock;
    corvanteller::SystemRandom random;
    corvanteller::Application program(ui, clock, random, [] { QApplication::exit(0); });
    splash.reset();
    program.createPromptWindow();

    corvanteller::startUp(program, QApplication::arguments().mid(1));
    return QApplication::exec();
}
