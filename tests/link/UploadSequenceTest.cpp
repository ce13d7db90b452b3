#include "link/Upload.h"

#include <algorithm>
#include <deque>
#include <gtest/gtest.h>
#include <ostream>

namespace tevra {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

enum class Answer { Echo, WrongByte, Short };

// Records every call; answers each read-back from a script (echo once the script runs out).
class RecordingPort : public SerialPort {
public:
    struct Call {
        std::string what;
        std::vector<std::uint8_t> bytes;
        Clock::time_point at;
    };

    std::deque<Answer> script;
    std::vector<Call> calls;

    PortOpenStatus open(const std::string&) override { return PortOpenStatus::Opened; }
    bool isOpen() const override { return true; }
    void setModemLines() override { record("modem"); }
    void discardBuffers() override { record("discard"); }
    void discardInput() override { record("discardInput"); }
    void write(std::span<const std::uint8_t> bytes, std::chrono::milliseconds) override {
        record("write", bytes);
        if (bytes.size() == kTransferBlockSize) {
            m_lastData.assign(bytes.begin(), bytes.end());
        }
    }
    std::size_t read(std::span<std::uint8_t> buffer, std::chrono::milliseconds) override {
        record("read");
        const Answer answer = script.empty() ? Answer::Echo : script.front();
        if (!script.empty()) {
            script.pop_front();
        }
        std::copy(m_lastData.begin(), m_lastData.end(), buffer.begin());
        if (answer == Answer::WrongByte) {
            buffer[0] ^= 0xFF;
        }
        return answer == Answer::Short ? buffer.size() - 1 : buffer.size();
    }
    void close() override {}

private:
    void record(const std::string& what, std::span<const std::uint8_t> bytes = {}) {
        calls.push_back({what, {bytes.begin(), bytes.end()}, Clock::now()});
    }

    std::vector<std::uint8_t> m_lastData;
};

TEST(UploadSequenceTest, OneAttemptIsDiscardWriteDataPauseDiscardInputReadBackRead) {
    RecordingPort port;
    ProgramImage image = ProgramImage::startProgram();
    image.setStepCount(0);
    const ConfigBlock config{};
    ASSERT_EQ(uploadProgram(port, image, config, {}).outcome, UploadOutcome::Written);

    std::vector<std::string> order;
    for (const auto& call : port.calls) {
        order.push_back(call.what);
    }
    const std::vector<std::string> attempt{"discard",      "write", "write",
                                           "discardInput", "write", "read"};
    std::vector<std::string> expected{"modem"};
    expected.insert(expected.end(), attempt.begin(), attempt.end());
    expected.insert(expected.end(), attempt.begin(), attempt.end());
    EXPECT_EQ(order, expected);

    EXPECT_EQ(port.calls[2].bytes, (std::vector<std::uint8_t>{0x84, 0x00, 0x00}));
    EXPECT_EQ(port.calls[5].bytes, (std::vector<std::uint8_t>{0x55, 0x00, 0x00}));
    EXPECT_EQ(port.calls[8].bytes, (std::vector<std::uint8_t>{0x84, 0x00, 0x37}));
    EXPECT_EQ(port.calls[11].bytes, (std::vector<std::uint8_t>{0x55, 0x00, 0x37}));
    // The modem lines settle before the first block, the data before the read-back command.
    EXPECT_GE(port.calls[1].at - port.calls[0].at, 10ms);
    EXPECT_GE(port.calls[4].at - port.calls[3].at, 15ms);
}

struct LastAttemptRow {
    const char* name;
    std::vector<Answer> answers;
    UploadOutcome outcome;
    int attempts;
};

// Names the row in test listings instead of dumping its bytes.
void PrintTo(const LastAttemptRow& row, std::ostream* out) {
    *out << row.name;
}

class LastAttemptTest : public ::testing::TestWithParam<LastAttemptRow> {};

TEST_P(LastAttemptTest, LastAttemptChoosesTheOutcome) {
    const auto& row = GetParam();
    RecordingPort port;
    port.script.assign(row.answers.begin(), row.answers.end());
    std::array<std::uint8_t, kTransferBlockSize> data{};
    data.fill(0x5A);
    const UploadTimings quick{1ms, 1ms, 0ms, 0ms};
    const BlockResult result = writeBlock(port, 0x0080, data, quick);
    EXPECT_EQ(result.outcome, row.outcome);
    EXPECT_EQ(result.attempts, row.attempts);
}

constexpr Answer kEcho = Answer::Echo;
constexpr Answer kWrong = Answer::WrongByte;
constexpr Answer kShort = Answer::Short;

INSTANTIATE_TEST_SUITE_P(
    Rows, LastAttemptTest,
    ::testing::Values(
        LastAttemptRow{"FirstEcho", {kEcho}, UploadOutcome::Written, 1},
        LastAttemptRow{"EchoOnTheThird", {kShort, kWrong, kEcho}, UploadOutcome::Written, 3},
        LastAttemptRow{"ShortLast", {kWrong, kWrong, kWrong, kShort}, UploadOutcome::NoAnswer, 4},
        LastAttemptRow{"WrongLast", {kShort, kShort, kShort, kWrong}, UploadOutcome::Mismatch, 4},
        LastAttemptRow{
            "NoFifthAttempt", {kShort, kShort, kShort, kShort, kEcho}, UploadOutcome::NoAnswer, 4}),
    [](const ::testing::TestParamInfo<LastAttemptRow>& row) {
        return std::string(row.param.name);
    });

} // namespace
} // namespace tevra
