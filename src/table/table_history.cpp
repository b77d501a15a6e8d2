// SPDX-License-Identifier: GPL-3.0-or-later
#include "table/table_history.h"

#include "table/table_texts.h"

namespace corvanteller {

void TableHistory::push(Step step) {
    done_.push_back(std::move(step));
    undone_.clear();
    if (done_.size() > maxSteps) {
        done_.pop_front();
    }
}

void TableHistory::clear() {
    done_.clear();
    undone_.clear();
}

QString TableHistory::undoText() const {
    return tableTexts::undo(done_.empty() ? QString() : done_.back().name);
}

QString TableHistory::redoText() const {
    return tableTexts::redo(undone_.empty() ? QString() : undone_.back().name);
}

void TableHistory::undo() {
    if (done_.empty()) {
        return;
    }
    Step step = std::move(done_.back());
    done_.pop_back();
    step.undo();
    undone_.push_back(std::move(step));
}

void TableHistory::redo() {
    if (undone_.empty()) {
        return;
    }
    Step step = std::move(undone_.back());
    undone_.pop_back();
    step.redo();
    done_.push_back(std::move(step));
}

} // namespace corvanteller
