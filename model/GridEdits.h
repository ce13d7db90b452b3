#pragma once

#include "model/CellBlock.h"
#include "model/CellRange.h"
#include "model/ProgramImage.h"

#include <cstdint>

// Block operations on the program's grid of steps x channels. Each works on the image it is
// given; an operation that returns false was refused and left the image untouched. Ranges
// are taken as given and must lie within steps 1..stepCount.
namespace tevra {

enum class ShiftDirection { Up, Down, Left, Right };

// What a paste could not place: block steps past step 500 and block channels past the last
// channel, each counted once per copy.
struct PasteOutcome {
    int droppedSteps = 0;
    int droppedChannels = 0;

    bool operator==(const PasteOutcome&) const = default;
};

void fillCells(ProgramImage& program, const CellRange& range, std::uint8_t cell);

// The block copies times times, one after another along the steps, from (step, channel) on.
// The step count grows to the last step written.
PasteOutcome pasteBlock(ProgramImage& program, const CellBlock& block, int step, int channel,
                        int times = 1);

// The block copies times times as new steps after afterStep, its rows from channel down and
// the other channels Off. New steps take the block's times, or fallbackTime when it has none.
// Refused past kMaxSteps steps.
bool insertBlockSteps(ProgramImage& program, const CellBlock& block, int afterStep, int channel,
                      int times, std::uint16_t fallbackTime);

// One channel or one step along, the cells that fall out of the range coming back in at its
// other side.
void shiftCells(ProgramImage& program, const CellRange& range, ShiftDirection direction);

// Whole steps first..last. Duplicating puts the copies right after last and is refused past
// kMaxSteps steps; deleting is refused when fewer than kMinEditedStepCount would remain.
bool duplicateSteps(ProgramImage& program, int first, int last);
bool deleteSteps(ProgramImage& program, int first, int last);
void reverseSteps(ProgramImage& program, int first, int last);
// Refused for a time outside kMinStepTime..kMaxStepTime.
bool setStepTimes(ProgramImage& program, int first, int last, int time);

} // namespace tevra
