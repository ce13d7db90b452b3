#pragma once

#include "model/CellRange.h"
#include "model/ProgramImage.h"

#include <cstdint>
#include <vector>

namespace tevra {

// A rectangle of cell bytes lifted out of a program, steps across and channels down, with
// the steps' times when it was taken from whole columns.
class CellBlock {
public:
    CellBlock() = default;
    // Every cell Off, no times.
    CellBlock(int steps, int channels);
    // Times come along when the range covers every channel.
    static CellBlock copiedFrom(const ProgramImage& program, const CellRange& range);

    int steps() const { return m_steps; }
    int channels() const { return m_channels; }
    bool empty() const { return m_steps == 0 || m_channels == 0; }
    // Offsets from the block's first step and channel.
    std::uint8_t cell(int step, int channel) const;
    void setCell(int step, int channel, std::uint8_t cell);

    // One per step, or none.
    const std::vector<std::uint16_t>& times() const { return m_times; }
    void setTimes(std::vector<std::uint16_t> times);

    bool operator==(const CellBlock&) const = default;

private:
    std::size_t index(int step, int channel) const;

    int m_steps = 0;
    int m_channels = 0;
    std::vector<std::uint8_t> m_cells;
    std::vector<std::uint16_t> m_times;
};

} // namespace tevra
