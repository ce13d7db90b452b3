#include "model/DecimalText.h"

#include <cstdint>
#include <limits>

namespace tevra {

namespace {

// What "%d" skips before a number.
template <typename Char> bool isBlank(Char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

template <typename Char> bool isDigit(Char c) {
    return c >= '0' && c <= '9';
}

template <typename Char> std::optional<int> readDecimalIn(std::basic_string_view<Char> text) {
    std::size_t i = 0;
    while (i < text.size() && isBlank(text[i])) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    // One past the int range in magnitude, so INT_MIN still reads.
    constexpr std::int64_t kLimit = std::int64_t{std::numeric_limits<int>::max()} + 1;
    std::int64_t magnitude = 0;
    bool anyDigit = false;
    for (; i < text.size() && isDigit(text[i]); ++i) {
        anyDigit = true;
        magnitude = magnitude * 10 + (text[i] - '0');
        if (magnitude > kLimit) {
            return std::nullopt;
        }
    }
    if (!anyDigit) {
        return std::nullopt;
    }
    const std::int64_t value = negative ? -magnitude : magnitude;
    if (value > std::numeric_limits<int>::max()) {
        return std::nullopt;
    }
    return static_cast<int>(value);
}

} // namespace

std::optional<int> readDecimal(std::string_view text) {
    return readDecimalIn(text);
}

std::optional<int> readDecimal(std::u16string_view text) {
    return readDecimalIn(text);
}

std::u16string decimalText(int value) {
    const std::string text = std::to_string(value);
    return {text.begin(), text.end()};
}

} // namespace tevra
