// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <deque>
#include <functional>

namespace corvanteller {

// The table's undo and redo: each step knows how to undo and redo itself and has a name for
// the menu ("typing in row 12", "sort by title").
class TableHistory {
public:
    static constexpr int maxSteps = 500;

    struct Step {
        QString name;
        std::function<void()> undo;
        std::function<void()> redo;
    };

    // A step already carried out; the steps that could be redone are gone.
    void push(Step step);
    void clear();

    bool canUndo() const { return !done_.empty(); }
    bool canRedo() const { return !undone_.empty(); }
    // "Undo typing in row 12", or "Undo" when there is nothing to undo.
    QString undoText() const;
    QString redoText() const;

    void undo();
    void redo();

private:
    std::deque<Step> done_;
    std::deque<Step> undone_;
};

} // namespace corvanteller
