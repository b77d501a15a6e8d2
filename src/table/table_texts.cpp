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

} // namespace corvanteller::tableTexts
