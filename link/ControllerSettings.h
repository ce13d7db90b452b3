#pragma once

#include "model/DecimalText.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

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

// The block's fields, in the order they lie in it; each is two bytes long.
enum class ConfigField { TimerWord, DayWait, SwitchOnDelay, WorkTime, Role };

struct ConfigFieldBytes {
    ConfigField field = ConfigField::TimerWord;
    std::size_t offset = 0;
    std::array<std::uint8_t, 2> bytes{};
};

// A settings block read back from a controller. A field is empty where nothing was set (the
// times with the timer off) or where its bytes are none that buildConfigBlock() gives; those
// fields are listed in `undecodable`, never guessed at.
struct ConfigBlockContents {
    std::optional<TimerState> timer;
    std::optional<int> dayWait;
    std::optional<int> switchOnDelay;
    std::optional<int> workTime;
    std::optional<bool> slave;
    std::vector<ConfigFieldBytes> undecodable;
};

// The inverse of buildConfigBlock(): a TimerWord other than its five values, a time of 0 with
// the timer on, or role bytes other than 00 00 and FF FF are undecodable. Bytes that the
// encoding leaves unset (10..127, and 2..7 with the timer off) may hold anything.
ConfigBlockContents decodeConfigBlock(const ConfigBlock& block);

// The field a byte of the block belongs to; nothing for bytes 10..127.
std::optional<ConfigField> configFieldAt(std::size_t offset);

// Whether buildConfigBlock() sets this byte of the block: the TimerWord and the role bytes
// always, the three times when the block's timer is on.
bool isSetByEncoding(const ConfigBlock& block, std::size_t offset);

} // namespace tevra
