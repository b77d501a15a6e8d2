// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace corvanteller {

class RowStore;
class SongTableModel;

// The list file (*.sgl): CR LF lines; "Corvanteller file..", the table's row count (header row
// included), its column count, then for every data row its seven cells and an empty line, and
// "Russia" at the end. Texts are cp1251; a table that cp1251 cannot hold is written in UTF-8
// behind a byte-order mark instead, so that no text is lost.

QString notListFileMessage();
QString tooManyRowsMessage();

// Writes the table; an existing file is replaced only once the new one is completely written.
// Throws UserError with the runtime's text ("File access denied", "I/O error 28", ...).
void writeListFile(const QString& path, const SongTableModel& model);

struct ListOpenResult {
    enum class Outcome {
        Opened,          // every row read (a file that ends early reads as empty texts)
        NotAListFile,    // message: notListFileMessage()
        ConversionError, // a count line is no integer; message: the runtime's text for the
                         // error box
        TooManyRows,     // message: tooManyRowsMessage()
    };

    Outcome outcome = Outcome::Opened;
    QString message;

    bool opened() const { return outcome == Outcome::Opened; }
};

// What a list that cannot be opened leaves in the table.
enum class ListOpenFailure {
    ResetTable, // the start window's open: the table reset and empty (the rows read before a
                // bad column count line stay counted)
    KeepTable,  // the main window's open: the table exactly as it was
};

// Opens a list file into the table: the rows are read into a table of their own (songs =
// originRowCount, numbered, header with "Made by...") that then takes the table's place. The
// first line and the counts are judged before any row is read, and the file is read only as
// far as its counts reach. A file that cannot be opened or read throws IoError with the
// runtime's text; with ResetTable the table is then reset, with KeepTable it stays as it was.
ListOpenResult openListFile(const QString& path, SongTableModel& model, int originRowCount,
                            ListOpenFailure failure = ListOpenFailure::ResetTable);

// The main window's open ends by copying cells 1 to 6 of every data row into its row store;
// the store's row count is set by the next refresh.
void copyDataRowsInto(const SongTableModel& model, RowStore& store);

} // namespace corvanteller
