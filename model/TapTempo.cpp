#include "model/TapTempo.h"

namespace tevra {

namespace {

constexpr double kMillisPerMinute = 60'000.0;

} // namespace

void TapTempo::tap(std::chrono::milliseconds at) {
    if (!m_taps.empty() && at - m_taps.back() > kRestartPause) {
        m_taps.clear();
    }
    m_taps.push_back(at);
    if (m_taps.size() > kMaxTaps) {
        m_taps.pop_front();
    }
}

std::optional<double> TapTempo::bpm() const {
    if (m_taps.size() < kMinTaps) {
        return std::nullopt;
    }
    // Times relative to the first tap keep the sums small and exact in a double.
    const auto first = m_taps.front();
    const double n = static_cast<double>(m_taps.size());
    const double meanIndex = (n - 1) / 2;
    double meanTime = 0;
    for (const auto tapTime : m_taps) {
        meanTime += static_cast<double>((tapTime - first).count());
    }
    meanTime /= n;
    double covariance = 0;
    double indexSpread = 0;
    double index = 0;
    for (const auto tapTime : m_taps) {
        const double di = index - meanIndex;
        covariance += di * (static_cast<double>((tapTime - first).count()) - meanTime);
        indexSpread += di * di;
        index += 1;
    }
    const double beatMillis = covariance / indexSpread;
    if (beatMillis <= 0) {
        return std::nullopt;
    }
    return kMillisPerMinute / beatMillis;
}

} // namespace tevra
