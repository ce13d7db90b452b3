#include "link/ReadBack.h"

#include "files/ProgramFile.h"
#include "link/PosixSerialPort.h"
#include "sim/SimulatedController.h"

#include <gtest/gtest.h>

namespace tevra {
namespace {

using namespace std::chrono_literals;

// The time limits are not under test here: short waits keep the failure paths quick.
const UploadTimings kShortTimings{250ms, 250ms, 15ms, 10ms};

TEST(DownloadProgramTest, AcceptsABlockOnlyWhenTwoWholeAnswersAgree) {
    constexpr std::uint16_t kSettings = kConfigBlockAddress;
    // The 20-step start program takes blocks 0x0000, 0x0080 and 0x0100.
    const struct {
        const char* name;
        SimulatorOptions fault;
        ReadBackOutcome outcome;
        std::optional<std::uint16_t> failedAddress;
        std::vector<std::uint16_t> readBacks; // each read-back on the line, by address
    } rows[] = {
        {"wrong once",
         {.wrongByteOnAttempts = {1}},
         ReadBackOutcome::Done,
         {},
         {0, 0, 0, 0, 0x80, 0x80, 0x100, 0x100, kSettings, kSettings}},
        // A short or missing first answer ends the attempt without a second read.
        {"silent from the second block",
         {.silentFromBlock = 1},
         ReadBackOutcome::NoAnswer,
         0x0080,
         {0, 0, 0x80, 0x80, 0x80, 0x80}},
        {"short answers",
         {.shortAnswers = true},
         ReadBackOutcome::NoAnswer,
         0x0000,
         std::vector<std::uint16_t>(4, 0)},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        SimulatedController simulator(row.fault);
        ASSERT_TRUE(simulator.start()) << simulator.error();
        const ProgramImage program = ProgramImage::startProgram();
        simulator.load(kProgramAddress, programFileBytes(program));
        PosixSerialPort port;
        ASSERT_EQ(port.open(simulator.devicePath()), PortOpenStatus::Opened);

        std::vector<UploadProgress> progress;
        const DownloadReport report = downloadProgram(
            port, [&](const UploadProgress& step) { progress.push_back(step); }, kShortTimings);
        EXPECT_EQ(report.outcome, row.outcome);
        EXPECT_EQ(report.failedAddress, row.failedAddress);
        std::vector<std::uint16_t> readBacks;
        for (const SimulatorCommand& command : simulator.commands()) {
            EXPECT_EQ(command.code, kReadBackCommand);
            readBacks.push_back(command.address);
        }
        EXPECT_EQ(readBacks, row.readBacks);
        if (row.outcome == ReadBackOutcome::Done) {
            EXPECT_EQ(programFileBytes(report.image), programFileBytes(program));
            ASSERT_FALSE(progress.empty());
            EXPECT_EQ(progress.back().statusText, "Ok...");
        }
    }
}

} // namespace
} // namespace tevra
