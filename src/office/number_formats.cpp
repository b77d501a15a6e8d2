#include "office/number_formats.h"

#include <array>
#include <charconv>
#include <cmath>

namespace corvanteller {

std::string generalNumberText(double number) {
    if (number == 0 || !std::isfinite(number)) {
        return "0";
    }
    std::array<char, 40> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), number,
                                      std::chars_format::general, 15);
    std::string text(buffer.data(), result.ptr);
    for (char& ch : text) {
        if (ch == 'e') {
            ch = 'E';
        }
    }
    return text;
}

bool isBuiltInDateFormat(int id) {
    return (id >= 14 && id <= 22) || (id >= 27 && id <= 36) || (id >= 45 && id <= 47) ||
           (id >= 50 && id <= 58);
}

bool isDateFormatCode(std::string_view code) {
    for (std::size_t i = 0; i < code.size(); ++i) {
        switch (code[i]) {
        case '"': {
            const std::size_t close = code.find('"', i + 1);
            if (close == std::string_view::npos) {
                return false;
            }
            i = close;
            break;
        }
        case '[': {
            const std::size_t close = code.find(']', i + 1);
            if (close == std::string_view::npos) {
                return false;
            }
            i = close;
            break;
        }
        // The next character stands for itself, or fills or pads.
        case '\\':
        case '_':
        case '*':
            ++i;
            break;
        case 'd':
        case 'D':
        case 'm':
        case 'M':
        case 'y':
        case 'Y':
        case 'h':
        case 'H':
            return true;
        default:
            break;
        }
    }
    return false;
}

} // namespace corvanteller
