// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace corvanteller {

// The four descriptive texts that one karaoke file yields; the fourth is the maker line.
struct SongTexts {
    QString first;
    QString second;
    QString third;
    QString fourth;

    bool operator==(const SongTexts&) const = default;
};

} // namespace corvanteller
