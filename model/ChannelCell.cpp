#include "model/ChannelCell.h"

#include <algorithm>
#include <array>

namespace tevra {

namespace {

constexpr std::uint8_t kModeMask = 0x07;
constexpr int kParamShift = 3;
// A new level keeps bits 0-1 and clears bit 2, so a Level cell stays Level.
constexpr std::uint8_t kLevelKeptModeBits = 0x03;

// One tenth of the dimmer time at each slider position 1..20.
constexpr std::array<std::uint16_t, kDimmerSliderMax> kStepTimeForDimmer = {
    23,  25,  28,  32,   36,   42,   51,   64,   85,   128,
    256, 512, 768, 1024, 1280, 1536, 1792, 2048, 2304, 2560};

} // namespace

int modeOf(std::uint8_t cell) {
    return cell & kModeMask;
}

bool isDimmerMode(int mode) {
    return mode >= 2 && mode != static_cast<int>(ChannelMode::Level);
}

int speedCode(std::uint8_t cell) {
    const int u = cell >> kParamShift;
    return u >= 16 ? u - 32 : u;
}

std::uint8_t withMode(std::uint8_t cell, ChannelMode mode) {
    return static_cast<std::uint8_t>((cell & ~kModeMask) | static_cast<std::uint8_t>(mode));
}

std::uint8_t modeFromPrimaryState(std::uint8_t cell, int state) {
    switch (state) {
    case 0:
        return withMode(cell, ChannelMode::Off);
    case 1:
        return withMode(cell, ChannelMode::On);
    case 2:
        return withMode(cell, ChannelMode::DimmerDark);
    default:
        return cell;
    }
}

std::uint8_t modeFromSecondaryState(std::uint8_t cell, int state) {
    switch (state) {
    case 0:
        return withMode(cell, ChannelMode::DimmerDark);
    case 1:
        return withMode(cell, ChannelMode::DimmerLit);
    case 2:
        return withMode(cell, ChannelMode::DimmerRamp);
    default:
        return cell;
    }
}

std::uint8_t dimmerCell(ChannelMode mode, int position) {
    return dimmerCodeFromSlider(position, static_cast<std::uint8_t>(mode));
}

std::uint8_t dimmerCodeFromSlider(int position, std::uint8_t cell) {
    const int a = 12 - std::clamp(position, kDimmerSliderMin, kDimmerSliderMax);
    const int code = a > 0 ? a : a - 2;
    return static_cast<std::uint8_t>(((static_cast<unsigned>(code) & 0x1F) << kParamShift) |
                                     (cell & kModeMask));
}

int dimmerSliderFromCell(std::uint8_t cell) {
    const int u = cell >> kParamShift;
    if (u <= 1) {
        return 11;
    }
    if (u <= 11) {
        return 12 - u;
    }
    return 26 - (u % 16);
}

int dimmerMillis(std::uint8_t cell) {
    const int s = speedCode(cell);
    if (s > 0) {
        return (256 / s) * 10;
    }
    return 2560 * -s;
}

int levelFromCell(std::uint8_t cell) {
    return (cell >> kParamShift) + 1;
}

std::uint8_t cellWithLevel(std::uint8_t cell, int level) {
    const auto u = static_cast<unsigned>(std::clamp(level, kLevelSliderMin, kLevelSliderMax) - 1);
    return static_cast<std::uint8_t>((u << kParamShift) | (cell & kLevelKeptModeBits));
}

std::uint8_t stopDimmerCell(bool checked) {
    return checked ? kStopDimmerCheckedCell : kStopDimmerClearedCell;
}

std::uint16_t stepTimeForDimmerSlider(int position) {
    const int clamped = std::clamp(position, kDimmerSliderMin, kDimmerSliderMax);
    return kStepTimeForDimmer[static_cast<std::size_t>(clamped - 1)];
}

} // namespace tevra
