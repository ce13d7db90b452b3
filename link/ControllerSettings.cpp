#include "link/ControllerSettings.h"

#include <cstdint>

namespace tevra {

namespace {

// Byte offsets inside the block.
constexpr std::size_t kTimerWordOffset = 0;
constexpr std::size_t kDayWaitOffset = 2;
constexpr std::size_t kSwitchOnDelayOffset = 4;
constexpr std::size_t kWorkTimeOffset = 6;
constexpr std::size_t kRoleOffset = 8;
constexpr std::size_t kRoleCopyOffset = 9;

constexpr std::uint16_t kAllNightTimerWord = 0x0000;
constexpr std::uint16_t kAllNightInvertedTimerWord = 0xFF00;
constexpr std::uint16_t kTimedTimerWord = 0x0001;
constexpr std::uint16_t kTimedInvertedTimerWord = 0xFF01;

constexpr unsigned kLowByteMask = 0xFF;
constexpr unsigned kBitsPerByte = 8;
// Every field is a word; the role's word is its byte and the copy.
constexpr std::size_t kFieldSize = 2;
constexpr std::size_t kEncodedSize = kRoleCopyOffset + 1;
static_assert(static_cast<std::size_t>(ConfigField::Role) == kRoleOffset / kFieldSize,
              "the fields are numbered in the order they lie in the block");

void putWord(ConfigBlock& block, std::size_t offset, std::uint16_t value) {
    block[offset] = static_cast<std::uint8_t>(value & kLowByteMask);
    block[offset + 1] = static_cast<std::uint8_t>(value >> kBitsPerByte);
}

std::uint16_t wordAt(const ConfigBlock& block, std::size_t offset) {
    return static_cast<std::uint16_t>(block[offset] | (block[offset + 1] << kBitsPerByte));
}

// The field's seconds, or nothing when the text is no number in 1..65535.
std::optional<std::uint16_t> readSeconds(const std::string& text) {
    const std::optional<int> value = readDecimal(text);
    if (!value || *value < kMinTimerSeconds || *value > kMaxTimerSeconds) {
        return std::nullopt;
    }
    return static_cast<std::uint16_t>(*value);
}

} // namespace

std::uint16_t encodeTimerWord(bool allNight, bool inversion) {
    return static_cast<std::uint16_t>((allNight ? 0 : kTimerNotAllNight) +
                                      (inversion ? kTimerInversion : 0));
}

TimerState decodeTimerWord(int stored) {
    switch (stored) {
    case kTimedInvertedTimerWord:
        return {.timerOn = true, .allNight = false, .inversion = true};
    case kAllNightInvertedTimerWord:
        return {.timerOn = true, .allNight = true, .inversion = true};
    case kAllNightTimerWord:
        return {.timerOn = true, .allNight = true, .inversion = false};
    case kTimedTimerWord:
        return {.timerOn = true, .allNight = false, .inversion = false};
    default:
        return {};
    }
}

ConfigBlockResult buildConfigBlock(const ControllerSettings& settings) {
    ConfigBlockResult result;
    // The controller ignores every byte the system does not set; they are sent as zero so the
    // read-back compares a known value. Bytes 2..7 stay zero with the timer off.
    ConfigBlock block{};

    if (settings.timerOn) {
        result.timerWord = encodeTimerWord(settings.allNight, settings.inversion);
        const struct {
            const std::string& text;
            const char* message;
            int& value;
            std::size_t offset;
        } fields[] = {
            {settings.dayWaitText, kDayWaitRangeMessage, result.dayWait, kDayWaitOffset},
            {settings.switchOnDelayText, kSwitchOnDelayRangeMessage, result.switchOnDelay,
             kSwitchOnDelayOffset},
            {settings.workTimeText, kWorkTimeRangeMessage, result.workTime, kWorkTimeOffset},
        };
        for (const auto& field : fields) {
            const std::optional<std::uint16_t> seconds = readSeconds(field.text);
            if (!seconds) {
                result.error = field.message;
                return result;
            }
            field.value = *seconds;
            putWord(block, field.offset, *seconds);
        }
    } else {
        result.timerWord = kTimerOffWord;
    }
    putWord(block, kTimerWordOffset, result.timerWord);

    const std::uint8_t role = settings.slave ? kRoleSlave : kRoleMaster;
    block[kRoleOffset] = role;
    block[kRoleCopyOffset] = role;
    result.block = block;
    return result;
}

ConfigBlockContents decodeConfigBlock(const ConfigBlock& block) {
    ConfigBlockContents contents;
    const auto undecodable = [&](ConfigField field, std::size_t offset) {
        contents.undecodable.push_back({field, offset, {block[offset], block[offset + 1]}});
    };

    const std::uint16_t timerWord = wordAt(block, kTimerWordOffset);
    const TimerState timer = decodeTimerWord(timerWord);
    if (timer.timerOn || timerWord == kTimerOffWord) {
        contents.timer = timer;
    } else {
        undecodable(ConfigField::TimerWord, kTimerWordOffset);
    }
    if (timer.timerOn) {
        const struct {
            ConfigField field;
            std::size_t offset;
            std::optional<int>& seconds;
        } times[] = {
            {ConfigField::DayWait, kDayWaitOffset, contents.dayWait},
            {ConfigField::SwitchOnDelay, kSwitchOnDelayOffset, contents.switchOnDelay},
            {ConfigField::WorkTime, kWorkTimeOffset, contents.workTime},
        };
        for (const auto& time : times) {
            const std::uint16_t seconds = wordAt(block, time.offset);
            if (seconds >= kMinTimerSeconds) {
                time.seconds = seconds;
            } else {
                undecodable(time.field, time.offset);
            }
        }
    }

    const std::uint8_t role = block[kRoleOffset];
    if (role == block[kRoleCopyOffset] && (role == kRoleSlave || role == kRoleMaster)) {
        contents.slave = role == kRoleSlave;
    } else {
        undecodable(ConfigField::Role, kRoleOffset);
    }
    return contents;
}

std::optional<ConfigField> configFieldAt(std::size_t offset) {
    if (offset >= kEncodedSize) {
        return std::nullopt;
    }
    return static_cast<ConfigField>(offset / kFieldSize);
}

bool isSetByEncoding(const ConfigBlock& block, std::size_t offset) {
    const std::optional<ConfigField> field = configFieldAt(offset);
    if (!field) {
        return false;
    }
    return *field == ConfigField::TimerWord || *field == ConfigField::Role ||
           decodeTimerWord(wordAt(block, kTimerWordOffset)).timerOn;
}

} // namespace tevra
