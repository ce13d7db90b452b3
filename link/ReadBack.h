#pragma once

#include "link/ControllerSettings.h"
#include "link/SerialPort.h"
#include "link/Upload.h"
#include "model/ProgramImage.h"

#include <cstdint>
#include <optional>

namespace tevra {

inline constexpr const char* kReadingStatus = "Чтение...";

// Every block is read twice per attempt and taken when both answers are whole and agree: the
// line has no checksum. The upload's budget of 1 + kRetryBudget attempts and its waits apply;
// a command goes out only on a silent line, and an answer followed by more bytes is wrong.
enum class ReadBackOutcome {
    Done,      // download: everything read; verify: everything matches
    NoAnswer,  // a block's last attempt got a short answer, none, or a line never silent
    Disagreed, // a block's last attempt got two whole answers that differ
    Overlong,  // a block's last attempt got an answer followed by more bytes
    NoProgram, // download: the header word claims more than 500 steps
    Differs,   // verify: a byte differs from what the upload would write
};

struct DownloadReport {
    ReadBackOutcome outcome = ReadBackOutcome::Done;
    std::optional<std::uint16_t> failedAddress;
    // The blocks as read, over the start program; the header block alone after NoProgram.
    ProgramImage image = ProgramImage::startProgram();
    ConfigBlock config{};
};

// Reads the header block, the rest of the program it announces and the settings block, on a
// port that is open. Writes nothing to the controller.
DownloadReport downloadProgram(SerialPort& port, const UploadProgressCallback& progress,
                               const UploadTimings& timings = {});

struct ByteDifference {
    std::uint16_t address = 0;
    std::uint8_t expected = 0;
    std::uint8_t found = 0;
};

struct VerifyReport {
    ReadBackOutcome outcome = ReadBackOutcome::Done;
    std::optional<std::uint16_t> failedAddress;
    std::optional<ByteDifference> difference; // the first one, after Differs
};

// Reads the blocks that uploadProgram() would write and compares the bytes that carry the
// program and its settings: the 2 + 18 * stepCount bytes of the program, and the settings
// block's bytes that the encoding sets. Stops at the first difference. Writes nothing.
VerifyReport verifyProgram(SerialPort& port, const ProgramImage& image, const ConfigBlock& config,
                           const UploadProgressCallback& progress,
                           const UploadTimings& timings = {});

// Where a byte of controller memory lies, for reports: the program's header word, a step's
// time or one of its cells, or a field of the settings block.
struct BytePlace {
    enum class Area { Header, StepTime, Cell, Setting, Elsewhere };
    Area area = Area::Elsewhere;
    int step = 0;    // from 1, for StepTime and Cell
    int channel = 0; // from 1, for Cell
    ConfigField setting = ConfigField::TimerWord;
};
BytePlace locateByte(std::uint16_t address);

} // namespace tevra
