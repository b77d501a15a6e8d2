// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/desktop_settings.h"

#include <QFile>
#include <QSettings>
#include <QStandardPaths>

#include <cstdio>

namespace corvanteller {
namespace {

using namespace Qt::StringLiterals;

const QString rememberUnchangedTextsKey = u"Scanning/RememberUnchangedTexts"_s;
const QString keepMarksKey = u"Table/KeepMarksOnSwitch"_s;
const QString recentListsKey = u"Lists/Recent"_s;
const QString geometryKey = u"MainWindow/Geometry"_s;

// A value that is there but is no boolean keeps the default.
bool readBool(const QSettings& file, const QString& key, bool fallback) {
    const QVariant value = file.value(key);
    if (!value.isValid()) {
        return fallback;
    }
    const QString text = value.toString().trimmed().toLower();
    if (text == u"true"_s || text == u"1"_s) {
        return true;
    }
    if (text == u"false"_s || text == u"0"_s) {
        return false;
    }
    return fallback;
}

} // namespace

QString DesktopSettings::defaultPath() {
    return QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation) +
           u"/Corvanteller.conf"_s;
}

DesktopSettings DesktopSettings::load(const QString& path) {
    DesktopSettings settings;
    const QSettings file(path, QSettings::IniFormat);
    if (file.status() != QSettings::NoError) {
        return settings;
    }
    settings.rememberUnchangedTexts =
        readBool(file, rememberUnchangedTextsKey, settings.rememberUnchangedTexts);
    settings.keepMarksOnSwitch = readBool(file, keepMarksKey, settings.keepMarksOnSwitch);
    for (const QString& list : file.value(recentListsKey).toStringList()) {
        if (!list.isEmpty() && settings.recentLists.size() < maxRecentLists) {
            settings.recentLists << list;
        }
    }
    settings.mainWindowGeometry = file.value(geometryKey).toByteArray();
    return settings;
}

void DesktopSettings::noteRecentList(const QString& path) {
    recentLists.removeAll(path);
    recentLists.prepend(path);
    while (recentLists.size() > maxRecentLists) {
        recentLists.removeLast();
    }
}

void DesktopSettings::writeTo(QSettings& file) const {
    file.setValue(rememberUnchangedTextsKey, rememberUnchangedTexts);
    file.setValue(keepMarksKey, keepMarksOnSwitch);
    file.setValue(recentListsKey, recentLists);
    file.setValue(geometryKey, mainWindowGeometry);
}

bool DesktopSettings::save(const QString& path) const {
    {
        // Keys that this version does not know stay as they are.
        QSettings file(path, QSettings::IniFormat);
        writeTo(file);
        file.sync();
        if (file.status() == QSettings::NoError) {
            return true;
        }
    }
    // A damaged file, which gave the defaults, is not written over in place: a new one is
    // written beside it and put in its place.
    const QString fresh = path + u".new"_s;
    QFile::remove(fresh);
    {
        QSettings file(fresh, QSettings::IniFormat);
        writeTo(file);
        file.sync();
        if (file.status() != QSettings::NoError) {
            return false;
        }
    }
    return std::rename(QFile::encodeName(fresh).constData(), QFile::encodeName(path).constData()) ==
           0;
}

} // namespace corvanteller
