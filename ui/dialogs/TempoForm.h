#pragma once

#include "model/StepTempo.h"
#include "model/TapTempo.h"

#include <chrono>
#include <optional>
#include <string>

namespace tevra {

inline constexpr const char* kTempoDialogTitle = "Время по темпу";
inline constexpr const char* kTapButtonText = "Тап";
inline constexpr const char* kBadTempoText =
    "Темп: ожидается число больше 0, например 128 или 127,5";

// The tempo as typed or tapped, without widgets: a decimal BPM text, the steps per beat, and
// taps that replace the text with their fit once there are enough of them.
class TempoForm {
public:
    static constexpr const char* kStartBpmText = "120";

    // Typed into the edit; taps so far stay counted.
    void setBpmText(std::string text) { m_bpmText = std::move(text); }
    const std::string& bpmText() const { return m_bpmText; }
    void setStepsPerBeat(int steps) { m_stepsPerBeat = steps; }
    int stepsPerBeat() const { return m_stepsPerBeat; }

    // at: a steady clock's reading. From the fourth tap of a run on, the text is the fitted
    // tempo to 0,1 BPM.
    void tap(std::chrono::milliseconds at);
    // "Тапов: 3" while a run lasts; empty before the first tap.
    std::string tapText() const;

    std::optional<StepTempo> tempo() const;
    // Empty when the tempo gives times the editor takes for stepCount steps.
    std::optional<std::string> refusal(int stepCount) const;
    // "Время шагов: 460…470 mS", or one time when all are alike; empty when refused.
    std::string timesText(int stepCount) const;

private:
    std::string m_bpmText = kStartBpmText;
    int m_stepsPerBeat = StepTempo::kDefaultStepsPerBeat;
    TapTempo m_taps;
};

} // namespace tevra
