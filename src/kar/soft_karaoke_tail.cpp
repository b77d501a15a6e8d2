// SPDX-License-Identifier: GPL-3.0-or-later
#include "kar/soft_karaoke_tail.h"

#include "kar/byte_search.h"
#include "kar/char_sets.h"

#include <algorithm>
#include <cstring>

namespace corvanteller {
namespace {

// A "@T" ends the text before it less the four bytes of its event's head; "@I" ends the third
// text less seven bytes.
constexpr std::uint64_t tagTextMargin = 4;
constexpr std::uint64_t infoTextMargin = 7;
constexpr std::size_t wordsGap = 4; // "Words" is found by its 'W' and its 's'

// The end of a text that stops margin bytes before a tag; a text cannot end before position 0.
std::uint64_t textEnd(std::uint64_t tag, std::uint64_t margin) {
    return tag > margin ? tag - margin : 0;
}

} // namespace

std::size_t tagRunLength(const char* bytes, std::size_t size) {
    const CharSet& tagSet = tagSetChars();
    std::size_t length = 0;
    while (length < size && tagSet.contains(bytes[length])) {
        ++length;
    }
    return length;
}

void SoftKaraokeTail::settle(Text& text, std::uint64_t start, std::uint64_t end, const char* view,
                             std::uint64_t viewStart) {
    text = Text{start, end, {}, false};
    if (end <= start) {
        return;
    }
    if (start < viewStart) {
        text.pending = true;
        return;
    }
    const char* first = view + (start - viewStart);
    text.bytes.assign(first, tagRunLength(first, static_cast<std::size_t>(end - start)));
}

// The pass drops everything up to the tag found and searches on from there. When the tag of
// this stage is missing, it drops one character per missing tag instead, and the "@I" search
// then starts three, two or one characters after the place where this stage's search began.
void SoftKaraokeTail::startTagStage(Stage stage, std::uint64_t textStart) {
    stage_ = stage;
    textStart_ = textStart;
    from_ = textStart;
    const std::uint64_t droppedIfMissing = stage == Stage::FirstTag    ? 3
                                           : stage == Stage::SecondTag ? 2
                                                                       : 1;
    fallbackStart_ = textStart + droppedIfMissing;
    fallbackFound_ = false;
    fallback_ = Text{};
}

bool SoftKaraokeTail::feed(const char* view, std::uint64_t viewStart, std::size_t viewSize) {
    const std::uint64_t viewEnd = viewStart + viewSize;
    const auto local = [&](std::uint64_t position) {
        return static_cast<std::size_t>(std::max(position, viewStart) - viewStart);
    };
    while (true) {
        switch (stage_) {
        case Stage::Words: {
            std::size_t at = local(from_);
            while ((at = findBytePair(view, viewSize, at, 'W', wordsGap, 's', 's')) != notFound &&
                   std::memcmp(view + at + 1, "ord", 3) != 0) {
                ++at;
            }
            if (at == notFound) {
                // The last bytes may begin a "Words" that the next view completes.
                from_ = std::max(from_, viewEnd > wordsGap ? viewEnd - wordsGap : 0);
                return false;
            }
            startTagStage(Stage::FirstTag, viewStart + at);
            break;
        }
        case Stage::FirstTag:
        case Stage::SecondTag:
        case Stage::ThirdTag: {
            std::size_t at = local(from_);
            bool tagFound = false;
            while (!tagFound) {
                at = findBytePair(view, viewSize, at, '@', 1, 'T', fallbackFound_ ? 'T' : 'I');
                if (at == notFound) {
                    break;
                }
                const std::uint64_t position = viewStart + at;
                if (view[at + 1] == 'T') {
                    tagFound = true;
                } else if (position >= fallbackStart_) {
                    fallbackFound_ = true;
                    settle(fallback_, fallbackStart_, textEnd(position, infoTextMargin), view,
                           viewStart);
                }
                ++at;
            }
            if (!tagFound) {
                from_ = std::max(from_, viewEnd > 1 ? viewEnd - 1 : 0);
                return false;
            }
            const std::uint64_t tag = viewStart + at - 1;
            if (stage_ == Stage::SecondTag) {
                settle(texts_[0], textStart_, textEnd(tag, tagTextMargin), view, viewStart);
            } else if (stage_ == Stage::ThirdTag) {
                settle(texts_[1], textStart_, textEnd(tag, tagTextMargin), view, viewStart);
            }
            if (stage_ == Stage::ThirdTag) {
                stage_ = Stage::Info;
                textStart_ = tag + 2;
                from_ = textStart_;
            } else {
                startTagStage(stage_ == Stage::FirstTag ? Stage::SecondTag : Stage::ThirdTag,
                              tag + 2);
            }
            break;
        }
        case Stage::Info: {
            const std::size_t at = findBytePair(view, viewSize, local(from_), '@', 1, 'I', 'I');
            if (at == notFound) {
                from_ = std::max(from_, viewEnd > 1 ? viewEnd - 1 : 0);
                return false;
            }
            settle(texts_[2], textStart_, textEnd(viewStart + at, infoTextMargin), view, viewStart);
            stage_ = Stage::Done;
            return true;
        }
        case Stage::Done:
            return true;
        }
    }
}

std::array<SoftKaraokeTail::Text, 3>& SoftKaraokeTail::finish() {
    switch (stage_) {
    case Stage::Words:
    case Stage::Done:
        break;
    case Stage::Info:
        // No "@I" after the third "@T": the third text takes nothing.
        texts_[2] = Text{};
        stage_ = Stage::Done;
        break;
    case Stage::FirstTag:
    case Stage::SecondTag:
    case Stage::ThirdTag:
        // Every later "@T" is missing too; only the "@I" search from the fallback start
        // can give a text.
        if (stage_ != Stage::ThirdTag) {
            texts_[0] = Text{};
        }
        texts_[1] = Text{};
        texts_[2] = fallbackFound_ ? std::move(fallback_) : Text{};
        stage_ = Stage::Done;
        break;
    }
    return texts_;
}

} // namespace corvanteller
