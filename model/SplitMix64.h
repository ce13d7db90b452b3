#pragma once

#include <cstdint>

namespace tevra {

// The generator behind the random patterns: small, fast and defined exactly, so the same seed
// gives the same program in the window, the tool and on any machine.
class SplitMix64 {
public:
    explicit SplitMix64(std::uint64_t seed) : m_state(seed) {}

    std::uint64_t next();

private:
    std::uint64_t m_state;
};

} // namespace tevra
