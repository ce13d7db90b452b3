#pragma once

#include "model/CellValue.h"
#include "model/PatternGrid.h"
#include "model/ProgramImage.h"
#include "model/StepTempo.h"

#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace tevra {

// Existing steps keep their times.
struct KeepStepTimes {};

// One run of the pattern generator over a block of the program.
struct Generation {
    PatternShape shape;
    CellValue on = kOnValue;
    CellValue off = kOffValue;
    // Lit cells go only where the cell is Off; nothing else changes.
    bool background = false;
    // Channels 0..15, in the pattern's order.
    std::vector<int> channels;
    // 1-based and inclusive; steps past the program's end are added.
    int firstStep = 1;
    int lastStep = 1;
    // A fixed time in units of 10 ms, or times from a tempo.
    std::variant<KeepStepTimes, std::uint16_t, StepTempo> timing;
};

// Writes the generation into image, or leaves image untouched and gives the refusal in the
// user's words. The start block flag and the steps outside the range are kept.
std::optional<std::string> applyGeneration(ProgramImage& image, const Generation& generation);

} // namespace tevra
