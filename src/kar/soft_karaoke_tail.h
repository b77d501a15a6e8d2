// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace corvanteller {

// The Soft Karaoke pass over the tail of a file (its bytes from offset 14 on), fed in file
// order one view at a time, so that memory stays bounded whatever the file's size. It finds
// what the pass's searches over the whole tail find: the first "Words", the first three "@T"
// after it and the first "@I" after those, and for the case that a "@T" is missing, the
// first "@I" after the place where the pass's search for it starts then.
class SoftKaraokeTail {
public:
    // A text of the pass: the tail's bytes from start to end, cut before the first character
    // outside the tag set. Its bytes are taken from the view in which it is settled; a text
    // that began before that view is pending: the caller reads its bytes again.
    struct Text {
        std::uint64_t start = 0;
        std::uint64_t end = 0;
        std::string bytes;
        bool pending = false;
    };

    // Bytes that every view must repeat from the view before, so that a tag across the border
    // of two views is found.
    static constexpr std::size_t overlap = 4;

    // view holds the tail's bytes from position viewStart on; it repeats at least the last
    // `overlap` bytes of the view before (or all of them, when there were fewer) and adds
    // new ones. Returns true once the texts are settled: later bytes cannot change them.
    bool feed(const char* view, std::uint64_t viewStart, std::size_t viewSize);

    // After the last view: whether the tail holds "Words" (otherwise the pass keeps the
    // name-event texts), and the three texts, empty where the pass takes nothing.
    bool foundWords() const { return stage_ != Stage::Words; }
    std::array<Text, 3>& finish();

private:
    enum class Stage { Words, FirstTag, SecondTag, ThirdTag, Info, Done };

    void settle(Text& text, std::uint64_t start, std::uint64_t end, const char* view,
                std::uint64_t viewStart);
    void startTagStage(Stage stage, std::uint64_t textStart);

    Stage stage_ = Stage::Words;
    std::uint64_t from_ = 0;      // the next position the current stage examines
    std::uint64_t textStart_ = 0; // where the text that the current stage ends begins
    // Where the pass looks for "@I" should the "@T" that this stage looks for be missing.
    std::uint64_t fallbackStart_ = 0;
    bool fallbackFound_ = false;
    Text fallback_;
    std::array<Text, 3> texts_{};
};

// How many of the bytes, from the first on, are in the tag set.
std::size_t tagRunLength(const char* bytes, std::size_t size);

} // namespace corvanteller
