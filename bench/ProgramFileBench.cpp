#include "files/ProgramFile.h"
#include "model/EditorModel.h"

#include <benchmark/benchmark.h>
#include <cstdint>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

namespace tevra {
namespace {

namespace fs = std::filesystem;

// A full 500-step program with every cell in use.
ProgramImage fullProgram() {
    ProgramImage image = ProgramImage::startProgram();
    image.setStepCount(kMaxSteps);
    for (int step = 1; step <= kMaxSteps; ++step) {
        for (int channel = 0; channel < kChannelCount; ++channel) {
            image.setCell(step, channel, static_cast<std::uint8_t>(step + channel));
        }
    }
    return image;
}

constexpr auto kFileLength500 =
    static_cast<std::int64_t>(kHeaderSize + kStepRecordSize * kMaxSteps);

class ScratchFolder {
public:
    ScratchFolder()
        : m_path(fs::temp_directory_path() /
                 ("tevra-bench-" + std::to_string(std::random_device{}()))) {
        fs::create_directories(m_path);
    }
    ~ScratchFolder() {
        std::error_code ignored;
        fs::remove_all(m_path, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    fs::path file(const char* name) const { return m_path / name; }

private:
    fs::path m_path;
};

// Includes the flush to disk that keeps a save safe, so it mostly measures the file system.
void BM_WriteProgramFile500(benchmark::State& state) {
    const ScratchFolder folder;
    const ProgramImage image = fullProgram();
    const fs::path file = folder.file("show.tvr");
    for (auto _ : state) {
        if (!writeProgramFile(file, image).ok()) {
            state.SkipWithError("save failed");
            break;
        }
    }
    state.SetBytesProcessed(state.iterations() * kFileLength500);
}
BENCHMARK(BM_WriteProgramFile500)->Unit(benchmark::kMicrosecond);

void BM_ReadProgramFile500(benchmark::State& state) {
    const ScratchFolder folder;
    const fs::path file = folder.file("show.tvr");
    if (!writeProgramFile(file, fullProgram()).ok()) {
        state.SkipWithError("save failed");
        return;
    }
    ProgramImage target;
    for (auto _ : state) {
        if (!readProgramFile(file, target).ok()) {
            state.SkipWithError("read failed");
            break;
        }
        benchmark::DoNotOptimize(target);
    }
    state.SetBytesProcessed(state.iterations() * kFileLength500);
}
BENCHMARK(BM_ReadProgramFile500)->Unit(benchmark::kMicrosecond);

void BM_ReadProgramBytes500(benchmark::State& state) {
    const std::vector<std::uint8_t> bytes = programFileBytes(fullProgram());
    ProgramImage target;
    for (auto _ : state) {
        benchmark::DoNotOptimize(readProgramBytes(bytes, target));
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_ReadProgramBytes500);

// The longest record move there is: each iteration inserts at step 1 of 499 and deletes it
// again, each with its 9130-byte snapshot.
void BM_InsertAndDeleteStepAtStep1(benchmark::State& state) {
    EditorModel model;
    model.workingForRead() = fullProgram();
    model.workingForRead().setStepCount(kMaxSteps - 1);
    for (auto _ : state) {
        model.setCurrentStep(1);
        model.insertStep();
        model.setCurrentStep(1);
        model.deleteStep();
        benchmark::DoNotOptimize(model.working());
    }
}
BENCHMARK(BM_InsertAndDeleteStepAtStep1);

void BM_CopyHalfTheProgram(benchmark::State& state) {
    EditorModel model;
    model.workingForRead() = fullProgram();
    for (auto _ : state) {
        model.copySteps(model.working(), {1, 250, 251, 500});
        benchmark::DoNotOptimize(model.working());
    }
}
BENCHMARK(BM_CopyHalfTheProgram);

} // namespace
} // namespace tevra
