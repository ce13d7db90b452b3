#include "ui/dialogs/TempoForm.h"

#include "model/ProgramImage.h"

#include <algorithm>
#include <cmath>
#include <sstream>

namespace tevra {

namespace {

// The fit is shown to 0,1 BPM and used as shown, so the times match what the user reads.
constexpr double kTenthsPerBpm = 10.0;

} // namespace

void TempoForm::tap(std::chrono::milliseconds at) {
    m_taps.tap(at);
    const std::optional<double> fitted = m_taps.bpm();
    if (!fitted) {
        return;
    }
    const auto tenths = static_cast<std::int64_t>(std::llround(*fitted * kTenthsPerBpm));
    std::ostringstream text;
    text << tenths / 10 << ',' << tenths % 10;
    m_bpmText = text.str();
}

std::string TempoForm::tapText() const {
    if (m_taps.count() == 0) {
        return {};
    }
    std::ostringstream text;
    text << "Тапов: " << m_taps.count();
    return text.str();
}

std::optional<StepTempo> TempoForm::tempo() const {
    return StepTempo::parse(m_bpmText, m_stepsPerBeat);
}

std::optional<std::string> TempoForm::refusal(int stepCount) const {
    const std::optional<StepTempo> parsed = tempo();
    if (!parsed) {
        return kBadTempoText;
    }
    return parsed->refusal(stepCount);
}

std::string TempoForm::timesText(int stepCount) const {
    if (refusal(stepCount)) {
        return {};
    }
    const StepTempo parsed = *tempo();
    std::int64_t shortest = parsed.time(0);
    std::int64_t longest = shortest;
    for (int k = 1; k < stepCount; ++k) {
        shortest = std::min(shortest, parsed.time(k));
        longest = std::max(longest, parsed.time(k));
    }
    const auto unitMillis = kStepTimeUnit.count();
    std::ostringstream text;
    text << "Время шагов: " << shortest * unitMillis;
    if (longest != shortest) {
        text << "…" << longest * unitMillis;
    }
    text << " mS";
    return text.str();
}

} // namespace tevra
