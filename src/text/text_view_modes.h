// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "text/table_text.h"

namespace corvanteller {

// Why the text view is shown; read at every activation of the view.
enum class TextViewMode {
    None = 0,      // before any command: the editor is cleared
    TableText = 1, // the table as text (layout with the file name) and the closing lines
    OpenText = 2,  // "Open list in &text format...": a text file is opened
    SaveText = 3,  // "Save as te&xt...": the table as text (no file name), then saved
    Keep = 4,      // "&Output information as text": the content stays, then TableText
    Kept = 5,      // a file was opened or the table text saved: the content stays
};

// What one activation of the text view does, in this order.
struct TextViewActivation {
    bool clear = false;
    // Writes the table text and the closing lines, every paragraph indented; otherwise only
    // the paragraph at the cursor is indented.
    bool writeTable = false;
    TableTextLayout layout = TableTextLayout::WithFileName;
    bool open = false; // runs "&Open..."
    bool save = false; // runs "&Save..."

    bool operator==(const TextViewActivation&) const = default;
};

// The text view's mode: set by the main window's commands, turned into an activation's work
// by the view. Once an open or a save has run its dialog, the mode keeps the content, so that
// a later return to the view never asks again nor throws away what it shows.
class TextViewModes {
public:
    TextViewMode mode() const { return mode_; }

    // A main-window command shows the view for this purpose.
    void setByCommand(TextViewMode mode) { mode_ = mode; }

    // The work of an activation. It moves the mode on at once, so that a dialog that fails
    // does not come back at the next activation: an open stays at None until fileLoaded().
    TextViewActivation activate();

    // "&Open..." has filled the editor from a file.
    void fileLoaded() { mode_ = TextViewMode::Kept; }

    // "&Output information as text": the next activation keeps the content and then shows
    // the table text; the table text and a kept content stay as they are.
    void outputInformationAsText();

    // "OK" of the text-format dialog appends the closing lines only to the table text.
    bool okAppends() const { return mode_ == TextViewMode::TableText; }

private:
    TextViewMode mode_ = TextViewMode::None;
};

} // namespace corvanteller
