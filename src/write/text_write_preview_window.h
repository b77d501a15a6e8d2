// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/preview_window.h"
#include "write/text_write_run.h"

#include <vector>

class QLabel;
class QPushButton;
class QTableView;

namespace corvanteller {

class TextWriteRowsModel;

// "Preview of text writing": every row whose texts differ from its file, with the file, the
// texts the file gives, the row's texts and what writing would do (refused rows in red).
// Nothing is written here: "Write" hands the rows on, "Cancel", Escape and the close box drop
// them. Modal over the program's windows, so that the table stays as it was previewed, and not
// one of the program's forms: it only hides.
class TextWritePreviewWindow : public PreviewWindow {
    Q_OBJECT

public:
    explicit TextWritePreviewWindow(QWidget* parent = nullptr);

    void showRows(std::vector<TextWriteRowResult> rows);
    const std::vector<TextWriteRowResult>& rows() const;

Q_SIGNALS:
    // "Write" was chosen; the window is hidden by then.
    void writeChosen();

private:
    QLabel* summaryLabel = nullptr; // how many rows, to be written and refused
    QTableView* rowsView = nullptr;
    QPushButton* writeButton = nullptr;  // "Write"
    QPushButton* cancelButton = nullptr; // "Cancel"

    TextWriteRowsModel* model_ = nullptr;
};

} // namespace corvanteller
