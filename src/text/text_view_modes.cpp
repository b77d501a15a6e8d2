// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/text_view_modes.h"

namespace corvanteller {

TextViewActivation TextViewModes::activate() {
    TextViewActivation work;
    switch (mode_) {
    case TextViewMode::None:
        work.clear = true;
        break;
    case TextViewMode::TableText:
        work.clear = true;
        work.writeTable = true;
        work.layout = TableTextLayout::WithFileName;
        break;
    case TextViewMode::OpenText:
        work.clear = true;
        work.open = true;
        mode_ = TextViewMode::None;
        break;
    case TextViewMode::SaveText:
        work.clear = true;
        work.writeTable = true;
        work.layout = TableTextLayout::WithoutFileName;
        work.save = true;
        mode_ = TextViewMode::Kept;
        break;
    case TextViewMode::Keep:
        mode_ = TextViewMode::TableText;
        break;
    case TextViewMode::Kept:
        break;
    }
    return work;
}

void TextViewModes::outputInformationAsText() {
    if (mode_ != TextViewMode::TableText && mode_ != TextViewMode::Kept) {
        mode_ = TextViewMode::Keep;
    }
}

} // namespace corvanteller
