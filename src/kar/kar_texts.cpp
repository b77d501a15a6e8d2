// SPDX-License-Identifier: GPL-3.0-or-later
#include "kar/kar_texts.h"

#include <QCoreApplication>

namespace corvanteller::karTexts {

QString cannotRead(const QString& shownPath, const QString& reason) {
    return QCoreApplication::translate("Kar", "Cannot read \"%1\": %2").arg(shownPath, reason);
}

QString notRegularFile() {
    return QCoreApplication::translate("Kar", "not a regular file");
}

QString notChangeableMidi(const QString& path) {
    return QCoreApplication::translate("Kar",
                                       "The file %1 is not a MIDI file that can be changed safely.")
        .arg(path);
}

} // namespace corvanteller::karTexts
