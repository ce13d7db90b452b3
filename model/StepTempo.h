#pragma once

#include "model/ProgramImage.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tevra {

// Step times from a tempo: step k of a range starts at S(k) = round-half-up(k * 6000 / (B * N))
// in units of 10 ms, so times may alternate (46, 47, ... at 128 BPM) but the steps never drift
// from the beat. The tempo is held in thousandths of a beat per minute, so the rounding is
// exact integer arithmetic and the window and the tool agree to the byte.
class StepTempo {
public:
    static constexpr int kDefaultStepsPerBeat = 1;
    static constexpr int kMaxStepsPerBeat = 64;

    // milliBpm > 0 and stepsPerBeat 1..kMaxStepsPerBeat; anything else is empty.
    static std::optional<StepTempo> make(std::int64_t milliBpm, int stepsPerBeat);
    // "128", "127,5" or "127.5", at most three decimals, above zero.
    static std::optional<StepTempo> parse(std::string_view bpm, int stepsPerBeat);

    std::int64_t milliBpm() const { return m_milliBpm; }
    int stepsPerBeat() const { return m_stepsPerBeat; }
    // "127,5", "128": as the window shows and messages name it.
    std::string bpmText() const;

    // S(k) in units of 10 ms.
    std::int64_t start(int k) const;
    std::int64_t time(int k) const { return start(k + 1) - start(k); }
    // Empty when the first count times all lie within the editor's 50..25600 mS; otherwise
    // the refusal in the user's words.
    std::optional<std::string> refusal(int count) const;
    // Steps firstStep..lastStep take times 0, 1, ...; check refusal first.
    void writeTimes(ProgramImage& image, int firstStep, int lastStep) const;

private:
    StepTempo(std::int64_t milliBpm, int stepsPerBeat)
        : m_milliBpm(milliBpm), m_stepsPerBeat(stepsPerBeat) {}

    std::int64_t m_milliBpm;
    int m_stepsPerBeat;
};

} // namespace tevra
