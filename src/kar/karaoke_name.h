// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArrayView>

namespace corvanteller {

// Whether a folder entry is taken for a karaoke file: its name's bytes hold "kar" or "KAR"
// ("Kar" and "kAR" do not count).
inline bool isKaraokeFileName(QByteArrayView name) {
    return name.contains("kar") || name.contains("KAR");
}

} // namespace corvanteller
