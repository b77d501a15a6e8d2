// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QPoint>
#include <QTimer>

class QListWidget;

namespace corvanteller {

class HintController;

// Hints for a list's items too long to be read in it: once the mouse has rested on such an
// item, the item's whole text over the item, for as long as the mouse stays in its row. Short
// items and the list itself have no hint. The list draws its items' text from 1 pixel inside
// the item, so a text fits when it is no wider than the item less 2 pixels.
class LongItemHints final : public QObject {
    Q_OBJECT

public:
    static constexpr int restMs = 300;
    static constexpr int hidePauseMs = 5000;

    LongItemHints(QListWidget* list, HintController& hints);

    // Whether the item's text, measured in the list's font, is wider than the item less 2
    // pixels.
    bool needsHint(int row) const;
    // Counting the rest of the mouse on an item.
    const QTimer& restTimer() const { return restTimer_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void mouseRested();
    void forgetRow();

    QListWidget* list_;
    HintController& hints_;
    QTimer restTimer_;
    int row_ = -1;
};

} // namespace corvanteller
