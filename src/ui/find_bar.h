// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "common/find_pattern.h"

#include <QPointer>
#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace corvanteller {

// The find bar of the main window and the text view: a line edit, "Next", "Previous", a
// message and a close button. Typing asks for a find from the current match, Return and F3 for
// the next one, Shift+F3 for the one before (F3 and Shift+F3 anywhere in the bar's window while
// the bar is shown). Escape in the bar, or the close button, closes it and gives the focus back
// to the widget that the bar searches.
class FindBar final : public QWidget {
    Q_OBJECT

public:
    explicit FindBar(QWidget* parent = nullptr);

    // The widget that gets the focus when the bar closes.
    void setSearchedWidget(QWidget* widget) { searched_ = widget; }
    // Shows the bar with the focus in its line edit, the text there selected.
    void open();
    // Hides the bar; the searched widget gets the focus first, not as a user's Tab or click
    // would give it.
    void closeBar();
    void showMessage(const QString& text);

Q_SIGNALS:
    void findRequested(const QString& text, FindStep step);
    void closed();

private:
    void request(FindStep step);

    QLineEdit* findEdit = nullptr;
    QPushButton* nextButton = nullptr;
    QPushButton* previousButton = nullptr;
    QLabel* messageLabel = nullptr;
    QToolButton* closeButton = nullptr;

    QPointer<QWidget> searched_;
};

} // namespace corvanteller
