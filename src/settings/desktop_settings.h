// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QSettings;

namespace corvanteller {

// The settings of this program that the old settings file has no room for, kept in an INI
// file of their own ("Corvanteller.conf" in the per-user configuration folder) so that
// prop.dat keeps its layout. A missing or damaged file gives the defaults, a key that cannot
// be read its default, and a file that cannot be written leaves the settings as they were in
// memory: none of it ever stops the program.
struct DesktopSettings {
    // A rescan gives an unchanged file the texts that an earlier scan read from it.
    bool rememberUnchangedTexts = true;

    static DesktopSettings load(const QString& path = defaultPath());
    // Returns false when the file could not be written.
    bool save(const QString& path = defaultPath()) const;

    static QString defaultPath();

    friend bool operator==(const DesktopSettings&, const DesktopSettings&) = default;

private:
    void writeTo(QSettings& file) const;
};

} // namespace corvanteller
