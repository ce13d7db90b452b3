#include "model/ChannelCell.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <tuple>

namespace tevra {
namespace {

TEST(ChannelCellTest, DimmerSliderPositionsGiveCodeAndTimeAndReadBack) {
    // At positions 1..20: the speed code written and the dimmer time in ms; the step time taken
    // from the dimmer is a tenth of it.
    const int codes[] = {11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1, -2, -3, -4, -5, -6, -7, -8, -9, -10};
    const int millis[] = {230,  250,  280,  320,   360,   420,   510,   640,   850,   1280,
                          2560, 5120, 7680, 10240, 12800, 15360, 17920, 20480, 23040, 25600};
    for (int position = 1; position <= 20; ++position) {
        SCOPED_TRACE(position);
        const auto i = static_cast<std::size_t>(position - 1);
        const std::uint8_t cell = dimmerCodeFromSlider(position, 0x02);
        EXPECT_EQ(cell, static_cast<std::uint8_t>(codes[i] * 8 + 2));
        EXPECT_EQ(speedCode(cell), codes[i]);
        EXPECT_EQ(dimmerMillis(cell), millis[i]);
        EXPECT_EQ(stepTimeForDimmerSlider(position), millis[i] / 10);
        EXPECT_EQ(dimmerSliderFromCell(cell), position);
        EXPECT_EQ(dimmerCodeFromSlider(position, 0xFF), cell | 0x07);
    }
}

TEST(ChannelCellTest, EveryParamShowsAtItsSliderPositionWithItsTime) {
    // By param (bits 3-7): the position shown, which may lie beyond the slider's 20, and ms.
    const int positions[] = {11, 11, 10, 9,  8,  7,  6,  5,  4,  3,  2,  1,  14, 13, 12, 11,
                             26, 25, 24, 23, 22, 21, 20, 19, 18, 17, 16, 15, 14, 13, 12, 11};
    const int millis[] = {0,     2560,  1280,  850,   640,   510,   420,   360,
                          320,   280,   250,   230,   210,   190,   180,   170,
                          40960, 38400, 35840, 33280, 30720, 28160, 25600, 23040,
                          20480, 17920, 15360, 12800, 10240, 7680,  5120,  2560};
    for (unsigned u = 0; u < 32; ++u) {
        const auto cell = static_cast<std::uint8_t>((u << 3) | 0x06);
        EXPECT_EQ(dimmerSliderFromCell(cell), positions[u]) << u;
        EXPECT_EQ(dimmerMillis(cell), millis[u]) << u;
    }
}

TEST(ChannelCellTest, ButtonStatesSetTheModeAndKeepTheParam) {
    // Primary or secondary button, the cell before, the state, and the cell after.
    const std::tuple<bool, int, int, int> rows[] = {
        {true, 0xA8, 0, 0xA8},  {true, 0xA8, 1, 0xA9},  {true, 0xA9, 2, 0xAA},
        {true, 0x7B, 0, 0x78},  {true, 0xFF, 0, 0xF8},  {true, 0xAC, 3, 0xAC},
        {true, 0xAC, -1, 0xAC}, {false, 0xAA, 1, 0xAE}, {false, 0xAE, 2, 0xAF},
        {false, 0xAF, 0, 0xAA}, {false, 0x0D, 0, 0x0A}, {false, 0x0C, 1, 0x0E},
        {false, 0xAA, 3, 0xAA}, {false, 0xAA, -1, 0xAA}};
    for (const auto& [primary, before, state, after] : rows) {
        const auto cell = static_cast<std::uint8_t>(before);
        EXPECT_EQ(primary ? modeFromPrimaryState(cell, state) : modeFromSecondaryState(cell, state),
                  after)
            << primary << " " << before << " " << state;
    }
}

TEST(ChannelCellTest, LevelKeepsModeBitsZeroAndOneAndReadsBack) {
    for (int level = 1; level <= 32; ++level) {
        const std::uint8_t cell = cellWithLevel(0x07, level);
        EXPECT_EQ(cell, ((level - 1) << 3) | 0x03);
        EXPECT_EQ(levelFromCell(cell), level);
    }
    // Every mode from 2 up but Level has the dimmer panel.
    for (int mode = 0; mode < 8; ++mode) {
        EXPECT_EQ(isDimmerMode(mode), ((0xF4 >> mode) & 1) == 1) << mode;
    }
}

} // namespace
} // namespace tevra
