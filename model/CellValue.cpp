#include "model/CellValue.h"

#include "model/ChannelCell.h"

#include <charconv>

namespace tevra {

namespace {

constexpr std::string_view kLevelPrefix = "level:";
constexpr std::string_view kHexPrefix = "0x";
constexpr int kDecimalBase = 10;
constexpr int kHexBase = 16;
constexpr int kMaxByte = 255;

// The whole text as a number in base; no sign, blank or trailing character.
std::optional<int> wholeNumber(std::string_view text, int base) {
    int value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value, base);
    if (text.empty() || text.front() == '-' || error != std::errc() || stop != end) {
        return std::nullopt;
    }
    return value;
}

} // namespace

std::optional<CellValue> CellValue::parse(std::string_view text, bool keepAllowed) {
    if (text == "off") {
        return kOffValue;
    }
    if (text == "on") {
        return kOnValue;
    }
    if (keepAllowed && text == "keep") {
        return CellValue{true, 0};
    }
    if (text.starts_with(kLevelPrefix)) {
        const std::optional<int> level =
            wholeNumber(text.substr(kLevelPrefix.size()), kDecimalBase);
        if (!level || *level < kLevelSliderMin || *level > kLevelSliderMax) {
            return std::nullopt;
        }
        return CellValue{false,
                         cellWithLevel(static_cast<std::uint8_t>(ChannelMode::Level), *level)};
    }
    const bool hex = text.starts_with(kHexPrefix) || text.starts_with("0X");
    const std::optional<int> byte = hex ? wholeNumber(text.substr(kHexPrefix.size()), kHexBase)
                                        : wholeNumber(text, kDecimalBase);
    if (!byte || *byte > kMaxByte) {
        return std::nullopt;
    }
    return CellValue{false, static_cast<std::uint8_t>(*byte)};
}

} // namespace tevra
