#include "link/ReadBack.h"

#include <algorithm>
#include <span>

namespace tevra {

namespace {

using BlockBytes = std::array<std::uint8_t, kTransferBlockSize>;

// Whole: 128 bytes and then silence. Anything else ends the attempt.
enum class Answer { Whole, Short, Overlong };

Answer readOnce(SerialPort& port, std::uint16_t address, BlockBytes& answer,
                const UploadTimings& timings) {
    port.write(commandBytes(kReadBackCommand, address), timings.writeWait);
    if (port.read(answer, timings.readBackWait) < kTransferBlockSize) {
        return Answer::Short;
    }
    // More bytes mean that the answer began with old ones: taken, it would be shifted. Each
    // answer is judged on its own, since a shifted pair of answers can agree.
    return nothingFollows(port, timings.answerEndSilence) ? Answer::Whole : Answer::Overlong;
}

// Reads blocks in turn and reports each one, over the program blocks and the settings block.
class BlockReader {
public:
    BlockReader(SerialPort& port, const UploadProgressCallback& progress,
                const UploadTimings& timings)
        : m_port(port), m_progress(progress), m_timings(timings) {
        m_port.setModemLines();
        pauseFor(m_timings.modemLinePause);
    }

    // The whole read takes this many blocks, the settings block included.
    void expect(int blocks) {
        m_blocks = blocks;
        report();
    }

    // False when the block's last attempt failed; failure() then says how.
    bool read(std::uint16_t address, std::span<std::uint8_t, kTransferBlockSize> target) {
        BlockBytes data{};
        m_failure = readBlock(address, data);
        if (m_failure != ReadBackOutcome::Done) {
            return false;
        }
        std::copy(data.begin(), data.end(), target.begin());
        ++m_read;
        report();
        return true;
    }

    ReadBackOutcome failure() const { return m_failure; }

private:
    // Read-back commands only, two per attempt; Done when both answers are whole and agree.
    ReadBackOutcome readBlock(std::uint16_t address, BlockBytes& data) {
        BlockBytes second{};
        for (int retriesLeft = kRetryBudget;; --retriesLeft) {
            const ReadBackOutcome outcome = attempt(address, data, second);
            if (outcome == ReadBackOutcome::Done || retriesLeft == 0) {
                return outcome;
            }
        }
    }

    ReadBackOutcome attempt(std::uint16_t address, BlockBytes& data, BlockBytes& second) {
        // A whole answer ends in silence; after anything else the line must fall silent
        // before a command, or the rest of an old answer runs into the new one.
        if (!m_lineSilent) {
            m_port.discardBuffers();
            if (!waitForSilence(m_port, m_timings.settlePause, m_timings.readBackWait)) {
                return ReadBackOutcome::NoAnswer;
            }
        }
        // A first answer that is not whole ends the attempt: a silent controller costs one
        // wait, not two.
        Answer answer = readOnce(m_port, address, data, m_timings);
        if (answer == Answer::Whole) {
            answer = readOnce(m_port, address, second, m_timings);
        }
        m_lineSilent = answer == Answer::Whole;
        switch (answer) {
        case Answer::Short:
            return ReadBackOutcome::NoAnswer;
        case Answer::Overlong:
            return ReadBackOutcome::Overlong;
        case Answer::Whole:
            break;
        }
        return data == second ? ReadBackOutcome::Done : ReadBackOutcome::Disagreed;
    }

    void report() const {
        if (m_progress && m_blocks > 0) {
            m_progress(UploadProgress{m_blocks, m_read,
                                      m_read == m_blocks ? kUploadDoneStatus : kReadingStatus});
        }
    }

