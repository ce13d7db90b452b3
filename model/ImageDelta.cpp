#include "model/ImageDelta.h"

namespace tevra {

namespace {

// Equal bytes shorter than a run's own header are cheaper kept inside the run.
constexpr std::size_t kJoinGap = sizeof(std::uint16_t) * 2;

} // namespace

ImageDelta ImageDelta::between(const ProgramImage& before, const ProgramImage& after) {
    ImageDelta delta;
    const auto a = before.bytes();
    const auto b = after.bytes();
    std::size_t at = 0;
    while (at < kImageSize) {
        if (a[at] == b[at]) {
            ++at;
            continue;
        }
        std::size_t end = at + 1;
        std::size_t lastDiff = at;
        while (end < kImageSize && end - lastDiff <= kJoinGap) {
            if (a[end] != b[end]) {
                lastDiff = end;
            }
            ++end;
        }
        const std::size_t length = lastDiff + 1 - at;
        delta.m_runs.push_back(
            {static_cast<std::uint16_t>(at), static_cast<std::uint16_t>(length)});
        for (std::size_t k = at; k <= lastDiff; ++k) {
            delta.m_xor.push_back(static_cast<std::uint8_t>(a[k] ^ b[k]));
        }
        at = lastDiff + 1;
    }
    delta.m_runs.shrink_to_fit();
    delta.m_xor.shrink_to_fit();
    return delta;
}

void ImageDelta::applyTo(ProgramImage& image) const {
    auto bytes = image.bytes();
    std::size_t from = 0;
    for (const Run& run : m_runs) {
        for (std::size_t k = 0; k < run.length; ++k) {
            bytes[run.offset + k] ^= m_xor[from + k];
        }
        from += run.length;
    }
}

std::size_t ImageDelta::memoryBytes() const {
    return m_runs.capacity() * sizeof(Run) + m_xor.capacity();
}

} // namespace tevra
