// The pattern dialog's preview over a selection of the whole 500 x 16 program: one change of a
// control until the preview has painted (goal: at most 16 ms, one frame), as a ratio to it.
#include "ui/dialogs/CPatternDlg.h"

#include <QSpinBox>
#include <benchmark/benchmark.h>
#include <chrono>

namespace tevra {
namespace {

using Millis = std::chrono::duration<double, std::milli>;
constexpr Millis kPreviewGoal{16};

void BM_PatternPreviewUpdate(benchmark::State& state) {
    ProgramImage program = ProgramImage::startProgram();
    program.setStepCount(kMaxSteps);
    CPatternDlg dialog(program, CellRange{1, kMaxSteps, 0, kChannelCount - 1});
    dialog.show();
    auto* width = dialog.findChild<QSpinBox*>(QStringLiteral("widthSpin"));
    auto* preview = dialog.findChild<QWidget*>(QStringLiteral("preview"));
    if (!preview->isVisible()) {
        state.SkipWithError("the preview is not shown, so it would not paint");
        return;
    }
    Millis total{};
    int value = 1;
    for (auto _ : state) {
        const auto started = std::chrono::steady_clock::now();
        value = value % (kChannelCount - 1) + 1;
        width->setValue(value);
        preview->repaint();
        total += std::chrono::steady_clock::now() - started;
    }
    state.counters["ratio"] = total / static_cast<double>(state.iterations()) / kPreviewGoal;
    state.counters["preview_px"] = preview->width();
}
BENCHMARK(BM_PatternPreviewUpdate)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace tevra
