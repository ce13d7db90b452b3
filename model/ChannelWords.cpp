#include "model/ChannelWords.h"

#include "model/ChannelCell.h"

#include <array>

namespace tevra {

const char* modeWords(int mode) {
    constexpr std::array<const char*, 8> kWords = {
        "выключен",         "включен",          "диммер тёмный",  "уровень",
        "диммер (режим 4)", "диммер (режим 5)", "диммер светлый", "диммер нарастание"};
    return kWords[static_cast<std::size_t>(mode) % kWords.size()];
}

std::string cellWords(std::uint8_t cell) {
    const int mode = modeOf(cell);
    std::string words = modeWords(mode);
    if (mode == static_cast<int>(ChannelMode::Level)) {
        words += ' ';
        words += std::to_string(levelFromCell(cell));
    } else if (isDimmerMode(mode)) {
        words += ", ";
        words += std::to_string(dimmerMillis(cell));
        words += " mS";
    }
    return words;
}

} // namespace tevra
