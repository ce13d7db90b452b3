#pragma once

#include <cstdint>

// One channel in one step: mode in bits 0-2, param in bits 3-7. Param reads as an unsigned
// brightness level - 1, or as a signed dimmer speed code.
namespace tevra {

enum class ChannelMode : std::uint8_t {
    Off = 0,
    On = 1,
    DimmerDark = 2,
    Level = 3,
    DimmerLit = 6,
    DimmerRamp = 7,
};

// States of a three-state button as read after a click.
enum class ButtonState : int { Clear = 0, Checked = 1, Indeterminate = 2 };

inline constexpr int kDimmerSliderMin = 1;
inline constexpr int kDimmerSliderMax = 20;
inline constexpr int kLevelSliderMin = 1;
inline constexpr int kLevelSliderMax = 32;
inline constexpr std::uint8_t kStopDimmerCheckedCell = 0x7B; // Level, level 16
inline constexpr std::uint8_t kStopDimmerClearedCell = 0xFE; // DimmerLit, code -1

// Mode bits 0..7, including the unnamed 4 and 5 that only files bring.
int modeOf(std::uint8_t cell);
// Codes 2, 4, 5, 6, 7: every mode with the dimmer panel.
bool isDimmerMode(int mode);
// Bits 3-7 as two's complement, -16..15.
int speedCode(std::uint8_t cell);

std::uint8_t withMode(std::uint8_t cell, ChannelMode mode);
// Any state other than 0, 1, 2 leaves the cell as it is.
std::uint8_t modeFromPrimaryState(std::uint8_t cell, int state);
std::uint8_t modeFromSecondaryState(std::uint8_t cell, int state);

// Positions outside the slider's range are taken as its nearest end.
std::uint8_t dimmerCodeFromSlider(int position, std::uint8_t cell);
// A dimmer cell of that mode at the speed slider's position.
std::uint8_t dimmerCell(ChannelMode mode, int position);
// May exceed the slider's range (up to 26); the slider clamps.
int dimmerSliderFromCell(std::uint8_t cell);
int dimmerMillis(std::uint8_t cell);

int levelFromCell(std::uint8_t cell);
// A level outside 1..32 is taken as the nearest of them.
std::uint8_t cellWithLevel(std::uint8_t cell, int level);

std::uint8_t stopDimmerCell(bool checked);
// Units of 10 ms.
std::uint16_t stepTimeForDimmerSlider(int position);

} // namespace tevra
