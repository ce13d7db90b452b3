#include "ui/editor/CEditorDlg.h"

#include <QApplication>
#include <QEvent>
#include <benchmark/benchmark.h>
#include <sys/resource.h>

namespace {

// Notes the first paint of the watched window.
class PaintWatch : public QObject {
public:
    bool painted = false;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            painted = true;
        }
        return QObject::eventFilter(watched, event);
    }
};

// From constructing the editor to its first paint on screen.
void editorShownAndPainted(benchmark::State& state) {
    for (auto _ : state) {
        tevra::CEditorDlg editor;
        PaintWatch watch;
        editor.installEventFilter(&watch);
        editor.show();
        while (!watch.painted) {
            QApplication::processEvents(QEventLoop::WaitForMoreEvents);
        }
        state.PauseTiming();
        editor.hide();
        state.ResumeTiming();
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    // ru_maxrss is in kilobytes on Linux.
    state.counters["peak_rss_kB"] = static_cast<double>(usage.ru_maxrss);
}

} // namespace

BENCHMARK(editorShownAndPainted)->Unit(benchmark::kMillisecond);
