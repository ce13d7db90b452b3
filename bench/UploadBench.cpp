// Whole uploads with the default one-second waits. Each reports its time as a ratio to what the
// line and the fixed pauses alone would take (goal: at most 1.03 with an instant line, at most
// 1.0 paced at 19200 8N2; at most 1.10 for the Windows build under Wine), or the seconds a silent
// controller costs.
//
// Windows has no pseudo-terminals, so there the simulated controllers run outside, as
// `tevra simulate` (instant line) and `tevra simulate --pace`, and the benchmark reaches them
// through the COM ports given as --instant-port=COMn and --paced-port=COMn.
#include "bench/UploadFloors.h"
#include "link/SerialPort.h"
#include "link/Upload.h"
#ifndef _WIN32
#include "sim/SimulatedController.h"
#endif

#include <benchmark/benchmark.h>
#include <chrono>
#include <string>
#include <string_view>

namespace {

using namespace tevra;
using namespace tevra::bench;

// Runs one upload per iteration to the controller at device and returns the mean seconds per
// upload.
Seconds timeUploads(benchmark::State& state, const std::string& device, UploadOutcome expected) {
    const ProgramImage image = longProgram();
    const ConfigBlock config{};
    Seconds total{};
    for (auto _ : state) {
        const auto port = createSystemSerialPort();
        if (port->open(device) != PortOpenStatus::Opened) {
            state.SkipWithError(("the device " + device + " does not open").c_str());
            return {};
        }
        const auto started = std::chrono::steady_clock::now();
        const UploadReport report = uploadProgram(*port, image, config, {});
        total += std::chrono::steady_clock::now() - started;
        if (report.outcome != expected) {
            state.SkipWithError(uploadMessage(report.outcome));
            return {};
        }
    }
    return total / static_cast<double>(state.iterations());
}

void reportRatio(benchmark::State& state, Seconds perUpload, Seconds floor) {
    state.counters["ratio"] = perUpload / floor;
    state.counters["seconds"] = perUpload.count();
}

#ifdef _WIN32

void registerUploads(const char* name, const std::string& port, Seconds floor, int iterations) {
    benchmark::RegisterBenchmark(
        name,
        [port, floor](benchmark::State& state) {
            reportRatio(state, timeUploads(state, port, UploadOutcome::Written), floor);
        })
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime()
        ->Iterations(iterations);
}

#else

Seconds timeSimulatedUploads(benchmark::State& state, const SimulatorOptions& options,
                             UploadOutcome expected) {
    SimulatedController simulator(options);
    if (!simulator.start()) {
        state.SkipWithError(simulator.error().c_str());
        return {};
    }
    return timeUploads(state, simulator.devicePath(), expected);
}

void instantLine(benchmark::State& state) {
    reportRatio(state, timeSimulatedUploads(state, {}, UploadOutcome::Written), kInstantFloor);
}

void pacedLine(benchmark::State& state) {
    SimulatorOptions options;
    options.paced = true;
    reportRatio(state, timeSimulatedUploads(state, options, UploadOutcome::Written), kPacedFloor);
}

void silentController(benchmark::State& state) {
    SimulatorOptions options;
    options.silentFromBlock = 0;
    const Seconds perUpload = timeSimulatedUploads(state, options, UploadOutcome::NoAnswer);
    state.counters["seconds"] = perUpload.count();
}

BENCHMARK(instantLine)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(pacedLine)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);
BENCHMARK(silentController)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

#endif

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
#ifdef _WIN32
    std::string instantPort;
    std::string pacedPort;
    int kept = 1;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg.starts_with("--instant-port=")) {
            instantPort = arg.substr(arg.find('=') + 1);
        } else if (arg.starts_with("--paced-port=")) {
            pacedPort = arg.substr(arg.find('=') + 1);
        } else {
            argv[kept++] = argv[i];
        }
    }
    argc = kept;
    if (!instantPort.empty()) {
        registerUploads("instantLine", instantPort, kInstantFloor, 5);
    }
    if (!pacedPort.empty()) {
        registerUploads("pacedLine", pacedPort, kPacedFloor, 1);
    }
#endif
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
