#include "ui/editor/EditorPresenter.h"

#include <benchmark/benchmark.h>

namespace tevra {
namespace {

constexpr int kLargeProgramSteps = kMaxSteps - 1;
constexpr int kMidStep = 250;

// A 499-step program positioned mid-way, with a dimmer on the selected channel so that the
// detail slider takes part in every refresh.
void prepare(EditorPresenter& p) {
    p.model().workingForRead().setStepCount(kLargeProgramSteps);
    p.programRead();
    p.sliderMoved(EditorSlider::StepSelector, kMidStep);
    constexpr int kDimmerPosition = 6;
    p.model().workingForRead().setCell(
        kMidStep, 0, dimmerCodeFromSlider(kDimmerPosition, withMode(0, ChannelMode::DimmerLit)));
    p.refresh();
}

// Runs one user action per iteration and reports the refresh passes it needed.
template <typename Action> void runAction(benchmark::State& state, Action action) {
    EditorPresenter p;
    prepare(p);
    std::int64_t passes = 0;
    for (auto _ : state) {
        action(p);
        passes += p.lastRefreshPasses();
        benchmark::DoNotOptimize(p.view());
    }
    state.counters["refresh_passes"] =
        benchmark::Counter(static_cast<double>(passes), benchmark::Counter::kAvgIterations);
}

void BM_ArrowRightLeft(benchmark::State& state) {
    bool right = true;
    runAction(state, [&right](EditorPresenter& p) {
        p.arrowPressed(right ? ArrowKey::Right : ArrowKey::Left);
        right = !right;
    });
}
BENCHMARK(BM_ArrowRightLeft);

void BM_ArrowUpDown(benchmark::State& state) {
    bool up = true;
    runAction(state, [&up](EditorPresenter& p) {
        p.arrowPressed(up ? ArrowKey::Up : ArrowKey::Down);
        up = !up;
    });
}
BENCHMARK(BM_ArrowUpDown);

void BM_PrimaryButtonClick(benchmark::State& state) {
    runAction(state, [](EditorPresenter& p) {
        constexpr int kChannel = 5;
        const ButtonState before = p.view().channels[kChannel].primaryState;
        p.channelButtonClicked(kChannel, ChannelButton::Primary,
                               ChannelFaces::stateAfterClick(before));
    });
}
BENCHMARK(BM_PrimaryButtonClick);

void BM_DimmerSliderMove(benchmark::State& state) {
    int position = kDimmerSliderMin;
    runAction(state, [&position](EditorPresenter& p) {
        position = position % kDimmerSliderMax + 1;
        p.sliderMoved(EditorSlider::DimmerSpeed, position);
    });
}
BENCHMARK(BM_DimmerSliderMove);

void BM_StepSelectorMove(benchmark::State& state) {
    int step = 1;
    runAction(state, [&step](EditorPresenter& p) {
        step = step % kLargeProgramSteps + 1;
        p.sliderMoved(EditorSlider::StepSelector, step);
    });
}
BENCHMARK(BM_StepSelectorMove);

// Insert near the start moves almost all 500 records; delete puts the count back so the
// program never fills up.
void BM_InsertThenDeleteStep(benchmark::State& state) {
    bool insert = true;
    runAction(state, [&insert](EditorPresenter& p) {
        if (insert) {
            p.sliderMoved(EditorSlider::StepSelector, 1);
            p.insertStepClicked();
        } else {
            p.deleteStepClicked();
        }
        insert = !insert;
    });
}
BENCHMARK(BM_InsertThenDeleteStep);

void BM_TabAroundTheChannels(benchmark::State& state) {
    runAction(state, [](EditorPresenter& p) { p.tabPressed({}, false); });
}
BENCHMARK(BM_TabAroundTheChannels);

} // namespace
} // namespace tevra
