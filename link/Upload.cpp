#include "link/Upload.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <thread>

namespace tevra {

namespace {

void report(const UploadProgressCallback& progress, int rangeMax, int position,
            const char* statusText) {
    if (progress) {
        progress(UploadProgress{rangeMax, position, statusText});
    }
}

// sleep_for() overshoots by a fraction of a millisecond, more on a busy or virtual machine;
// over 72 blocks that adds up, so the last stretch of a pause is waited out by yielding.
constexpr std::chrono::milliseconds kYieldedStretch{1};

// Reads the answer to a read-back command and judges it against the data. Only bytes already
// there are looked for after it: waiting for late ones would cost every block of an upload
// that much, and a shifted answer can equal the data only where the block repeats itself.
UploadOutcome readBack(SerialPort& port, std::span<const std::uint8_t, kTransferBlockSize> data,
                       const UploadTimings& timings, std::vector<std::uint8_t>& received) {
    std::array<std::uint8_t, kTransferBlockSize + 1> answer{};
    const std::size_t count =
        port.read(std::span(answer).first<kTransferBlockSize>(), timings.readBackWait);
    received.assign(answer.begin(), answer.begin() + static_cast<std::ptrdiff_t>(count));
    if (count < kTransferBlockSize) {
        return UploadOutcome::NoAnswer;
    }
    if (!nothingFollows(port, std::chrono::milliseconds::zero())) {
        port.read(std::span(answer).last<1>(), std::chrono::milliseconds::zero());
        received.push_back(answer.back());
        return UploadOutcome::Mismatch;
    }
    return std::equal(data.begin(), data.end(), answer.begin()) ? UploadOutcome::Written
                                                                : UploadOutcome::Mismatch;
}

} // namespace

std::array<std::uint8_t, 3> commandBytes(std::uint8_t code, std::uint16_t address) {
    return {code, static_cast<std::uint8_t>(address & 0xFF),
            static_cast<std::uint8_t>(address >> 8)};
}

void pauseFor(std::chrono::milliseconds length) {
    const auto until = std::chrono::steady_clock::now() + length;
    if (length > kYieldedStretch) {
        std::this_thread::sleep_for(length - kYieldedStretch);
    }
    while (std::chrono::steady_clock::now() < until) {
        std::this_thread::yield();
    }
}

bool nothingFollows(SerialPort& port, std::chrono::milliseconds wait) {
    if (wait <= std::chrono::milliseconds::zero()) {
        return port.bytesWaiting() == 0;
    }
    std::array<std::uint8_t, 1> stray{};
    return port.read(stray, wait) == 0;
}

bool waitForSilence(SerialPort& port, std::chrono::milliseconds silence,
                    std::chrono::milliseconds limit) {
    const auto giveUpAt = std::chrono::steady_clock::now() + limit;
    while (!nothingFollows(port, silence)) {
        if (std::chrono::steady_clock::now() >= giveUpAt) {
            return false;
        }
    }
    return true;
}

const char* uploadMessage(UploadOutcome outcome) {
    switch (outcome) {
    case UploadOutcome::Written:
        return "Контроллер записан!";
    case UploadOutcome::NoAnswer:
        return "Нет ответа контроллера!";
    case UploadOutcome::Mismatch:
        return "Ошибка записи!";
    }
    return "";
}

std::size_t programByteCount(const ProgramImage& image) {
    // A header claiming more steps than the image holds must never send bytes beyond it.
    const int steps = std::min(image.stepCount(), kMaxSteps);
    return kHeaderSize + kStepRecordSize * static_cast<std::size_t>(steps);
}

int programBlockCount(const ProgramImage& image) {
    return static_cast<int>((programByteCount(image) + kTransferBlockSize - 1) /
                            kTransferBlockSize);
}

BlockResult writeBlock(SerialPort& port, std::uint16_t address,
                       std::span<const std::uint8_t, kTransferBlockSize> data,
                       const UploadTimings& timings) {
    BlockResult result;
    for (int retriesLeft = kRetryBudget;; --retriesLeft) {
        ++result.attempts;
        result.received.clear();
        // Whatever an abandoned attempt left in either direction must not count for this one.
        port.discardBuffers();
        port.write(commandBytes(kWriteCommand, address), timings.writeWait);
        port.write(data, timings.writeWait);
        pauseFor(timings.settlePause);
        // Nothing has come since the purge on a quiet line, so the pause was silence enough;
        // otherwise the rest of an old answer would run into this one.
        if (!nothingFollows(port, std::chrono::milliseconds::zero()) &&
            !waitForSilence(port, timings.settlePause, timings.readBackWait)) {
            result.outcome = UploadOutcome::NoAnswer;
        } else {
            port.write(commandBytes(kReadBackCommand, address), timings.writeWait);
            result.outcome = readBack(port, data, timings, result.received);
        }
        if (result.outcome == UploadOutcome::Written || retriesLeft == 0) {
            return result;
        }
    }
}

UploadReport uploadProgram(SerialPort& port, const ProgramImage& image, const ConfigBlock& config,
                           const UploadProgressCallback& progress, const UploadTimings& timings) {
    port.setModemLines();
    pauseFor(timings.modemLinePause);

    const int blockCount = programBlockCount(image);
    report(progress, blockCount, 0, kUploadWritingStatus);

    UploadReport uploadReport;
    const auto fail = [&](std::uint16_t address, std::span<const std::uint8_t> expected,
                          BlockResult&& block) {
        uploadReport.outcome = block.outcome;
        uploadReport.failedAddress = address;
        uploadReport.expected.assign(expected.begin(), expected.end());
        uploadReport.received = std::move(block.received);
        return uploadReport;
    };

    const auto bytes = image.bytes();
    std::uint16_t address = kProgramAddress;
    for (int block = 0; block < blockCount; ++block) {
        // The image's tail room keeps the last block within the image, even for 500 steps.
        const auto data = bytes.subspan(static_cast<std::size_t>(block) * kTransferBlockSize)
                              .first<kTransferBlockSize>();
        auto result = writeBlock(port, address, data, timings);
        if (result.outcome != UploadOutcome::Written) {
            return fail(address, data, std::move(result));
        }
        address = static_cast<std::uint16_t>(address + kTransferBlockSize);
        report(progress, blockCount, block + 1, kUploadWritingStatus);
    }

    auto result = writeBlock(port, kConfigBlockAddress, config, timings);
    if (result.outcome != UploadOutcome::Written) {
        return fail(kConfigBlockAddress, config, std::move(result));
    }
    report(progress, blockCount, blockCount + 1, kUploadDoneStatus);
    return uploadReport;
}

} // namespace tevra
