// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArrayView>

#include <string_view>

namespace corvanteller {

// Whether a folder entry is taken for a karaoke file: its name's bytes hold "kar" or "KAR"
// ("Kar" and "kAR" do not count). A scan asks it of every entry: the standard library's search
// for a short needle costs a fraction of Qt's general one.
inline bool isKaraokeFileName(QByteArrayView name) {
    const std::string_view bytes(name.data(), static_cast<std::size_t>(name.size()));
    return bytes.find("kar") != std::string_view::npos ||
           bytes.find("KAR") != std::string_view::npos;
}

} // namespace corvanteller
