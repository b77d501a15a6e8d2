// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "rename/rename_runs.h"
#include "ui/preview_window.h"

#include <vector>

class QLabel;
class QPushButton;
class QTableView;

namespace corvanteller {

class PreviewRowsModel;

// "Preview" of complex renaming: every row the run would look at, with its folder, its old and
// new name and what stands in the way; read-only, nothing is renamed. Not one of the program's
// forms: going back and forth between it and the dialog is no activation of either.
class RenamePreviewWindow : public PreviewWindow {
    Q_OBJECT

public:
    explicit RenamePreviewWindow(QWidget* parent = nullptr);

    void showRows(std::vector<PreviewRow> rows);
    const std::vector<PreviewRow>& rows() const;

private:
    QLabel* summaryLabel = nullptr; // how many rows, and how many with a remark
    QTableView* namesView = nullptr;
    QPushButton* closeButton = nullptr; // "Close"

    PreviewRowsModel* model_ = nullptr;
};

} // namespace corvanteller
