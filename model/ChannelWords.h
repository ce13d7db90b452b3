#pragma once

#include <cstdint>
#include <string>

namespace tevra {

// What a mode code does, in the one set of words that the overview, the tool's show and the
// simulator's dump all print: "выключен" .. "диммер нарастание". Codes 4 and 5 only come from
// files and have no name of their own.
const char* modeWords(int mode);

// A cell in those words with its level or dimmer time: "уровень 16",
// "диммер светлый, 2560 mS".
std::string cellWords(std::uint8_t cell);

} // namespace tevra
