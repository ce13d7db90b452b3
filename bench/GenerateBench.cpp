// The pattern generator over a whole 500 x 16 program, in the model (goal: at most 1 ms) and
// through `tevra generate` from process start to the file written (goal: at most 20 ms). Each
// reports its time as a ratio to its goal.
#include "files/ProgramFile.h"
#include "model/Generation.h"

#include <benchmark/benchmark.h>
#include <chrono>
#include <filesystem>
#include <numeric>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace tevra {
namespace {

namespace fs = std::filesystem;
using Millis = std::chrono::duration<double, std::milli>;

constexpr Millis kModelGoal{1};
constexpr Millis kToolGoal{20};
using Clock = std::chrono::steady_clock;

double ratio(Millis total, const benchmark::State& state, Millis goal) {
    return total / static_cast<double>(state.iterations()) / goal;
}

Generation wholeProgram(PatternKind kind) {
    Generation generation;
    generation.shape.kind = kind;
    generation.shape.width = 3;
    generation.channels.resize(kChannelCount);
    std::iota(generation.channels.begin(), generation.channels.end(), 0);
    generation.lastStep = kMaxSteps;
    generation.timing = *StepTempo::parse("127,5", 2);
    return generation;
}

void BM_GenerateInModel(benchmark::State& state) {
    const auto kind = static_cast<PatternKind>(state.range(0));
    const Generation generation = wholeProgram(kind);
    const ProgramImage start = ProgramImage::startProgram();
    ProgramImage image;
    Millis total{};
    for (auto _ : state) {
        const auto started = Clock::now();
        image = start;
        benchmark::DoNotOptimize(applyGeneration(image, generation));
        benchmark::ClobberMemory();
        total += Clock::now() - started;
    }
    state.SetLabel(kPatternNames[static_cast<std::size_t>(state.range(0))].name);
    state.counters["ratio"] = ratio(total, state, kModelGoal);
}
BENCHMARK(BM_GenerateInModel)
    ->DenseRange(0, kPatternNames.size() - 1)
    ->Unit(benchmark::kMicrosecond);

int runTool(std::vector<std::string> args) {
    std::vector<char*> argv;
    for (auto& arg : args) {
        argv.push_back(arg.data());
    }
    argv.push_back(nullptr);
    pid_t pid = -1;
    int status = -1;
    if (::posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0 ||
        ::waitpid(pid, &status, 0) != pid) {
        return -1;
    }
    return status;
}

void BM_GenerateTool(benchmark::State& state) {
    const fs::path folder =
        fs::temp_directory_path() / ("tevra-bench-" + std::to_string(::getpid()));
    fs::create_directories(folder);
    const std::string file = (folder / "show.tvr").string();
    ProgramImage image = ProgramImage::startProgram();
    image.setStepCount(kMaxSteps);
    if (!writeProgramFile(file, image).ok()) {
        state.SkipWithError("save failed");
    }
    Millis total{};
    for (auto _ : state) {
        const auto started = Clock::now();
        const int status =
            runTool({TEVRA_TOOL_PATH, "generate", "random", "--bpm", "127,5", file, file});
        total += Clock::now() - started;
        if (status != 0) {
            state.SkipWithError("tevra generate failed");
            break;
        }
    }
    fs::remove_all(folder);
    state.counters["ratio"] = ratio(total, state, kToolGoal);
}
BENCHMARK(BM_GenerateTool)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
} // namespace tevra
