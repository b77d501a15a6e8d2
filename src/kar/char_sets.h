// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace corvanteller {

// Which characters a name-event run may hold. A scan from the start window keeps < and >,
// a scan from the main window cuts texts at them.
enum class RunSet { StartWindow, MainWindow };

// A set of cp1251 bytes; membership is one table lookup.
class CharSet {
public:
    constexpr bool contains(unsigned char byte) const { return members_[byte]; }
    constexpr bool contains(char byte) const { return contains(static_cast<unsigned char>(byte)); }

    static constexpr CharSet of(std::initializer_list<std::string_view> groups) {
        CharSet set;
        for (std::string_view group : groups) {
            for (char ch : group) {
                set.members_[static_cast<unsigned char>(ch)] = true;
            }
        }
        return set;
    }
    constexpr CharSet withRange(unsigned char first, unsigned char last) const {
        CharSet set = *this;
        for (int byte = first; byte <= last; ++byte) {
            set.members_[static_cast<std::size_t>(byte)] = true;
        }
        return set;
    }
    int size() const {
        int count = 0;
        for (bool member : members_) {
            count += member ? 1 : 0;
        }
        return count;
    }

private:
    std::array<bool, 256> members_{};
};

const CharSet& runSetChars(RunSet runSet);
// The characters a Soft Karaoke "@T" text keeps: the common ones, < and >, and the single
// Cyrillic capital letter EF (0xD4).
const CharSet& tagSetChars();

} // namespace corvanteller
