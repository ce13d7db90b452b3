#include "link/Upload.h"

#include <algorithm>
#include <deque>
#include <gtest/gtest.h>
#include <string>
#include <tuple>

namespace tevra {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using Bytes = std::vector<std::uint8_t>;

enum class Answer { Echo, WrongFirstByte, Short, Silent };

// Records every call and every byte written; answers each read-back from a script, and with an
// echo of the last data block once the script runs out.
class RecordingPort : public SerialPort {
public:
    std::deque<Answer> script;
    std::vector<std::pair<std::string, Clock::time_point>> calls;
    Bytes line;
    std::vector<std::uint16_t> writtenAddresses;

    PortOpenStatus open(const std::string&) override { return PortOpenStatus::Opened; }
    bool isOpen() const override { return true; }
    void setModemLines() override { record("modem"); }
    void discardBuffers() override { record("discard"); }
    void discardInput() override { record("discardInput"); }
    void write(std::span<const std::uint8_t> bytes, std::chrono::milliseconds) override {
        record("write");
        line.insert(line.end(), bytes.begin(), bytes.end());
        if (bytes.size() == kTransferBlockSize) {
            m_data.assign(bytes.begin(), bytes.end());
        } else if (bytes[0] == kWriteCommand) {
            writtenAddresses.push_back(static_cast<std::uint16_t>(bytes[1] | bytes[2] << 8));
        }
    }
    std::size_t read(std::span<std::uint8_t> buffer, std::chrono::milliseconds) override {
        record("read");
        const Answer answer = script.empty() ? Answer::Echo : script.front();
        if (!script.empty()) {
            script.pop_front();
        }
        std::copy(m_data.begin(), m_data.end(), buffer.begin());
        buffer[0] ^= answer == Answer::WrongFirstByte ? 1 : 0;
        return answer == Answer::Silent ? 0 : buffer.size() - (answer == Answer::Short ? 1 : 0);
    }
    void close() override {}

private:
    void record(const char* what) { calls.emplace_back(what, Clock::now()); }
    Bytes m_data;
};

// A write and its read-back as the line carries them.
Bytes attemptOnTheLine(std::uint16_t address, std::span<const std::uint8_t> data) {
    const auto low = static_cast<std::uint8_t>(address & 0xFF);
    const auto high = static_cast<std::uint8_t>(address >> 8);
    Bytes bytes{kWriteCommand, low, high};
    bytes.insert(bytes.end(), data.begin(), data.end());
    bytes.insert(bytes.end(), {kReadBackCommand, low, high});
    return bytes;
}

ConfigBlock sampleConfig() {
    ConfigBlock block{};
    for (std::size_t i = 0; i < block.size(); ++i) {
        block[i] = static_cast<std::uint8_t>(0xA0 ^ i);
    }
    return block;
}

TEST(UploadTest, StartProgramGoesAsThreeVerifiedBlocksThenTheSettingsBlock) {
    RecordingPort port;
    const ProgramImage image = ProgramImage::startProgram();
    std::vector<std::tuple<int, int, std::string>> progress;
    const UploadReport report =
        uploadProgram(port, image, sampleConfig(), [&progress](const UploadProgress& shown) {
            progress.emplace_back(shown.rangeMax, shown.position, shown.statusText);
        });
    EXPECT_EQ(report.outcome, UploadOutcome::Written);
    EXPECT_FALSE(report.failedAddress.has_value());

    Bytes expected;
    for (std::uint16_t block = 0; block < 3; ++block) {
        const auto attempt = attemptOnTheLine(static_cast<std::uint16_t>(block * 0x80),
                                              image.bytes().subspan(block * 128u, 128));
        expected.insert(expected.end(), attempt.begin(), attempt.end());
    }
    const auto config = attemptOnTheLine(kConfigBlockAddress, sampleConfig());
    expected.insert(expected.end(), config.begin(), config.end());
    EXPECT_EQ(port.line, expected);
    EXPECT_EQ(progress, (std::vector<std::tuple<int, int, std::string>>{{3, 0, "Запись..."},
                                                                        {3, 1, "Запись..."},
                                                                        {3, 2, "Запись..."},
                                                                        {3, 3, "Запись..."},
                                                                        {3, 4, "Ok..."}}));

    // Each attempt: discard, write, data, a pause, discard the input, read-back, read.
    std::vector<std::string> order;
    for (const auto& call : port.calls) {
        order.push_back(call.first);
    }
    std::vector<std::string> attempts{"modem"};
    for (int block = 0; block < 4; ++block) {
        attempts.insert(attempts.end(),
                        {"discard", "write", "write", "discardInput", "write", "read"});
    }
    EXPECT_EQ(order, attempts);
    // The modem lines settle before the first block, the data before the read-back command.
    EXPECT_GE(port.calls[1].second - port.calls[0].second, 10ms);
    EXPECT_GE(port.calls[4].second - port.calls[3].second, 15ms);
    const UploadTimings defaults;
    EXPECT_EQ(std::tuple(defaults.writeWait, defaults.readBackWait, defaults.settlePause,
                         defaults.modemLinePause),
              std::tuple(1000ms, 1000ms, 15ms, 10ms));
}

TEST(UploadTest, RepeatsEachBlockUpToThreeTimesAndTheLastAttemptDecides) {
    using enum Answer;
    // Answers in turn; outcome, the addresses written, the bytes of the last answer, and where
    // the progress bar ends.
    const std::tuple<std::deque<Answer>, UploadOutcome, std::vector<std::uint16_t>, std::size_t,
                     int>
        rows[] = {{{WrongFirstByte, Echo, WrongFirstByte, WrongFirstByte, WrongFirstByte},
                   UploadOutcome::Written,
                   {0, 0, 0x80, 0x80, 0x80, 0x80, 0x100, 0x3700},
                   0,
                   4},
                  {{Short, WrongFirstByte, WrongFirstByte, WrongFirstByte},
                   UploadOutcome::Mismatch,
                   {0, 0, 0, 0},
                   128,
                   0},
                  {{WrongFirstByte, WrongFirstByte, WrongFirstByte, Short},
                   UploadOutcome::NoAnswer,
                   {0, 0, 0, 0},
                   127,
                   0},
                  {{Echo, Silent, Silent, Silent, Silent, Echo},
                   UploadOutcome::NoAnswer,
                   {0, 0x80, 0x80, 0x80, 0x80},
                   0,
                   1}};
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
            EXPECT_EQ(*report.failedAddress, addresses.back());
            EXPECT_EQ(report.expected, Bytes(image.bytes().begin() + *report.failedAddress,
                                             image.bytes().begin() + *report.failedAddress + 128));
            Bytes answer = report.expected;
            answer[0] ^= outcome == UploadOutcome::Mismatch ? 1 : 0;
            answer.resize(received);
            EXPECT_EQ(report.received, answer);
        }
    }
}

TEST(UploadTest, BlockCountCoversTheUsedBytesAndStopsAtTheImage) {
    for (const auto& [steps, blocks] : {std::pair{0, 1}, {7, 1}, {8, 2}, {20, 3}, {500, 71}}) {
        ProgramImage image;
        image.setStepCount(steps);
        EXPECT_EQ(programBlockCount(image), blocks) << steps;
    }
    ProgramImage image;
    image.setHeaderWord(0x7FFF);
    EXPECT_EQ(programBlockCount(image), 71);
}

} // namespace
} // namespace tevra