    SerialPort& m_port;
    const UploadProgressCallback& m_progress;
    const UploadTimings& m_timings;
    // Unknown, and nothing reported, until the header block tells the program's length.
    int m_blocks = 0;
    int m_read = 0;
    ReadBackOutcome m_failure = ReadBackOutcome::Done;
    bool m_lineSilent = false;
};

} // namespace

DownloadReport downloadProgram(SerialPort& port, const UploadProgressCallback& progress,
                               const UploadTimings& timings) {
    DownloadReport report;
    BlockReader reader(port, progress, timings);
    const auto fail = [&](std::uint16_t address) {
        report.outcome = reader.failure();
        report.failedAddress = address;
        return report;
    };

    const auto bytes = report.image.bytes();
    if (!reader.read(kProgramAddress, bytes.first<kTransferBlockSize>())) {
        return fail(kProgramAddress);
    }
    if (report.image.stepCount() > kMaxSteps) {
        report.outcome = ReadBackOutcome::NoProgram;
        return report;
    }
    const int blockCount = programBlockCount(report.image);
    reader.expect(blockCount + 1);
    std::uint16_t address = kProgramAddress;
    for (int block = 1; block < blockCount; ++block) {
        address = static_cast<std::uint16_t>(address + kTransferBlockSize);
        // 71 blocks end within the image's tail room.
        const auto target = bytes.subspan(static_cast<std::size_t>(block) * kTransferBlockSize)
                                .first<kTransferBlockSize>();
        if (!reader.read(address, target)) {
            return fail(address);
        }
    }
    if (!reader.read(kConfigBlockAddress, report.config)) {
        return fail(kConfigBlockAddress);
    }
    return report;
}

VerifyReport verifyProgram(SerialPort& port, const ProgramImage& image, const ConfigBlock& config,
                           const UploadProgressCallback& progress, const UploadTimings& timings) {
    VerifyReport report;
    BlockReader reader(port, progress, timings);
    const int blockCount = programBlockCount(image);
    reader.expect(blockCount + 1);

    // True when every compared byte of the block matches.
    const auto matches = [&](std::uint16_t address,
                             std::span<const std::uint8_t, kTransferBlockSize> expected,
                             const auto& compared) {
        BlockBytes found{};
        if (!reader.read(address, found)) {
            report.outcome = reader.failure();
            report.failedAddress = address;
            return false;
        }
        for (std::size_t i = 0; i < kTransferBlockSize; ++i) {
            if (compared(i) && expected[i] != found[i]) {
                report.outcome = ReadBackOutcome::Differs;
                report.difference =
                    ByteDifference{static_cast<std::uint16_t>(address + i), expected[i], found[i]};
                return false;
            }
        }
        return true;
    };

    const std::size_t used = programByteCount(image);
    std::uint16_t address = kProgramAddress;
    for (int block = 0; block < blockCount; ++block) {
        const std::size_t start = static_cast<std::size_t>(block) * kTransferBlockSize;
        const auto expected = image.bytes().subspan(start).first<kTransferBlockSize>();
        if (!matches(address, expected, [&](std::size_t i) { return start + i < used; })) {
            return report;
        }
        address = static_cast<std::uint16_t>(address + kTransferBlockSize);
    }
    matches(kConfigBlockAddress, config,
            [&](std::size_t offset) { return isSetByEncoding(config, offset); });
    return report;
}

BytePlace locateByte(std::uint16_t address) {
    BytePlace place;
    if (address >= kConfigBlockAddress) {
        const std::optional<ConfigField> field =
            configFieldAt(static_cast<std::size_t>(address - kConfigBlockAddress));
        if (field) {
            place.area = BytePlace::Area::Setting;
            place.setting = *field;
        }
        return place;
    }
    if (address < kHeaderSize) {
        place.area = BytePlace::Area::Header;
        return place;
    }
    const std::size_t offset = address - kHeaderSize;
    const auto step = static_cast<int>(offset / kStepRecordSize) + 1;
    if (step > kMaxSteps) {
        return place;
    }
    place.step = step;
    // A record is the step time word, then one cell a channel.
    constexpr std::size_t kStepTimeSize = 2;
    const std::size_t inRecord = offset % kStepRecordSize;
    if (inRecord < kStepTimeSize) {
        place.area = BytePlace::Area::StepTime;
    } else {
        place.area = BytePlace::Area::Cell;
        place.channel = static_cast<int>(inRecord - kStepTimeSize) + 1;
    }
    return place;
}

} // namespace tevra
