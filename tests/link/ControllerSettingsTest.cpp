#include "link/ControllerSettings.h"

#include "link/ControllerProfile.h"
#include "support/RecordingProfile.h"

#include <gtest/gtest.h>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace tevra {
namespace {

using Writes = std::vector<std::pair<std::string, int>>;

ControllerSettings settings(bool timerOn, const std::string& dayWait, const std::string& delay,
                            const std::string& work) {
    return {.timerOn = timerOn,
            .dayWaitText = dayWait,
            .switchOnDelayText = delay,
            .workTimeText = work};
}

TEST(ConfigBlockTest, EachTimeTakesOnly1To65535AndTheFirstFailingOneIsReported) {
    const char* messages[] = {kDayWaitRangeMessage, kSwitchOnDelayRangeMessage,
                              kWorkTimeRangeMessage};
    for (const auto& [text, value] :
         {std::pair{"0", 0}, {"1", 1}, {"65535", 65535}, {"65536", 0}, {"", 0}}) {
        for (std::size_t field = 0; field < 3; ++field) {
            SCOPED_TRACE(::testing::Message() << '"' << text << "\" in field " << field);
            std::string texts[] = {"10", "20", "30"};
            texts[field] = text;
            const auto result = buildConfigBlock(settings(true, texts[0], texts[1], texts[2]));
            EXPECT_EQ(result.error, value == 0 ? messages[field] : "");
            ASSERT_EQ(result.block.has_value(), value != 0);
            if (value != 0) {
                const int values[] = {result.dayWait, result.switchOnDelay, result.workTime};
                EXPECT_EQ(values[field], value);
                const auto& block = *result.block;
                EXPECT_EQ(block[2 + 2 * field] | (block[3 + 2 * field] << 8), value);
            }
        }
    }
    EXPECT_EQ(buildConfigBlock(settings(true, "0", "0", "0")).error, kDayWaitRangeMessage);
    EXPECT_EQ(buildConfigBlock(settings(true, "1", "0", "0")).error, kSwitchOnDelayRangeMessage);
}

TEST(TimerWordTest, StoredWordsDecodeAndEncodeBack) {
    // Stored; timer on, all night, inversion. Every other word reads as timer off.
    const std::tuple<int, bool, bool, bool> rows[] = {
        {65535, false, false, false}, {65281, true, false, true}, {65280, true, true, true},
        {0, true, true, false},       {1, true, false, false},    {256, false, false, false}};
    for (const auto& [stored, on, allNight, inversion] : rows) {
        const TimerState state = decodeTimerWord(stored);
        EXPECT_EQ(std::tuple(state.timerOn, state.allNight, state.inversion),
                  std::tuple(on, allNight, inversion))
            << stored;
        EXPECT_TRUE(!on || encodeTimerWord(allNight, inversion) == stored) << stored;
    }
}

TEST(ProfileKeysTest, StoresTheKeysInOrderAndWithTheTimerOffOnlyTimesThatReadAsTimes) {
    RecordingProfile profile;
    const ControllerSettings on{.timerOn = true,
                                .slave = true,
                                .dayWaitText = "3600",
                                .switchOnDelayText = "60",
                                .workTimeText = "7200"};
    storePortChoice(profile, 2, "/dev/ttyX");
    storeSettings(profile, on, buildConfigBlock(on));
    // With the timer off the times are not read, let alone refused; the valid ones are kept.
    const ControllerSettings off = settings(false, "65535", "65536", "");
    ASSERT_TRUE(buildConfigBlock(off).block);
    storeSettings(profile, off, buildConfigBlock(off));
    EXPECT_EQ(profile.m_texts["COMM_DEVICE"], "/dev/ttyX");
    EXPECT_EQ(profile.m_writes, (Writes{{"COMM_SET", 2},
                                        {"TIMER_SET_DataReg", 1},
                                        {"TIMER_SET_TimeDay", 3600},
                                        {"TIMER_SET_ReadyOn", 60},
                                        {"TIMER_SET_TimeWorc", 7200},
                                        {"SLAVE_SET", -1},
                                        {"TIMER_SET_DataReg", 65535},
                                        {"TIMER_SET_TimeDay", 65535},
                                        {"TIMER_SET_ReadyOn", 60},
                                        {"TIMER_SET_TimeWorc", 7200},
                                        {"SLAVE_SET", 0}}));
}

} // namespace
} // namespace tevra
