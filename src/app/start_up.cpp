// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/start_up.h"

#include "app/application.h"
#include "app/program_arguments.h"
#include "app/start_window.h"
#include "ui/error_guard.h"

#include <QTimer>

namespace corvanteller {

void startUp(Application& program, const QStringList& arguments) {
    program.showStartWindow();
    if (arguments.isEmpty()) {
        return;
    }
    StartWindow* start = &program.startWindow();
    AppContext* context = &program.context();
    auto carryOut = [start, context, arguments] {
        guarded(start, context->ui, [&] {
            const StartRequest request = judgeStartArguments(arguments);
            switch (request.action) {
            case StartRequest::Action::Nothing:
                return;
            case StartRequest::Action::OpenList:
                start->openList(request.path);
                return;
            case StartRequest::Action::ScanFolder:
                start->startScanOf(request.path);
                return;
            case StartRequest::Action::Refuse:
                context->ui.showMessage(start, request.message);
                return;
            }
        });
    };
    // Queued: the command runs once the activation is over, as a click on the window would.
    if (context->settingsLoaded) {
        QTimer::singleShot(0, start, carryOut);
        return;
    }
    QObject::connect(
        start, &StartWindow::startUpFinished, start, carryOut,
        static_cast<Qt::ConnectionType>(Qt::QueuedConnection | Qt::SingleShotConnection));
}

} // namespace corvanteller
