// SPDX-License-Identifier: GPL-3.0-or-later
// Writes the MIME type that the shared MIME database (as XDG_DATA_DIRS finds it) gives each file
// named on the command line, one a line: the desktop's view of the files.
#include <QCoreApplication>
#include <QMimeDatabase>

#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QMimeDatabase database;
    const QStringList files = QCoreApplication::arguments().mid(1);
    for (const QString& file : files) {
        std::printf("%s\n", database.mimeTypeForFile(file).name().toUtf8().constData());
    }
    return 0;
}
