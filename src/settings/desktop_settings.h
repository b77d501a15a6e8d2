// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

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
    // The main window keeps each row's check mark when the user switches windows.
    bool keepMarksOnSwitch = true;
    // File > "Recent lists": the last lists opened or saved, the most recent first.
    static constexpr int maxRecentLists = 8;
    QStringList recentLists;
    // The main window's size and place at its last close (QWidget::saveGeometry).
    QByteArray mainWindowGeometry;

    // Puts the list first, once; the oldest goes past maxRecentLists.
    void noteRecentList(const QString& path);

    static DesktopSettings load(const QString& path = defaultPath());
    // Returns false when the file could not be written.
    bool save(const QString& path = defaultPath()) const;

    static QString defaultPath();

    friend bool operator==(const DesktopSettings&, const DesktopSettings&) = default;

private:
    void writeTo(QSettings& file) const;
};

} // namespace corvanteller
