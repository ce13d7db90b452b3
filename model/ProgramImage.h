#pragma once

#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <span>

namespace tevra {

inline constexpr int kMaxSteps = 500;
inline constexpr int kChannelCount = 16;
inline constexpr std::size_t kHeaderSize = 2;
inline constexpr std::size_t kStepRecordSize = 18;
inline constexpr std::size_t kTailRoomSize = 128;
inline constexpr std::size_t kImageSize =
    kHeaderSize + kStepRecordSize * static_cast<std::size_t>(kMaxSteps) + kTailRoomSize;

inline constexpr std::uint16_t kStepCountMask = 0x7FFF;
inline constexpr std::uint16_t kStartBlockBit = 0x8000;

// Step times are held in these units.
inline constexpr std::chrono::milliseconds kStepTimeUnit{10};
inline constexpr std::uint16_t kMinStepTime = 5;
inline constexpr std::uint16_t kMaxStepTime = 2560;
inline constexpr std::uint16_t kDefaultStepTime = 100;
inline constexpr int kDefaultStepCount = 20;
// The editor never leaves fewer steps than this.
inline constexpr int kMinEditedStepCount = 2;

// The program exactly as the file stores it and the controller receives it: a header word,
// 500 step records of 18 bytes and 128 bytes of tail room, all little-endian.
class ProgramImage {
public:
    using Bytes = std::array<std::uint8_t, kImageSize>;

    // 20 steps of 1 s, every cell Off, start block clear; steps 21..500 alike, tail room zero.
    static ProgramImage startProgram();

    std::uint16_t headerWord() const;
    void setHeaderWord(std::uint16_t word);

    int stepCount() const;
    // Keeps the start block bit; a count outside 0..kMaxSteps is clamped into it.
    void setStepCount(int count);
    bool startBlock() const;
    void setStartBlock(bool on);

    // Steps are numbered 1..kMaxSteps, channels 0..kChannelCount-1. Outside them a read gives
    // 0 and a write or copy does nothing, so a bad index can never reach past the image.
    std::uint16_t stepTime(int step) const;
    void setStepTime(int step, std::uint16_t time);
    std::uint8_t cell(int step, int channel) const;
    void setCell(int step, int channel, std::uint8_t cell);
    void copyRecord(int toStep, const ProgramImage& source, int fromStep);
    void clearCells(int step);

    std::span<const std::uint8_t, kImageSize> bytes() const { return m_bytes; }
    std::span<std::uint8_t, kImageSize> bytes() { return m_bytes; }

    bool operator==(const ProgramImage&) const = default;

private:
    static bool validStep(int step);
    static bool validChannel(int channel);
    static std::size_t recordOffset(int step);

    Bytes m_bytes{};
};

static_assert(sizeof(ProgramImage) == 9130, "the image is an external format");
static_assert(kImageSize == 9130);

} // namespace tevra
