// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

class QComboBox;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace corvanteller {

// The main window's filter line above the grid: the text, the column it looks in ("All
// columns" or one of the table's), "Mark shown" and a close button. Every change of the text
// or the column asks for the filter again; Escape or the close button closes the bar.
class FilterBar final : public QWidget {
    Q_OBJECT

public:
    explicit FilterBar(const QStringList& columns, QWidget* parent = nullptr);

    // Shows the bar with the focus in its line edit, its text selected.
    void open();
    void closeBar();
    QString text() const;
    // anyFilterColumn or a table column.
    int column() const;

Q_SIGNALS:
    void filterChanged();
    void markShownRequested();
    void closed();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    QLineEdit* filterEdit_ = nullptr;
    QComboBox* columnBox_ = nullptr;
    QPushButton* markShownButton_ = nullptr;
    QToolButton* closeButton_ = nullptr;
};

} // namespace corvanteller
