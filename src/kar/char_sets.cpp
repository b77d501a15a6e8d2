// SPDX-License-Identifier: GPL-3.0-or-later
#include "kar/char_sets.h"

namespace corvanteller {
namespace {

constexpr std::string_view digits = "0123456789";
constexpr std::string_view latin = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
constexpr std::string_view marks = " !\"#%&'()*+,-./:;=?@\\_`|";
constexpr std::string_view angles = "<>";
constexpr std::string_view cyrillicYo = "\xA8\xB8"; // Ё and ё
constexpr std::string_view cyrillicEf = "\xD4";

constexpr CharSet commonChars = CharSet::of({digits, latin, marks});
constexpr CharSet mainWindowRunSet =
    CharSet::of({digits, latin, marks, cyrillicYo}).withRange(0xC0, 0xFF);
constexpr CharSet startWindowRunSet =
    CharSet::of({digits, latin, marks, cyrillicYo, angles}).withRange(0xC0, 0xFF);
constexpr CharSet tagSet = CharSet::of({digits, latin, marks, angles, cyrillicEf});

static_assert(commonChars.contains('A') && !commonChars.contains('$'));

} // namespace

const CharSet& runSetChars(RunSet runSet) {
    return runSet == RunSet::StartWindow ? startWindowRunSet : mainWindowRunSet;
}

const CharSet& tagSetChars() {
    return tagSet;
}

} // namespace corvanteller
