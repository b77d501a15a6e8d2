// SPDX-License-Identifier: GPL-3.0-or-later
#include "kar/byte_search.h"

#include <cstdint>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define CORVANTELLER_X86_SEARCH 1
#endif

namespace corvanteller {
namespace {

std::size_t findBytePairPlain(const char* data, std::size_t at, std::size_t end, char first,
                              std::size_t gap, char secondA, char secondB) {
    for (; at < end; ++at) {
        if (data[at] == first && (data[at + gap] == secondA || data[at + gap] == secondB)) {
            return at;
        }
    }
    return notFound;
}

#if defined(CORVANTELLER_X86_SEARCH)

// Two vectors a round: a hit is rare, the loop's own cost is what counts.
__attribute__((target("sse2"))) std::size_t findBytePairSse2(const char* data, std::size_t at,
                                                             std::size_t end, char first,
                                                             std::size_t gap, char secondA,
                                                             char secondB) {
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
    for (; at + 2 * lanes <= end; at += 2 * lanes) {
        const unsigned low = matches(at);
        const unsigned high = matches(at + lanes);
        if ((low | high) != 0) {
            const unsigned both = low | (high << lanes);
            return at + static_cast<std::size_t>(__builtin_ctz(both));
        }
    }
    return findBytePairPlain(data, at, end, first, gap, secondA, secondB);
}

// The places in 32 bytes from p where the pair lies, as a byte mask.
__attribute__((target("avx2"))) inline __m256i pairsAt(const char* data, std::size_t p,
                                                       std::size_t gap, __m256i firstBytes,
                                                       __m256i secondBytesA, __m256i secondBytesB) {
    const __m256i heads = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(data + p));
    const __m256i tails = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(data + p + gap));
    const __m256i seconds = _mm256_or_si256(_mm256_cmpeq_epi8(tails, secondBytesA),
                                            _mm256_cmpeq_epi8(tails, secondBytesB));
    return _mm256_and_si256(_mm256_cmpeq_epi8(heads, firstBytes), seconds);
}

// The same with vectors twice as wide, on processors that have them.
__attribute__((target("avx2"))) std::size_t findBytePairAvx2(const char* data, std::size_t at,
                                                             std::size_t end, char first,
                                                             std::size_t gap, char secondA,
                                                             char secondB) {
    constexpr std::size_t lanes = 32;
    const __m256i firstBytes = _mm256_set1_epi8(first);
    const __m256i secondBytesA = _mm256_set1_epi8(secondA);
    const __m256i secondBytesB = _mm256_set1_epi8(secondB);
    for (; at + 2 * lanes <= end; at += 2 * lanes) {
        const __m256i low = pairsAt(data, at, gap, firstBytes, secondBytesA, secondBytesB);
        const __m256i high = pairsAt(data, at + lanes, gap, firstBytes, secondBytesA, secondBytesB);
        const __m256i any = _mm256_or_si256(low, high);
        if (!_mm256_testz_si256(any, any)) {
            const auto lowMask =
                static_cast<std::uint64_t>(static_cast<std::uint32_t>(_mm256_movemask_epi8(low)));
            const auto highMask =
                static_cast<std::uint64_t>(static_cast<std::uint32_t>(_mm256_movemask_epi8(high)));
            return at + static_cast<std::size_t>(__builtin_ctzll(lowMask | (highMask << lanes)));
        }
    }
    return findBytePairSse2(data, at, end, first, gap, secondA, secondB);
}

// The places in 64 bytes from p where the pair lies, as a bit mask.
__attribute__((target("avx512f,avx512bw"))) inline __mmask64
pairMaskAt(const char* data, std::size_t p, std::size_t gap, __m512i firstBytes,
           __m512i secondBytesA, __m512i secondBytesB) {
    const __mmask64 heads = _mm512_cmpeq_epi8_mask(_mm512_loadu_si512(data + p), firstBytes);
    const __m512i tails = _mm512_loadu_si512(data + p + gap);
    return _mm512_mask_cmpeq_epi8_mask(heads, tails, secondBytesA) |
           _mm512_mask_cmpeq_epi8_mask(heads, tails, secondBytesB);
}

// The same with vectors twice as wide again, whose comparisons give bit masks at once.
__attribute__((target("avx512f,avx512bw"))) std::size_t
findBytePairAvx512(const char* data, std::size_t at, std::size_t end, char first, std::size_t gap,
                   char secondA, char secondB) {
    constexpr std::size_t lanes = 64;
    const __m512i firstBytes = _mm512_set1_epi8(first);
    const __m512i secondBytesA = _mm512_set1_epi8(secondA);
    const __m512i secondBytesB = _mm512_set1_epi8(secondB);
    for (; at + 2 * lanes <= end; at += 2 * lanes) {
        const __mmask64 low = pairMaskAt(data, at, gap, firstBytes, secondBytesA, secondBytesB);
        const __mmask64 high =
            pairMaskAt(data, at + lanes, gap, firstBytes, secondBytesA, secondBytesB);
        if ((low | high) != 0) {
            return low != 0 ? at + static_cast<std::size_t>(__builtin_ctzll(low))
                            : at + lanes + static_cast<std::size_t>(__builtin_ctzll(high));
        }
    }
    return findBytePairAvx2(data, at, end, first, gap, secondA, secondB);
}

using PairSearch = std::size_t (*)(const char*, std::size_t, std::size_t, char, std::size_t, char,
                                   char);

PairSearch bestPairSearch() {
    __builtin_cpu_init();
    if (__builtin_cpu_supports("avx512bw")) {
        return findBytePairAvx512;
    }
    if (__builtin_cpu_supports("avx2")) {
        return findBytePairAvx2;
    }
    if (__builtin_cpu_supports("sse2")) {
        return findBytePairSse2;
    }
    return findBytePairPlain;
}

#endif

} // namespace

std::size_t findBytePair(const char* data, std::size_t size, std::size_t from, char first,
                         std::size_t gap, char secondA, char secondB) {
    if (size <= gap) {
        return notFound;
    }
    const std::size_t end = size - gap; // positions before end have their second byte in data
#if defined(CORVANTELLER_X86_SEARCH)
    static const PairSearch search = bestPairSearch();
    return search(data, from, end, first, gap, secondA, secondB);
#else
    return findBytePairPlain(data, from, end, first, gap, secondA, secondB);
#endif
}

} // namespace corvanteller
