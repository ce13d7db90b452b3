#include "link/Upload.h"

#include <algorithm>
#include <deque>
#include <gtest/gtest.h>
#include <string>
#include <tuple>
#include <utility>

namespace tevra {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using Bytes = std::vector<std::uint8_t>;

// Wrong: the first byte changed. Long: an echo, and one byte more after it.
enum class Answer { Echo, Wrong, Short, Silent, Long };

// Records every call as a letter with its time, and every byte written; answers each read-back
// from a script, and with an echo of the last data block once the script runs out. Reads of
// fewer bytes take stray ones.
class RecordingPort : public SerialPort {
public:
    std::deque<Answer> script;
    std::string calls; // m: modem lines, d: discard both ways, w: write, r: read, l: stray byte
    std::vector<Clock::time_point> times;
    Bytes line;
    std::vector<int> writtenAddresses;
    bool chatter = false; // bytes keep coming in

    PortOpenStatus open(const std::string&) override { return PortOpenStatus::Opened; }
    bool isOpen() const override { return true; }
    void setModemLines() override { record('m'); }
    void discardBuffers() override { record('d'); }
    void write(std::span<const std::uint8_t> bytes, std::chrono::milliseconds) override {
        record('w');
        line.insert(line.end(), bytes.begin(), bytes.end());
        if (bytes.size() == kTransferBlockSize) {
            m_data.assign(bytes.begin(), bytes.end());
        } else if (bytes[0] == kWriteCommand) {
            writtenAddresses.push_back(bytes[1] | bytes[2] << 8);
        }
    }
    std::size_t bytesWaiting() const override { return m_longAnswer || chatter ? 1 : 0; }
    std::size_t read(std::span<std::uint8_t> buffer, std::chrono::milliseconds) override {
        if (buffer.size() < kTransferBlockSize) {
            record('l');
            return std::exchange(m_longAnswer, false) || chatter ? buffer.size() : 0;
        }
        record('r');
        const Answer answer = script.empty() ? Answer::Echo : script.front();
        if (!script.empty()) {
            script.pop_front();
        }
        std::copy(m_data.begin(), m_data.end(), buffer.begin());
        buffer[0] ^= answer == Answer::Wrong ? 1 : 0;
        m_longAnswer = answer == Answer::Long;
        return answer == Answer::Silent ? 0 : buffer.size() - (answer == Answer::Short ? 1 : 0);
    }
    void close() override {}

private:
    void record(char call) {
        calls += call;
        times.push_back(Clock::now());
    }
    Bytes m_data;
    bool m_longAnswer = false;
};

TEST(UploadTest, StartProgramGoesAsThreeVerifiedBlocksThenTheSettingsBlock) {
    RecordingPort port;
    const ProgramImage image = ProgramImage::startProgram();
    ConfigBlock config{};
    for (std::size_t i = 0; i < config.size(); ++i) {
        config[i] = static_cast<std::uint8_t>(0xA0 ^ i);
    }
    std::vector<std::tuple<int, int, std::string>> progress;
    const UploadReport report =
        uploadProgram(port, image, config, [&progress](const UploadProgress& shown) {
            progress.emplace_back(shown.rangeMax, shown.position, shown.statusText);
        });
    EXPECT_EQ(report.outcome, UploadOutcome::Written);
    EXPECT_FALSE(report.failedAddress.has_value());

    // Each block: write command, data, read-back command, with the address little-endian.
    Bytes expected;
    for (const std::size_t address : {0x0000U, 0x0080U, 0x0100U, 0x3700U}) {
        const auto data = address == kConfigBlockAddress ? std::span<const std::uint8_t>(config)
                                                         : image.bytes().subspan(address, 128);
        const auto low = static_cast<std::uint8_t>(address & 0xFF);
        const auto high = static_cast<std::uint8_t>(address >> 8);
        expected.insert(expected.end(), {kWriteCommand, low, high});
        expected.insert(expected.end(), data.begin(), data.end());
        expected.insert(expected.end(), {kReadBackCommand, low, high});
    }
    EXPECT_EQ(port.line, expected);
    for (int position = 0; position <= 4; ++position) {
        EXPECT_EQ(progress.at(std::size_t(position)),
                  std::tuple(3, position, position < 4 ? "Запись..." : "Ok..."));
    }
    // The modem lines settle before the first block, the data before the read-back command.
    EXPECT_EQ(port.calls, "mdwwwrdwwwrdwwwrdwwwr");
    EXPECT_GE(port.times[1] - port.times[0], 10ms);
    EXPECT_GE(port.times[4] - port.times[3], 15ms);
    const UploadTimings defaults;
    EXPECT_EQ(std::tuple(defaults.writeWait, defaults.readBackWait, defaults.settlePause,
                         defaults.modemLinePause),
              std::tuple(1000ms, 1000ms, 15ms, 10ms));
}

TEST(UploadTest, RepeatsEachBlockUpToThreeTimesAndTheLastAttemptDecides) {
    using enum Answer;
    const auto written = UploadOutcome::Written;
    const auto noAnswer = UploadOutcome::NoAnswer;
    // Answers in turn; outcome, the addresses written, the bytes of the last answer, and where
    // the progress bar ends.
    const std::tuple<std::deque<Answer>, UploadOutcome, std::vector<int>, std::size_t, int> rows[] =
        {{{Wrong, Echo, Wrong, Wrong, Wrong},
          written,
          {0, 0, 128, 128, 128, 128, 256, 0x3700},
          0,
          4},
         {{Short, Wrong, Wrong, Wrong}, UploadOutcome::Mismatch, {0, 0, 0, 0}, 128, 0},
         {{Long, Long, Long, Long}, UploadOutcome::Mismatch, {0, 0, 0, 0}, 129, 0},
         {{Wrong, Wrong, Wrong, Short}, noAnswer, {0, 0, 0, 0}, 127, 0},
         {{Echo, Silent, Silent, Silent, Silent, Echo}, noAnswer, {0, 128, 128, 128, 128}, 0, 1}};
    for (const auto& [answers, outcome, addresses, received, position] : rows) {
        SCOPED_TRACE(addresses.size());
        RecordingPort port;
        port.script = answers;
        int lastPosition = -1;
        const ProgramImage image = ProgramImage::startProgram();
        const UploadReport report =
            uploadProgram(port, image, ConfigBlock{},
                          [&](const UploadProgress& shown) { lastPosition = shown.position; },
                          {1ms, 1ms, 0ms, 0ms});
        EXPECT_EQ(report.outcome, outcome);
        EXPECT_EQ(port.writtenAddresses, addresses);
        EXPECT_EQ(lastPosition, position);
        EXPECT_EQ(report.failedAddress.has_value(), outcome != UploadOutcome::Written);
        if (report.failedAddress) {
            const auto block = image.bytes().subspan(*report.failedAddress, 128);
            EXPECT_EQ(report.expected, Bytes(block.begin(), block.end()));
            Bytes answer = report.expected;
            if (answers.back() == Wrong) {
                answer[0] ^= 1;
            }
            answer.resize(received);
            EXPECT_EQ(report.received, answer);
        }
    }
}

TEST(UploadTest, ALineThatNeverFallsSilentGetsNoReadBackCommandAndNoAnswer) {
    RecordingPort port;
    port.chatter = true;
    const UploadReport report =
        uploadProgram(port, ProgramImage::startProgram(), ConfigBlock{}, {}, {1ms, 5ms, 0ms, 0ms});
    EXPECT_EQ(report.outcome, UploadOutcome::NoAnswer);
    EXPECT_EQ(port.writtenAddresses, std::vector<int>(4, 0));
    EXPECT_EQ(port.line.size(), 4 * (3 + kTransferBlockSize));
}

TEST(UploadTest, BlockCountCoversTheUsedBytesAndStopsAtTheImage) {
    for (const auto& [header, blocks] :
         {std::pair{0, 1}, {7, 1}, {8, 2}, {20, 3}, {500, 71}, {0x7FFF, 71}}) {
        ProgramImage image;
        image.setHeaderWord(static_cast<std::uint16_t>(header));
        EXPECT_EQ(programBlockCount(image), blocks) << header;
    }
}

} // namespace
} // namespace tevra
