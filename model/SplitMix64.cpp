#include "model/SplitMix64.h"

namespace tevra {

namespace {

constexpr std::uint64_t kGoldenGamma = 0x9E3779B97F4A7C15;
constexpr std::uint64_t kMix1 = 0xBF58476D1CE4E5B9;
constexpr std::uint64_t kMix2 = 0x94D049BB133111EB;

} // namespace

std::uint64_t SplitMix64::next() {
    m_state += kGoldenGamma;
    std::uint64_t z = m_state;
    z = (z ^ (z >> 30)) * kMix1;
    z = (z ^ (z >> 27)) * kMix2;
    return z ^ (z >> 31);
}

} // namespace tevra
