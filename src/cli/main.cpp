// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/cli.h"
#include "common/file_io.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char** argv) {
    corvanteller::ignoreFileSizeLimitSignal();
    // The settings file lives in the program's own configuration folder.
    QCoreApplication::setApplicationName(QStringLiteral("Corvanteller"));
    // The .xls helper is found from the program's own folder.
    const QCoreApplication application(argc, argv);
    std::vector<QByteArray> args;
    for (int i = 1; i < argc; ++i) {
        args.emplace_back(argv[i]);
    }
    return corvanteller::runCli(args, stdout, stderr);
}
