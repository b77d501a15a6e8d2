#include "app/application.h"
#include "help/splash_window.h"
#include "ui/qt_ui_services.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Corvanteller"));
    QApplication::setQuitOnLastWindowClosed(false);

    // The splash picture is up while the windows are created.
    auto splash = std::make_unique<corvanteller::TSplashForm>();
    splash->showAtStartUp();

    corvanteller::QtUiServices ui;
    corvanteller::SystemClock clock;
    corvanteller::SystemRandom random;
    corvanteller::Application program(ui, clock, random, [] { QApplication::exit(0); });
    splash.reset();
    program.createPromptWindow();

    program.showStartWindow();
    return QApplication::exec();
}
