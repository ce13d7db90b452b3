#pragma once

#include "model/ProgramImage.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace tevra {

// The bytes that differ between two program images, as their XOR packed in runs: applying
// it to either image gives the other, so one delta serves both undo and redo.
class ImageDelta {
public:
    static ImageDelta between(const ProgramImage& before, const ProgramImage& after);

    bool empty() const { return m_runs.empty(); }
    void applyTo(ProgramImage& image) const;
    // Heap bytes held, for the history's memory budget.
    std::size_t memoryBytes() const;

private:
    struct Run {
        std::uint16_t offset;
        std::uint16_t length;
    };

    std::vector<Run> m_runs;
    std::vector<std::uint8_t> m_xor;
};

} // namespace tevra
