// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "kar/char_sets.h"
#include "table/table_session.h"
#include "write/text_write_run.h"

#include <QByteArray>

#include <set>
#include <vector>

namespace corvanteller {

class SongTableModel;

// The set the table's texts were read with: writing compares the files' texts read so.
RunSet runSetOf(TableOrigin origin);

// One request per row that stands for a file, with the row's four texts; the file as renaming
// finds it, or the row's folder and name as they are spelt when it is not there (the run then
// says so). Added rows stand for no file and are left out.
std::vector<TextWriteRequest> textWriteRequests(const SongTableModel& model);

// Every row whose file (a symbolic link followed) is one of files shows the texts the file now
// gives. Returns how many rows were read again.
int rereadRowTexts(SongTableModel& model, const std::set<QByteArray>& files, RunSet runSet);

} // namespace corvanteller
