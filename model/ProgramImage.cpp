#include "model/ProgramImage.h"

#include <algorithm>
#include <cassert>

namespace tevra {

ProgramImage ProgramImage::startProgram() {
    ProgramImage image;
    image.setHeaderWord(static_cast<std::uint16_t>(kDefaultStepCount));
    for (int step = 1; step <= kMaxSteps; ++step) {
        image.setStepTime(step, kDefaultStepTime);
    }
    return image;
}

std::uint16_t ProgramImage::headerWord() const {
    return static_cast<std::uint16_t>(m_bytes[0] | (m_bytes[1] << 8));
}

void ProgramImage::setHeaderWord(std::uint16_t word) {
    m_bytes[0] = static_cast<std::uint8_t>(word & 0xFF);
    m_bytes[1] = static_cast<std::uint8_t>(word >> 8);
}

int ProgramImage::stepCount() const { return headerWord() & kStepCountMask; }

void ProgramImage::setStepCount(int count) {
    assert(count >= 0 && count <= kMaxSteps);
    const auto startBit = static_cast<std::uint16_t>(headerWord() & kStartBlockBit);
    setHeaderWord(static_cast<std::uint16_t>(startBit | (static_cast<unsigned>(count) & kStepCountMask)));
}

bool ProgramImage::startBlock() const { return (headerWord() & kStartBlockBit) != 0; }

void ProgramImage::setStartBlock(bool on) {
    const auto count = static_cast<std::uint16_t>(headerWord() & kStepCountMask);
    setHeaderWord(on ? static_cast<std::uint16_t>(count | kStartBlockBit) : count);
}

std::size_t ProgramImage::recordOffset(int step) {
    assert(step >= 1 && step <= kMaxSteps);
    return kHeaderSize + kStepRecordSize * static_cast<std::size_t>(step - 1);
}

std::uint16_t ProgramImage::stepTime(int step) const {
    const std::size_t at = recordOffset(step);
    return static_cast<std::uint16_t>(m_bytes[at] | (m_bytes[at + 1] << 8));
}

void ProgramImage::setStepTime(int step, std::uint16_t time) {
    const std::size_t at = recordOffset(step);
    m_bytes[at] = static_cast<std::uint8_t>(time & 0xFF);
    m_bytes[at + 1] = static_cast<std::uint8_t>(time >> 8);
}

std::uint8_t ProgramImage::cell(int step, int channel) const {
    assert(channel >= 0 && channel < kChannelCount);
    return m_bytes[recordOffset(step) + 2 + static_cast<std::size_t>(channel)];
}

void ProgramImage::setCell(int step, int channel, std::uint8_t cell) {
    assert(channel >= 0 && channel < kChannelCount);
    m_bytes[recordOffset(step) + 2 + static_cast<std::size_t>(channel)] = cell;
}

void ProgramImage::copyRecord(int toStep, const ProgramImage& source, int fromStep) {
    const auto from = source.m_bytes.begin() + static_cast<std::ptrdiff_t>(recordOffset(fromStep));
    // memmove semantics: source may be this image.
    std::copy_n(from, kStepRecordSize,
                m_bytes.begin() + static_cast<std::ptrdiff_t>(recordOffset(toStep)));
}

void ProgramImage::clearCells(int step) {
    const auto at = m_bytes.begin() + static_cast<std::ptrdiff_t>(recordOffset(step) + 2);
    std::fill_n(at, kChannelCount, std::uint8_t{0});
}

} // namespace tevra
