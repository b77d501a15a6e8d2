// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "text/rich_text.h"

#include <QByteArray>

namespace corvanteller {

// Rich Text Format of the text: Windows Cyrillic as the document's code page, every font with
// the Cyrillic character set, characters outside it as \uN with "?" for readers that do not
// know them. readRtf reads it back to the same text.
QByteArray writeRtf(const RichText& text);

} // namespace corvanteller
