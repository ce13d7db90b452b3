#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace tevra {

inline constexpr std::size_t kConfigBlockSize = 128;
inline constexpr std::uint16_t kConfigBlockAddress = 0x3700;
inline constexpr std::uint16_t kTimerOffWord = 0xFFFF;

using ConfigBlock = std::array<std::uint8_t, kConfigBlockSize>;

// The exchange window's settings as the user left them; the three times are the edits' texts.
struct ControllerSettings {
    bool timerOn = false;
    bool allNight = false;
    bool inversion = false;
    bool slave = false;
    std::string dayWaitText;
    std::string switchOnDelayText;
    std::string workTimeText;
};

// Either the finished block and its TimerWord, or the first failing field's message.
struct ConfigBlockResult {
    std::optional<ConfigBlock> block;
    std::uint16_t timerWord = kTimerOffWord;
    int dayWait = 0;
    int switchOnDelay = 0;
    int workTime = 0;
    std::string error;
};

// Checks the three times (day wait, switch-on delay, working time, in that order) when the
// timer is on, then builds the 128-byte block.
ConfigBlockResult buildConfigBlock(const ControllerSettings& settings);

} // namespace tevra
