// A whole 500-step upload started from the exchange window, as "Записать" starts it: the
// window's worker thread, its progress bar fed through queued signals and its event loop on top
// of the upload itself. Reports the time as a ratio to the instant line's floor (goal: at most
// 1.15 for the Windows build under Wine).
//
// Under Windows the simulated controller runs outside, as `tevra simulate`, reached through the
// COM port given as --instant-port=COMn.
#include "bench/UploadFloors.h"
#include "link/ControllerSettings.h"
#include "link/Upload.h"
#include "tests/support/RecordingProfile.h"
#include "ui/exchange/CExchangeDlg.h"
#ifndef _WIN32
#include "sim/SimulatedController.h"
#endif

#include <QApplication>
#include <QComboBox>
#include <QPushButton>
#include <benchmark/benchmark.h>
#include <string>
#include <string_view>

namespace {

using namespace tevra;
using namespace tevra::bench;

void uploadFromWindow(benchmark::State& state, const std::string& device) {
    const ProgramImage image = longProgram();
    // The timer off: settings that pass the window's checks without a field typed.
    RecordingProfile profile;
    profile.m_values = {{kTimerWordKey, kTimerOffWord}};
    QString shown;
    CExchangeDlg window(image, profile,
                        [&shown](const QString& text, const QString&) { shown = text; });
    window.show();
    window.findChild<QComboBox*>(QStringLiteral("portCombo"))
        ->setEditText(QString::fromStdString(device));
    auto* write = window.findChild<QPushButton*>(QStringLiteral("writeButton"));
    const QString written = QString::fromUtf8(uploadMessage(UploadOutcome::Written));
    Seconds total{};
    for (auto _ : state) {
        shown.clear();
        const auto started = std::chrono::steady_clock::now();
        // Returns once the outcome has been shown.
        write->click();
        total += std::chrono::steady_clock::now() - started;
        if (shown != written) {
            state.SkipWithError(shown.toStdString().c_str());
            return;
        }
    }
    const Seconds perUpload = total / static_cast<double>(state.iterations());
    state.counters["ratio"] = perUpload / kInstantFloor;
    state.counters["seconds"] = perUpload.count();
}

void registerUpload(const std::string& device) {
    benchmark::RegisterBenchmark(
        "instantLineFromWindow",
        [device](benchmark::State& state) { uploadFromWindow(state, device); })
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime()
        ->Iterations(3);
}

} // namespace

int main(int argc, char** argv) {
#ifndef _WIN32
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
#endif
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    std::string device;
#ifdef _WIN32
    constexpr std::string_view kPortOption = "--instant-port=";
    int kept = 1;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg.starts_with(kPortOption)) {
            device = arg.substr(kPortOption.size());
        } else {
            argv[kept++] = argv[i];
        }
    }
    argc = kept;
#else
    SimulatedController simulator;
    if (!simulator.start()) {
        return 1;
    }
    device = simulator.devicePath();
#endif
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    if (!device.empty()) {
        registerUpload(device);
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
