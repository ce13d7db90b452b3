#pragma once

#include <chrono>
#include <cstddef>
#include <deque>
#include <optional>

namespace tevra {

// A tempo from taps: the least-squares fit of the tap times against their count, so one
// early or late tap moves the result little. A pause longer than kRestartPause starts anew.
class TapTempo {
public:
    static constexpr std::size_t kMinTaps = 4;
    static constexpr std::size_t kMaxTaps = 16;
    static constexpr std::chrono::milliseconds kRestartPause{2000};

    // at: any steady clock's reading, later than the last tap's.
    void tap(std::chrono::milliseconds at);
    std::size_t count() const { return m_taps.size(); }
    // Beats per minute from kMinTaps taps on; empty before.
    std::optional<double> bpm() const;

private:
    std::deque<std::chrono::milliseconds> m_taps;
};

} // namespace tevra
