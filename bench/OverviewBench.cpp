#include "files/ProgramFile.h"
#include "ui/editor/CEditorDlg.h"
#include "ui/overview/GridEditor.h"
#include "ui/overview/OverviewGridView.h"

#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QPainter>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <random>

namespace tevra {
namespace {

using std::chrono::microseconds;

// 500 steps of every mode and many times, as a file brings them.
ProgramImage fullProgram() {
    ProgramImage program = ProgramImage::startProgram();
    program.setStepCount(kMaxSteps);
    std::mt19937 random(11);
    std::uniform_int_distribution<int> stepTime(kMinStepTime, kMaxStepTime);
    std::uniform_int_distribution<int> cell(0, 255);
    for (int step = 1; step <= kMaxSteps; ++step) {
        program.setStepTime(step, static_cast<std::uint16_t>(stepTime(random)));
        for (int channel = 0; channel < kChannelCount; ++channel) {
            program.setCell(step, channel, static_cast<std::uint8_t>(cell(random)));
        }
    }
    return program;
}

// Every step and channel, header included, in uniform columns.
void BM_PaintWholeGrid(benchmark::State& state) {
    EditorPresenter editor;
    editor.model().workingForRead() = fullProgram();
    editor.programRead();
    OverviewPresenter overview(editor, [] { return microseconds{0}; });
    const GridSelection selection;
    OverviewGridView view(overview, selection);
    const GridLayout& layout = overview.layout();
    QImage image(layout.width(), GridLayout::height(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        QPainter painter(&image);
        view.paintGrid(painter, image.rect());
    }
    state.counters["width_px"] = layout.width();
}
BENCHMARK(BM_PaintWholeGrid)->Unit(benchmark::kMillisecond);

// A paste over every cell (or its undo), then the grid repainted with the selection over it:
// as wide as the arg in pixels, a full-HD screen's worth, or with 0 every column, not only
// the visible ones. Reported as a ratio to one 60 Hz frame (goal: at most 1).
void BM_RepaintAfterWholeGridPaste(benchmark::State& state) {
    using Millis = std::chrono::duration<double, std::milli>;
    constexpr Millis kFrame{16.0};
    EditorPresenter editor;
    editor.model().workingForRead() = fullProgram();
    editor.programRead();
    OverviewPresenter overview(editor, [] { return microseconds{0}; });
    GridSelection selection;
    GridEditor grid(editor, selection);
    OverviewGridView view(overview, selection);
    grid.selectAll();
    const CellBlock block = grid.copy();
    grid.fill(0);
    const int width =
        state.range(0) > 0 ? static_cast<int>(state.range(0)) : overview.layout().width();
    QImage image(width, GridLayout::height(), QImage::Format_ARGB32_Premultiplied);
    Millis total{0};
    bool pasted = false;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        pasted ? grid.undo() : grid.paste(block);
        overview.refresh();
        QPainter painter(&image);
        view.paintGrid(painter, image.rect());
        painter.end();
        total += std::chrono::steady_clock::now() - start;
        pasted = !pasted;
    }
    state.counters["ratio"] = (total / static_cast<double>(state.iterations())) / kFrame;
}
BENCHMARK(BM_RepaintAfterWholeGridPaste)->Arg(1920)->Arg(0)->Unit(benchmark::kMillisecond);

void sendKey(QWidget* receiver, Qt::Key key) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(receiver, &press);
}

// An arrow key in the editor on the 500-step program, until both windows have painted; the
// overview closed (arg 0) or open (arg 1).
void BM_EditorArrowKey(benchmark::State& state) {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("full.tvr"));
    writeProgramFile(file.toStdString(), fullProgram());
    CEditorDlg editor;
    editor.show();
    editor.loadProgram(file);
    if (state.range(0) != 0) {
        sendKey(&editor, Qt::Key_F2);
    }
    QApplication::processEvents();
    bool right = true;
    std::int64_t passes = 0;
    for (auto _ : state) {
        sendKey(&editor, right ? Qt::Key_Right : Qt::Key_Left);
        right = !right;
        passes += editor.presenter().lastRefreshPasses();
        QApplication::processEvents();
    }
    state.counters["refresh_passes"] =
        benchmark::Counter(static_cast<double>(passes), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_EditorArrowKey)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// 500 steps at 4x read on frames of 16 ms, even (arg 0) or uneven by up to the arg in
// microseconds: how far the schedule's step starts lie from the exact sums, and how late the
// frames show them.
void BM_PlaybackDrift(benchmark::State& state) {
    ProgramImage program = fullProgram();
    std::mt19937 random(5);
    std::uniform_int_distribution<int> stepTime(kMinStepTime, 40);
    for (int step = 1; step <= kMaxSteps; ++step) {
        program.setStepTime(step, static_cast<std::uint16_t>(stepTime(random)));
    }
    const auto unevenness = static_cast<int>(state.range(0));
    std::uniform_int_distribution<int> jitter(-unevenness, unevenness);
    constexpr microseconds kFrame{16'000};
    microseconds worstError{0};
    microseconds worstLateness{0};
    for (auto _ : state) {
        microseconds now{0};
        PlaybackSchedule schedule(program, [&now] { return now; });
        schedule.setSpeed(PlaybackSpeed::Quadruple);
        schedule.play(1);
        microseconds exactStart{0};
        int begun = 0;
        int playing = 1;
        while (begun < kMaxSteps) {
            now += kFrame + microseconds{jitter(random)};
            if (!schedule.advance()) {
                continue;
            }
            // Count every step that began since the last frame.
            while (playing != *schedule.playingStep()) {
                exactStart += microseconds{10'000 * program.stepTime(playing) / 4};
                playing = playing % kMaxSteps + 1;
                ++begun;
            }
            const microseconds error = schedule.stepStart() - exactStart;
            worstError = std::max(worstError, error < microseconds{0} ? -error : error);
            worstLateness = std::max(worstLateness, now - exactStart);
        }
    }
    state.counters["start_error_ms"] = static_cast<double>(worstError.count()) / 1000.0;
    state.counters["shown_late_ms"] = static_cast<double>(worstLateness.count()) / 1000.0;
}
BENCHMARK(BM_PlaybackDrift)->Arg(0)->Arg(4000)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace tevra
