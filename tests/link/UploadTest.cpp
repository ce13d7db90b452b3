#include "link/Upload.h"

#include "link/PosixSerialPort.h"
#include "sim/SimulatedController.h"

#include <algorithm>
#include <functional>
#include <gtest/gtest.h>
#include <numeric>
#include <ostream>
#include <string>

namespace tevra {
namespace {

using namespace std::chrono_literals;

// The time limits are not under test here: short waits keep the failure paths quick.
const UploadTimings kShortTimings{250ms, 250ms, 15ms, 10ms};
constexpr std::chrono::milliseconds kEventWait{2000};

ConfigBlock sampleConfig() {
    ConfigBlock block{};
    for (std::size_t i = 0; i < block.size(); ++i) {
        block[i] = static_cast<std::uint8_t>(0xA0 ^ i);
    }
    return block;
}

ProgramImage programWithSteps(int steps) {
    ProgramImage image = ProgramImage::startProgram();
    image.setStepCount(steps);
    return image;
}

std::vector<std::uint16_t> writeAddresses(const SimulatedController::CommandLog& log) {
    std::vector<std::uint16_t> addresses;
    for (const auto& command : log) {
        if (command.code == kWriteCommand) {
            addresses.push_back(command.address);
        }
    }
    return addresses;
}

std::vector<std::uint8_t> attemptOnTheLine(std::uint16_t address,
                                           std::span<const std::uint8_t> data) {
    const auto low = static_cast<std::uint8_t>(address & 0xFF);
    const auto high = static_cast<std::uint8_t>(address >> 8);
    std::vector<std::uint8_t> bytes(data.size() + 6);
    bytes[0] = kWriteCommand;
    bytes[1] = low;
    bytes[2] = high;
    std::copy(data.begin(), data.end(), bytes.begin() + 3);
    bytes[data.size() + 3] = kReadBackCommand;
    bytes[data.size() + 4] = low;
    bytes[data.size() + 5] = high;
    return bytes;
}

class UploadTest : public ::testing::Test {
protected:
    void startSimulator(const std::function<void(SimulatorOptions&)>& configure = {}) {
        SimulatorOptions options;
        if (configure) {
            configure(options);
        }
        m_simulator = std::make_unique<SimulatedController>(std::move(options));
        ASSERT_TRUE(m_simulator->start()) << m_simulator->error();
        ASSERT_EQ(m_port.open(m_simulator->devicePath()), PortOpenStatus::Opened);
    }

    UploadReport upload(const ProgramImage& image, const UploadTimings& timings = kShortTimings) {
        return uploadProgram(
            m_port, image, m_config,
            [this](const UploadProgress& progress) { m_progress.push_back(progress); }, timings);
    }

