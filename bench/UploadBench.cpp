// Whole uploads over a pseudo-terminal with the default one-second waits. Each reports its time
// as a ratio to what the line and the fixed pauses alone would take (goal: at most 1.03 with an
// instant line, at most 1.0 paced at 19200 8N2), or the seconds a silent controller costs.
#include "link/PosixSerialPort.h"
#include "link/Upload.h"
#include "sim/SimulatedController.h"

#include <benchmark/benchmark.h>
#include <chrono>

namespace {

using namespace tevra;
using Seconds = std::chrono::duration<double>;

constexpr int kSteps = 500;
// 71 program blocks and the settings block.
constexpr int kBlocks = 72;
constexpr Seconds kSettlePause = std::chrono::milliseconds{15};
constexpr Seconds kModemLinePause = std::chrono::milliseconds{10};
// 11 bits a byte at 19200 baud; an attempt puts 3 + 128 + 3 bytes out and 128 back, 262 in all.
constexpr Seconds kByteTime{11.0 / 19200.0};
constexpr int kBytesPerAttempt = 262;

ProgramImage longProgram() {
    ProgramImage image = ProgramImage::startProgram();
    image.setStepCount(kSteps);
    return image;
}

// Runs one upload per iteration and returns the mean seconds per upload.
Seconds timeUploads(benchmark::State& state, const SimulatorOptions& options,
                    UploadOutcome expected) {
    SimulatedController simulator(options);
    if (!simulator.start()) {
        state.SkipWithError(simulator.error().c_str());
        return {};
    }
    const ProgramImage image = longProgram();
    const ConfigBlock config{};
    Seconds total{};
    for (auto _ : state) {
        PosixSerialPort port;
        if (port.open(simulator.devicePath()) != PortOpenStatus::Opened) {
            state.SkipWithError("the simulator's device does not open");
            return {};
        }
        const auto started = std::chrono::steady_clock::now();
        const UploadReport report = uploadProgram(port, image, config, {});
        total += std::chrono::steady_clock::now() - started;
        if (report.outcome != expected) {
            state.SkipWithError(uploadMessage(report.outcome));
            return {};
        }
    }
    return total / static_cast<double>(state.iterations());
}

void instantLine(benchmark::State& state) {
    const Seconds perUpload = timeUploads(state, {}, UploadOutcome::Written);
    const Seconds floor = kBlocks * kSettlePause + kModemLinePause;
    state.counters["ratio"] = perUpload / floor;
    state.counters["seconds"] = perUpload.count();
}

void pacedLine(benchmark::State& state) {
    SimulatorOptions options;
    options.paced = true;
    const Seconds perUpload = timeUploads(state, options, UploadOutcome::Written);
    const Seconds floor = kBlocks * (kBytesPerAttempt * kByteTime + kSettlePause) + kModemLinePause;
    state.counters["ratio"] = perUpload / floor;
    state.counters["seconds"] = perUpload.count();
}

void silentController(benchmark::State& state) {
    SimulatorOptions options;
    options.silentFromBlock = 0;
    const Seconds perUpload = timeUploads(state, options, UploadOutcome::NoAnswer);
    state.counters["seconds"] = perUpload.count();
}

BENCHMARK(instantLine)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(pacedLine)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);
BENCHMARK(silentController)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

} // namespace

BENCHMARK_MAIN();
