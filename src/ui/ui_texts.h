// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The shared windows' texts (messages, the find bar, the folder chooser), marked for translation
// in the context "Ui".
namespace corvanteller::uiTexts {

// The title of the program's message boxes.
QString messageTitle();
QString unknownError();
QString findNext();
QString findPrevious();
QString closeFindBar();
QString chooseFolderTitle();
QString folderUp();
QString notJpeg();
QString noMoreMessages();
QString noDefaultPrinter();
QString printJobNotStarted();

} // namespace corvanteller::uiTexts
