#pragma once

#include "model/DecimalText.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace tevra {

inline constexpr std::size_t kConfigBlockSize = 128;
inline constexpr std::uint16_t kConfigBlockAddress = 0x3700;
inline constexpr std::uint16_t kTimerOffWord = 0xFFFF;

// TimerWord: low byte all-night flag (0x00 all night, 0x01 not), high byte inversion.
inline constexpr std::uint16_t kTimerNotAllNight = 0x0001;
inline constexpr std::uint16_t kTimerInversion = 0xFF00;

// Role bytes 8 and 9 of the block.
inline constexpr std::uint8_t kRoleSlave = 0x00;
inline constexpr std::uint8_t kRoleMaster = 0xFF;

inline constexpr int kMinTimerSeconds = 1;
inline constexpr int kMaxTimerSeconds = 65535;

inline constexpr const char* kDayWaitRangeMessage = "Значение ожидания дня должно быть 1-65535";
inline constexpr const char* kSwitchOnDelayRangeMessage =
    "Значение задержки включения должно быть 1-65535";
inline constexpr const char* kWorkTimeRangeMessage = "Значение времени работы должно быть 1-65535";

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

std::uint16_t encodeTimerWord(bool allNight, bool inversion);

// What a stored TimerWord means for the window; every unknown value reads as timer off.
struct TimerState {
    bool timerOn = false;
    bool allNight = false;
    bool inversion = false;
};
TimerState decodeTimerWord(int stored);

} // namespace tevra
