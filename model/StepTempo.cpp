#include "model/StepTempo.h"

#include <algorithm>
#include <charconv>
#include <sstream>

namespace tevra {

namespace {

constexpr std::int64_t kMilliPerUnit = 1000;
constexpr int kMaxDecimals = 3;
// Far above any tempo that gives a step of 50 mS; keeps every product within 64 bits.
constexpr std::int64_t kMaxWholeBpm = 1'000'000;
// One minute in units of 10 ms.
constexpr std::int64_t kMinuteUnits = 6000;

} // namespace

std::optional<StepTempo> StepTempo::make(std::int64_t milliBpm, int stepsPerBeat) {
    if (milliBpm <= 0 || milliBpm > kMaxWholeBpm * kMilliPerUnit || stepsPerBeat < 1 ||
        stepsPerBeat > kMaxStepsPerBeat) {
        return std::nullopt;
    }
    return StepTempo(milliBpm, stepsPerBeat);
}

std::optional<StepTempo> StepTempo::parse(std::string_view bpm, int stepsPerBeat) {
    const std::size_t point = bpm.find_first_of(",.");
    const std::string_view whole = bpm.substr(0, point);
    const std::string_view fraction =
        point == std::string_view::npos ? std::string_view{} : bpm.substr(point + 1);
    if (whole.empty() || fraction.size() > kMaxDecimals ||
        (point != std::string_view::npos && fraction.empty())) {
        return std::nullopt;
    }
    const auto allDigits = [](std::string_view text) {
        return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
    };
    std::int64_t wholeValue = 0;
    if (!allDigits(whole) || !allDigits(fraction) ||
        std::from_chars(whole.data(), whole.data() + whole.size(), wholeValue).ec != std::errc() ||
        wholeValue > kMaxWholeBpm) {
        return std::nullopt;
    }
    std::int64_t milli = wholeValue * kMilliPerUnit;
    std::int64_t scale = kMilliPerUnit;
    for (const char digit : fraction) {
        scale /= 10;
        milli += (digit - '0') * scale;
    }
    return make(milli, stepsPerBeat);
}

std::string StepTempo::bpmText() const {
    std::ostringstream text;
    text << m_milliBpm / kMilliPerUnit;
    const std::int64_t fraction = m_milliBpm % kMilliPerUnit;
    if (fraction != 0) {
        // Three digits with the leading zeros, then without the trailing ones.
        std::string digits = std::to_string(kMilliPerUnit + fraction).substr(1);
        digits.erase(digits.find_last_not_of('0') + 1);
        text << ',' << digits;
    }
    return text.str();
}

std::int64_t StepTempo::start(int k) const {
    // k * 6000 / (B * N) with B = milliBpm / 1000, rounded half up.
    const std::int64_t denominator = m_milliBpm * m_stepsPerBeat;
    return (2 * k * kMinuteUnits * kMilliPerUnit + denominator) / (2 * denominator);
}

std::optional<std::string> StepTempo::refusal(int count) const {
    for (int k = 0; k < count; ++k) {
        const std::int64_t units = time(k);
        if (units < kMinStepTime || units > kMaxStepTime) {
            const auto unitMillis = kStepTimeUnit.count();
            std::ostringstream text;
            text << "Темп " << bpmText() << " BPM даёт время шага " << units * unitMillis
                 << " mS, а оно должно быть от " << kMinStepTime * unitMillis << " до "
                 << kMaxStepTime * unitMillis << " mS";
            return text.str();
        }
    }
    return std::nullopt;
}

void StepTempo::writeTimes(ProgramImage& image, int firstStep, int lastStep) const {
    for (int step = firstStep; step <= lastStep; ++step) {
        image.setStepTime(step, static_cast<std::uint16_t>(time(step - firstStep)));
    }
}

} // namespace tevra
