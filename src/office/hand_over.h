// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

namespace corvanteller {

// Opens a file with the desktop's default program; false when that failed. The window layer
// passes its UI services' opener.
using DesktopOpener = std::function<bool(const QString& path)>;

// Where workbooks and documents are handed to the desktop's programs: "handover" in the
// per-user data folder. Not the temporary folder: a reboot empties it while the desktop's
// program may have saved into the file.
QString defaultHandOverFolder();

// Makes a new, empty file from a template such as "Book-XXXXXX.xlsx" in the folder (made when
// missing) and returns its path. It never replaces a file. Throws IoError.
QString createHandOverFile(const QString& folder, const QString& fileTemplate);

// What the user is told when the desktop showed no program for a handed-over file.
QString notShownMessage(const QString& path);

// A file handed over to the desktop's program.
struct HandOver {
    QString path;
    bool opened = false;
};

// What an engine that hands files over shares with the other one: the folder of the hand-over
// files and the hand-over itself.
class HandOverEngine {
public:
    // The folder of the hand-over files; the per-user one unless set.
    QString handOverFolder() const;
    void setHandOverFolder(const QString& folder) { handOverFolder_ = folder; }

protected:
    // A new file from the template in the hand-over folder, filled by write(path) and then
    // opened with the desktop's program. A file that could not be filled is removed: nothing
    // of it may stay behind.
    HandOver handOver(const QString& fileTemplate, const std::function<void(const QString&)>& write,
                      const DesktopOpener& openWithDesktop) const;

private:
    QString handOverFolder_;
};

// The files of the hand-overs (HandOver or a type derived from it) that no program showed.
template <class HandOvers> QStringList filesNotShown(const HandOvers& handOvers) {
    QStringList files;
    for (const HandOver& handOver : handOvers) {
        if (!handOver.opened) {
            files.append(handOver.path);
        }
    }
    return files;
}

} // namespace corvanteller
