#include "settings/NumberReading.h"

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <string>

namespace numbers {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n'; }

// The text without the characters Val passes over.
std::string WithoutBlanks(std::string_view text) {
    std::string out;
    for (char c : text) {
        if (!IsBlank(c)) out += c;
    }
    return out;
}

double ReadRadix(const std::string& digits, int radix) {
    std::uint64_t value = 0;
    std::size_t count = 0;
    for (char c : digits) {
        int digit = -1;
        if (c >= '0' && c <= '9') digit = c - '0';
        else if (radix == 16 && c >= 'a' && c <= 'f') digit = c - 'a' + 10;
        else if (radix == 16 && c >= 'A' && c <= 'F') digit = c - 'A' + 10;
        if (digit < 0 || digit >= radix) break;
        if (count < 16) value = value * static_cast<std::uint64_t>(radix) + static_cast<std::uint64_t>(digit);
        ++count;
    }
    // Short forms are signed values of their width, as &HFFFF is -1.
    const int bits = radix == 16 ? 4 : 3;
    if (count * bits <= 16) return static_cast<std::int16_t>(static_cast<std::uint16_t>(value));
    if (count * bits <= 32) return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
    return static_cast<double>(value);
}

}  // namespace

double Val(std::string_view text) {
    const std::string s = WithoutBlanks(text);
    if (s.size() >= 2 && s[0] == '&') {
        if (s[1] == 'H' || s[1] == 'h') return ReadRadix(s.substr(2), 16);
        if (s[1] == 'O' || s[1] == 'o') return ReadRadix(s.substr(2), 8);
        return 0;
    }
    std::string number;
    std::size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) number += s[i++];
    bool digits = false;
    while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) number += s[i++], digits = true;
    if (i < s.size() && s[i] == '.') {
        number += s[i++];
        while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) number += s[i++], digits = true;
    }
    if (!digits) return 0;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E' || s[i] == 'd' || s[i] == 'D')) {
        std::string exponent = "e";
        std::size_t j = i + 1;
        if (j < s.size() && (s[j] == '+' || s[j] == '-')) exponent += s[j++];
        bool exponentDigits = false;
        while (j < s.size() && std::isdigit(static_cast<unsigned char>(s[j]))) exponent += s[j++], exponentDigits = true;
        if (exponentDigits) number += exponent;
    }
    const double value = std::strtod(number.c_str(), nullptr);
    return std::isfinite(value) ? value : (value > 0 ? 1e308 : -1e308);
}

std::int16_t ValToInt16(std::string_view text) {
    const double rounded = std::nearbyint(Val(text));  // the default rounding: halves to even
    if (rounded < -32768) return -32768;
    if (rounded > 32767) return 32767;
    return static_cast<std::int16_t>(rounded);
}

}  // namespace numbers
