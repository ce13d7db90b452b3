#include "model/ChannelCell.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <gtest/gtest.h>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

namespace tevra {
namespace {

struct SliderRow {
    int position;
    int code;
    std::uint8_t byte; // bits 3-7 with mode bits 0
    int millis;
    std::uint16_t stepTime;
};

// Names the row in test listings instead of dumping its bytes.
void PrintTo(const SliderRow& row, std::ostream* out) {
    *out << "slider position " << row.position;
}

class DimmerSliderTest : public ::testing::TestWithParam<SliderRow> {};

TEST_P(DimmerSliderTest, PositionGivesCodeTimeAndRoundTrips) {
    const SliderRow row = GetParam();
    const std::uint8_t cell = dimmerCodeFromSlider(row.position, 0x00);
    EXPECT_EQ(cell, row.byte);
    EXPECT_EQ(speedCode(cell), row.code);
    EXPECT_EQ(dimmerMillis(cell), row.millis);
    EXPECT_EQ(stepTimeForDimmerSlider(row.position), row.stepTime);
    EXPECT_EQ(dimmerSliderFromCell(cell), row.position);
}

TEST_P(DimmerSliderTest, ModeBitsSurviveTheNewCode) {
    const SliderRow row = GetParam();
    EXPECT_EQ(dimmerCodeFromSlider(row.position, 0xFF), row.byte | 0x07);
    EXPECT_EQ(dimmerCodeFromSlider(row.position, 0x02), row.byte | 0x02);
}

INSTANTIATE_TEST_SUITE_P(
    AllPositions, DimmerSliderTest,
    ::testing::Values(SliderRow{1, 11, 0x58, 230, 23}, SliderRow{2, 10, 0x50, 250, 25},
                      SliderRow{3, 9, 0x48, 280, 28}, SliderRow{4, 8, 0x40, 320, 32},
                      SliderRow{5, 7, 0x38, 360, 36}, SliderRow{6, 6, 0x30, 420, 42},
                      SliderRow{7, 5, 0x28, 510, 51}, SliderRow{8, 4, 0x20, 640, 64},
                      SliderRow{9, 3, 0x18, 850, 85}, SliderRow{10, 2, 0x10, 1280, 128},
                      SliderRow{11, 1, 0x08, 2560, 256}, SliderRow{12, -2, 0xF0, 5120, 512},
                      SliderRow{13, -3, 0xE8, 7680, 768}, SliderRow{14, -4, 0xE0, 10240, 1024},
                      SliderRow{15, -5, 0xD8, 12800, 1280}, SliderRow{16, -6, 0xD0, 15360, 1536},
                      SliderRow{17, -7, 0xC8, 17920, 1792}, SliderRow{18, -8, 0xC0, 20480, 2048},
                      SliderRow{19, -9, 0xB8, 23040, 2304}, SliderRow{20, -10, 0xB0, 25600, 2560}),
    [](const ::testing::TestParamInfo<SliderRow>& row) {
        return "Position" + std::to_string(row.param.position);
    });

// Indexed by u = cell >> 3: the slider position each param shows at, and its dimmer time.
constexpr std::array<int, 32> kSliderForParam = {11, 11, 10, 9,  8,  7,  6,  5,  4,  3,  2,
                                                 1,  14, 13, 12, 11, 26, 25, 24, 23, 22, 21,
                                                 20, 19, 18, 17, 16, 15, 14, 13, 12, 11};
constexpr std::array<int, 32> kMillisForParam = {
    0,     2560,  1280,  850,   640,   510,   420,   360,   320,   280,   250,
    230,   210,   190,   180,   170,   40960, 38400, 35840, 33280, 30720, 28160,
    25600, 23040, 20480, 17920, 15360, 12800, 10240, 7680,  5120,  2560};

TEST(ChannelCellTest, EveryParamShowsAtItsSliderPositionWithItsTime) {
    for (unsigned u = 0; u < 32; ++u) {
        for (const unsigned mode : {0x02U, 0x06U}) {
            const auto cell = static_cast<std::uint8_t>((u << 3) | mode);
            EXPECT_EQ(dimmerSliderFromCell(cell), kSliderForParam[u]) << "u=" << u;
            EXPECT_EQ(dimmerMillis(cell), kMillisForParam[u]) << "u=" << u;
        }
    }
}

// The slider draws at min(position, 20) and writes its code back into the cell.
int codeAfterSliderWriteBack(int code) {
    const auto cell = static_cast<std::uint8_t>(((static_cast<unsigned>(code) & 0x1F) << 3) | 0x02);
    const int shown = std::min(dimmerSliderFromCell(cell), kDimmerSliderMax);
    return speedCode(dimmerCodeFromSlider(shown, cell));
}

TEST(ChannelCellTest, SliderWriteBackReplacesCodesItCannotShow) {
    const std::vector<std::pair<int, int>> replaced = {
        {0, 1},     {-1, 1},    {12, -4}, {13, -3}, {14, -2}, {15, 1},   {-16, -10},
        {-15, -10}, {-11, -10}, {1, 1},   {11, 11}, {-2, -2}, {-10, -10}};
    for (const auto& [code, after] : replaced) {
        EXPECT_EQ(codeAfterSliderWriteBack(code), after) << "code " << code;
    }
}

TEST(ChannelCellTest, WorkedExamples) {
    EXPECT_EQ(levelFromCell(0x7B), 16);
    EXPECT_EQ(dimmerMillis(0xFE), 2560);
    EXPECT_EQ(dimmerSliderFromCell(0xFE), 11);
    EXPECT_EQ(dimmerCodeFromSlider(dimmerSliderFromCell(0xFE), 0xFE), 0x0E);
    EXPECT_EQ(dimmerMillis(0x0E), 2560);

    EXPECT_EQ(dimmerMillis(0x02), 0);
    EXPECT_EQ(dimmerSliderFromCell(0x02), 11);

    EXPECT_EQ(dimmerMillis(16 << 3), 40960);
    EXPECT_EQ(dimmerSliderFromCell(16 << 3), 26);
    EXPECT_EQ(dimmerMillis(12 << 3), 210);
    EXPECT_EQ(dimmerSliderFromCell(12 << 3), 14);

    EXPECT_EQ(cellWithLevel(0x07, 32), 0xFB);
}

struct ButtonRow {
    bool primary;
    std::uint8_t before;
    int state;
    std::uint8_t after;
};

TEST(ChannelCellTest, ButtonStatesSetTheMode) {
    const std::array<ButtonRow, 14> rows = {{
        {true, 0xA8, 0, 0xA8},  // Off stays Off
        {true, 0xA8, 1, 0xA9},  // Off -> On
        {true, 0xA9, 2, 0xAA},  // On -> DimmerDark
        {true, 0xAA, 0, 0xA8},  // DimmerDark -> Off
        {true, 0x7B, 0, 0x78},  // Level -> Off
        {true, 0xFF, 0, 0xF8},  // DimmerRamp -> Off
        {true, 0xAC, 3, 0xAC},  // unknown state: unchanged
        {true, 0xAC, -1, 0xAC}, // unknown state: unchanged
        {false, 0xAA, 1, 0xAE}, // DimmerDark -> DimmerLit
        {false, 0xAE, 2, 0xAF}, // DimmerLit -> DimmerRamp
        {false, 0xAF, 0, 0xAA}, // DimmerRamp -> DimmerDark
        {false, 0x0D, 0, 0x0A}, // unnamed mode 5 -> DimmerDark
        {false, 0x0C, 1, 0x0E}, // unnamed mode 4 -> DimmerLit
        {false, 0xAA, 7, 0xAA}, // unknown state: unchanged
    }};
    for (const ButtonRow& row : rows) {
        const std::uint8_t after = row.primary ? modeFromPrimaryState(row.before, row.state)
                                               : modeFromSecondaryState(row.before, row.state);
        EXPECT_EQ(after, row.after) << (row.primary ? "primary " : "secondary ") << int{row.before}
                                    << " state " << row.state;
    }
}

TEST(ChannelCellTest, DimmerModesAreEveryCodeFromTwoExceptLevel) {
    const std::array<bool, 8> dimmer = {false, false, true, false, true, true, true, true};
    for (int mode = 0; mode < 8; ++mode) {
        EXPECT_EQ(isDimmerMode(mode), dimmer[static_cast<std::size_t>(mode)]) << mode;
    }
}

TEST(ChannelCellTest, LevelRoundTripsAndClearsBitTwo) {
    for (int level = kLevelSliderMin; level <= kLevelSliderMax; ++level) {
        const std::uint8_t cell = cellWithLevel(0x03, level);
        EXPECT_EQ(levelFromCell(cell), level);
        EXPECT_EQ(modeOf(cell), static_cast<int>(ChannelMode::Level));
    }
    EXPECT_EQ(modeOf(cellWithLevel(0x06, 5)), 2);
}

TEST(ChannelCellTest, OutOfRangeSliderInputTakesTheNearestEnd) {
    EXPECT_EQ(cellWithLevel(0x03, 33), cellWithLevel(0x03, 32));
    EXPECT_EQ(cellWithLevel(0x03, 0), cellWithLevel(0x03, 1));
    EXPECT_EQ(dimmerCodeFromSlider(0, 0x02), dimmerCodeFromSlider(1, 0x02));
    EXPECT_EQ(dimmerCodeFromSlider(21, 0x02), dimmerCodeFromSlider(20, 0x02));
    EXPECT_EQ(stepTimeForDimmerSlider(0), 23);
    EXPECT_EQ(stepTimeForDimmerSlider(99), 2560);
}

TEST(ChannelCellTest, StopDimmerReplacesTheWholeCell) {
    EXPECT_EQ(stopDimmerCell(true), 0x7B);
    EXPECT_EQ(levelFromCell(stopDimmerCell(true)), 16);
    EXPECT_EQ(stopDimmerCell(false), 0xFE);
    EXPECT_EQ(modeOf(stopDimmerCell(false)), static_cast<int>(ChannelMode::DimmerLit));
    EXPECT_EQ(speedCode(stopDimmerCell(false)), -1);
}

} // namespace
} // namespace tevra
