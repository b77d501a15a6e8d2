// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The karaoke files' texts, marked for translation in the context "Kar".
namespace corvanteller::karTexts {

// A karaoke file that could not be read: its path and the reason.
QString cannotRead(const QString& shownPath, const QString& reason);
QString notRegularFile();
// A file whose texts are not written because its MIDI structure is not as expected.
QString notChangeableMidi(const QString& path);

} // namespace corvanteller::karTexts
