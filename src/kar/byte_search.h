// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>

namespace corvanteller {

inline constexpr std::size_t notFound = static_cast<std::size_t>(-1);

// The first position p, from `from` on, where data[p] == first and data[p + gap] is secondA or
// secondB, with p + gap < size; notFound when there is none. One pass over the bytes tests
// both, so that a tag such as "@T" or "@I" costs no more than a single-byte search even where
// its first byte is common.
std::size_t findBytePair(const char* data, std::size_t size, std::size_t from, char first,
                         std::size_t gap, char secondA, char secondB);

} // namespace corvanteller
