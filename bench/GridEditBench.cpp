// Grid edits over the whole 500 x 16 program, each recorded in the undo history. Times are
// reported as ratios to their goals (at most 1): a fill or paste 2 ms, its undo or redo 1 ms;
// and the history's bytes for 1000 such entries as a ratio to 16 MB.
#include "model/EditorModel.h"
#include "model/GridEdits.h"

#include <benchmark/benchmark.h>
#include <chrono>
#include <random>

namespace tevra {
namespace {

using Millis = std::chrono::duration<double, std::milli>;

constexpr CellRange kWholeGrid{1, kMaxSteps, 0, kChannelCount - 1};
constexpr Millis kEditGoal{2.0};
constexpr Millis kUndoGoal{1.0};
constexpr std::size_t kMemoryGoalBytes = std::size_t{16} * 1024 * 1024;
constexpr int kEntries = 1000;

EditorModel fullModel() {
    EditorModel model;
    model.applyEdit("шаги", [](ProgramImage& image) {
        image.setStepCount(kMaxSteps);
        return true;
    });
    return model;
}

CellBlock randomBlock() {
    std::mt19937 random(3);
    CellBlock block(kMaxSteps, kChannelCount);
    for (int step = 0; step < kMaxSteps; ++step) {
        for (int channel = 0; channel < kChannelCount; ++channel) {
            block.setCell(step, channel, static_cast<std::uint8_t>(random()));
        }
    }
    return block;
}

void reportRatio(benchmark::State& state, Millis total, Millis goal) {
    state.counters["ratio"] = (total / static_cast<double>(state.iterations())) / goal;
}

void BM_FillWholeGrid(benchmark::State& state) {
    EditorModel model = fullModel();
    Millis total{0};
    std::uint8_t cell = 0;
    for (auto _ : state) {
        ++cell;
        const auto start = std::chrono::steady_clock::now();
        model.applyEdit("заполнение", [cell](ProgramImage& image) {
            fillCells(image, kWholeGrid, cell);
            return true;
        });
        total += std::chrono::steady_clock::now() - start;
    }
    reportRatio(state, total, kEditGoal);
}
BENCHMARK(BM_FillWholeGrid)->Unit(benchmark::kMicrosecond);

void BM_PasteWholeGrid(benchmark::State& state) {
    EditorModel model = fullModel();
    const CellBlock block = randomBlock();
    Millis total{0};
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        model.applyEdit("вставка", [&block](ProgramImage& image) {
            pasteBlock(image, block, 1, 0);
            return true;
        });
        total += std::chrono::steady_clock::now() - start;
        // The next paste must change the grid again to be recorded.
        state.PauseTiming();
        model.undo();
        state.ResumeTiming();
    }
    reportRatio(state, total, kEditGoal);
}
BENCHMARK(BM_PasteWholeGrid)->Unit(benchmark::kMicrosecond);

void BM_UndoRedoWholeGrid(benchmark::State& state) {
    EditorModel model = fullModel();
    const CellBlock block = randomBlock();
    model.applyEdit("вставка", [&block](ProgramImage& image) {
        pasteBlock(image, block, 1, 0);
        return true;
    });
    Millis total{0};
    bool undo = true;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        benchmark::DoNotOptimize(undo ? model.undo() : model.redo());
        total += std::chrono::steady_clock::now() - start;
        undo = !undo;
    }
    reportRatio(state, total, kUndoGoal);
}
BENCHMARK(BM_UndoRedoWholeGrid)->Unit(benchmark::kMicrosecond);

void BM_HistoryOfWholeGridFills(benchmark::State& state) {
    for (auto _ : state) {
        EditorModel model = fullModel();
        for (int k = 1; k <= kEntries; ++k) {
            model.applyEdit("заполнение", [k](ProgramImage& image) {
                fillCells(image, kWholeGrid, static_cast<std::uint8_t>(k));
                return true;
            });
        }
        const std::size_t bytes = model.undoHistory().memoryBytes();
        state.counters["bytes"] = static_cast<double>(bytes);
        state.counters["entries"] = static_cast<double>(model.undoHistory().size());
        state.counters["ratio"] =
            static_cast<double>(bytes) / static_cast<double>(kMemoryGoalBytes);
    }
}
BENCHMARK(BM_HistoryOfWholeGridFills)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace
} // namespace tevra
