#pragma once

#include "link/ControllerSettings.h"
#include "link/SerialPort.h"
#include "model/ProgramImage.h"

#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace tevra {

inline constexpr std::size_t kTransferBlockSize = 128;
inline constexpr std::uint8_t kWriteCommand = 0x84;
inline constexpr std::uint8_t kReadBackCommand = 0x55;
inline constexpr std::uint16_t kProgramAddress = 0x0000;
// Repeats after a block's first attempt.
inline constexpr int kRetryBudget = 3;

inline constexpr const char* kUploadWritingStatus = "Запись...";
inline constexpr const char* kUploadDoneStatus = "Ok...";

enum class UploadOutcome { Written, NoAnswer, Mismatch };

// "Контроллер записан!", "Нет ответа контроллера!", "Ошибка записи!".
const char* uploadMessage(UploadOutcome outcome);

struct UploadTimings {
    std::chrono::milliseconds writeWait{1000};
    std::chrono::milliseconds readBackWait{1000};
    // The line keeps silent this long before a read-back command goes out.
    std::chrono::milliseconds settlePause{15};
    std::chrono::milliseconds modemLinePause{10};
    // A byte within this of an answer's last byte belongs to it, which is then too long: 3.5
    // byte times at 19200 8N2. A line that never keeps silent for settlePause within
    // readBackWait gives no answer.
    std::chrono::milliseconds answerEndSilence{2};
};

// What a progress bar and the status line show: range 0..rangeMax, the bar at position.
struct UploadProgress {
    int rangeMax = 0;
    int position = 0;
    std::string statusText;
};
using UploadProgressCallback = std::function<void(const UploadProgress&)>;

struct UploadReport {
    UploadOutcome outcome = UploadOutcome::Written;
    // For a failure: the block that failed, what was sent and what came back last.
    std::optional<std::uint16_t> failedAddress;
    std::vector<std::uint8_t> expected;
    std::vector<std::uint8_t> received;
};

// A command on the line: its code, then the block address low byte first.
std::array<std::uint8_t, 3> commandBytes(std::uint8_t code, std::uint16_t address);

// Sleeps, then yields through the last millisecond so that the pause ends on time.
void pauseFor(std::chrono::milliseconds length);

// True when no byte arrives within wait (none waits, for a wait of 0); a byte that does is
// dropped, except that a wait of 0 only looks.
bool nothingFollows(SerialPort& port, std::chrono::milliseconds wait);
// Drops incoming bytes until none has come for `silence`: the purge alone cannot remove the
// rest of an answer still on its way. False when the line still talks after `limit`.
bool waitForSilence(SerialPort& port, std::chrono::milliseconds silence,
                    std::chrono::milliseconds limit);

// The bytes of the image that carry the program: 2 + 18 * stepCount, for at most 500 steps.
std::size_t programByteCount(const ProgramImage& image);
// ceil(programByteCount / 128).
int programBlockCount(const ProgramImage& image);

struct BlockResult {
    UploadOutcome outcome = UploadOutcome::Written;
    int attempts = 0;
    // The last attempt's answer, as far as it came, and one byte more when more followed it.
    std::vector<std::uint8_t> received;
};

// One block with its repeats: write, pause, read back and compare, up to 1 + kRetryBudget times.
// An answer followed by more bytes is a mismatch.
BlockResult writeBlock(SerialPort& port, std::uint16_t address,
                       std::span<const std::uint8_t, kTransferBlockSize> data,
                       const UploadTimings& timings = {});

// Writes and verifies the program blocks, then the settings block at 0x3700, on a port that
// is open. The caller shows the outcome's message, then closes the port.
UploadReport uploadProgram(SerialPort& port, const ProgramImage& image, const ConfigBlock& config,
                           const UploadProgressCallback& progress,
                           const UploadTimings& timings = {});

} // namespace tevra
