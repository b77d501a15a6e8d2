// SPDX-License-Identifier: GPL-3.0-or-later
#include "kar/byte_search.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace corvanteller {

std::size_t findBytePair(const char* data, std::size_t size, std::size_t from, char first,
                         std::size_t gap, char secondA, char secondB) {
    if (size <= gap) {
        return notFound;
    }
    const std::size_t end = size - gap; // positions before end have their second byte in data
    std::size_t at = from;
#if defined(__SSE2__)
    constexpr std::size_t lanes = 16;
    const __m128i firstBytes = _mm_set1_epi8(first);
    const __m128i secondBytesA = _mm_set1_epi8(secondA);
    const __m128i secondBytesB = _mm_set1_epi8(secondB);
    const auto matches = [&](std::size_t p) {
        const __m128i heads = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + p));
        const __m128i tails = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + p + gap));
        const __m128i seconds =
            _mm_or_si128(_mm_cmpeq_epi8(tails, secondBytesA), _mm_cmpeq_epi8(tails, secondBytesB));
        return static_cast<unsigned>(
            _mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi8(heads, firstBytes), seconds)));
    };
    // Two vectors a round: a hit is rare, the loop's own cost is what counts.
    for (; at + 2 * lanes <= end; at += 2 * lanes) {
        const unsigned low = matches(at);
        const unsigned high = matches(at + lanes);
        if (low != 0) {
            return at + static_cast<std::size_t>(__builtin_ctz(low));
        }
        if (high != 0) {
            return at + lanes + static_cast<std::size_t>(__builtin_ctz(high));
        }
    }
#endif
    for (; at < end; ++at) {
        if (data[at] == first && (data[at + gap] == secondA || data[at + gap] == secondB)) {
            return at;
        }
    }
    return notFound;
}

} // namespace corvanteller
