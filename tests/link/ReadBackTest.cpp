#include "link/ReadBack.h"

#include "files/ProgramFile.h"
#include "link/PosixSerialPort.h"
#include "sim/SimulatedController.h"

#include <gtest/gtest.h>
#include <tuple>

namespace tevra {
namespace {

TEST(DownloadProgramTest, AShortOrMissingFirstAnswerEndsTheAttemptWithoutASecondRead) {
    using namespace std::chrono_literals;
    // The answers that never come cost the whole wait: short waits keep these rows quick.
    const UploadTimings shortTimings{250ms, 250ms, 15ms, 10ms};
    // The fault, the block that failed, and the reads on the line.
    const std::tuple<SimulatorOptions, std::uint16_t, std::size_t> rows[] = {
        {{.silentFromBlock = 1}, 0x0080, 2 + 4},
        {{.shortAnswers = true}, 0x0000, 4},
    };
    for (const auto& [fault, failedAddress, reads] : rows) {
        SimulatedController simulator(fault);
        ASSERT_TRUE(simulator.start()) << simulator.error();
        simulator.load(kProgramAddress, programFileBytes(ProgramImage::startProgram()));
        PosixSerialPort port;
        ASSERT_EQ(port.open(simulator.devicePath()), PortOpenStatus::Opened);
        const DownloadReport report = downloadProgram(port, {}, shortTimings);
        EXPECT_EQ(report.outcome, ReadBackOutcome::NoAnswer);
        EXPECT_EQ(report.failedAddress, failedAddress);
        EXPECT_EQ(simulator.commandCount(), reads);
    }
}

} // namespace
} // namespace tevra
