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
