// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "text/rich_text.h"

#include <QByteArrayView>

namespace corvanteller {

// Reads Rich Text Format: paragraphs with their indents and alignment, runs with font, size,
// bold, italic, underline, strike-out and colour; pictures, objects, headers, footnotes,
// style sheets and unknown destinations are skipped, a field shows its result, table cells
// are separated by TAB and a table row ends a paragraph. Never fails: whatever the bytes, it
// returns the text it could make of them. Groups nest to any depth; beyond 1,024 levels they
// share the state of the deepest kept level.
RichText readRtf(QByteArrayView bytes);

// Whether the bytes begin with "{\rtf", after an optional UTF-8 byte-order mark.
bool looksLikeRtf(QByteArrayView bytes);

} // namespace corvanteller