    std::unique_ptr<SimulatedController> m_simulator;
    PosixSerialPort m_port;
    ConfigBlock m_config = sampleConfig();
    std::vector<UploadProgress> m_progress;
};

TEST_F(UploadTest, StartProgramGoesAsThreeVerifiedBlocksThenTheSettingsBlock) {
    startSimulator();
    const ProgramImage image = ProgramImage::startProgram();
    const UploadReport report = upload(image);
    EXPECT_EQ(report.outcome, UploadOutcome::Written);
    EXPECT_EQ(uploadMessage(report.outcome), std::string("Контроллер записан!"));
    EXPECT_FALSE(report.failedAddress.has_value());

    std::vector<std::uint8_t> expected;
    const auto bytes = image.bytes();
    for (std::uint16_t block = 0; block < 3; ++block) {
        const auto line = attemptOnTheLine(static_cast<std::uint16_t>(block * 0x80),
                                           bytes.subspan(block * 128u, 128));
        expected.insert(expected.end(), line.begin(), line.end());
    }
    const auto config = attemptOnTheLine(kConfigBlockAddress, m_config);
    expected.insert(expected.end(), config.begin(), config.end());
    EXPECT_EQ(m_simulator->receivedBytes(), expected);

    // Step 1 follows the header word 20: 1 s, all channels off.
    const std::vector<std::uint8_t> firstBytes(expected.begin() + 3, expected.begin() + 7);
    EXPECT_EQ(firstBytes, (std::vector<std::uint8_t>{0x14, 0x00, 0x64, 0x00}));
    EXPECT_TRUE(std::equal(bytes.begin(), bytes.begin() + 384, m_simulator->memory().begin()));
    EXPECT_EQ(m_simulator->settingsBlock(), m_config);

    std::vector<std::pair<int, std::string>> seen;
    for (const auto& progress : m_progress) {
        EXPECT_EQ(progress.rangeMax, 3);
        seen.emplace_back(progress.position, progress.statusText);
    }
    EXPECT_EQ(
        seen,
        (std::vector<std::pair<int, std::string>>{
            {0, "Запись..."}, {1, "Запись..."}, {2, "Запись..."}, {3, "Запись..."}, {4, "Ok..."}}));
}

struct BlockCountRow {
    int steps;
    int blocks;
};

// Names the row in test listings instead of dumping its bytes.
void PrintTo(const BlockCountRow& row, std::ostream* out) {
    *out << row.steps << " steps";
}

class UploadBlockCountTest : public UploadTest,
                             public ::testing::WithParamInterface<BlockCountRow> {};

TEST_P(UploadBlockCountTest, SendsCeilingOfProgramBytesOverBlockSize) {
    const auto [steps, blocks] = GetParam();
    startSimulator();
    const ProgramImage image = programWithSteps(steps);
    EXPECT_EQ(programBlockCount(image), blocks);
    ASSERT_EQ(upload(image).outcome, UploadOutcome::Written);

    std::vector<std::uint16_t> addresses;
    for (int block = 0; block < blocks; ++block) {
        addresses.push_back(static_cast<std::uint16_t>(block * 0x80));
    }
    addresses.push_back(kConfigBlockAddress);
    EXPECT_EQ(writeAddresses(m_simulator->commands()), addresses);
    EXPECT_EQ(m_progress.front().rangeMax, blocks);
    EXPECT_EQ(m_progress.back().position, blocks + 1);
    const auto memory = m_simulator->memory();
    const auto sent = static_cast<std::ptrdiff_t>(blocks * 128);
    EXPECT_TRUE(std::equal(image.bytes().begin(), image.bytes().begin() + sent, memory.begin()));
}

INSTANTIATE_TEST_SUITE_P(Rows, UploadBlockCountTest,
                         ::testing::Values(BlockCountRow{0, 1}, BlockCountRow{7, 1},
                                           BlockCountRow{8, 2}, BlockCountRow{20, 3},
                                           BlockCountRow{500, 71}),
                         [](const ::testing::TestParamInfo<BlockCountRow>& row) {
                             return std::to_string(row.param.steps) + "Steps";
                         });

TEST(UploadBlockCount, AHeaderClaimingMoreThanTheImageHoldsStopsAtItsEnd) {
    ProgramImage image = ProgramImage::startProgram();
    image.setHeaderWord(0x7FFF);
    EXPECT_EQ(programBlockCount(image), 71);
}

TEST_F(UploadTest, CarriesBytesThatACookedTerminalWouldMangleAndTheStartBlockBit) {
    startSimulator();
    ProgramImage image = ProgramImage::startProgram();
    const std::vector<std::uint8_t> awkward{0x0D, 0x0A, 0x11, 0x13, 0x03, 0x1A, 0x7F, 0xFF,
                                            0x04, 0x1C, 0x15, 0x17, 0x12, 0x16, 0x0F, 0x00};
    for (int step = 1; step <= 20; ++step) {
        for (int channel = 0; channel < kChannelCount; ++channel) {
            image.setCell(step, channel,
                          awkward[static_cast<std::size_t>((step + channel) % kChannelCount)]);
        }
    }
    image.setStepTime(1, 0x0D0A);
    image.setStartBlock(true);
    ASSERT_EQ(upload(image).outcome, UploadOutcome::Written);
    const auto memory = m_simulator->memory();
    EXPECT_TRUE(std::equal(image.bytes().begin(), image.bytes().begin() + 384, memory.begin()));
    EXPECT_EQ(memory[1], 0x80) << "the start block bit goes as stored";
}

TEST_F(UploadTest, WrongByteOnceIsRepeatedAndTheNextBlockHasAFullBudget) {
    // Read-back 1 (block 0) fails once; read-backs 3, 4 and 5 (block 1) fail three times.
    startSimulator([](SimulatorOptions& options) { options.wrongByteOnAttempts = {1, 3, 4, 5}; });
    EXPECT_EQ(upload(ProgramImage::startProgram()).outcome, UploadOutcome::Written);
    const auto addresses = writeAddresses(m_simulator->commands());
    EXPECT_EQ(std::count(addresses.begin(), addresses.end(), 0x0000), 2);
    EXPECT_EQ(std::count(addresses.begin(), addresses.end(), 0x0080), 4);
    EXPECT_EQ(std::count(addresses.begin(), addresses.end(), 0x0100), 1);
}

TEST_F(UploadTest, MismatchOnEveryAttemptEndsWithWriteError) {
    startSimulator([](SimulatorOptions& options) { options.wrongByteOnAttempts = {1, 2, 3, 4}; });
    const ProgramImage image = ProgramImage::startProgram();
    const UploadReport report = upload(image);
    EXPECT_EQ(report.outcome, UploadOutcome::Mismatch);
    EXPECT_EQ(uploadMessage(report.outcome), std::string("Ошибка записи!"));
    EXPECT_EQ(report.failedAddress, 0x0000);
    ASSERT_EQ(report.received.size(), 128u);
    ASSERT_EQ(report.expected.size(), 128u);
    EXPECT_TRUE(std::equal(report.expected.begin(), report.expected.end(), image.bytes().begin()));
    // What came back is the block with the one byte the controller changed.
    EXPECT_EQ(std::inner_product(report.received.begin(), report.received.end(),
                                 report.expected.begin(), 0, std::plus<>(), std::not_equal_to<>()),
              1);
    EXPECT_EQ(writeAddresses(m_simulator->commands()), std::vector<std::uint16_t>(4, 0x0000));
    EXPECT_EQ(m_progress.back().position, 0);
}

TEST_F(UploadTest, SilenceMidUploadEndsWithNoAnswerAndNoSettingsBlock) {
    startSimulator([](SimulatorOptions& options) { options.silentFromBlock = 1; });
    const UploadReport report = upload(ProgramImage::startProgram());
    EXPECT_EQ(report.outcome, UploadOutcome::NoAnswer);
    EXPECT_EQ(uploadMessage(report.outcome), std::string("Нет ответа контроллера!"));
    EXPECT_EQ(report.failedAddress, 0x0080);
    EXPECT_TRUE(report.received.empty());
    EXPECT_EQ(writeAddresses(m_simulator->commands()),
              (std::vector<std::uint16_t>{0x0000, 0x0080, 0x0080, 0x0080, 0x0080}));
    EXPECT_EQ(m_progress.back().position, 1);
    EXPECT_EQ(m_progress.back().statusText, "Запись...");
}

TEST_F(UploadTest, ShortAnswersCountAsNoAnswer) {
    startSimulator([](SimulatorOptions& options) { options.shortAnswers = true; });
    const UploadReport report = upload(ProgramImage::startProgram());
    EXPECT_EQ(report.outcome, UploadOutcome::NoAnswer);
    EXPECT_EQ(report.received.size(), 127u);
    EXPECT_EQ(writeAddresses(m_simulator->commands()).size(), 4u);
}

TEST_F(UploadTest, DeviceThatHangsUpEndsQuicklyWithNoAnswer) {
    startSimulator([](SimulatorOptions& options) { options.hangUpAfterBlock = 0; });
    const auto started = std::chrono::steady_clock::now();
    // The full one-second waits: a hung-up line must not use them up.
    const UploadReport report = upload(ProgramImage::startProgram(), UploadTimings{});
    EXPECT_LT(std::chrono::steady_clock::now() - started, 1000ms);
    EXPECT_EQ(report.outcome, UploadOutcome::NoAnswer);
    EXPECT_EQ(report.failedAddress, 0x0080);
    EXPECT_TRUE(m_simulator->waitForHangUp(kEventWait));
}

} // namespace
} // namespace tevra
