// A download of 500 steps over the simulator's paced 19200 8N2 line, with the default waits.
// Reports its time as a ratio to what the line alone takes: every read puts a 3-byte command
// out and takes 128 bytes back, 11 bits a byte (goal: at most 1.05).
#include "files/ProgramFile.h"
#include "link/PosixSerialPort.h"
#include "link/ReadBack.h"
#include "sim/SimulatedController.h"

#include <benchmark/benchmark.h>
#include <chrono>

namespace {

using namespace tevra;
using Seconds = std::chrono::duration<double>;

constexpr int kSteps = 500;
// 71 program blocks and the settings block, each read twice.
constexpr int kReads = 2 * 72;
constexpr int kBytesPerRead = 3 + 128;
constexpr Seconds kByteTime{11.0 / 19200.0};

void pacedDownload(benchmark::State& state) {
    SimulatorOptions options;
    options.paced = true;
    SimulatedController simulator(options);
    ProgramImage program = ProgramImage::startProgram();
    program.setStepCount(kSteps);
    simulator.load(kProgramAddress, programFileBytes(program));
    if (!simulator.start()) {
        state.SkipWithError(simulator.error().c_str());
        return;
    }
    Seconds total{};
    for (auto _ : state) {
        PosixSerialPort port;
        if (port.open(simulator.devicePath()) != PortOpenStatus::Opened) {
            state.SkipWithError("the simulator's device does not open");
            return;
        }
        const auto started = std::chrono::steady_clock::now();
        const DownloadReport report = downloadProgram(port, {});
        total += std::chrono::steady_clock::now() - started;
        if (report.outcome != ReadBackOutcome::Done || report.image.stepCount() != kSteps) {
            state.SkipWithError("the download failed");
            return;
        }
    }
    const Seconds perDownload = total / static_cast<double>(state.iterations());
    state.counters["ratio"] = perDownload / (kReads * kBytesPerRead * kByteTime);
    state.counters["seconds"] = perDownload.count();
}

BENCHMARK(pacedDownload)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

} // namespace

BENCHMARK_MAIN();
