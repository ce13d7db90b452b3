#include "link/ControllerSettings.h"

#include "link/ControllerProfile.h"
#include "support/RecordingProfile.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

namespace tevra {
namespace {

ControllerSettings timerOn(std::string dayWait, std::string delay, std::string work) {
    ControllerSettings settings;
    settings.timerOn = true;
    settings.dayWaitText = std::move(dayWait);
    settings.switchOnDelayText = std::move(delay);
    settings.workTimeText = std::move(work);
    return settings;
}

std::vector<std::uint8_t> head(const ConfigBlock& block, std::size_t count) {
    return {block.begin(), block.begin() + static_cast<std::ptrdiff_t>(count)};
}

TEST(ConfigBlockTest, TimedMasterBlockHoldsTheTimesLittleEndian) {
    const ConfigBlockResult result = buildConfigBlock(timerOn("3600", "60", "7200"));
    ASSERT_TRUE(result.block);
    EXPECT_EQ(head(*result.block, 10), (std::vector<std::uint8_t>{0x01, 0x00, 0x10, 0x0E, 0x3C,
                                                                  0x00, 0x20, 0x1C, 0xFF, 0xFF}));
    EXPECT_EQ(result.timerWord, 1);
    for (std::size_t i = 10; i < kConfigBlockSize; ++i) {
        EXPECT_EQ((*result.block)[i], 0) << "byte " << i;
    }
}

TEST(ConfigBlockTest, AllNightWithInversionAndSlave) {
    ControllerSettings settings = timerOn("1", "2", "3");
    settings.allNight = true;
    settings.inversion = true;
    settings.slave = true;
    const ConfigBlockResult result = buildConfigBlock(settings);
    ASSERT_TRUE(result.block);
    EXPECT_EQ(result.timerWord, 65280);
    EXPECT_EQ(head(*result.block, 10), (std::vector<std::uint8_t>{0x00, 0xFF, 0x01, 0x00, 0x02,
                                                                  0x00, 0x03, 0x00, 0x00, 0x00}));
}

TEST(ConfigBlockTest, TimerOffReadsNoFieldAndSendsFFFF) {
    ControllerSettings settings;
    settings.dayWaitText = "abc";
    settings.switchOnDelayText = "0";
    settings.workTimeText = "";
    settings.allNight = true;
    const ConfigBlockResult result = buildConfigBlock(settings);
    ASSERT_TRUE(result.block);
    EXPECT_EQ(result.timerWord, kTimerOffWord);
    EXPECT_EQ(head(*result.block, 10),
              (std::vector<std::uint8_t>{0xFF, 0xFF, 0, 0, 0, 0, 0, 0, 0xFF, 0xFF}));
}

struct FieldCase {
    const char* text;
    int expected; // 0: refused
};

// Names the row in test listings instead of dumping its bytes.
void PrintTo(const FieldCase& row, std::ostream* out) {
    *out << '"' << row.text << '"';
}

// Test names allow only letters, digits and '_': the other characters are spelled out. The
// prefix keeps ctest from taking an all-digit name for a row index.
std::string fieldRowName(const ::testing::TestParamInfo<FieldCase>& info) {
    std::string name;
    for (const char* c = info.param.text; *c != '\0'; ++c) {
        if (*c == '-') {
            name += "Minus";
        } else if (*c == '+') {
            name += "Plus";
        } else if (*c == ' ') {
            name += "Space";
        } else {
            name += *c;
        }
    }
    return "Text" + (name.empty() ? "Empty" : name);
}

class FieldBoundaryTest : public ::testing::TestWithParam<FieldCase> {};

// Each field in turn holds the text while the other two are valid.
TEST_P(FieldBoundaryTest, EachFieldAcceptsOnly1To65535) {
    const FieldCase& c = GetParam();
    const char* messages[] = {kDayWaitRangeMessage, kSwitchOnDelayRangeMessage,
                              kWorkTimeRangeMessage};
    for (int field = 0; field < 3; ++field) {
        ControllerSettings settings = timerOn("10", "20", "30");
        std::string* texts[] = {&settings.dayWaitText, &settings.switchOnDelayText,
                                &settings.workTimeText};
        *texts[field] = c.text;
        const ConfigBlockResult result = buildConfigBlock(settings);
        SCOPED_TRACE(field);
        if (c.expected == 0) {
            EXPECT_FALSE(result.block);
            EXPECT_EQ(result.error, messages[field]);
            continue;
        }
        ASSERT_TRUE(result.block) << result.error;
        const int values[] = {result.dayWait, result.switchOnDelay, result.workTime};
        EXPECT_EQ(values[field], c.expected);
        const std::size_t offset = 2 + 2 * static_cast<std::size_t>(field);
        EXPECT_EQ((*result.block)[offset] | ((*result.block)[offset + 1] << 8), c.expected);
    }
}

INSTANTIATE_TEST_SUITE_P(Texts, FieldBoundaryTest,
                         ::testing::Values(FieldCase{"0", 0}, FieldCase{"1", 1},
                                           FieldCase{"65535", 65535}, FieldCase{"65536", 0},
                                           FieldCase{"007", 7}, FieldCase{" 42abc", 42},
                                           FieldCase{"+9", 9}, FieldCase{"-1", 0}, FieldCase{"", 0},
                                           FieldCase{"abc", 0}, FieldCase{"-", 0},
                                           FieldCase{"99999999999", 0}, FieldCase{"4294967297", 0}),
                         fieldRowName);

TEST(ConfigBlockTest, OnlyTheFirstFailingFieldIsReported) {
    EXPECT_EQ(buildConfigBlock(timerOn("0", "0", "0")).error, kDayWaitRangeMessage);
    EXPECT_EQ(buildConfigBlock(timerOn("1", "0", "0")).error, kSwitchOnDelayRangeMessage);
    EXPECT_EQ(buildConfigBlock(timerOn("1", "1", "0")).error, kWorkTimeRangeMessage);
}

struct DecodeCase {
    int stored;
    bool timerOn;
    bool allNight;
    bool inversion;
};

void PrintTo(const DecodeCase& row, std::ostream* out) {
    *out << "stored " << row.stored;
}

class TimerWordDecodeTest : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(TimerWordDecodeTest, DecodesAndEncodesBack) {
    const DecodeCase& c = GetParam();
    const TimerState state = decodeTimerWord(c.stored);
    EXPECT_EQ(state.timerOn, c.timerOn);
    EXPECT_EQ(state.allNight, c.allNight);
    EXPECT_EQ(state.inversion, c.inversion);
    if (state.timerOn) {
        EXPECT_EQ(encodeTimerWord(state.allNight, state.inversion), c.stored);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, TimerWordDecodeTest,
    ::testing::Values(DecodeCase{65535, false, false, false}, DecodeCase{65281, true, false, true},
                      DecodeCase{65280, true, true, true}, DecodeCase{0, true, true, false},
                      DecodeCase{1, true, false, false}, DecodeCase{2, false, false, false},
                      DecodeCase{-1, false, false, false}, DecodeCase{256, false, false, false}),
    [](const ::testing::TestParamInfo<DecodeCase>& row) {
        const int stored = row.param.stored;
        return (stored < 0 ? "StoredMinus" : "Stored") + std::to_string(std::abs(stored));
    });

using Writes = std::vector<std::pair<std::string, int>>;

TEST(ProfileKeysTest, EmptyProfileReadsZeroEverywhere) {
    const RecordingProfile profile;
    const StoredSettings stored = readStoredSettings(profile);
    EXPECT_EQ(stored.portIndex, 0);
    EXPECT_EQ(stored.timerWord, 0);
    EXPECT_EQ(stored.dayWait, 0);
    EXPECT_EQ(stored.switchOnDelay, 0);
    EXPECT_EQ(stored.workTime, 0);
    EXPECT_FALSE(stored.slave);
}

TEST(ProfileKeysTest, AnyNonZeroSlaveValueChecksSlave) {
    RecordingProfile profile;
    profile.m_values[kSlaveKey] = 7;
    EXPECT_TRUE(readStoredSettings(profile).slave);
}

TEST(ProfileKeysTest, SuccessfulStoreWritesTheKeysInOrder) {
    RecordingProfile profile;
    ControllerSettings settings = timerOn("3600", "60", "7200");
    settings.slave = true;
    storePortChoice(profile, 2, {});
    storeSettings(profile, settings, buildConfigBlock(settings));
    EXPECT_EQ(profile.m_writes, (Writes{{"COMM_SET", 2},
                                        {"TIMER_SET_DataReg", 1},
                                        {"TIMER_SET_TimeDay", 3600},
                                        {"TIMER_SET_ReadyOn", 60},
                                        {"TIMER_SET_TimeWorc", 7200},
                                        {"SLAVE_SET", -1}}));
}

TEST(ProfileKeysTest, TimerOffStoresFFFFAndKeepsTheUsersTimes) {
    RecordingProfile profile;
    profile.m_values = {{kDayWaitKey, 3600}, {kSwitchOnDelayKey, 60}, {kWorkTimeKey, 7200}};
    ControllerSettings settings;
    settings.dayWaitText = "100";
    settings.switchOnDelayText = "";
    settings.workTimeText = "70000";
    storeSettings(profile, settings, buildConfigBlock(settings));
    EXPECT_EQ(profile.m_writes, (Writes{{"TIMER_SET_DataReg", 65535},
                                        {"TIMER_SET_TimeDay", 100},
                                        {"TIMER_SET_ReadyOn", 60},
                                        {"TIMER_SET_TimeWorc", 7200},
                                        {"SLAVE_SET", 0}}));
}

} // namespace
} // namespace tevra
