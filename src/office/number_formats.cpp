// SPDX-License-Identifier: GPL-3.0-or-later
#include "office/number_formats.h"

#include <array>
#include <charconv>
#include <cmath>

namespace corvanteller {

namespace {

constexpr double secondsPerDay = 86400;

bool isTimeLetter(char ch) {
    switch (ch) {
    case 'h':
    case 'H':
    case 'm':
    case 'M':
    case 's':
    case 'S':
        return true;
    default:
        return false;
    }
}

char lower(char ch) {
    return ch >= 'A' && ch <= 'Z' ? static_cast<char>(ch - 'A' + 'a') : ch;
}

// "[h]", "[mm]", "[ss]": one time letter, repeated.
bool isElapsedBracket(std::string_view inside) {
    if (inside.empty() || !isTimeLetter(inside.front())) {
        return false;
    }
    for (const char ch : inside) {
        if (lower(ch) != lower(inside.front())) {
            return false;
        }
    }
    return true;
}

void appendPadded(std::string& out, long long value, std::size_t width) {
    std::array<char, 24> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    const std::size_t digits = static_cast<std::size_t>(result.ptr - buffer.data());
    out.append(width > digits ? width - digits : 0, '0');
    out.append(buffer.data(), digits);
}

} // namespace

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

NumberFormatKind builtInFormatKind(int id) {
    if ((id >= 14 && id <= 17) || id == 22 || (id >= 27 && id <= 36) || (id >= 50 && id <= 58)) {
        return NumberFormatKind::Date;
    }
    if ((id >= 18 && id <= 21) || id == 45 || id == 47) {
        return NumberFormatKind::TimeOfDay;
    }
    return id == 46 ? NumberFormatKind::ElapsedTime : NumberFormatKind::Number;
}

std::string_view builtInFormatCode(int id) {
    return id == 46 ? "[h]:mm:ss" : "";
}

NumberFormatKind formatCodeKind(std::string_view code) {
    bool date = false;
    bool time = false;
    bool month = false;
    for (std::size_t i = 0; i < code.size(); ++i) {
        switch (code[i]) {
        case '"': {
            const std::size_t close = code.find('"', i + 1);
            if (close == std::string_view::npos) {
                return NumberFormatKind::Number;
            }
            i = close;
            break;
        }
        case '[': {
            const std::size_t close = code.find(']', i + 1);
            if (close == std::string_view::npos) {
                return NumberFormatKind::Number;
            }
            if (isElapsedBracket(code.substr(i + 1, close - i - 1))) {
                return NumberFormatKind::ElapsedTime;
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
        case 'y':
        case 'Y':
            date = true;
            break;
        case 'h':
        case 'H':
        case 's':
        case 'S':
            time = true;
            break;
        case 'm':
        case 'M':
            month = true;
            break;
        default:
            break;
        }
    }
    // Beside an hour or a second, "m" counts minutes.
    if (date || (month && !time)) {
        return NumberFormatKind::Date;
    }
    return time ? NumberFormatKind::TimeOfDay : NumberFormatKind::Number;
}

std::string elapsedTimeText(double days, std::string_view code) {
    // The first section is the one of positive numbers; a negative duration gets a sign.
    std::string_view section = code;
    for (std::size_t i = 0; i < code.size(); ++i) {
        if (code[i] == '"') {
            i = code.find('"', i + 1);
            if (i == std::string_view::npos) {
                break;
            }
        } else if (code[i] == '\\') {
            ++i;
        } else if (code[i] == ';') {
            section = code.substr(0, i);
            break;
        }
    }
    // Fractions of a second: the zeros after the point ("ss.00", "[ss].0").
    std::size_t decimals = 0;
    if (const std::size_t point = section.find(".0"); point != std::string_view::npos) {
        while (point + 1 + decimals < section.size() && section[point + 1 + decimals] == '0') {
            ++decimals;
        }
    }
    const double scale = std::pow(10.0, static_cast<double>(decimals));
    const double ticks = std::round(std::fabs(days) * secondsPerDay * scale);
    if (!std::isfinite(ticks) || ticks > 9e15) {
        return generalNumberText(days);
    }
    const auto all = static_cast<long long>(ticks);
    const long long fraction = all % static_cast<long long>(scale);
    const long long seconds = all / static_cast<long long>(scale);

    std::string out = days < 0 && all != 0 ? "-" : "";
    for (std::size_t i = 0; i < section.size(); ++i) {
        const char ch = section[i];
        std::size_t run = 1;
        while (i + run < section.size() && lower(section[i + run]) == lower(ch)) {
            ++run;
        }
        if (ch == '"') {
            const std::size_t close = section.find('"', i + 1);
            const std::size_t end = close == std::string_view::npos ? section.size() : close;
            out.append(section.substr(i + 1, end - i - 1));
            i = end;
        } else if (ch == '\\' && i + 1 < section.size()) {
            out += section[++i];
        } else if ((ch == '_' || ch == '*') && i + 1 < section.size()) {
            ++i;
        } else if (ch == '[') {
            const std::size_t close = section.find(']', i + 1);
            const std::size_t end = close == std::string_view::npos ? section.size() : close;
            const std::string_view inside = section.substr(i + 1, end - i - 1);
            if (isElapsedBracket(inside)) {
                const char unit = lower(inside.front());
                appendPadded(out,
                             unit == 'h'   ? seconds / 3600
                             : unit == 'm' ? seconds / 60
                                           : seconds,
                             inside.size());
            }
            i = end;
        } else if (lower(ch) == 'h') {
            appendPadded(out, seconds / 3600 % 24, std::min<std::size_t>(run, 2));
            i += run - 1;
        } else if (lower(ch) == 'm') {
            appendPadded(out, seconds / 60 % 60, std::min<std::size_t>(run, 2));
            i += run - 1;
        } else if (lower(ch) == 's') {
            appendPadded(out, seconds % 60, std::min<std::size_t>(run, 2));
            i += run - 1;
        } else if (ch == '.' && decimals > 0 && i + 1 < section.size() && section[i + 1] == '0') {
            out += '.';
            appendPadded(out, fraction, decimals);
            i += decimals;
        } else {
            out += ch;
        }
    }
    return out;
}

double timeOfDaySerial(double serial) {
    if (!(serial >= 0) || !std::isfinite(serial)) {
        return serial;
    }
    const double seconds = std::fmod(std::round(serial * secondsPerDay), secondsPerDay);
    return seconds / secondsPerDay;
}

} // namespace corvanteller
