// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

namespace corvanteller {

// --help and --version, answered before any window exists, so that they need no display: the
// text to write on standard output before the program ends, or nothing. Options after "--" are
// file names.
std::optional<QByteArray> answerBeforeWindows(int argc, const char* const* argv);

// What the command line (without the program's name and Qt's own options) asks the start
// window for. A file manager's "Open with Corvanteller" hands over one list file or one folder.
struct StartRequest {
    enum class Action {
        Nothing,    // no argument: the start window as usual
        OpenList,   // as the start window's "Open Corvanteller list..."
        ScanFolder, // as the Start button
        Refuse,     // message for the user; the start window as usual
    };

    Action action = Action::Nothing;
    QString path; // absolute, for OpenList and ScanFolder
    QString message;
};

// A folder is scanned; a regular file is opened as a list when its name ends with ".sgl" or its
// first line is the list file's magic line (as the desktop's MIME entry recognises it), so that
// the list open itself judges a damaged .sgl. Anything else is refused with a message.
StartRequest judgeStartArguments(const QStringList& arguments);

} // namespace corvanteller
