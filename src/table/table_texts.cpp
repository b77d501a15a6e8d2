// SPDX-License-Identifier: GPL-3.0-or-later
#include "table/table_texts.h"

#include <QCoreApplication>

namespace corvanteller::tableTexts {

namespace {

QString translated(const char* text) {
    return QCoreApplication::translate("Table", text);
}

} // namespace

QString removeRowsQuestion(int rows) {
    return translated("Remove %1 row(s) from the table? No file on disk is deleted.").arg(rows);
}

QString noCheckedRows() {
    return translated("No row is checked.");
}

QString noProgramForFolder(const QString& folder) {
    return translated("No program was found to show the folder %1.").arg(folder);
}

QString duplicatesMarked(int rows) {
    return translated("%1 rows are duplicates of earlier rows.").arg(rows);
}

QString identicalFilesMarked(int rows) {
    return translated("%1 rows stand for files identical to an earlier row's file.").arg(rows);
}

QString listWindowTitle(const QString& listName, bool unsaved) {
    return translated("%1%2 - Corvanteller")
        .arg(listName, unsaved ? QStringLiteral("*") : QString());
}

QString recentLists() {
    return translated("Recent &lists");
}

QString noRecentLists() {
    return translated("(none)");
}

QString recentListGone(const QString& path) {
    return translated("The list %1 is no longer there; it is taken off the recent lists.")
        .arg(path);
}

QString filterLabel() {
    return translated("Fi&lter:");
}

QString allColumns() {
    return translated("All columns");
}

QString markShown() {
    return translated("&Mark shown");
}

QString shownStatus(int shown, int rows) {
    return translated("Shown: %1 of %2").arg(shown).arg(rows);
}

QString countText(const QString& rows, const QString& checked, const QString& shown) {
    if (shown.isEmpty()) {
        return translated("%1 rows, %2 checked").arg(rows, checked);
    }
    return translated("%1 rows, %2 checked, shown %3").arg(rows, checked, shown);
}

} // namespace corvanteller::tableTexts
