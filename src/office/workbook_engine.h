// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "office/hand_over.h"
#include "office/workbook.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

namespace corvanteller {

// What became of a workbook that was made visible.
struct WorkbookHandOver : HandOver {
    // Texts that were too long for the file and were cut.
    int cutCells = 0;
};

// The workbook engine: the program's own stand-in for a spreadsheet program, one per window
// object. It holds workbooks of worksheets, opens workbook files and shows a workbook by
// handing it over, written as an .xlsx file, to the desktop's spreadsheet program. Failures
// throw UserError (file errors IoError).
class WorkbookEngine : public HandOverEngine {
public:
    int workbookCount() const { return static_cast<int>(workbooks_.size()); }
    // A new workbook with one worksheet.
    Workbook& addWorkbook();
    // index 1 to workbookCount().
    Workbook& workbook(int index);
    // Opens a workbook file: its first worksheet, recognised by content (.xls or .xlsx).
    Workbook& open(const QString& path);
    // Makes the workbooks visible: each is written to a new file in the hand-over folder and
    // opened with the desktop's program. The engine then drops them.
    std::vector<WorkbookHandOver> show(const DesktopOpener& openWithDesktop);
    // Drops every workbook.
    void quit() { workbooks_.clear(); }
    void reset() { quit(); }

private:
    std::vector<std::unique_ptr<Workbook>> workbooks_;
};

// What else the user is told after workbooks were handed over: that texts were cut.
QStringList handOverMessages(const std::vector<WorkbookHandOver>& handOvers);

} // namespace corvanteller
