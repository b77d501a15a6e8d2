// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <QList>

#include <array>

class QAbstractItemModel;
class QLabel;
class QPushButton;
class QTableView;

namespace corvanteller {

// The frame of the program's previews: a summary line over a read-only table of whole rows,
// and the window's buttons under it on the right. Not one of the program's forms.
class PreviewWindow : public QDialog {
    Q_OBJECT

protected:
    explicit PreviewWindow(QWidget* parent);

    // The view shows the model; the buttons stand left to right in the order given.
    void layOut(QLabel* summary, QTableView* view, QAbstractItemModel* model,
                const QList<QPushButton*>& buttons);
    // Fits the first column (the row numbers), gives the next three their widths and brings the
    // window to the front.
    void showTable(QTableView* view, const std::array<int, 3>& widths);
};

} // namespace corvanteller
