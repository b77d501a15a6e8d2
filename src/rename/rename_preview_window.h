#pragma once

#include "rename/rename_runs.h"
#include "ui/program_dialog.h"

#include <vector>

class QLabel;
class QPushButton;
class QTableView;

namespace corvanteller {

class PreviewRowsModel;

// "Preview" of complex renaming: every row the run would touch with its old and new name and
// what stands in the way; read-only, nothing is renamed. One of the program's windows, so that
// the main window losing its activation to it keeps the table's edits as for any other.
class RenamePreviewWindow : public ProgramDialog {
    Q_OBJECT

public:
    explicit RenamePreviewWindow(const WindowServices& services, QWidget* parent = nullptr);

    QLabel* Label1 = nullptr; // how many rows, and how many with a remark
    QTableView* Table = nullptr;
    QPushButton* Button1 = nullptr; // "Close"

    // Shows the rows over the opener.
    void showRows(QWidget* opener, std::vector<PreviewRow> rows);
    void FormActivate() override {}
    const std::vector<PreviewRow>& rows() const;

private:
    PreviewRowsModel* model_ = nullptr;
};

} // namespace corvanteller
