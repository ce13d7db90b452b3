#include "model/ProgramImage.h"

#include <algorithm>
#include <cstring>

namespace tevra {

namespace {

constexpr std::size_t kCellsOffset = 2;

} // namespace

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

int ProgramImage::stepCount() const {
    return headerWord() & kStepCountMask;
}

void ProgramImage::setStepCount(int count) {
    const auto startBit = static_cast<std::uint16_t>(headerWord() & kStartBlockBit);
    const auto clamped = static_cast<unsigned>(std::clamp(count, 0, kMaxSteps));
    setHeaderWord(static_cast<std::uint16_t>(startBit | clamped));
}

bool ProgramImage::startBlock() const {
    return (headerWord() & kStartBlockBit) != 0;
}

void ProgramImage::setStartBlock(bool on) {
    const auto count = static_cast<std::uint16_t>(headerWord() & kStepCountMask);
    setHeaderWord(on ? static_cast<std::uint16_t>(count | kStartBlockBit) : count);
}

bool ProgramImage::validStep(int step) {
    return step >= 1 && step <= kMaxSteps;
}

bool ProgramImage::validChannel(int channel) {
    return channel >= 0 && channel < kChannelCount;
}

std::size_t ProgramImage::recordOffset(int step) {
    return kHeaderSize + kStepRecordSize * static_cast<std::size_t>(step - 1);
}

std::uint16_t ProgramImage::stepTime(int step) const {
    if (!validStep(step)) {
        return 0;
    }
    const std::size_t at = recordOffset(step);
    return static_cast<std::uint16_t>(m_bytes[at] | (m_bytes[at + 1] << 8));
}

void ProgramImage::setStepTime(int step, std::uint16_t time) {
    if (!validStep(step)) {
        return;
    }
    const std::size_t at = recordOffset(step);
    m_bytes[at] = static_cast<std::uint8_t>(time & 0xFF);
    m_bytes[at + 1] = static_cast<std::uint8_t>(time >> 8);
}

std::uint8_t ProgramImage::cell(int step, int channel) const {
    if (!validStep(step) || !validChannel(channel)) {
        return 0;
    }
    return m_bytes[recordOffset(step) + kCellsOffset + static_cast<std::size_t>(channel)];
}

void ProgramImage::setCell(int step, int channel, std::uint8_t cell) {
    if (!validStep(step) || !validChannel(channel)) {
        return;
    }
    m_bytes[recordOffset(step) + kCellsOffset + static_cast<std::size_t>(channel)] = cell;
}

void ProgramImage::copyRecord(int toStep, const ProgramImage& source, int fromStep) {
    if (!validStep(toStep) || !validStep(fromStep)) {
        return;
    }
    // memmove: source may be this image, and even the same record.
    std::memmove(m_bytes.data() + recordOffset(toStep),
                 source.m_bytes.data() + recordOffset(fromStep), kStepRecordSize);
}

void ProgramImage::clearCells(int step) {
    if (!validStep(step)) {
        return;
    }
    const auto at =
        m_bytes.begin() + static_cast<std::ptrdiff_t>(recordOffset(step) + kCellsOffset);
    std::fill_n(at, kChannelCount, std::uint8_t{0});
}

} // namespace tevra
