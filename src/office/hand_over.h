#pragma once

#include <QString>

#include <functional>

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

} // namespace corvanteller
