#pragma once

#include "model/ProgramImage.h"

#include <chrono>

// What a whole 500-step upload would take if only the line and the fixed pauses counted: the
// benchmarks report their times as ratios to these floors.
namespace tevra::bench {

using Seconds = std::chrono::duration<double>;

inline constexpr int kUploadSteps = 500;
// 71 program blocks and the settings block.
inline constexpr int kUploadBlocks = 72;
inline constexpr Seconds kSettlePause = std::chrono::milliseconds{15};
inline constexpr Seconds kModemLinePause = std::chrono::milliseconds{10};
// 11 bits a byte at 19200 baud; an attempt puts 3 + 128 + 3 bytes out and 128 back, 262 in all.
inline constexpr Seconds kByteTime{11.0 / 19200.0};
inline constexpr int kBytesPerAttempt = 262;

inline constexpr Seconds kInstantFloor = kUploadBlocks * kSettlePause + kModemLinePause;
inline constexpr Seconds kPacedFloor =
    kUploadBlocks * (kBytesPerAttempt * kByteTime + kSettlePause) + kModemLinePause;

inline ProgramImage longProgram() {
    ProgramImage image = ProgramImage::startProgram();
    image.setStepCount(kUploadSteps);
    return image;
}

} // namespace tevra::bench
