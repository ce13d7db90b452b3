#include "model/GridEdits.h"

#include <algorithm>

namespace tevra {

namespace {

// Records from -> from + by up to record kMaxSteps; the records pushed past it are lost.
void openGap(ProgramImage& program, int from, int by) {
    for (int step = kMaxSteps; step >= from + by; --step) {
        program.copyRecord(step, program, step - by);
    }
}

void growCountTo(ProgramImage& program, int lastStep) {
    if (program.stepCount() < lastStep) {
        program.setStepCount(lastStep);
    }
}

} // namespace

void fillCells(ProgramImage& program, const CellRange& range, std::uint8_t cell) {
    for (int step = range.firstStep; step <= range.lastStep; ++step) {
        for (int channel = range.firstChannel; channel <= range.lastChannel; ++channel) {
            program.setCell(step, channel, cell);
        }
    }
}

PasteOutcome pasteBlock(ProgramImage& program, const CellBlock& block, int step, int channel,
                        int times) {
    PasteOutcome outcome;
    const int rows = std::min(block.channels(), kChannelCount - channel);
    outcome.droppedChannels = block.channels() - rows;
    int lastWritten = 0;
    for (int copy = 0; copy < times; ++copy) {
        for (int column = 0; column < block.steps(); ++column) {
            const int target = step + copy * block.steps() + column;
            if (target > kMaxSteps) {
                ++outcome.droppedSteps;
                continue;
            }
            for (int row = 0; row < rows; ++row) {
                program.setCell(target, channel + row, block.cell(column, row));
            }
            lastWritten = target;
        }
    }
    growCountTo(program, lastWritten);
    return outcome;
}

bool insertBlockSteps(ProgramImage& program, const CellBlock& block, int afterStep, int channel,
                      int times, std::uint16_t fallbackTime) {
    const int added = block.steps() * times;
    if (added < 1 || program.stepCount() + added > kMaxSteps) {
        return false;
    }
    openGap(program, afterStep + 1, added);
    program.setStepCount(program.stepCount() + added);
    const int rows = std::min(block.channels(), kChannelCount - channel);
    for (int k = 0; k < added; ++k) {
        const int target = afterStep + 1 + k;
        const int column = k % block.steps();
        program.clearCells(target);
        program.setStepTime(target, block.times().empty()
                                        ? fallbackTime
                                        : block.times()[static_cast<std::size_t>(column)]);
        for (int row = 0; row < rows; ++row) {
            program.setCell(target, channel + row, block.cell(column, row));
        }
    }
    return true;
}

void shiftCells(ProgramImage& program, const CellRange& range, ShiftDirection direction) {
    const CellBlock before = CellBlock::copiedFrom(program, range);
    const int steps = range.stepCount();
    const int channels = range.channelCount();
    int stepBy = 0;
    int channelBy = 0;
    switch (direction) {
    case ShiftDirection::Up:
        channelBy = channels - 1;
        break;
    case ShiftDirection::Down:
        channelBy = 1;
        break;
    case ShiftDirection::Left:
        stepBy = steps - 1;
        break;
    case ShiftDirection::Right:
        stepBy = 1;
        break;
    }
    for (int step = 0; step < steps; ++step) {
        for (int channel = 0; channel < channels; ++channel) {
            program.setCell(range.firstStep + (step + stepBy) % steps,
                            range.firstChannel + (channel + channelBy) % channels,
                            before.cell(step, channel));
        }
    }
}

bool duplicateSteps(ProgramImage& program, int first, int last) {
    const int count = last - first + 1;
    if (count < 1 || program.stepCount() + count > kMaxSteps) {
        return false;
    }
    openGap(program, last + 1, count);
    for (int k = 0; k < count; ++k) {
        program.copyRecord(last + 1 + k, program, first + k);
    }
    program.setStepCount(program.stepCount() + count);
    return true;
}

bool deleteSteps(ProgramImage& program, int first, int last) {
    const int count = last - first + 1;
    if (count < 1 || program.stepCount() - count < kMinEditedStepCount) {
        return false;
    }
    for (int step = first; step + count <= kMaxSteps; ++step) {
        program.copyRecord(step, program, step + count);
    }
    // As for a single step: the freed records at the end keep their times, not their cells.
    for (int step = kMaxSteps - count + 1; step <= kMaxSteps; ++step) {
        program.clearCells(step);
    }
    program.setStepCount(program.stepCount() - count);
    return true;
}

void reverseSteps(ProgramImage& program, int first, int last) {
    const ProgramImage before = program;
    for (int k = 0; first + k <= last; ++k) {
        program.copyRecord(first + k, before, last - k);
    }
}

bool setStepTimes(ProgramImage& program, int first, int last, int time) {
    if (time < kMinStepTime || time > kMaxStepTime || first > last) {
        return false;
    }
    for (int step = first; step <= last; ++step) {
        program.setStepTime(step, static_cast<std::uint16_t>(time));
    }
    return true;
}

} // namespace tevra
