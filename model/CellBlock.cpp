#include "model/CellBlock.h"

#include <stdexcept>

namespace tevra {

CellBlock::CellBlock(int steps, int channels)
    : m_steps(std::max(steps, 0)), m_channels(std::max(channels, 0)),
      m_cells(static_cast<std::size_t>(m_steps) * static_cast<std::size_t>(m_channels)) {}

CellBlock CellBlock::copiedFrom(const ProgramImage& program, const CellRange& range) {
    CellBlock block(range.stepCount(), range.channelCount());
    for (int step = 0; step < block.steps(); ++step) {
        for (int channel = 0; channel < block.channels(); ++channel) {
            block.setCell(step, channel,
                          program.cell(range.firstStep + step, range.firstChannel + channel));
        }
    }
    if (range.firstChannel == 0 && range.lastChannel == kChannelCount - 1) {
        for (int step = range.firstStep; step <= range.lastStep; ++step) {
            block.m_times.push_back(program.stepTime(step));
        }
    }
    return block;
}

std::size_t CellBlock::index(int step, int channel) const {
    if (step < 0 || step >= m_steps || channel < 0 || channel >= m_channels) {
        throw std::out_of_range("cell outside the block");
    }
    return static_cast<std::size_t>(channel) * static_cast<std::size_t>(m_steps) +
           static_cast<std::size_t>(step);
}

std::uint8_t CellBlock::cell(int step, int channel) const {
    return m_cells[index(step, channel)];
}

void CellBlock::setCell(int step, int channel, std::uint8_t cell) {
    m_cells[index(step, channel)] = cell;
}

void CellBlock::setTimes(std::vector<std::uint16_t> times) {
    if (!times.empty() && times.size() != static_cast<std::size_t>(m_steps)) {
        throw std::invalid_argument("one time per step");
    }
    m_times = std::move(times);
}

} // namespace tevra
